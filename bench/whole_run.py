#!/usr/bin/env python3
"""Whole runs of the viewer against dmidecode on the same saved tables, and
the report of every benchmark figure (BENCHMARKS.md).

For each table size, each sink's whole `syslens` run (the collector started
and waited for included) alternates with `dmidecode --from-dump FILE`, both
with standard output to /dev/null; the median wall time of the repetitions
counts. Peak resident size is the larger of the viewer's and its collector's
(GNU time reports the process together with the children it waited for).
The in-process figures come from the Google Benchmark JSON files that
scripts/bench.sh writes (inprocess-SINK-N.json): the median of their
repetitions.
"""
import argparse
import json
import os
import platform
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.dont_write_bytecode = True  # nothing written into the source tree
import make_tables  # noqa: E402

SINKS = ("text", "html", "ini")
FLAGS = {"html": "40000000", "ini": "20000000"}
SLOW_RUN = 10.0  # seconds: a sink this slow gets 3 repetitions, not all
# The shared tables of real machines (../shared/corpus), their structure
# counts and the most the window-text run may take against dmidecode.
CORPUS = (("asus-ux305la-laptop-smbios28.bin", 27, 1.2),
          ("gigabyte-ga-ma74gmt-s2-desktop-smbios24.bin", 54, None),
          ("lenovo-thinkpad-t480-laptop-smbios30.bin", 63, None),
          ("supermicro-x9dbl-server-smbios27.bin", 115, 1.0),
          ("vmware-virtual-smbios27.bin", 620, 1.0))
# Where the time of a small run goes, from instruction counts (valgrind
# --tool=callgrind, which repeat exactly from run to run) and strace: kept
# here so that every report written says it.
FINDINGS = """\
Where the time of a small run went, measured once at 475b48c and after the
changes (27-structure laptop table, window text; instructions counted by
`valgrind --tool=callgrind --trace-children=yes`, system calls by `strace -f
-c`). For scale: dmidecode's whole run is 1 078 k instructions, `/bin/true`
131 k, an empty C program 126 k linked dynamically and 39 k statically.

| cost | before | after | what was done |
|---|---:|---:|---|
| viewer, whole | 1 865 k | 1 060 k | |
| cutting and unscrambling DMI.DAT (12.6 KiB, 767 lines) | 527 k | 227 k | one pass over the bytes into the table; the key laid out along a piece instead of a division per character |
| the report lines into the window text (UTF-8 and control check) | 553 k | 61 k | a line of printable ASCII, TAB, CR and LF goes in whole; any other line takes the old walk |
| `snprintf("%s")` copies of captions and names | about 585 per copy | a strnlen and a memmove | a bounded copy (CopyText): 11 k here, 950 k on the 620-structure table |
| dynamic loading of libc (relocations, symbol lookup, lazy binding) | 255 k | 255 k | left: the override module is loaded with dlopen, which a static program cannot do safely; on this machine a dynamic start costs about 0.2 to 0.3 ms of CPU more than a static one |
| the collector (static), whole | 79 k | 79 k | left: its start is one of the two process starts |
| system calls of both processes | 286 | 249 | the override module is looked for by one failed open beside the program (no library path walk since the load was hardened); DMI.DAT is read once per report, and a report now finds and stamps it once instead of an access() and a stat() per name (about 3 µs per name here: 46 calls on this table, 1 400 on the 620-structure one); the temporary dump costs its create, unlink and the collector's open, about 10 calls, kept |

### What stands in the way

CPU time per run, mean of 150 runs each with output to a pipe, measured once at fec394f beside a benchmark run (load average about 3 on 2 cores; 27-structure table):

| run | CPU | minor page faults |
|---|---:|---:|
| an empty C program, static | 0.54 ms | 27 |
| an empty C program, dynamic (as the viewer) | 0.69 ms | 50 |
| the collector alone (static) | 0.76 ms | 36 |
| dmidecode, whole | 1.29 ms | 67 |
| viewer with its collector, whole | 2.26 ms | 175 |

- **Two process starts: 1.45 ms**, the viewer's dynamic start (0.69 ms) and the collector's whole run (0.76 ms), are already 1.13 × dmidecode's whole run on the 27-structure table: the 1.2 × target leaves 0.09 ms for the viewer's own work, which is 0.93 M instructions. It cannot be met while the classic run starts the collector as a second program. On the 115-structure table the two starts are 0.85 × dmidecode's 1.7 ms, leaving about 0.25 ms for 2.0 M instructions.
- **The viewer's dynamic loading: 255 k instructions, about 0.15 ms of CPU** (dynamic against static start above). A static viewer cannot load the override module with dlopen safely, so it stays dynamic.
- **The viewer's own work costs more time per instruction than dmidecode's**: about 0.8 ms of CPU for the 0.93 M instructions above an empty start, against dmidecode's 0.6 ms for 0.95 M, with 72 more minor page faults than dmidecode in the viewer alone (about 139: its 1.1 MB program with the C++ runtime linked in, the heap of the report). Not yet reduced.
- On the 620-structure table the target is met; there the viewer's instructions are 1.02 × dmidecode's, 7.7 M of them in vsnprintf (row formatting) and 3.1 M in loading a string per row, and its time per instruction is lower than dmidecode's.
"""


