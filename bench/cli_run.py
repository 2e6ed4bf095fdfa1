#!/usr/bin/env python3
"""Whole runs of the command line (`syslens --from-dump FILE`, text and
--json) against `dmidecode --from-dump FILE` on the same tables: the two
corpus tables the targets name (27 and 620 structures) and the generated
server tables (cost per structure from 100 to 10 000). Median wall time of
alternating runs, standard output to /dev/null. Appends its section to the
benchmark report (BENCHMARKS.md)."""
import argparse
import os
import statistics
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.dont_write_bytecode = True  # nothing written into the source tree
from whole_run import check, fmt, ms, ratio, run_once, us  # noqa: E402

CORPUS = (("asus-ux305la-laptop-smbios28.bin", 27, 1.0), ("vmware-virtual-smbios27.bin", 620, 0.5))


def measure(syslens, table, reps, timeout):
    """Median wall and CPU seconds of dmidecode, text and JSON."""
    runs = {"dmidecode": [], "text": [], "json": []}
    cpu = {tool: [] for tool in runs}
    commands = {"dmidecode": ["dmidecode", "--from-dump", table],
                "text": [syslens, "--from-dump", table],
                "json": [syslens, "--json", "--from-dump", table]}
    work = os.path.dirname(table)
    for _ in range(reps):
        for tool, command in commands.items():
            wall, used, _ = run_once(command, work, dict(os.environ), timeout)
            runs[tool].append(wall)
            cpu[tool].append(used)
    return ({tool: statistics.median(t) for tool, t in runs.items()},
            {tool: statistics.median(t) for tool, t in cpu.items()})


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--syslens", required=True)
    parser.add_argument("--corpus", required=True)
    parser.add_argument("--tables", required=True, help="the generated server-N.bin tables")
    parser.add_argument("--sizes", type=int, nargs="+", default=[100, 1000, 10000])
    parser.add_argument("--reps", type=int, default=15)
    parser.add_argument("--timeout", type=float, default=120.0)
    parser.add_argument("--out", help="Markdown file to append the section to")
    args = parser.parse_args()
    args.syslens = os.path.abspath(args.syslens)

    lines = ["", "## Command line (`syslens --from-dump FILE`) against dmidecode", "",
             "Whole runs, median wall time of %d alternating repetitions, standard output to "
             "/dev/null; the table read in process (no collector)." % args.reps, "",
             "| table | structures | dmidecode | text | JSON | text/dmidecode | "
             "JSON/dmidecode | target |", "|---|---:|---:|---:|---:|---:|---:|---|"]
    rows = []
    for name, n, limit in CORPUS:
        path = os.path.join(os.path.abspath(args.corpus), name)
        if os.path.exists(path):
            rows.append((name, n, measure(args.syslens, path, args.reps, args.timeout), limit))
    for n in args.sizes:
        path = os.path.join(os.path.abspath(args.tables), "server-%d.bin" % n)
        rows.append(("server-%d.bin" % n, n, measure(args.syslens, path, args.reps, args.timeout),
                     None))
    def table(index):
        out = []
        for name, n, times, limit in rows:
            m = times[index]
            text, json_ = ratio(m["text"], m["dmidecode"]), ratio(m["json"], m["dmidecode"])
            target = "—" if limit is None else "<= %.1f: text %s, JSON %s" % (
                limit, check(text, limit), check(json_, limit))
            out.append("| %s | %d | %s | %s | %s | %s | %s | %s |" % (
                name, n, ms(m["dmidecode"]), ms(m["text"]), ms(m["json"]), fmt(text), fmt(json_),
                target))
        return out
    lines += table(0)
    lines += ["", "CPU time of the same runs (user and system), less sensitive to other load on "
              "the machine:", "", lines[-len(rows) - 2], lines[-len(rows) - 1]] + table(1)
    for name, n, times, _ in rows:
        print("%s: %s" % (name, ", ".join("%s %s" % (t, ms(v)) for t, v in times[0].items())),
              flush=True)
    generated = [(n, times[0]) for name, n, times, _ in rows if name.startswith("server-")]
    if len(generated) >= 2:
        lines += ["", "Cost per structure of the generated tables (flat from %d to %d is the "
                  "target):" % (generated[0][0], generated[-1][0]), "",
                  "| structures | text per structure | JSON per structure |", "|---:|---:|---:|"]
        lines += ["| %d | %s | %s |" % (n, us(m["text"] / n), us(m["json"] / n))
                  for n, m in generated]
    text = "\n".join(lines) + "\n"
    print(text)
    if args.out:
        with open(args.out, "a") as f:
            f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
