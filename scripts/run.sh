#!/usr/bin/env bash
# Builds the native programs and shows this machine's SMBIOS table through
# the command line (syslens with options): the machine's own table where it
# can be read (on Linux, as root), else the bundled sample table.
#
#   scripts/run.sh [OPTIONS]     the command line: -t memory, --json, -s system-uuid, ...
#   scripts/run.sh tulip         a parameter string: the classic report, through the
#                                collector (PROBEX_SMBIOS_DUMP names a saved table to
#                                show instead, see docs/collector.md)
set -euo pipefail
# A saved table named relative to the caller's directory.
if [ -n "${PROBEX_SMBIOS_DUMP:-}" ]; then
  PROBEX_SMBIOS_DUMP=$(realpath -m "$PROBEX_SMBIOS_DUMP")
  export PROBEX_SMBIOS_DUMP
fi
root=$(cd "$(dirname "$0")/.." && pwd)
(
  cd "$root"
  scripts/install-deps.sh --native
  cmake --preset native >/dev/null
  cmake --build --preset native -j2 --target syslens probex syslens_dmidat_file syslens_html_codes \
    >/dev/null
)
sample=$root/data/samples/workstation-smbios32.bin
tables=/sys/firmware/dmi/tables
readable() { [ -r "$tables/smbios_entry_point" ] && [ -r "$tables/DMI" ]; }

if [ $# -eq 0 ] || [ "${1:0:1}" = "-" ]; then
  from=()
  if ! readable; then
    echo "run.sh: this machine's SMBIOS table cannot be read here; showing the bundled sample" >&2
    from=(--from-dump "$sample")
  fi
  # From the caller's directory, so that --from-dump takes a relative name.
  exec "$root/build/native/bin/syslens" "${from[@]}" "$@"
fi

# A parameter string: the classic report, with the collector beside the viewer.
if [ -z "${PROBEX_SMBIOS_DUMP:-}" ] && ! readable; then
  echo "run.sh: this machine's SMBIOS tables cannot be read here; showing the bundled sample" >&2
  export PROBEX_SMBIOS_DUMP=$sample
fi
# Report files (output.htm, object.ini) go to build/native/run. The viewer
# takes the DMI.DAT beside it when its current directory holds none; an older
# run.sh left a copy here, which would win over the one just built.
app=$root/build/native/run
mkdir -p "$app"
rm -f "$app/DMI.DAT"
cd "$app"
exec ../bin/syslens "$@"
