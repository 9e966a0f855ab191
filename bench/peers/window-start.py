#!/usr/bin/env python3
"""Start and quit in a real X server: i2kCmd with a full 1 MiB event log in a home on the
build's disk, against `xterm -e true` (with its fonts, xfonts-base), alternately. Both get a
private session bus, as on a desktop. Wall time and CPU time (user and system)."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "lib"))
import peerbench as pb  # noqa: E402

ROUNDS = int(os.environ.get("PEER_ROUNDS", 30))


def main():
    build = os.path.abspath(sys.argv[1])
    exe = os.path.join(build, "i2kCmd")
    if pb.missing("Xvfb", "xterm"):
        return
    with pb.work_folder(build, "peer-start-") as work, pb.x_server() as (display, _):
        home = os.path.join(work, "home")
        runtime = os.path.join(work, "runtime")
        os.makedirs(home)
        os.makedirs(runtime, mode=0o700)
        pb.write_full_event_log(home)
        with pb.session_bus(work) as bus:
            env = dict(os.environ, DISPLAY=display, XDG_RUNTIME_DIR=runtime,
                       XDG_CONFIG_HOME=os.path.join(work, "config"), **bus)
            env.pop("QT_QPA_PLATFORM", None)
            runs = pb.Paired({
                "i2kCmd": lambda: pb.run([exe, "--home", home, "--quit"], env),
                "xterm": lambda: pb.run(["xterm", "-e", "true"], env),
            }, ROUNDS, warmup=3)
        print(f"Start and quit in Xvfb, {ROUNDS} pairs, {runs.load()}")
        for name in runs.walls:
            print(f"  {name:8} wall ms {pb.spread(runs.walls[name], 1000, digits=1)}"
                  f"   CPU ms {pb.spread(runs.cpus[name], 1000, digits=1)}")
        pb.report_ratio("start and quit in X, wall", "i2kCmd --quit", "xterm -e true",
                        runs.ratios("wall", "i2kCmd", "xterm"), runs.load())
        pb.report_ratio("start and quit in X, CPU", "i2kCmd --quit", "xterm -e true",
                        runs.ratios("cpu", "i2kCmd", "xterm"), runs.load())


if __name__ == "__main__":
    main()
