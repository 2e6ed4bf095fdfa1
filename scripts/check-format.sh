#!/usr/bin/env bash
# Checks that every C++ source of the project is laid out as .clang-format
# says; prints the places that are not and fails. Changes nothing.
#
#   scripts/check-format.sh          check src/ tools/ tests/ bench/
#   scripts/check-format.sh FILE...  check only these files
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "check-format: clang-format is not installed" >&2; exit 2; }

if [ $# -gt 0 ]; then
  files=("$@")
else
  mapfile -d '' files < <(find src tools tests bench -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
fi
clang-format --style=file --dry-run -Werror "${files[@]}"
