#!/usr/bin/env bash
# Speed benchmarks of the viewer, with dmidecode as the peer: installs what is
# missing, builds build/bench (release, SYSLENS_BENCH=ON), writes server tables
# of 100, 1 000 and 10 000 structures, runs the in-process decoder benchmark
# (Google Benchmark) and the whole runs against dmidecode (bench/whole_run.py:
# the generated tables, then the shared tables of real machines in
# ../shared/corpus as users run them, output to a pipe),
# then the command line against dmidecode (bench/cli_run.py), prints the
# figures and writes them to BENCHMARKS.md.
#
#   scripts/bench.sh           full run (15 repetitions, 7 at 10 000)
#   scripts/bench.sh --quick   3 repetitions, 100 and 1 000 only, 60 s timeout;
#                              writes build/bench/BENCHMARKS-quick.md instead
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

sizes=(100 1000 10000) reps=15 reps_large=7 min_time=0.5 in_process_reps=5 timeout=120
# A small table's run takes a few milliseconds, and a machine shared with
# builds moves that by as much: many repetitions, the median counts.
corpus_reps=101
out=BENCHMARKS.md
case "${1:-}" in
  "") ;;
  --quick) sizes=(100 1000) reps=3 reps_large=1 min_time=0.05 in_process_reps=1 timeout=60
           corpus_reps=11
           out=build/bench/BENCHMARKS-quick.md ;;
  *) echo "usage: scripts/bench.sh [--quick]" >&2; exit 2 ;;
esac

scripts/install-deps.sh
cmake --preset bench >/dev/null
cmake --build build/bench -j2 --target syslens probex syslens_bench syslens_dmidat_file \
  syslens_html_codes
bin=$root/build/bench/bin tables=$root/build/bench/tables results=$root/build/bench/results
rm -rf "$tables" "$results"
mkdir -p "$results"
# The 10 000-structure table is always written: the sanity check decodes it.
python3 bench/make_tables.py "$tables" 100 1000 10000

# One process per case, each under a timeout: some sinks are slow enough at
# 10 000 structures to take many minutes. The benchmark reads DMI.DAT from its
# working directory; its own messages and machine context go to gbench.log.
echo "In process (Google Benchmark), median of $in_process_reps, per iteration and per structure:"
for sink in text html ini; do
  for n in "${sizes[@]}"; do
    if ! (cd "$bin" && timeout "$timeout" ./syslens_bench --benchmark_filter="^$sink/$n/" \
            --benchmark_min_time="$min_time" --benchmark_repetitions="$in_process_reps" \
            --benchmark_report_aggregates_only=true --benchmark_out_format=json \
            --benchmark_out="$results/inprocess-$sink-$n.json" "$tables" \
            2>>"$results/gbench.log") | grep "^$sink/$n/real_time\( \|_median\)"; then
      echo "$sink/$n: no result within ${timeout}s (see $results/gbench.log)"
      rm -f "$results/inprocess-$sink-$n.json"
    fi
  done
done

python3 bench/whole_run.py --app "$bin" --tables "$tables" --results "$results" \
  --sizes "${sizes[@]}" --sanity-sizes 100 1000 10000 --reps "$reps" \
  --reps-large "$reps_large" --timeout "$timeout" --out "$out" \
  --corpus "$root/../shared/corpus" --corpus-reps "$corpus_reps" \
  --command "scripts/bench.sh${1:+ $1}"

# The command line against dmidecode: the corpus tables the targets name and
# the generated ones (cost per structure); appends its section to the report.
python3 bench/cli_run.py --syslens "$bin/syslens" --corpus "$root/../shared/corpus" \
  --tables "$tables" --sizes "${sizes[@]}" --reps "$reps" --timeout "$timeout" --out "$out"