class Timeout(Exception):
    """A run killed at the timeout; peak: its resident size until then."""
    def __init__(self, peak):
        super().__init__()
        self.peak = peak


def run_once(command, cwd, env, timeout, peak=False, pipe=False):
    """Wall seconds, CPU seconds (user and system, with the children it
    waited for: the viewer's collector) and, with peak, the peak resident
    KiB of one run. Timeout when it had to be killed (the run has its own
    process group, collector included).

    The peak comes from GNU time, a small program: the resident size a child
    reports includes what its parent had at the fork, and for a child of
    this Python process that alone is some 17 MiB. GNU time costs some
    milliseconds per start, so timed runs go without it. With pipe, standard
    output goes to a pipe that this process drains, as when a user pipes the
    report into a pager."""
    peak_file = os.path.join(cwd, "peak.txt")
    if peak:
        if os.path.exists(peak_file):
            os.remove(peak_file)
        command = ["/usr/bin/time", "-f", "%M", "-o", peak_file] + command
    start = time.perf_counter()
    child = subprocess.Popen(command, cwd=cwd, env=env,
                             stdout=subprocess.PIPE if pipe else subprocess.DEVNULL,
                             stderr=subprocess.PIPE, start_new_session=True)
    fired = threading.Event()

    def kill():
        # Under GNU time only the measured program, so that its peak is still
        # reported; otherwise, or when it cannot be found, the whole group.
        fired.set()
        target = -child.pid
        if peak:
            try:
                with open("/proc/%d/task/%d/children" % (child.pid, child.pid)) as f:
                    target = int(f.read().split()[0])
            except (OSError, ValueError, IndexError):
                pass
        try:
            os.kill(target, signal.SIGKILL)
        except ProcessLookupError:
            pass
    timer = threading.Timer(timeout, kill)
    timer.start()
    if pipe:
        while child.stdout.read(65536):
            pass
        child.stdout.close()
    errors = child.stderr.read()
    child.stderr.close()
    _, status, usage = os.wait4(child.pid, 0)
    elapsed = time.perf_counter() - start
    timer.cancel()
    child.returncode = os.waitstatus_to_exitcode(status)
    resident = 0
    if peak:
        try:
            with open(peak_file) as f:
                resident = int(f.read().split()[-1])
        except (OSError, ValueError, IndexError):
            pass  # killed before GNU time could write it
    if fired.is_set():
        raise Timeout(resident)
    if child.returncode != 0:
        sys.exit("%s failed (%d): %s" % (" ".join(command), child.returncode,
                                         errors.decode("latin-1")))
    return elapsed, usage.ru_utime + usage.ru_stime, resident


