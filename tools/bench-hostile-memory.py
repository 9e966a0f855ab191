#!/usr/bin/env python3
"""Peak memory of the program on hostile files, as a user would meet them.

Runs the real program headless (offscreen, null audio) under /usr/bin/time -v, each case in
a new home folder beside the program, and prints the peak resident set size of each:

  - a catalogue of 256 MiB, nearly all of it empty lines (loadvld);
  - a playlist.dat of 64 MiB of "1,1,1,..." (read at start-up);
  - a catalogue whose one artist name is 50 MB long (loadvld, then listartists);
  - for comparison, a sound catalogue of 100,000 tracks (loadvld, then strack).

Usage: bench-hostile-memory.py PATH/TO/i2kCmd
"""

import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

MIB = 1024 * 1024
PIECE = 4 * MIB


def write_archive(path, catalogue_pieces):
    """An ITVL archive whose only entry, VELMORAD, is the concatenation of the pieces (an
    iterable of bytes), written piece by piece."""
    with open(path, "wb") as out:
        out.write(b"\0" * 20)
        length = 0
        for piece in catalogue_pieces:
            out.write(piece)
            length += len(piece)
        directory = out.tell()
        out.write(b"VELMORAD".ljust(16, b"\0") + struct.pack("<QQ", 20, length))
        out.seek(0)
        out.write(b"ITVL" + struct.pack("<HHIQ", 1, 0, 1, directory))


def empty_lines(total):
    head = b"#i2kCmd-store 1\r\nArtists=1\r\nArtist1=Blank Lines\r\nTracks1=0\r\n"
    yield head
    left = total - len(head)
    while left > 0:
        n = min(PIECE, left)
        yield b"\n" * n
        left -= n


def long_name(length):
    yield b"#i2kCmd-store 1\r\nArtists=1\r\nTracks1=0\r\nArtist1="
    left = length
    while left > 0:
        n = min(PIECE, left)
        yield b"x" * n
        left -= n
    yield b"\r\n"


def sound_catalogue(artists=5000, tracks=20):
    yield b"#i2kCmd-store 1\r\nBatches=0\r\nArtists=%d\r\n" % artists
    for a in range(1, artists + 1):
        lines = [b"Artist%d=The Band Number %d" % (a, a), b"Tracks%d=%d" % (a, tracks)]
        for t in range(1, tracks + 1):
            lines += [
                b"%dTrack%d=Song %d of the band %d" % (a, t, t, a),
                b"%dFilename%d=L/home/user/Music/Band %d/Song %d.mp3" % (a, t, a, t),
                b"%dGenre%d=%d" % (a, t, (a + t) % 148),
                b"%dDate%d=%d" % (a, t, 1950 + a % 70),
                b"%dLyrics%d=" % (a, t),
                b"%dNotes%d=" % (a, t),
            ]
        yield b"\r\n".join(lines) + b"\r\n"


def playlist(total):
    left = total
    while left > 0:
        n = min(PIECE, left)
        yield (b"1," * (n // 2 + 1))[:n]
        left -= n


def run(program, home, steps):
    """Peak RSS in MiB and the seconds the run took. The options file, which the program
    keeps in the user's configuration folder, and its temporary folder go into the home."""
    command = ["/usr/bin/time", "-v", program, "-platform", "offscreen", "--audio-output",
               "null", "--home", home]
    for step in steps:
        command += ["--exec", step]
    command.append("--quit")
    env = dict(os.environ, XDG_CONFIG_HOME=home, TMPDIR=home, TEMP=home)
    result = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                            text=True, timeout=600, env=env)
    peak = re.search(r"Maximum resident set size \(kbytes\): (\d+)", result.stderr)
    wall = re.search(r"Elapsed \(wall clock\) time \(h:mm:ss or m:ss\): (\S+)", result.stderr)
    if not peak:
        sys.exit("no figures from /usr/bin/time:\n" + result.stderr)
    return int(peak.group(1)) / 1024, wall.group(1) if wall else "?"


def main():
    if len(sys.argv) != 2 or not os.access(sys.argv[1], os.X_OK):
        sys.exit(__doc__)
    if not os.access("/usr/bin/time", os.X_OK):
        sys.exit("needs /usr/bin/time (Debian package 'time')")
    program = os.path.abspath(sys.argv[1])
    # Beside the program, on the build's disk: never the user's temporary folder.
    work = tempfile.mkdtemp(prefix="bench-memory-", dir=os.path.dirname(program))
    try:
        cases = []

        def database(name, pieces):
            path = os.path.join(work, name)
            write_archive(path, pieces)
            return path

        blank = database("blank-lines.vld", empty_lines(256 * MIB - 64))
        cases.append(("catalogue of empty lines (loadvld)", blank, ["loadvld " + blank]))
        named = database("long-name.vld", long_name(50 * 1000 * 1000))
        cases.append(("one artist name of 50 MB (loadvld, listartists)", named,
                      ["loadvld " + named, "listartists"]))
        sound = database("sound.vld", sound_catalogue())
        cases.append(("sound catalogue, 100,000 tracks (loadvld, strack song 7)", sound,
                      ["loadvld " + sound, "strack song 7"]))

        print("| Case | File size | Peak RSS | Wall time |")
        print("| --- | --- | --- | --- |")
        for what, path, steps in cases:
            home = tempfile.mkdtemp(dir=work)
            peak, wall = run(program, home, steps)
            print("| %s | %.1f MiB | %.0f MiB | %s |"
                  % (what, os.path.getsize(path) / MIB, peak, wall))
            shutil.rmtree(home)
            os.remove(path)

        home = tempfile.mkdtemp(dir=work)
        list_path = os.path.join(home, "playlist.dat")
        with open(list_path, "wb") as out:
            for piece in playlist(64 * MIB):
                out.write(piece)
        size = os.path.getsize(list_path)  # the shut-down rewrites it
        peak, wall = run(program, home, [])
        print("| playlist.dat of \"1,1,...\" (start-up) | %.1f MiB | %.0f MiB | %s |"
              % (size / MIB, peak, wall))
    finally:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
