#!/usr/bin/env bash
# Builds the native viewer and collector and shows a report: this machine's
# own SMBIOS tables where they can be read (on Linux, as root), else the
# bundled sample table. PROBEX_SMBIOS_DUMP, when set, names a saved table to
# show instead (see docs/collector.md). Arguments, if any, are the viewer's
# parameter string (default: tulip, the report on standard output).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native -j2 --target syslens probex syslens_dmidat_file syslens_html_codes
app=build/native/run
mkdir -p "$app"
cp build/native/bin/syslens build/native/bin/probex build/native/bin/QMRKW32H.INI \
   build/native/bin/DMI.DAT "$app"/
tables=/sys/firmware/dmi/tables
if [ -z "${PROBEX_SMBIOS_DUMP:-}" ] &&
   ! { [ -r "$tables/smbios_entry_point" ] && [ -r "$tables/DMI" ]; }; then
  echo "run.sh: this machine's SMBIOS tables cannot be read here; showing the bundled sample" >&2
  export PROBEX_SMBIOS_DUMP=$PWD/data/samples/workstation-smbios32.bin
fi
# The viewer reads DMI.DAT from its working directory.
cd "$app"
exec ./syslens "${@:-tulip}"