def instructions(command, cwd, env):
    """Instructions of one run, its children included, counted by callgrind:
    the same from run to run however loaded the machine; None without
    valgrind."""
    if not shutil.which("valgrind"):
        return None
    with tempfile.TemporaryDirectory() as out:
        done = subprocess.run(["valgrind", "--tool=callgrind", "--trace-children=yes",
                               "--callgrind-out-file=" + os.path.join(out, "cg.%p")] + command,
                              cwd=cwd, env=env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.PIPE, check=False)
    counts = [int(line.split()[-1]) for line in done.stderr.decode("latin-1").splitlines()
              if "Collected :" in line]
    return sum(counts) if done.returncode == 0 and counts else None


class Bench:
    def __init__(self, args):
        self.args = args
        self.work = tempfile.mkdtemp(prefix="syslens-bench-")
        # The viewer reads DMI.DAT from its working directory and the user
        # profile from QMRK_WIN_INI: none here, so the report is in English.
        shutil.copy(os.path.join(args.app, "DMI.DAT"), self.work)
        self.viewer_path = os.path.join(os.path.abspath(args.app), "syslens")
        self.env = dict(os.environ, QMRK_WIN_INI=os.path.join(self.work, "win.ini"))

    def table(self, n):
        return os.path.join(os.path.abspath(self.args.tables), "server-%d.bin" % n)

    def viewer(self, n, sink, peak=False):
        out = os.path.join(self.work, "out." + sink)
        if os.path.exists(out):
            os.remove(out)  # HTML is appended and properties merged: start empty
        words = ["tulip"] if sink == "text" else [
            "W=0", "X=0", "Y=0", "X2=0", "Y2=0", "A=0", "F=" + FLAGS[sink], "FN=" + out]
        env = dict(self.env, PROBEX_SMBIOS_DUMP=self.table(n))
        return run_once([self.viewer_path] + words, self.work, env, self.args.timeout, peak)

    def dmidecode(self, n):
        return run_once(["dmidecode", "--from-dump", self.table(n)], self.work, self.env,
                        self.args.timeout)

    def corpus(self, path, reps):
        """Median wall and CPU seconds of the window-text run and of
        dmidecode on one saved table, alternating, output to a pipe."""
        env = dict(self.env, PROBEX_SMBIOS_DUMP=path)
        commands = {"dmidecode": ["dmidecode", "--from-dump", path],
                    "text": [self.viewer_path, "tulip"]}
        wall = {tool: [] for tool in commands}
        cpu = {tool: [] for tool in commands}
        for tool, command in commands.items():  # one run each to warm the caches
            run_once(command, self.work, env, self.args.timeout, pipe=True)
        for _ in range(reps):
            for tool, command in commands.items():
                elapsed, used, _ = run_once(command, self.work, env, self.args.timeout, pipe=True)
                wall[tool].append(elapsed)
                cpu[tool].append(used)
        return ({t: statistics.median(v) for t, v in wall.items()},
                {t: statistics.median(v) for t, v in cpu.items()},
                {t: instructions(command, self.work, env) for t, command in commands.items()})

    def sanity(self, n):
        """Both tools decode every structure of the table."""
        structures = make_tables.server(n)
        out = subprocess.run(["dmidecode", "--from-dump", self.table(n)], capture_output=True,
                             check=True).stdout.decode("latin-1")
        handles = sum(line.startswith("Handle ") for line in out.splitlines())
        env = dict(self.env, PROBEX_SMBIOS_DUMP=self.table(n))
        text = subprocess.run([self.viewer_path, "tulip"], cwd=self.work, env=env,
                              capture_output=True, check=True,
                              timeout=self.args.timeout).stdout.decode("latin-1")
        # Each memory device and each of its mapped addresses has a heading
        # beginning with these words: all of them shown means the viewer got
        # to the end of the table.
        memory = sum(s[0] in (17, 20) for s in structures)
        shown = text.count("Memory Device")
        ok = handles == n and shown == memory
        print("sanity %5d structures: dmidecode %d handles, viewer %d bytes, %d of %d memory "
              "headings: %s" % (n, handles, len(text), shown, memory, "ok" if ok else "WRONG"))
        return ok

    def measure(self, n, reps):
        """Medians of wall and CPU time per tool (None: timed out), the
        number of runs per tool, and the viewer's peak per sink."""
        wall = {tool: [] for tool in ("dmidecode",) + SINKS}
        cpu = {tool: [] for tool in ("dmidecode",) + SINKS}
        peaks = dict.fromkeys(SINKS, 0)
        # First one run per sink for its peak, which also warms the caches.
        for sink in SINKS:
            try:
                peaks[sink] = self.viewer(n, sink, peak=True)[2]
            except Timeout as killed:
                wall[sink] = cpu[sink] = None
                peaks[sink] = killed.peak
        for rep in range(reps):
            for sink in SINKS:
                if wall[sink] is None or (rep >= 3 and statistics.median(wall[sink]) > SLOW_RUN):
                    continue
                elapsed, used, _ = self.dmidecode(n)
                wall["dmidecode"].append(elapsed)
                cpu["dmidecode"].append(used)
                try:
                    elapsed, used, _ = self.viewer(n, sink)
                    wall[sink].append(elapsed)
                    cpu[sink].append(used)
                except Timeout:
                    wall[sink] = cpu[sink] = None

        def medians(runs):
            return {tool: statistics.median(t) if t else None for tool, t in runs.items()}
        counts = {tool: len(t) if t else 0 for tool, t in wall.items()}
        return medians(wall), counts, peaks, medians(cpu)


