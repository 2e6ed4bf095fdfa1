#!/usr/bin/env bash
# Builds the libFuzzer targets with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer in build/fuzz, writes their seeds with our own
# test utilities, and runs each target for a bounded time. Fails on the first
# target that finds anything; the input that did it is kept under
# build/fuzz/artifacts/.
#
#   scripts/fuzz.sh [seconds per target] [target ...]
#
# Seconds default to SYSLENS_FUZZ_SECONDS, else 30. Targets default to all.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/install-deps.sh

seconds=${1:-${SYSLENS_FUZZ_SECONDS:-30}}
[ $# -gt 0 ] && shift
case $seconds in
  ''|*[!0-9]*) echo "fuzz.sh: seconds must be a whole number, not '$seconds'" >&2; exit 2 ;;
esac
all=(dump_text_fuzzer dump_html_fuzzer dump_ini_fuzzer collector_fuzzer
     dmidat_fuzzer tabbed_fuzzer params_fuzzer model_fuzzer)
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all[@]}")

build=$root/build/fuzz
sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=all"
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSYSLENS_FUZZ=ON \
  "-DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link $sanitizers -fno-omit-frame-pointer" \
  "-DCMAKE_EXE_LINKER_FLAGS=$sanitizers" >/dev/null
cmake --build "$build" --target syslens_fuzz -j2

# Seeds are made anew each run; the corpus each target grows is kept
# between runs in build/fuzz/corpus.
seeds=$build/seeds
rm -rf "$seeds"
"$build/fuzz-bin/make_fuzz_seeds" "$seeds" "$root/data/samples/workstation-smbios32.bin"
seed_dir() {
  case $1 in
    dump_*) echo dump ;;
    model_fuzzer) echo collector ;;  # the same input format
    *) echo "${1%_fuzzer}" ;;
  esac
}

mkdir -p "$build/artifacts"
# The targets' temporary directories, removed after each run.
export TMPDIR=$build/tmp
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
failed=()
for target in "${targets[@]}"; do
  corpus=$build/corpus/$target
  mkdir -p "$corpus"
  rm -rf "$TMPDIR" && mkdir -p "$TMPDIR"
  echo "== $target: ${seconds} s"
  # Run beside DMI.DAT and the HTML codes, as the viewer runs.
  if (cd "$build/bin" && "./$target" -max_total_time="$seconds" -timeout=25 \
        -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$target-" \
        "$corpus" "$seeds/$(seed_dir "$target")" >"$build/$target.log" 2>&1); then
    grep -E "^(#[0-9]+.*DONE|stat::number_of_executed_units|stat::peak_rss_mb)" \
      "$build/$target.log" || true
  else
    echo "fuzz.sh: $target found a fault; the log is $build/$target.log:" >&2
    tail -60 "$build/$target.log" >&2
    failed+=("$target")
  fi
done
rm -rf "$TMPDIR"

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz.sh: faults in ${failed[*]}; inputs under $build/artifacts" >&2
  exit 1
fi
echo "fuzz.sh: ${#targets[@]} targets ran ${seconds} s each and found nothing"
