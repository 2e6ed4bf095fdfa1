#!/usr/bin/env bash
# Installs the Debian packages that are missing. Does nothing when everything
# is there already.
#
#   scripts/install-deps.sh            everything the build and the tests need:
#                                      the native and both Windows compilers,
#                                      GoogleTest, Wine (32- and 64-bit), Xvfb,
#                                      the fuzzing, benchmark, layout and packaging
#                                      tools
#   scripts/install-deps.sh --native   only what the native build needs
#                                      (scripts/run.sh)
set -euo pipefail

# The native build: configuring it needs GoogleTest's sources and Python.
native=(cmake ninja-build g++ googletest libgtest-dev python3
        nlohmann-json3-dev)  # the command line's JSON output (header-only, used by the mingw builds too)
everything=("${native[@]}"
            g++-mingw-w64-i686 g++-mingw-w64-x86-64
            wine wine32:i386 wine64 xvfb xdotool imagemagick
            dmidecode  # dmidecode: a peer the collector tests compare with
            libbenchmark-dev time  # scripts/bench.sh: Google Benchmark, GNU time for peak memory
            python3-html5lib  # the hostile-input test parses the HTML report strictly
            python3-jsonschema  # the command-line tests validate every JSON they make
            clang libclang-rt-14-dev  # the fuzz targets (scripts/fuzz.sh): clang and libFuzzer
            clang-format  # scripts/check-format.sh: the layout of the C++ sources
            dpkg-dev lintian zip unzip man-db)  # scripts/package.sh and the install test

case "${1:-}" in
  "") packages=("${everything[@]}") ;;
  --native) packages=("${native[@]}") ;;
  *) echo "usage: scripts/install-deps.sh [--native]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
# Wine's 32-bit half needs the i386 architecture.
if [[ " ${missing[*]} " == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