def in_process(results_dir, sizes):
    """Wall and CPU seconds per structure of each in-process benchmark; None
    when missing (it timed out or was not run)."""
    units = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
    figures = {}
    for sink in SINKS:
        for n in sizes:
            path = os.path.join(results_dir, "inprocess-%s-%d.json" % (sink, n))
            try:
                with open(path) as f:
                    runs = json.load(f)["benchmarks"]
                # The median of the repetitions, or the single run.
                run = next((r for r in runs if r.get("aggregate_name") == "median"), runs[0])
                figures[sink, n] = None if run.get("error_occurred") else (
                    run["per_structure"], run["cpu_time"] * units[run["time_unit"]] / n)
            except (OSError, ValueError, KeyError, IndexError):
                figures[sink, n] = None
    return figures


def shell(command):
    try:
        return subprocess.run(command, shell=True, capture_output=True,
                              text=True).stdout.strip() or "?"
    except OSError:
        return "?"


def machine():
    meminfo = shell("grep MemTotal /proc/meminfo | awk '{print $2}'")
    ram = "%.1f GiB" % (int(meminfo) / 1048576) if meminfo.isdigit() else "?"
    return [
        ("CPU", shell("lscpu | sed -n 's/^Model name: *//p' | head -1")),
        ("Cores", shell("nproc")),
        ("RAM", ram),
        ("Kernel", platform.release()),
        ("Compiler", shell("g++ --version | head -1")),
        ("Google Benchmark", shell("dpkg-query -W -f '${Version}' libbenchmark-dev")),
        ("dmidecode", shell("dmidecode --version")),
        ("Python", platform.python_version()),
        ("Source", shell("git -C '%s' describe --always --dirty" % HERE)),
        # The machine may be shared: a load above its cores makes every figure slower.
        ("Load average at the end", shell("cut -d' ' -f1-3 /proc/loadavg")),
    ]


def ms(seconds):
    return "timeout" if seconds is None else "%.1f ms" % (seconds * 1e3)


