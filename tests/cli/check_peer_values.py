#!/usr/bin/env python3
"""The command line against dmidecode on the real tables of ../shared/corpus:
for every structure of a type the model decodes, every string of the
structure and every number that `dmidecode --from-dump` prints must appear
in our JSON for the same handle. Skipped (77) without the corpus or dmidecode.

What counts as printed: each "Label: value" line (and each list line) of a
structure. A value that is one of the structure's strings must be a string
of our fields; a value made of numbers (decimal, 0x hexadecimal, sizes in
kB/MB/GB, volts, "Word N, Word N" lists, bus addresses, byte lists) must
give numbers that our fields hold, anywhere in the structure. Values in
words are dmidecode's own names, ours are our own: those are not compared.

Every difference is listed in peer_differences.txt with its reason:

    where | dmidecode label | value | reason

where is "type N" or "TABLE 0xHHHH" (table file name without .bin); label
and value may be "*". A difference without a line, a line without a reason,
and a line that matches nothing (for a decoded type) fail the check.
Structures of types the model does not decode yet ("decoded": false in its
JSON) are counted and left out. --show prints every difference found.
"""
import argparse
import json
import os
import re
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DIFFERENCES = os.path.join(HERE, "peer_differences.txt")

SIZE_UNITS = {"bytes": 1, "kB": 1 << 10, "MB": 1 << 20, "GB": 1 << 30, "TB": 1 << 40}
# Decimal values in these units: our fields hold them in thousandths.
MILLI_UNITS = {"V", "mm"}
NUMBER = r"(0x[0-9A-Fa-f]+|\d+(?:\.\d+)?)"
PLAIN = re.compile(r"^" + NUMBER + r"(?:\s+([A-Za-z/%]+))?(?:\s+\(.*\))?$")
WORD_NUMBERS = re.compile(r"^[A-Za-z]+ \d+(?:, [A-Za-z]+ \d+)*$")
BUS_ADDRESS = re.compile(r"^([0-9a-f]{4}):([0-9a-f]{2}):([0-9a-f]{2})\.([0-7])(?:\s+\(.*\))?$")
BYTE_LIST = re.compile(r"^(?:[0-9A-F]{2} )+[0-9A-F]{2}$")
UUID = re.compile(r"^[0-9A-Fa-f]{8}(?:-[0-9A-Fa-f]{4}){3}-[0-9A-Fa-f]{12}$")


def number_choices(value):
    """The numbers a value prints, each as the set of forms our JSON may hold
    it in; None when the value is not made of numbers."""
    plain = PLAIN.match(value)
    if plain:
        text, unit = plain.group(1), plain.group(2)
        if text.startswith("0x"):
            return [{int(text, 16)}]
        if "." in text:
            whole, fraction = text.split(".")
            if unit in MILLI_UNITS:
                return [{round(float(text) * 1000)}]
            return [{int(whole)}, {int(fraction)}]  # a version: major, minor
        number = int(text)
        if unit in SIZE_UNITS:
            return [{number, number * SIZE_UNITS[unit]}]
        return [{number}]
    if WORD_NUMBERS.match(value):
        return [{int(n)} for n in re.findall(r"\d+", value)]
    bus = BUS_ADDRESS.match(value)
    if bus:
        return [{int(part, 16)} for part in bus.groups()]
    if BYTE_LIST.match(value):
        return [{int("".join(reversed(value.split())), 16)}]
    return None


def leaves(value, strings, numbers):
    if isinstance(value, bool) or value is None:
        return
    if isinstance(value, str):
        strings.add(value.strip())
    elif isinstance(value, int):
        numbers.add(value)
    elif isinstance(value, list):
        for item in value:
            leaves(item, strings, numbers)
    elif isinstance(value, dict):
        for item in value.values():
            leaves(item, strings, numbers)


def dmidecode_blocks(text):
    """(handle, type, [lines]) for each structure dmidecode prints."""
    blocks = []
    for line in text.splitlines():
        head = re.match(r"^Handle 0x([0-9A-F]{4}), DMI type (\d+),", line)
        if head:
            blocks.append((int(head.group(1), 16), int(head.group(2)), []))
        elif blocks and line.startswith("\t"):
            blocks[-1][2].append(line.strip("\t"))
    return blocks


