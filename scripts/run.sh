#!/usr/bin/env bash
# Builds the native viewer and shows the report of a sample machine. The
# collector here is the test stand-in, which hands over a sample dump built
# by the tests' dump tools.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native -j2 --target syslens fake_probex sample_dump
app=build/native/run
mkdir -p "$app"
cp build/native/bin/syslens build/native/bin/QMRKW32H.INI "$app"/
[ -f build/native/bin/DMI.DAT ] && cp build/native/bin/DMI.DAT "$app"/
cp build/native/test-bin/fake_probex "$app"/probex
build/native/test-bin/sample_dump "$app"/sample.dump
cd "$app"
SYSLENS_FAKE_DUMP=$PWD/sample.dump ./syslens "${@:-tulip}"
