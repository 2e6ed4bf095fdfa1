#!/usr/bin/env bash
# Runs a Windows program under Wine in a private prefix.
#   run-wine.sh [--arch win32|win64] PROGRAM [ARGS...]
# The prefix is $SYSLENS_WINEPREFIX when set (the test command makes a fresh
# one per run), else one per user and architecture under $TMPDIR. It is
# created on first use; concurrent first uses wait for each other.
set -eu
arch=win32
if [ "${1:-}" = "--arch" ]; then arch=$2; shift 2; fi
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
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
    touch "$WINEPREFIX/.syslens-ready"
  fi
  flock -u 9
fi
exec wine "$@"
