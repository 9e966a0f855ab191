#!/usr/bin/env python3
"""The loaded catalogue against mpd, on the 100,000 tagged MP3 files of vldmake.py: its
memory, and a title search.

Memory: the peak resident set of the real program (headless) that loads the catalogue vldmake
made of the files and quits, less that of the same program that loads nothing: what the
catalogue costs, set against the catalogue's size. mpd's is its resident set once it has
loaded its database of the same files (the program itself included: mpd's own start-up costs
little). A second line loads the catalogue twice, as `loadvld` over a loaded one does.

Search: `strack LO?E of*` is BM_StrackPatternLarge of build/bench/i2kBench, given this
catalogue through I2K_BENCH_CATALOGUE (the command in a running program: no process start);
mpd's is `mpc search title "love of"` (process start and the printing of the hits included),
which finds the same 5,000 tracks. Paired rounds, the first program alternating.

Usage: catalogue.py BUILD_DIR [ROUNDS]    (the data goes to $PEER_DATA, see peerlib.py)
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import peerlib  # noqa: E402


def program_peak(program, work, steps):
    home = tempfile.mkdtemp(dir=work)
    command = [program, "-platform", "offscreen", "--audio-output", "null", "--home", home]
    for step in steps:
        command += ["--exec", step]
    env = dict(os.environ, XDG_CONFIG_HOME=home, TMPDIR=home)
    figures = peerlib.measured(command + ["--quit"], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    shutil.rmtree(home)
    return figures["rss"]


class Mpd:
    def __init__(self, tree, work):
        self.work = os.path.join(work, "mpd")
        os.makedirs(self.work, exist_ok=True)
        self.socket = os.path.join(self.work, "socket")
        self.conf = os.path.join(self.work, "mpd.conf")
        with open(self.conf, "w") as conf:
            conf.write('music_directory "%s"\ndb_file "%s/database"\nlog_file "%s/log"\n'
                       'bind_to_address "%s"\nauto_update "no"\n'
                       'audio_output {\n type "null"\n name "none"\n}\n'
                       % (tree, self.work, self.work, self.socket))
        self.process = None

    def mpc(self, *arguments, **kwargs):
        return subprocess.run(["mpc", "--host", self.socket] + list(arguments), check=True,
                              **kwargs)

    def start(self):
        if os.path.exists(self.socket):
            os.remove(self.socket)
        self.process = subprocess.Popen(["mpd", "--no-daemon", self.conf],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        while subprocess.run(["mpc", "--host", self.socket, "status"], capture_output=True
                             ).returncode != 0:
            time.sleep(0.05)

    def stop(self):
        self.process.terminate()
        self.process.wait(timeout=60)


def main():
    build = peerlib.build_dir()
    rounds = peerlib.runs(7)
    peerlib.need(("mpd", "mpd"), ("mpc", "mpc"))
    work = peerlib.data_dir(build)
    tree = peerlib.music_tree(build)
    program = os.path.join(build, "i2kCmd")
    catalogue = os.path.join(work, "peer-catalogue.vld")
    if not os.path.exists(catalogue):
        subprocess.run([os.path.join(build, "vldmake", "vldmake"), catalogue, tree], check=True,
                       stdout=subprocess.DEVNULL)
    mpd = Mpd(tree, work)
    mpd.start()
    if mpd.mpc("stats", capture_output=True, text=True).stdout.find("Songs:   100000") < 0:
        mpd.mpc("update", "--wait", stdout=subprocess.DEVNULL)
        mpd.stop()
        mpd.start()  # the memory of a database loaded at start, as a user meets it

    size = os.path.getsize(catalogue) / 2**20
    (bare, one, two), loads = peerlib.alternate(
        3, lambda: {"rss": program_peak(program, work, [])},
        lambda: {"rss": program_peak(program, work, ["loadvld " + catalogue])},
        lambda: {"rss": program_peak(program, work, ["loadvld " + catalogue] * 2)})
    mpd_rss, _ = peerlib.rss_mib(mpd.process.pid)
    peerlib.header("the loaded catalogue of 100,000 tracks against mpd", 3, loads)
    base = min(bare["rss"])
    print("catalogue file %.1f MiB; the program alone peaks at %.0f MiB" % (size, base))
    for what, r in (("loadvld", one), ("loadvld twice", two)):
        print("%-14s peak %s, the catalogue's part %.0f MiB: %.1fx its file"
              % (what, peerlib.spread(r["rss"], " MiB", 0), min(r["rss"]) - base,
                 (min(r["rss"]) - base) / size))
    print("mpd with its database loaded: %.0f MiB resident (%.1fx the catalogue file)"
          % (mpd_rss, mpd_rss / size))

    def strack():
        return peerlib.benchmark(build, "BM_StrackPatternLarge", I2K_BENCH_CATALOGUE=catalogue)

    def search():
        return peerlib.measured(["mpc", "--host", mpd.socket, "search", "title", "love of"],
                                stdout=subprocess.PIPE)

    hits = mpd.mpc("search", "title", "love of", capture_output=True).stdout.count(b"\n")
    (mine, theirs), loads = peerlib.alternate(rounds, strack, search)
    mpd.stop()
    peerlib.header("strack \"LO?E of*\" against mpc search title \"love of\" (%d hits)" % hits,
                   rounds, loads)
    print("strack      wall %s" % peerlib.spread([w * 1e3 for w in mine["wall"]], " ms", 1))
    print("mpc search  wall %s" % peerlib.spread([w * 1e3 for w in theirs["wall"]], " ms", 1))
    print("ratio strack/mpd: wall %.2f (median of the paired ratios)"
          % peerlib.ratio(mine["wall"], theirs["wall"]))


if __name__ == "__main__":
    main()
