#!/usr/bin/env python3
"""A batch of 3,000 `write` lines in a real window (Xvfb, the window 1:1): what each line
costs the program in CPU time and how many lines it runs a second, with the full 1 MiB event
log. Each measured run is paired with a run of a batch holding only `exit`, alternately, so
start-up and shut-down are taken away and both meet the same machine. The X server's CPU
time is shown beside it: it grows with what the window sends it. The same batch run without a
window (-platform offscreen) in the same rounds shows what the line runner's 1 ms tick allows
on the machine as it is loaded. Needs Xvfb."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))),
                                "bench", "peers", "lib"))
import peerbench as pb  # noqa: E402

LINES = 3000
ROUNDS = int(os.environ.get("BATCH_ROUNDS", 5))


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: bench-window-batch.py PATH/TO/i2kCmd")
    exe = os.path.abspath(sys.argv[1])
    if pb.missing("Xvfb"):
        return
    with pb.work_folder(os.path.dirname(exe), "bench-batch-") as work, \
            pb.x_server() as (display, server), pb.session_bus(work) as bus:
        home = os.path.join(work, "home")
        runtime = os.path.join(work, "runtime")
        os.makedirs(home)
        os.makedirs(runtime, mode=0o700)
        with open(os.path.join(work, "lines.bat"), "w") as batch:
            for n in range(LINES):
                batch.write(f"write Line {n} of a batch that writes one line at a time\n")
            batch.write("exit\n")
        with open(os.path.join(work, "empty.bat"), "w") as batch:
            batch.write("exit\n")
        env = dict(os.environ, DISPLAY=display, XDG_CONFIG_HOME=os.path.join(work, "config"),
                   XDG_RUNTIME_DIR=runtime, **bus)
        env.pop("QT_QPA_PLATFORM", None)
        x_cpu = {}

        def job(batch, *platform):
            def timed():
                # Every run starts from the same full log.
                pb.write_full_event_log(home)
                before = pb.process_cpu(server)
                result = pb.run([exe, *platform, "--home", home, "--audio-output", "null",
                                 "--exec", f"batch {os.path.join(work, batch)}"], env)
                x_cpu.setdefault(batch + str(platform), []).append(pb.process_cpu(server) - before)
                return result
            return timed

        headless = ("-platform", "offscreen")
        runs = pb.Paired({"empty": job("empty.bat"), "lines": job("lines.bat"),
                          "headless empty": job("empty.bat", *headless),
                          "headless lines": job("lines.bat", *headless)}, ROUNDS, warmup=1)

        def less(values, full, empty):
            return [a - b for a, b in zip(values[full], values[empty])]

        walls = less(runs.walls, "lines", "empty")
        cpus = less(runs.cpus, "lines", "empty")
        xs = [a - b for a, b in zip(x_cpu["lines.bat()"][1:], x_cpu["empty.bat()"][1:])]
        headless_walls = less(runs.walls, "headless lines", "headless empty")
        print(f"{LINES} write lines in a window, {ROUNDS} rounds, {runs.load()}")
        print(f"  program CPU per line   {pb.spread(cpus, 1e6 / LINES, ' us', 1)}")
        print(f"  lines per second       {pb.spread([LINES / w for w in walls], digits=0)}")
        print(f"  X server CPU per line  {pb.spread(xs, 1e6 / LINES, ' us', 1)}")
        print(f"  without a window: lines per second "
              f"{pb.spread([LINES / w for w in headless_walls], digits=0)}")


if __name__ == "__main__":
    main()
