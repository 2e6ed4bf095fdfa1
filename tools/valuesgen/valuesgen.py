#!/usr/bin/env python3
"""Compiles the plain value-name sources (data/dmi_values.txt,
data/smbios_values.txt) into one C++ table for the model (src/smbios/values.h).
The table holds no pointers: names are offsets into one text, sections are
sorted by name, and the codes of a section rise, so that the program looks
both up by binary search without building anything at start (and its loader
has no address to relocate per name).

The sources share one format: "[SECTION]" lines, then "CODE name" lines with
the code in hexadecimal; "#" comments, blank lines and the "!" default lines
(a classic-report convention) are skipped. A section named in two files is
an error, as is a malformed line, a code not above the one before it or a
name with a quote, backslash or control character (JSON takes names as they
are): the build stops and says where."""
import re
import sys


def rows_of(path, seen):
    section = None
    last = -1
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
            last = -1
            continue
        row = re.match(r"^([0-9A-Fa-f]+)\s+(\S.*)$", line)
        if not row or section is None:
            sys.exit(f"{path}:{number}: not a 'CODE name' line inside a section")
        name = row.group(2).rstrip()
        # The JSON output writes names as they are, unescaped.
        if '"' in name or "\\" in name or any(ord(c) < 0x20 for c in name):
            sys.exit(f"{path}:{number}: a name holds a quote, a backslash or a control character")
        code = int(row.group(1), 16)
        if code <= last:
            sys.exit(f"{path}:{number}: code {code:X} not above the one before it")
        last = code
        yield section, code, name


def main():
    out, sources = sys.argv[1], sys.argv[2:]
    seen = set()
    texts = []  # every section and value name, each ended by a NUL
    offset = 0

    def add_text(text):
        nonlocal offset
        texts.append(text)
        start = offset
        offset += len(text) + 1
        return start

    rows, sections = [], {}  # section name -> (its text, first row, count)
    for source in sources:
        for section, code, name in rows_of(source, seen):
            if section not in sections:
                sections[section] = [add_text(section), len(rows), 0]
            sections[section][2] += 1
            rows.append(f"    {{0x{code:X}, {add_text(name)}}},")
    lines = ["// Generated from " + ", ".join(s.split("/")[-1] for s in sources) +
             " by tools/valuesgen; do not edit.",
             '#include "values.h"', "", "const char kValueText[] ="]
    lines += [f'    "{text}" "\\0"' for text in texts]
    lines[-1] += ";"
    lines += ["", "const ValueNameRow kValueNameRows[] = {"] + rows + ["};", "",
              "const ValueSectionRow kValueSections[] = {"]
    for name in sorted(sections):
        text, first, count = sections[name]
        lines.append(f"    {{{text}, {first}, {count}}},  // {name}")
    lines += ["};", f"const size_t kValueSectionCount = {len(sections)};", ""]
    with open(out, "w", encoding="ascii") as f:
        f.write("\n".join(lines))


main()
