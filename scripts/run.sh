#!/usr/bin/env bash
# Builds the native viewer and collector and shows a report: this machine's
# own SMBIOS tables where they can be read (on Linux, as root), else the
# bundled sample table. PROBEX_SMBIOS_DUMP, when set, names a saved table to
# show instead (see docs/collector.md). Arguments, if any, are the viewer's
# parameter string (default: tulip, the report on standard output).
set -euo pipefail
# A saved table named relative to the caller's directory.
if [ -n "${PROBEX_SMBIOS_DUMP:-}" ]; then
  PROBEX_SMBIOS_DUMP=$(realpath -m "$PROBEX_SMBIOS_DUMP")
  export PROBEX_SMBIOS_DUMP
fi
cd "$(dirname "$0")/.."
scripts/install-deps.sh --native
cmake --preset native >/dev/null
cmake --build --preset native -j2 --target syslens probex syslens_dmidat_file syslens_html_codes
tables=/sys/firmware/dmi/tables
if [ -z "${PROBEX_SMBIOS_DUMP:-}" ] &&
   ! { [ -r "$tables/smbios_entry_point" ] && [ -r "$tables/DMI" ]; }; then
  echo "run.sh: this machine's SMBIOS tables cannot be read here; showing the bundled sample" >&2
  export PROBEX_SMBIOS_DUMP=$PWD/data/samples/workstation-smbios32.bin
fi
# Report files (output.htm, object.ini) go to build/native/run. The viewer
# takes the DMI.DAT beside it when its current directory holds none; an older
# run.sh left a copy here, which would win over the one just built.
app=build/native/run
mkdir -p "$app"
rm -f "$app/DMI.DAT"
cd "$app"
exec ../bin/syslens "${@:-tulip}"
