"""What the peer comparisons share: where the generated data lives, paired runs in turn,
medians with their spread, the machine's load, and the music tree of tagged MP3 files.

Every script takes the build folder as its first argument. The data is made once into
$PEER_DATA (default BUILD_DIR/bench-data/peers, on the build's disk) and kept for later runs.
"""

import json
import os
import shutil
import statistics
import struct
import subprocess
import sys
import time


def build_dir():
    if len(sys.argv) < 2 or not os.path.isdir(sys.argv[1]):
        sys.exit("usage: %s BUILD_DIR [RUNS]" % os.path.basename(sys.argv[0]))
    return os.path.abspath(sys.argv[1])


def runs(default):
    return int(sys.argv[2]) if len(sys.argv) > 2 else default


def data_dir(build):
    path = os.environ.get("PEER_DATA") or os.path.join(build, "bench-data", "peers")
    os.makedirs(path, exist_ok=True)
    return path


def need(*programs):
    """Exits with the Debian packages to install when a peer is missing."""
    missing = [(p, pkg) for p, pkg in programs if not shutil.which(p)]
    if missing:
        sys.exit("missing: %s (apt-get install %s)"
                 % (", ".join(p for p, _ in missing), " ".join(pkg for _, pkg in missing)))


def load():
    return "%.2f" % os.getloadavg()[0]


def cores():
    return os.cpu_count()


def measured(command, **kwargs):
    """Runs a command to its end: its wall and CPU seconds (user + system) and its peak
    resident set size in MiB, as the kernel counted them."""
    start = time.perf_counter()
    process = subprocess.Popen(command, **kwargs)
    if process.stdout:  # output into a pipe is read whole, as the user's terminal would
        process.stdout.read()
        process.stdout.close()
    _, status, usage = os.wait4(process.pid, 0)
    wall = time.perf_counter() - start
    process.returncode = os.waitstatus_to_exitcode(status)
    if process.returncode != 0:
        sys.exit("failed (%d): %s" % (process.returncode, " ".join(command)))
    return {"wall": wall, "cpu": usage.ru_utime + usage.ru_stime, "rss": usage.ru_maxrss / 1024}


def alternate(count, *jobs):
    """Runs each job (a function answering a dict of figures) once per round, in turn, the
    first job of each round alternating, so both see the same load; answers the figures of
    each job as lists, and the load average seen at each round."""
    results = [dict() for _ in jobs]
    loads = []
    for n in range(count):
        order = list(range(len(jobs)))
        if n % 2:
            order.reverse()
        loads.append(os.getloadavg()[0])
        for i in order:
            for key, value in jobs[i]().items():
                results[i].setdefault(key, []).append(value)
    return results, loads


def benchmark(build, name, **env):
    """One run of a benchmark of build/bench/i2kBench (the environment variables given added):
    its wall time and CPU time a repetition, in seconds, and its counters."""
    out = subprocess.run([os.path.join(build, "bench", "i2kBench"),
                          "--benchmark_filter=^%s/" % name, "--benchmark_format=json"],
                         env=dict(os.environ, QT_QPA_PLATFORM="offscreen", **env), check=True,
                         capture_output=True, text=True).stdout
    result = json.loads(out)["benchmarks"][0]
    if "error_occurred" in result:
        sys.exit("%s failed: %s" % (name, result.get("error_message")))
    scale = {"ms": 1e-3, "us": 1e-6, "ns": 1e-9, "s": 1.0}[result["time_unit"]]
    return dict(result, wall=result["real_time"] * scale, cpu=result["cpu_time"] * scale)


def spread(values, unit="", digits=2):
    """The median, and the least and most in brackets."""
    return "%.*f%s (%.*f-%.*f)" % (digits, statistics.median(values), unit, digits,
                                   min(values), digits, max(values))


def ratio(ours, theirs):
    """The median of the paired ratios."""
    return statistics.median(a / b for a, b in zip(ours, theirs))


def header(title, count, loads):
    print("## %s" % title)
    print("%d paired runs, alternating; %d cores; load average %.2f-%.2f during the runs"
          % (count, cores(), min(loads), max(loads)))


# --- the music tree ---------------------------------------------------------------------

WORDS = ["love", "night", "river", "summer", "blue", "heart", "road", "train", "rain", "gold",
         "fire", "dance", "home", "light", "shadow", "moon", "city", "dream", "stone", "wind"]
GENRES = ["Rock", "Jazz", "Blues", "Ambient", "Polka", "Vaporwave", "Pop", "Folk"]

# One MPEG-1 Layer III frame, 128 kbit/s, 44.1 kHz, joint stereo: 417 bytes; all-zero side
# information decodes as silence. Three frames make a file every reader takes for audio.
FRAME = b"\xff\xfb\x90\x44" + b"\0" * 413
AUDIO = FRAME * 3


def syncsafe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])


def id3v24(frames):
    body = b""
    for ident, text in frames:
        data = b"\x03" + text.encode("utf-8")  # UTF-8
        body += ident + syncsafe(len(data)) + b"\0\0" + data
    return b"ID3\x04\x00\x00" + syncsafe(len(body)) + body


def artist_name(a):
    return "The %s %s Band %d" % (WORDS[a % 20].title(), WORDS[(a // 7) % 20], a)


def title(a, t):
    return "%s of the %s %s" % (WORDS[(a * 3 + t) % 20].title(), WORDS[(a + t * 7) % 20],
                                 WORDS[t % 20])


def music_tree(build, artists=1000, tracks=100):
    """ARTISTS folders of TRACKS tagged silent MP3 files (artist, album, title, track number,
    genre, year), made once; answers the folder."""
    root = os.path.join(data_dir(build), "music-%d" % (artists * tracks))
    done = os.path.join(root, ".complete")
    if os.path.exists(done):
        return root
    shutil.rmtree(root, ignore_errors=True)
    for a in range(1, artists + 1):
        folder = os.path.join(root, artist_name(a))
        os.makedirs(folder)
        for t in range(1, tracks + 1):
            name = "%03d %s.mp3" % (t, title(a, t))
            tag = id3v24([(b"TPE1", artist_name(a)), (b"TALB", "Album %d" % a),
                          (b"TIT2", title(a, t)), (b"TRCK", str(t)),
                          (b"TCON", GENRES[(a + t) % len(GENRES)]),
                          (b"TDRC", str(1950 + (a + t) % 70))])
            with open(os.path.join(folder, name), "wb") as out:
                out.write(tag + AUDIO)
    open(done, "w").close()
    return root


def rss_mib(pid):
    """Resident and peak resident set size of a running process, in MiB."""
    figures = {}
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            key, _, value = line.partition(":")
            if key in ("VmRSS", "VmHWM"):
                figures[key] = int(value.split()[0]) / 1024
    return figures.get("VmRSS", 0.0), figures.get("VmHWM", 0.0)
