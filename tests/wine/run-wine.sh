#!/usr/bin/env bash
# Runs a Windows program under Wine in a private prefix.
#   run-wine.sh [--arch win32|win64] PROGRAM [ARGS...]
# The prefix is $SYSLENS_WINEPREFIX-<arch> when SYSLENS_WINEPREFIX is set
# (the test command makes a fresh one per run), else one per user and
# architecture under $TMPDIR. It is created on first use; concurrent first
# uses wait for each other.
#
# Exit code 77 (a skipped test for CTest) when this machine cannot run the
# architecture's programs: 32-bit Wine needs a kernel that runs 32-bit
# executables, which some machines lack.
set -eu
arch=win32
if [ "${1:-}" = "--arch" ]; then arch=$2; shift 2; fi
case $arch in
  win32) loader=/usr/lib/wine/wine ;;
  win64) loader=/usr/lib/wine/wine64 ;;
  *) echo "run-wine.sh: unknown architecture $arch" >&2; exit 2 ;;
esac
if ! "$loader" --version >/dev/null 2>&1; then
  echo "run-wine.sh: this machine cannot run $arch programs under Wine ($loader does not start)" >&2
  exit 77
fi
# The wine launcher script picks the 32-bit loader whenever it is installed;
# name the loader directly so 64-bit programs run where 32-bit ones cannot.
export WINELOADER=$loader
base=${SYSLENS_WINEPREFIX:-${TMPDIR:-/tmp}/syslens-wine-$(id -u)}
export WINEPREFIX=$base-$arch
export WINEARCH=$arch
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ ! -f "$WINEPREFIX/.syslens-ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [ ! -f "$WINEPREFIX/.syslens-ready" ]; then
    "$loader" wineboot.exe -i >/dev/null 2>&1 || true
    wineserver -w || true
    touch "$WINEPREFIX/.syslens-ready"
  fi
  flock -u 9
  exec 9>&-
fi
exec "$loader" "$@"