def differences_of(table, syslens, corpus):
    """Differences of one table, and the types left out as not decoded."""
    ours = json.loads(subprocess.run([syslens, "--json", "--from-dump", table], cwd=corpus,
                                     capture_output=True, check=True).stdout)
    by_handle = {}
    for s in ours["structures"]:
        by_handle.setdefault(s["handle"], s)
    theirs = subprocess.run(["dmidecode", "--from-dump", table], cwd=corpus,
                            capture_output=True).stdout.decode("utf-8", "replace")
    found, undecoded, checked = [], set(), 0
    for handle, type_, lines in dmidecode_blocks(theirs):
        s = by_handle.get(handle)
        if s is None:
            found.append((table[:-4], handle, type_, "", "(the whole structure)"))
            continue
        if not s["decoded"]:
            undecoded.add(type_)
            continue
        set_strings = {text.strip() for text in s["strings"]}
        strings, numbers = set(), set()
        leaves(s["fields"], strings, numbers)
        for line in lines:
            label, _, value = line.partition(": ") if ": " in line else ("", "", line)
            value = value.strip()
            if not value or value.endswith(":"):
                continue
            checked += 1
            if value in set_strings and value in strings:
                continue
            choices = number_choices(value)
            if choices is not None and value in strings:
                ok = True  # the same text: a version or a named bit such as "70 ns"
            elif UUID.match(value):
                ok = value.lower() in strings
            elif choices is not None:
                ok = all(choice & numbers for choice in choices)
            else:
                ok = value not in set_strings
            if not ok:
                found.append((table[:-4], handle, type_, label, value))
    return found, undecoded, checked


def read_differences(path):
    entries = []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            if not line.strip() or line.startswith("#"):
                continue
            parts = [part.strip() for part in line.rstrip("\n").split(" | ")]
            entries.append((number, parts))
    return entries


def matches(parts, difference):
    table, handle, type_, label, value = difference
    where = parts[0]
    if where != "type %d" % type_ and where != "%s 0x%04X" % (table, handle):
        return False
    return parts[1] in ("*", label) and parts[2] in ("*", value)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--syslens", required=True)
    parser.add_argument("--corpus", default=os.path.join(HERE, "..", "..", "..", "shared", "corpus"))
    parser.add_argument("--show", action="store_true", help="print every difference found")
    args = parser.parse_args()
    if not os.path.isdir(args.corpus):
        print("skipped: no corpus at", args.corpus)
        return 77
    if not shutil.which("dmidecode"):
        print("skipped: dmidecode is not installed")
        return 77
    syslens = os.path.abspath(args.syslens)
    found, undecoded, checked = [], set(), 0
    for table in sorted(f for f in os.listdir(args.corpus) if f.endswith(".bin")):
        table_found, table_undecoded, table_checked = differences_of(table, syslens, args.corpus)
        found += table_found
        undecoded |= table_undecoded
        checked += table_checked
    entries = read_differences(DIFFERENCES)
    faults = []
    for number, parts in entries:
        if len(parts) != 4 or not parts[3]:
            faults.append("peer_differences.txt:%d: no reason given" % number)
    used = set()
    for difference in found:
        if args.show:
            print("%s 0x%04X (type %d) | %s | %s" % difference)
        hits = [number for number, parts in entries if len(parts) == 4 and matches(parts, difference)]
        used.update(hits)
        if not hits:
            faults.append("%s 0x%04X (type %d): dmidecode's %r = %r is not in our JSON"
                          % difference)
    # A line of a type not decoded yet waits for its decoder; any other line
    # that matches nothing is out of date.
    for number, parts in entries:
        waiting = re.match(r"^type (\d+)$", parts[0]) and int(parts[0][5:]) in undecoded
        if number not in used and not waiting:
            faults.append("peer_differences.txt:%d: matches no difference" % number)
    print("%d values of dmidecode read, %d differences; types not decoded yet, left out:"
          % (checked, len(found)),
          " ".join(str(t) for t in sorted(undecoded)) or "none")
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