def us(seconds):
    return "—" if seconds is None else "%.1f µs" % (seconds * 1e6)


def ratio(a, b):
    return None if a is None or b is None else a / b


def fmt(x):
    return "—" if x is None else "%.2f" % x


def check(value, limit, lower_bound=False):
    """PASS/FAIL of value <= limit. A value from a timed-out run is only a
    lower bound: it proves FAIL when above the limit, nothing otherwise."""
    if value is None:
        return "not measured"
    if value > limit:
        return "FAIL"
    return "unknown (timeout)" if lower_bound else "PASS"


def corpus_section(corpus, reps):
    """The corpus tables: wall and CPU tables, ratios and their targets."""
    lines = ["## Shared corpus tables, window text (`syslens tulip`) against dmidecode", "",
             "The tables of real machines as users run them: the real collector reading the "
             "table through `PROBEX_SMBIOS_DUMP`, standard output to a pipe that the benchmark "
             "drains, each viewer run alternating with `dmidecode --from-dump FILE`; median of "
             "%d repetitions of each. Two process starts of ours against dmidecode's one set "
             "the floor." % reps, ""]
    for index, caption in ((0, "wall time"), (1, "CPU time (user and system, the viewer's with "
                                                 "its collector's)")):
        lines += [caption[0].upper() + caption[1:] + ":", "",
                  "| table | structures | dmidecode | window text | text/dmidecode | target |",
                  "|---|---:|---:|---:|---:|---|"]
        for name, n, limit, times in corpus:
            r = ratio(times[index]["text"], times[index]["dmidecode"])
            lines.append("| %s | %d | %s | %s | %s | %s |" % (
                name, n, ms(times[index]["dmidecode"]), ms(times[index]["text"]), fmt(r),
                "—" if limit is None else "<= %.1f: %s" % (limit, check(r, limit))))
        lines.append("")
    lines += ["Instructions of one run (callgrind; the viewer's with its collector's), which do "
              "not depend on the load of the machine:", "",
              "| table | structures | dmidecode | window text | text/dmidecode |",
              "|---|---:|---:|---:|---:|"]
    for name, n, limit, times in corpus:
        count = times[2]
        lines.append("| %s | %d | %s | %s | %s |" % (
            name, n, kilo(count["dmidecode"]), kilo(count["text"]),
            fmt(ratio(count["text"], count["dmidecode"]))))
    lines.append("")
    return lines


def kilo(count):
    return "—" if count is None else "{:,} k".format(round(count / 1000)).replace(",", " ")


