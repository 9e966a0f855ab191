#!/usr/bin/env python3
"""Start-and-quit of i2kCmd in a real X server against `xterm -e true`, in paired runs:
the two programs run alternately, so every pair meets the same machine. i2kCmd runs with
a full 1 MiB event log in a home on the build's disk, as a user's has after a few thousand
commands. Needs Xvfb and xterm; without them it says so and does nothing."""

import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

RUNS = 30


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: bench-window-start.py PATH/TO/i2kCmd")
    exe = os.path.abspath(sys.argv[1])
    for tool in ("Xvfb", "xterm"):
        if not shutil.which(tool):
            print(f"bench-window-start: {tool} is missing, skipped")
            return
    work = tempfile.mkdtemp(prefix="bench-window-", dir=os.path.dirname(exe))
    display = f":{90 + os.getpid() % 100}"
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1366x768x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(1)
        home = os.path.join(work, "home")
        runtime = os.path.join(work, "runtime")
        os.makedirs(home)
        os.makedirs(runtime, mode=0o700)
        record = "07/12/2026 04:53:30 - COMMAND: write some earlier command line\r\n"
        with open(os.path.join(home, "eventlog.txt"), "w", newline="") as log:
            log.write((record * (1048576 // len(record) + 1))[:1048576])
        env = dict(os.environ, DISPLAY=display, XDG_CONFIG_HOME=os.path.join(work, "config"),
                   XDG_RUNTIME_DIR=runtime)
        env.pop("QT_QPA_PLATFORM", None)
        commands = {"i2kCmd --quit": [exe, "--home", home, "--quit"], "xterm -e true": ["xterm", "-e", "true"]}
        times = {name: [] for name in commands}
        for run in range(RUNS + 3):
            for name, argv in commands.items():
                start = time.perf_counter()
                subprocess.run(argv, env=env, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                if run >= 3:  # the first pairs warm the caches
                    times[name].append((time.perf_counter() - start) * 1000)
        for name, values in times.items():
            print(f"{name:16} median {statistics.median(values):6.1f} ms  mean {statistics.mean(values):6.1f} ms"
                  f"  min {min(values):6.1f} ms  ({RUNS} runs)")
        ratios = [a / b for a, b in zip(times["i2kCmd --quit"], times["xterm -e true"])]
        print(f"i2kCmd / xterm, median of the {RUNS} pairs: {statistics.median(ratios):.2f}")
    finally:
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
