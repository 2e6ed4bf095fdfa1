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
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native -j2 --target syslens probex syslens_dmidat_file syslens_html_codes
sample=$PWD/data/samples/workstation-smbios32.bin
tables=/sys/firmware/dmi/tables
readable() { [ -r "$tables/smbios_entry_point" ] && [ -r "$tables/DMI" ]; }

if [ $# -eq 0 ] || [ "${1:0:1}" = "-" ]; then
  from=()
  if ! readable; then
    echo "run.sh: this machine's SMBIOS table cannot be read here; showing the bundled sample" >&2
    from=(--from-dump "$sample")
  fi
  exec build/native/bin/syslens "${from[@]}" "$@"
fi

# A parameter string: the classic report, with the collector beside the
# viewer and DMI.DAT in the working directory, as installed.
app=build/native/run
mkdir -p "$app"
cp build/native/bin/syslens build/native/bin/probex build/native/bin/QMRKW32H.INI \
   build/native/bin/DMI.DAT "$app"/
if [ -z "${PROBEX_SMBIOS_DUMP:-}" ] && ! readable; then
  echo "run.sh: this machine's SMBIOS tables cannot be read here; showing the bundled sample" >&2
  export PROBEX_SMBIOS_DUMP=$sample
fi
cd "$app"
exec ./syslens "$@"
