#!/usr/bin/env bash
# Installs what is missing, builds every target and runs every test: the
# native build, the sanitizer build, and both Windows builds under Wine (the
# slow end-to-end runs once, on the primary 32-bit target).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# The layout of every C++ source, as .clang-format says (changes nothing).
scripts/check-format.sh

# A fresh Wine prefix for this run, removed at the end.
SYSLENS_WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/syslens-wine.XXXXXX")/prefix
export SYSLENS_WINEPREFIX
cleanup() {
  for arch in win32 win64; do
    WINEPREFIX=$SYSLENS_WINEPREFIX-$arch wineserver -k 2>/dev/null || true
  done
  rm -rf "$(dirname "$SYSLENS_WINEPREFIX")"
}
trap cleanup EXIT

run() {
  local preset=$1; shift
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j2
  ctest --preset "$preset" -j2 "$@"
}

run native
run asan
# Every parser of outside input under libFuzzer, ASan and UBSan, for a
# bounded time per target.
scripts/fuzz.sh "${SYSLENS_FUZZ_SECONDS:-30}"
# The slow end-to-end runs under Wine go once: on the 32-bit target where this
# machine runs 32-bit programs, else on the 64-bit one (the 32-bit tests then
# report themselves skipped).
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  run win32
  run win64 -LE slow
else
  echo "note: 32-bit programs cannot run here; the 32-bit target is built, its tests skip"
  run win32
  run win64
fi
# The Debian package (with lintian) and the Windows zips from the builds above.
scripts/package.sh --prebuilt --lintian
