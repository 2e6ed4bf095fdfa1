#!/usr/bin/env python3
"""Compiles the plain value-name sources (data/dmi_values.txt,
data/smbios_values.txt) into one C++ table for the model (src/smbios/values.h).

The sources share one format: "[SECTION]" lines, then "CODE name" lines with
the code in hexadecimal; "#" comments, blank lines and the "!" default lines
(a classic-report convention) are skipped. A section named in two files is
an error, as is a malformed line: the build stops and says where."""
import re
import sys


def rows_of(path, seen):
    section = None
    for number, line in enumerate(open(path, encoding="ascii"), 1):
        line = line.rstrip("\n")
        if not line.strip() or line.startswith("#") or line.startswith("!"):
            continue
        head = re.match(r"^\[([A-Z0-9_]+)\]", line)
        if head:
            section = head.group(1)
            if section in seen:
                sys.exit(f"{path}:{number}: section {section} given twice")
            seen.add(section)
            continue
        row = re.match(r"^([0-9A-Fa-f]+)\s+(\S.*)$", line)
        if not row or section is None:
            sys.exit(f"{path}:{number}: not a 'CODE name' line inside a section")
        yield section, int(row.group(1), 16), row.group(2).rstrip()


def main():
    out, sources = sys.argv[1], sys.argv[2:]
    seen = set()
    lines = ["// Generated from " + ", ".join(s.split("/")[-1] for s in sources) +
             " by tools/valuesgen; do not edit.",
             '#include "values.h"', "", "const ValueNameRow kValueNameRows[] = {"]
    count = 0
    for source in sources:
        for section, code, name in rows_of(source, seen):
            text = name.replace("\\", "\\\\").replace('"', '\\"')
            lines.append(f'    {{"{section}", 0x{code:X}, "{text}"}},')
            count += 1
    lines += ["};", f"const size_t kValueNameRowCount = {count};", ""]
    with open(out, "w", encoding="ascii") as f:
        f.write("\n".join(lines))


main()
