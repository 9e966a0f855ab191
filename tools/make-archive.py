#!/usr/bin/env python3
# Builds an "ITVL" database archive from files, e.g. a music catalogue:
#   tools/make-archive.py music.db VELMORAD=index.cf song1=song1.mid song1=song1-alt.mid
# The layout is described in docs/formats.md.
"""Build an ITVL archive from NAME=FILE pairs.

Each pair adds one entry named NAME (1 to 16 ASCII characters, compared without regard
to case by readers) holding the bytes of FILE. A name may be given more than once; readers
pick among such entries by occurrence, in the order given here. The archive is written
through a temporary file and renamed into place, so a failed run leaves no half archive.
"""

import argparse
import os
import struct
import sys
import tempfile

MAGIC = b"ITVL"
VERSION = 1
HEADER = struct.Struct("<4sHHIQ")  # magic, version, flags, entry count, directory offset
ENTRY = struct.Struct("<16sQQ")  # name, data offset, data length
NAME_SIZE = 16
MAX_ENTRIES = 0xFFFFFFFF
CHUNK = 1 << 20


def parse_pair(text):
    name, sep, path = text.partition("=")
    if not sep or not path:
        raise ValueError(f"{text!r} is not NAME=FILE")
    try:
        raw = name.encode("ascii")
    except UnicodeEncodeError:
        raise ValueError(f"entry name {name!r} is not ASCII") from None
    if not 1 <= len(raw) <= NAME_SIZE or b"\0" in raw:
        raise ValueError(f"entry name {name!r} must have 1 to {NAME_SIZE} characters, no NUL")
    return raw, path


def copy_into(out, path):
    """Appends the file's bytes to out in pieces (entries may be large) and returns the count."""
    length = 0
    with open(path, "rb") as src:
        while chunk := src.read(CHUNK):
            out.write(chunk)
            length += len(chunk)
    return length


def build(output, pairs):
    folder = os.path.dirname(os.path.abspath(output))
    if not os.path.isdir(folder):
        raise ValueError(f"folder {folder!r} does not exist")
    fd, temp = tempfile.mkstemp(prefix=".make-archive-", dir=folder)
    try:
        with os.fdopen(fd, "wb") as out:
            out.write(b"\0" * HEADER.size)  # filled in once the directory's place is known
            directory = []
            for name, path in pairs:
                offset = out.tell()
                directory.append((name, offset, copy_into(out, path)))
            dir_offset = out.tell()
            for name, offset, length in directory:
                out.write(ENTRY.pack(name, offset, length))  # "16s" pads the name with NULs
            out.seek(0)
            out.write(HEADER.pack(MAGIC, VERSION, 0, len(directory), dir_offset))
        umask = os.umask(0)
        os.umask(umask)
        os.chmod(temp, 0o666 & ~umask)  # mkstemp's 0600 is not what a new file would get
        os.replace(temp, output)
    except BaseException:
        os.unlink(temp)
        raise


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("output", help="archive to write (replaced if it exists)")
    parser.add_argument("entries", nargs="+", metavar="NAME=FILE", help="entry to add")
    args = parser.parse_args(argv)
    try:
        pairs = [parse_pair(p) for p in args.entries]
        if len(pairs) > MAX_ENTRIES:
            raise ValueError("too many entries")
        build(args.output, pairs)
    except (ValueError, OSError) as e:
        print(f"make-archive: {e}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
