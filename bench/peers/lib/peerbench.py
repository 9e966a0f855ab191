"""What the peer comparisons share: a real X server, a home with a full event log, runs of
two programs alternated so both meet the same machine, the load beside every figure, and one
line per result that tools/bench-peers.py gathers into its table.

A comparison script is run as `SCRIPT BUILD_DIR`. Besides what it prints for people, it
prints each result as one line

    RATIO<TAB>job<TAB>program<TAB>peer<TAB>ratio

with the ratio program / peer (below 1: the program is faster or smaller). It exits 0, or
non-zero when something failed; a peer that is not installed is said and skipped."""

import contextlib
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

EVENT_LOG_LIMIT = 1048576
_RECORD = "07/12/2026 04:53:30 - COMMAND: write some earlier command line\r\n"


def missing(*tools):
    """The tools not on PATH, said once; empty when every one is there."""
    absent = [tool for tool in tools if not shutil.which(tool)]
    if absent:
        print(f"{os.path.basename(sys.argv[0])}: {', '.join(absent)} missing, skipped")
    return absent


def write_full_event_log(home):
    """The event log as a user's is after a few thousand commands: at its 1 MiB limit."""
    with open(os.path.join(home, "eventlog.txt"), "w", newline="") as log:
        log.write((_RECORD * (EVENT_LOG_LIMIT // len(_RECORD) + 1))[:EVENT_LOG_LIMIT])


@contextlib.contextmanager
def work_folder(build_dir, prefix):
    """A folder on the build's disk (not a RAM-backed temporary folder), removed after."""
    work = tempfile.mkdtemp(prefix=prefix, dir=build_dir)
    try:
        yield work
    finally:
        shutil.rmtree(work, ignore_errors=True)


@contextlib.contextmanager
def x_server(width=1920, height=1080):
    """An Xvfb of its own; yields (display, server pid) once it accepts clients."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                               f"{width}x{height}x24", "-nolisten", "tcp", "-noreset"],
                              pass_fds=(write_end,), stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    os.close(write_end)
    try:
        with os.fdopen(read_end) as ready:
            number = ready.readline().strip()
        if not number:
            sys.exit("Xvfb did not start")
        yield f":{number}", server.pid
    finally:
        server.terminate()
        server.wait()


@contextlib.contextmanager
def session_bus(work):
    """A private D-Bus session bus, as a desktop session has: Qt's accessibility bridge
    connects to it at start, and without one libdbus tries to launch one."""
    if not shutil.which("dbus-daemon"):
        yield {}
        return
    daemon = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1",
                               f"--address=unix:dir={work}"],
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    try:
        address = daemon.stdout.readline().strip()
        yield {"DBUS_SESSION_BUS_ADDRESS": address} if address else {}
    finally:
        daemon.terminate()
        daemon.wait()


def process_cpu(pid):
    """CPU seconds a running process (such as the X server) has used."""
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def run(argv, env=None, cwd=None, stdout=subprocess.DEVNULL):
    """Wall and CPU seconds (user and system, its children included) of one run."""
    with tempfile.TemporaryFile() as errors:
        start = time.perf_counter()
        child = subprocess.Popen(argv, env=env, cwd=cwd, stdout=stdout, stderr=errors)
        _, status, usage = os.wait4(child.pid, 0)
        wall = time.perf_counter() - start
        if os.waitstatus_to_exitcode(status) != 0:
            errors.seek(0)
            sys.exit(f"{' '.join(argv)} failed with {os.waitstatus_to_exitcode(status)}:\n"
                     + errors.read().decode(errors="replace")[-2000:])
    return wall, usage.ru_utime + usage.ru_stime


class Paired:
    """Runs of several jobs in turn, run after run, so each meets the same machine; the
    first rounds only warm the caches. Each job is a function returning (wall, cpu)."""

    def __init__(self, jobs, rounds, warmup=2):
        self.walls = {name: [] for name in jobs}
        self.cpus = {name: [] for name in jobs}
        self.loads = []
        for round_ in range(warmup + rounds):
            for name, job in jobs.items():
                wall, cpu = job()
                if round_ >= warmup:
                    self.walls[name].append(wall)
                    self.cpus[name].append(cpu)
            self.loads.append(os.getloadavg()[0])

    def load(self):
        return f"load average {min(self.loads):.1f} to {max(self.loads):.1f}"

    def ratios(self, kind, program, peer):
        values = self.walls if kind == "wall" else self.cpus
        return [a / b for a, b in zip(values[program], values[peer]) if b > 0]


def spread(values, scale=1.0, unit="", digits=2):
    """The median with the lowest and highest beside it."""
    low, mid, high = (scale * v for v in (min(values), statistics.median(values), max(values)))
    return f"{mid:.{digits}f}{unit} ({low:.{digits}f} to {high:.{digits}f})"


def report_ratio(job, program, peer, ratios, load):
    """One result: the median of the paired ratios with their spread, and the load."""
    text = f"{spread(ratios)}x, {len(ratios)} pairs, {load}"
    print(f"  {job}: {program} / {peer} = {text}")
    print(f"RATIO\t{job}\t{program}\t{peer}\t{text}")
