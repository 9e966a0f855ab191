#!/usr/bin/env python3
"""filesearch against fd (Debian's fdfind) and find on 100,000 empty files (10 folders of 100
sub-folders of 100 files), the pattern *7.txt matching 10,000 of them.

Our figure is BM_FilesearchCommand100kFiles (the command to the first page shown, in a
running program) from build/bench/i2kBench, one repetition a round, on the same tree (named to
it by I2K_BENCH_FILE_TREE); its CPU time (the counter
process_cpu_ms) counts every thread of the process. fd and find run as
commands, their hits read whole through a pipe; fd searches on every core. Paired rounds, the
first program alternating; the tree is warm in the page cache for all.

Usage: filesearch.py BUILD_DIR [ROUNDS]    (the data goes to $PEER_DATA, see peerlib.py)
"""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import peerlib  # noqa: E402

PATTERN = "*7.txt"
HITS = 10000


def make_tree(build):
    root = os.path.join(peerlib.data_dir(build), "files-100000")
    done = os.path.join(root, ".complete")
    if not os.path.exists(done):
        for top in range(10):
            for sub in range(100):
                folder = os.path.join(root, "top %d" % top, "sub%d" % sub)
                os.makedirs(folder, exist_ok=True)
                for n in range(100):
                    open(os.path.join(folder, "file%d.txt" % n), "w").close()
        open(done, "w").close()
    return root


def ours(build, tree):
    def run():
        result = peerlib.benchmark(build, "BM_FilesearchCommand100kFiles", I2K_BENCH_FILE_TREE=tree)
        return {"wall": result["wall"], "cpu": result["process_cpu_ms"] / 1e3}
    return run


def command(argv):
    def run():
        figures = peerlib.measured(argv, stdout=subprocess.PIPE)
        return {"wall": figures["wall"], "cpu": figures["cpu"]}
    return run


def main():
    build = peerlib.build_dir()
    rounds = peerlib.runs(11)
    peerlib.need(("fdfind", "fd-find"), ("find", "findutils"))
    tree = make_tree(build)
    for argv in (["fdfind", "-u", "-g", PATTERN, tree], ["find", tree, "-name", PATTERN]):
        hits = subprocess.run(argv, capture_output=True, check=True).stdout.count(b"\n")
        if hits != HITS:
            sys.exit("%s found %d files, not %d" % (argv[0], hits, HITS))
    # -u: hidden files too, as filesearch lists them; fd's glob matches the name.
    (mine, fd, find), loads = peerlib.alternate(
        rounds, ours(build, tree), command(["fdfind", "-u", "-g", PATTERN, tree]),
        command(["find", tree, "-name", PATTERN]))
    peerlib.header("filesearch %s over 100,000 files (%d hits) against fd and find"
                   % (PATTERN, HITS), rounds, loads)
    for name, r in (("filesearch", mine), ("fdfind", fd), ("find", find)):
        print("%-10s wall %s  CPU %s" % (name, peerlib.spread([w * 1e3 for w in r["wall"]], " ms", 1),
                                         peerlib.spread([c * 1e3 for c in r["cpu"]], " ms", 1)))
    for name, r in (("fdfind", fd), ("find", find)):
        print("ratio filesearch/%s: wall %.2f, CPU %.2f (medians of the paired ratios)"
              % (name, peerlib.ratio(mine["wall"], r["wall"]), peerlib.ratio(mine["cpu"], r["cpu"])))


if __name__ == "__main__":
    main()
