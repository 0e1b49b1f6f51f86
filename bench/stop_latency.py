#!/usr/bin/env python3
"""Stop latency of serquin-cli: the time from SIGINT (Ctrl+C) to the program's exit, for searches caught in
their slowest places. Run by hand, never in CI:  bench/stop_latency.py [CLI]

Builds the cases in a scratch folder under /tmp (1 GB text files, files of lines a regular expression runs
away on, a folder of 100,000 entries), starts serquin-cli on each, waits until the search is where the case
wants it, sends SIGINT and measures until the process has exited (its teardown included). Each case runs
RUNS times (default 5); the median and the largest are printed with the exit status, which must be 130.
The scratch folder, the 1 GB files with it, is removed at the end. CLI defaults to a Release build in
build/rel (built here if missing).
"""
import os
import shutil
import signal
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SCRATCH = "/tmp/serquin-stop-bench"
RUNS = int(os.environ.get("RUNS", "5"))
LIMIT = float(os.environ.get("LIMIT", "30"))  # seconds a run may take after SIGINT before it is killed
GIB = 1 << 30


def build_cli():
    build = os.path.join(ROOT, "build/rel")
    if not os.path.exists(os.path.join(build, "build.ninja")):
        subprocess.run(["cmake", "-S", ROOT, "-B", build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
                        "-DSERQUIN_TESTS=OFF", "-DSERQUIN_GUI=OFF"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build, "--target", "serquin-cli", "bregexp"], check=True,
                   stdout=subprocess.DEVNULL)
    return os.path.join(build, "bin/serquin-cli")


def write_file(path, line, size):
    """Writes `line` over and over until the file holds `size` bytes."""
    block = line * max(1, (8 << 20) // len(line))
    with open(path, "wb") as f:
        written = 0
        while written < size:
            piece = block[: size - written]
            f.write(piece)
            written += len(piece)


def make_cases():
    shutil.rmtree(SCRATCH, ignore_errors=True)
    os.makedirs(SCRATCH)
    big = os.path.join(SCRATCH, "big.txt")
    write_file(big, b"The quick brown fox jumps over the lazy dog, 0123456789 times over.\n", GIB)
    big8 = os.path.join(SCRATCH, "big8.txt")
    write_file(big8, "いろはにほへと ちりぬるを わかよたれそ つねならむ 0123456789\n".encode(), GIB)
    runaway = os.path.join(SCRATCH, "runaway")
    os.makedirs(runaway)
    for i in range(300):
        write_file(os.path.join(runaway, "%03d.txt" % i), b"a" * 40 + b"\n", 2000 * 41)
    entries = os.path.join(SCRATCH, "entries")
    os.makedirs(entries)
    for i in range(100000):
        open(os.path.join(entries, "entry%06d.txt" % i), "wb").close()
    return big, big8, runaway, entries


def read_bytes(pid):
    """Bytes the process has read so far (its rchar), or -1 once it is gone."""
    try:
        with open("/proc/%d/io" % pid) as f:
            for line in f:
                if line.startswith("rchar:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return -1


def run_case(cli, args, ready):
    """Starts the search, waits until ready(pid, started) says so, interrupts it; (latency s, status, missed).
    missed: the search ended before it could be interrupted."""
    proc = subprocess.Popen([cli] + args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    started = time.monotonic()
    while not ready(proc.pid, started):
        if proc.poll() is not None:
            return 0.0, proc.returncode, True
        time.sleep(0.0005)
    sent = time.monotonic()
    proc.send_signal(signal.SIGINT)
    try:
        status = proc.wait(timeout=LIMIT)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()
        return float("inf"), "killed", False
    return time.monotonic() - sent, status, False


def after(seconds):
    return lambda pid, started: time.monotonic() - started >= seconds


def when_read(at_least):
    return lambda pid, started: read_bytes(pid) >= at_least


def when_read_then(at_least, seconds):
    state = {}

    def ready(pid, started):
        if "at" not in state:
            if read_bytes(pid) >= at_least:
                state["at"] = time.monotonic()
            return False
        return time.monotonic() - state["at"] >= seconds

    return ready


def main():
    cli = sys.argv[1] if len(sys.argv) > 1 else build_cli()
    print("making the cases in %s ..." % SCRATCH, flush=True)
    big, big8, runaway, entries = make_cases()
    try:
        cases = [
            ("1 GB file, being read", ["-t", "-cs", "-e*", "-b" + big, "-mnowhere"],
             lambda: when_read(GIB // 4)),
            ("1 GB file, code detection (automatic code)", ["-t", "-e*", "-b" + big, "-mnowhere"],
             lambda: when_read_then(GIB, 0.0)),
            ("1 GB file, plain scan", ["-t", "-cs", "-e*", "-b" + big, "-mnowhere"],
             lambda: when_read_then(GIB, 0.02)),
            ("1 GB file, plain scan ignoring case", ["-t", "-cs", "-i1", "-e*", "-b" + big, "-mnowhere"],
             lambda: when_read_then(GIB, 0.05)),
            ("1 GB file, regular-expression scan", ["-t", "-cs", "-r1", "-e*", "-b" + big, "-mx[0-9]{3}y"],
             lambda: when_read_then(GIB, 0.2)),
            ("1 GB UTF-8 file, expression without a literal", ["-t", "-r1", "-e*", "-b" + big8, "-m[ア-ン]{3}"],
             lambda: when_read_then(GIB, 0.2)),
            ("1 GB UTF-8 file, full-width letters, case ignored", ["-t", "-i1", "-e*", "-b" + big8, "-mＡＢ"],
             lambda: when_read_then(GIB, 0.2)),
            ("(a*)*[^a] on files of 2,000 lines of 40 a", ["-t", "-r1", "-e*", "-b" + runaway + "/",
                                                             "-m(a*)*[^a]"], lambda: after(0.3)),
            ("folder of 100,000 entries, text search", ["-t", "-sb", "-e*", "-b" + entries + "/", "-mkey"],
             lambda: after(0.1)),
            ("folder of 100,000 entries, name search", ["-f", "-sb", "-e*", "-b" + entries + "/", "-mnowhere"],
             lambda: after(0.03)),
        ]
        print("%-50s %10s %10s  %s" % ("case (SIGINT to exit)", "median", "largest", "status"))
        for name, args, ready in cases:
            latencies, statuses, missed = [], set(), 0
            for _ in range(RUNS):
                latency, status, early = run_case(cli, args, ready())
                if early:
                    missed += 1
                    continue
                latencies.append(latency * 1000)
                statuses.add(status)
            if not latencies:
                print("%-50s  ended before it could be interrupted" % name)
                continue
            note = " (%d runs ended first)" % missed if missed else ""
            print("%-50s %8.1f ms %7.1f ms  %s%s" % (name, statistics.median(latencies), max(latencies),
                                                     ",".join(sorted(str(s) for s in statuses)), note),
                  flush=True)
        start = time.monotonic()
        try:
            subprocess.run([cli, "-t", "-r1", "-e*", "-b" + os.path.join(runaway, "000.txt"), "-m(a*)*[^a]"],
                           stdout=subprocess.DEVNULL, timeout=LIMIT)
            took = "%8.1f ms" % ((time.monotonic() - start) * 1000)
        except subprocess.TimeoutExpired:
            took = "  > %.0f s" % LIMIT
        print("%-50s %s  (one file, to its end)" % ("(a*)*[^a] on 2,000 lines of 40 a, whole search", took))
    finally:
        shutil.rmtree(SCRATCH, ignore_errors=True)


if __name__ == "__main__":
    main()
