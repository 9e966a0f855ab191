#!/usr/bin/env python3
"""vldmake against cmus on 100,000 tagged MP3 files (1,000 artist folders of 100): the time
from the command to a finished library, and the peak memory.

vldmake is run as a user runs it (process start included). cmus is started in a terminal of
its own with an empty configuration (so an empty cache) and told to add the folder through
cmus-remote; it counts as done when its saved library lists every file (asked every 0.1 s, so
its figure may be up to 0.1 s long). Paired rounds, the first program alternating.

Usage: vldmake.py BUILD_DIR [ROUNDS]    (the data goes to $PEER_DATA, see peerlib.py)
"""

import os
import pty
import shutil
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import peerlib  # noqa: E402

FILES = 100000


def ours(vldmake, tree, out):
    def run():
        return peerlib.measured([vldmake, "--force", out, tree], stdout=subprocess.DEVNULL)
    return run


def cmus(tree, work):
    def remote(socket, command):
        subprocess.run(["cmus-remote", "--server", socket, "-C", command], check=True,
                       stdout=subprocess.DEVNULL, timeout=60)

    def run():
        home = os.path.join(work, "cmus-home")
        shutil.rmtree(home, ignore_errors=True)
        os.makedirs(os.path.join(home, "cmus"))
        # Without a session bus its MPRIS interface would wait for a key press.
        with open(os.path.join(home, "cmus", "rc"), "w") as rc:
            rc.write("set mpris=false\n")
        socket = os.path.join(home, "socket")
        env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=home, XDG_RUNTIME_DIR=home,
                   CMUS_SOCKET=socket, TERM="xterm")
        master, slave = pty.openpty()
        process = subprocess.Popen(["cmus"], stdin=slave, stdout=slave, stderr=slave, env=env,
                                   start_new_session=True)
        os.close(slave)

        def pump():  # a full terminal would stop cmus
            try:
                while os.read(master, 65536):
                    pass
            except OSError:
                pass
        threading.Thread(target=pump, daemon=True).start()
        try:
            while not os.path.exists(socket):
                time.sleep(0.02)
            listing = os.path.join(home, "library.txt")
            cpu_before = cpu_of(process.pid)
            start = time.perf_counter()
            remote(socket, "add " + tree)
            while True:
                time.sleep(0.1)
                remote(socket, "save -l " + listing)
                if os.path.exists(listing):  # not written while the library is empty
                    with open(listing, "rb") as f:
                        if f.read().count(b"\n") >= FILES:
                            break
            wall = time.perf_counter() - start
            cpu = cpu_of(process.pid) - cpu_before
            _, peak = peerlib.rss_mib(process.pid)
            remote(socket, "quit")
            process.wait(timeout=60)
            os.close(master)
            shutil.rmtree(home)
        finally:  # never left running, whatever went wrong
            if process.poll() is None:
                process.kill()
                process.wait()
        return {"wall": wall, "cpu": cpu, "rss": peak}
    return run


def cpu_of(pid):
    with open("/proc/%d/stat" % pid) as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def main():
    build = peerlib.build_dir()
    rounds = peerlib.runs(5)
    peerlib.need(("cmus", "cmus"), ("cmus-remote", "cmus"))
    vldmake = os.path.join(build, "vldmake", "vldmake")
    tree = peerlib.music_tree(build)
    work = peerlib.data_dir(build)
    out = os.path.join(work, "peer-vldmake.vld")
    (mine, theirs), loads = peerlib.alternate(rounds, ours(vldmake, tree, out), cmus(tree, work))
    os.remove(out)
    peerlib.header("vldmake of %d tagged MP3 files against cmus" % FILES, rounds, loads)
    for name, r in (("vldmake", mine), ("cmus", theirs)):
        print("%-8s wall %s  CPU %s  peak RSS %s" % (name, peerlib.spread(r["wall"], " s"),
                                                      peerlib.spread(r["cpu"], " s"),
                                                      peerlib.spread(r["rss"], " MiB", 0)))
    print("ratio vldmake/cmus: wall %.2f, CPU %.2f (medians of the paired ratios)"
          % (peerlib.ratio(mine["wall"], theirs["wall"]), peerlib.ratio(mine["cpu"], theirs["cpu"])))


if __name__ == "__main__":
    main()
