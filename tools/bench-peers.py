#!/usr/bin/env python3
"""`make bench-peers`: every comparison with the programs a user would use instead
(bench/peers/*.sh and *.py, each run as `SCRIPT BUILD_DIR`), then one table of the ratios
they report (program / peer: below 1, the program is faster or smaller). The machine and the
load are printed beside the table; a script that fails is named and the run ends non-zero."""

import glob
import os
import platform
import subprocess
import sys


def machine():
    cpu = platform.processor() or platform.machine()
    try:
        with open("/proc/cpuinfo") as info:
            for line in info:
                if line.startswith("model name"):
                    cpu = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    return f"{cpu}, {os.cpu_count()} cores"


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: bench-peers.py BUILD_DIR")
    build = os.path.abspath(sys.argv[1])
    here = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    scripts = sorted(glob.glob(os.path.join(here, "bench", "peers", "*.sh")) +
                     glob.glob(os.path.join(here, "bench", "peers", "*.py")))
    rows, failed = [], []
    for script in scripts:
        name = os.path.relpath(script, here)
        print(f"== {name} (load average {os.getloadavg()[0]:.1f})", flush=True)
        runner = ["bash"] if script.endswith(".sh") else [sys.executable]
        child = subprocess.Popen(runner + [script, build], stdout=subprocess.PIPE, text=True)
        for line in child.stdout:
            if line.startswith("RATIO\t"):
                rows.append(line.rstrip("\n").split("\t")[1:])
            else:
                print(line, end="", flush=True)
        if child.wait() != 0:
            failed.append(name)
    print(f"\nPeers, {machine()}:")
    print("| Job | Program | Peer | Ratio |")
    print("| --- | --- | --- | --- |")
    for job, program, peer, ratio in rows:
        print(f"| {job} | {program} | {peer} | {ratio} |")
    if failed:
        sys.exit(f"failed: {', '.join(failed)}")


if __name__ == "__main__":
    main()