def report(args, sizes, whole, inproc, start_cost, corpus=()):
    lines = ["# Benchmarks", "",
             "Speed and memory of the viewer against dmidecode on generated tables of a big "
             "server (`bench/make_tables.py`: SMBIOS 3.2, 64-bit entry point, mostly memory "
             "devices with their mapped addresses, the fixed part of the machine around them).",
             "", "## Machine", "", "| | |", "|---|---|"]
    lines += ["| %s | %s |" % kv for kv in machine()]
    lines += ["", "## Command", "", "    " + args.command, "",
              "Whole runs: median wall time of %s repetitions (10 000 structures: %s; a sink "
              "whose run takes over %.0f s: 3), viewer and dmidecode alternating, standard output "
              "to /dev/null; timeout %.0f s per run. Both include starting a process from Python "
              "(%s here for /bin/true). Peak memory: one more run per sink under GNU time. "
              "In-process: Google Benchmark (Debian's build, which warns that the library was "
              "built without optimisation: that concerns its own loop, not the code measured), "
              "the dump reader and decoder into each sink, no collector." % (
                  args.reps, args.reps_large, SLOW_RUN, args.timeout, start_cost), ""]

    lines += ["## Whole runs", "",
              "| structures | table | dmidecode | window text | HTML | INI | text/dmidecode | "
              "HTML/text | INI/text |", "|---:|---:|---:|---:|---:|---:|---:|---:|---:|"]
    for n in sizes:
        m = whole[n][0]
        cells = ["%s (%s/str)" % (ms(m[t]), us(ratio(m[t], n))) for t in ("dmidecode",) + SINKS]
        lines.append("| %d | %d KiB | %s | %s | %s | %s |" % (
            n, os.path.getsize(os.path.join(args.tables, "server-%d.bin" % n)) // 1024,
            " | ".join(cells), fmt(ratio(m["text"], m["dmidecode"])),
            fmt(ratio(m["html"], m["text"])), fmt(ratio(m["ini"], m["text"]))))
    lines += ["", "Repetitions measured (dmidecode/text/HTML/INI): " + "; ".join(
        "%d: %s" % (n, "/".join(str(whole[n][1][t]) for t in ("dmidecode",) + SINKS))
        for n in sizes), ""]

    lines += ["CPU time of the same runs (user and system; the viewer's with its collector's), "
              "less sensitive to other load on the machine:", "",
              "| structures | dmidecode | window text | HTML | INI | text/dmidecode | HTML/text "
              "| INI/text |", "|---:|---:|---:|---:|---:|---:|---:|---:|"]
    for n in sizes:
        c = whole[n][3]
        lines.append("| %d | %s | %s | %s | %s |" % (
            n, " | ".join(ms(c[t]) for t in ("dmidecode",) + SINKS),
            fmt(ratio(c["text"], c["dmidecode"])), fmt(ratio(c["html"], c["text"])),
            fmt(ratio(c["ini"], c["text"]))))
    lines += [""]

    lines += ["## In process (Google Benchmark), time per structure", "",
              "| sink | " + " | ".join(str(n) for n in sizes) + " |",
              "|---|" + "---:|" * len(sizes)]
    for sink in SINKS:
        lines.append("| %s | %s |" % (sink, " | ".join(
            "%s (CPU %s)" % (us(inproc[sink, n][0]), us(inproc[sink, n][1]))
            if inproc[sink, n] is not None else "timeout/none" for n in sizes)))

    if corpus:
        lines += [""] + corpus_section(corpus, args.corpus_reps) + FINDINGS.splitlines()
    lines += ["", "## Peak resident size of the viewer run (viewer or collector, the larger)", "",
              "| structures | table | text | HTML | INI |", "|---:|---:|---:|---:|---:|"]
    for n in sizes:
        peaks = whole[n][2]
        lines.append("| %d | %d KiB | %s |" % (
            n, os.path.getsize(os.path.join(args.tables, "server-%d.bin" % n)) // 1024,
            " | ".join("%d KiB" % peaks[s] if peaks[s] else "—" for s in SINKS)))

    lines += ["", "## Targets", "", "| target | figure | result |", "|---|---:|---|"]
    first, last = sizes[0], sizes[-1]
    for n in (1000, 10000):
        if n not in whole:
            lines.append("| window text / dmidecode <= 1.0 at %d | — | not measured |" % n)
            continue
        m = whole[n][0]
        r = ratio(m["text"], m["dmidecode"])
        lines.append("| window text / dmidecode <= 1.0 at %d | %s | %s |" % (
            n, fmt(r) if m["text"] is not None else "timeout",
            check(r, 1.0) if m["text"] is not None else "FAIL"))
    for n in sizes:
        m = whole[n][0]
        for sink in ("html", "ini"):
            timed_out = m[sink] is None
            r = ratio(args.timeout if timed_out else m[sink], m["text"])
            lines.append("| %s <= 3 × window text at %d | %s | %s |" % (
                sink.upper(), n, (">= " if timed_out else "") + fmt(r), check(r, 3.0, timed_out)))
    for sink in SINKS:
        for label, cost in (("whole run", lambda n: ratio(whole[n][0][sink], n) if n in whole
                             else None),
                            ("in process, wall", lambda n: (inproc.get((sink, n)) or [None])[0]),
                            ("in process, CPU", lambda n: (inproc.get((sink, n)) or [0, None])[1])):
            lower = label == "whole run" and last in whole and whole[last][0][sink] is None
            at_last = args.timeout / last if lower else cost(last)
            r = ratio(at_last, cost(first))
            lines.append("| %s per structure flat within 1.5× from %d to %d (%s) | %s | %s |" % (
                sink, first, last, label, (">= " if lower and r is not None else "") + fmt(r),
                check(r, 1.5, lower)))
    for name, n, limit, times in corpus:
        if limit is None:
            continue
        for index, label in ((0, "wall"), (1, "CPU")):
            r = ratio(times[index]["text"], times[index]["dmidecode"])
            lines.append("| window text / dmidecode <= %.1f on %s (%d structures, %s) | %s | %s |"
                         % (limit, name, n, label, fmt(r), check(r, limit)))
    for sink in SINKS:
        small, large = whole[first][2][sink], whole[last][2][sink]
        table_kib = os.path.getsize(os.path.join(args.tables, "server-%d.bin" % last)) / 1024
        limit = 2 * small + table_kib
        # A run killed at the timeout had not necessarily reached its peak.
        killed = whole[last][0][sink] is None
        lines.append("| %s peak(%d) < 2 × peak(%d) + table | %s%s KiB vs %.0f KiB | %s |" % (
            sink, last, first, ">= " if killed else "", large or "—", limit,
            check(large, limit, killed) if small and large else "not measured"))
    return "\n".join(lines) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--app", required=True, help="directory of syslens, probex, DMI.DAT")
    parser.add_argument("--tables", required=True, help="directory of server-N.bin")
    parser.add_argument("--results", required=True, help="directory of inprocess-*.json")
    parser.add_argument("--sizes", type=int, nargs="+", default=[100, 1000, 10000])
    parser.add_argument("--sanity-sizes", type=int, nargs="*", default=[10000])
    parser.add_argument("--reps", type=int, default=15)
    parser.add_argument("--reps-large", type=int, default=7, help="repetitions at 10 000")
    parser.add_argument("--timeout", type=float, default=120.0)
    parser.add_argument("--corpus", help="directory of the shared tables of real machines")
    parser.add_argument("--corpus-reps", type=int, default=101)
    parser.add_argument("--out", help="Markdown file to write (BENCHMARKS.md)")
    parser.add_argument("--command", default="scripts/bench.sh")
    args = parser.parse_args()

    bench = Bench(args)
    try:
        starts = [run_once(["/bin/true"], bench.work, bench.env, 10) for _ in range(15)]
        start_cost = "%s wall, %s CPU" % (ms(statistics.median(s[0] for s in starts)),
                                         ms(statistics.median(s[1] for s in starts)))
        if not all([bench.sanity(n) for n in args.sanity_sizes]):
            return 1
        corpus = []
        for name, n, limit in CORPUS if args.corpus else ():
            path = os.path.join(os.path.abspath(args.corpus), name)
            if os.path.exists(path):
                times = bench.corpus(path, args.corpus_reps)
                corpus.append((name, n, limit, times))
                print("corpus %s: dmidecode %s, text %s" % (
                    name, ms(times[0]["dmidecode"]), ms(times[0]["text"])), flush=True)
        whole = {}
        for n in args.sizes:
            whole[n] = bench.measure(n, args.reps_large if n >= 10000 else args.reps)
            m = whole[n][0]
            print("whole runs %5d: %s" % (n, ", ".join("%s %s" % (t, ms(m[t])) for t in m)),
                  flush=True)
    finally:
        shutil.rmtree(bench.work, ignore_errors=True)
    text = report(args, args.sizes, whole, in_process(args.results, args.sizes), start_cost,
                  corpus)
    print(text)
    if args.out:
        with open(args.out, "w") as f:
            f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
