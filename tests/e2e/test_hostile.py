#!/usr/bin/env python3
"""Hostile input: the real viewer on broken and malicious tables, in every sink.

Each case is a set of structures (or raw dump records) that firmware or a
damaged file could hand over. A case reaches the viewer through the real
collector (a saved table named by PROBEX_SMBIOS_DUMP), through the stand-in
collector (a dump file as it is, for records the real collector would refuse
or repair), or both. Every run must end normally, without a sanitizer report,
and its output must stay well-formed:

- window text (POSIX only): valid UTF-8;
- HTML: valid UTF-8, an HTML5 document without a single parse error, whose
  elements and attributes are only those of the HTML codes file (no mark-up
  forged from a firmware string);
- properties: valid UTF-8 (POSIX; Windows writes the ANSI code page), section
  "Settings" only, and only keys of the decoders' form (no line, key or
  section forged with CR, LF, '[' or '=').
"""
import argparse
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
from struct import pack

import e2e_main

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "golden"))
sys.dont_write_bytecode = True  # nothing written into the source tree
import dumpfile  # noqa: E402
import tables  # noqa: E402

try:
    import html5lib
except ImportError:
    # Debian's python3-html5lib sits in the system interpreter's path, which
    # an interpreter of its own (pyenv, a virtual environment) does not see.
    sys.path.append("/usr/lib/python3/dist-packages")
    import html5lib

ARGS = None

# ---- Hostile strings (at most 80 bytes: longer strings are not reported) ----

MARKUP = b'<script>alert(1)</script><b title="t" onload=\'x\'>&amp;&'
CONTROLS = b"cr\rlf\ntab\tesc\x1b[31m soh\x01 del\x7f nel\x85 csi\x9b end"
FORGERY = b"x\r\n[Forged]\r\nFORGED_KEY=1\n=\n[Settings]\r\nszBIOSVendor=forged"
INVALID = b"ff\xff overlong\xc0\x80 cut\xe2\x82 surrogate\xed\xa0\x80 end"
NONCHARS = b"\xef\xb7\x90 and \xef\xbf\xbe and \xf4\x8f\xbf\xbf"
HOSTILE = [MARKUP, CONTROLS, FORGERY, INVALID, NONCHARS]


def hostile(n):
    """n strings cycling through the hostile kinds."""
    return [HOSTILE[i % len(HOSTILE)] for i in range(n)]


def every_byte(count, length, shift=0):
    """count strings of length bytes running through every nonzero byte."""
    return [bytes((j + k + shift) % 255 + 1 for j in range(length)) for k in range(count)]


def st(stype, handle, fields, strings=(), length=None):
    return dumpfile.structure(stype, handle, fields, strings, length)


# ---- Realistic structures with a hostile string in every string field ----

def every_string_field():
    h = hostile
    return [
        st(0, 0x0000, bytes([1, 2]) + pack("<H", 0xE800) + bytes([3, 0x0F]) + pack("<Q", 1 << 7) +
           bytes([1, 0]), h(3)),
        st(1, 0x0001, bytes([1, 2, 3, 4]) + bytes(range(16)) + bytes([6, 5, 6]), h(6)),
        st(2, 0x0002, bytes([1, 2, 3, 4, 5, 0x09, 6]) + pack("<H", 3) + bytes([0x0A, 0]), h(6)),
        st(3, 0x0003, bytes([1, 0x83, 2, 3, 4, 3, 3, 3, 3]) + pack("<I", 0) + bytes([1, 1, 0, 0, 5]),
           h(5)),
        st(4, 0x0004, bytes([1, 3, 0x0B, 2]) + pack("<II", 0xF29, 0x3FEBFBFF) + bytes([3, 6]) +
           pack("<HHH", 133, 2800, 2800) + bytes([0x41, 0x0F]) + pack("<HHH", 0x700, 0x701, 0xFFFF) +
           bytes([4, 5, 6]), h(6)),
        st(7, 0x0700, bytes([1]) + pack("<HHHHH", 0x180, 16, 16, 3, 32) + bytes([0, 5, 5, 7]), h(1)),
        st(8, 0x0800, bytes([1, 0x0B, 2, 0x08, 0x09]), h(2)),
        st(8, 0x0801, bytes([2, 0x0B, 1, 0x08, 0x09]), h(3)[1:]),
        st(9, 0x0900, bytes([1, 6, 5, 3, 3]) + pack("<H", 1) + bytes([6, 1]), h(1)),
        st(10, 0x0A00, bytes([0x83, 1, 0x05, 2, 0x86, 3]), h(3)),
        st(11, 0x0B00, bytes([5]), h(5)),
        st(12, 0x0C00, bytes([5]), h(5)),
        st(13, 0x0D00, bytes([5, 0]) + bytes(15) + bytes([3]), h(5)),
        st(14, 0x0E00, bytes([1, 7]) + pack("<H", 0x700), h(1)),
        st(17, 0x1100, pack("<HHHHH", 0x1000, 0xFFFE, 72, 64, 0x200) + bytes([9, 0, 1, 2, 0x12]) +
           pack("<HH", 0x80, 400) + bytes([3, 4, 5, 6]), h(6)),
        st(22, 0x1600, bytes([1, 2, 3, 4, 5, 2]) + pack("<HH", 4400, 11100) + bytes([6, 3]) +
           pack("<HH", 0x1234, 0x2E4F) + bytes([7, 10]) + pack("<I", 0x42), h(7)),
        st(26, 0x1A00, bytes([1, 0x63]) + pack("<HHHHHIH", 1500, 800, 10, 50, 150, 0, 1200), h(1)),
        st(28, 0x1C00, bytes([1, 0x63]) + pack("<HHHHHIH", 1000, 0, 500, 20, 1, 0, 450), h(2)[1:]),
        st(29, 0x1D00, bytes([1, 0x6A]) + pack("<HHHHHIH", 2000, 0, 10, 100, 200, 0, 500), h(3)[2:]),
        st(30, 0x1E00, bytes([1, 2]), h(4)[3:]),
    ]


# ---- Broken records ----

def header_lengths(lengths=range(5)):
    """Structures whose formatted length is 0 to 4 (the header alone or less)."""
    return [st(t, 0x100 + n, bytes([1, 2, 3, 4] * 8), hostile(4), length=n)
            for n in lengths for t in (0, 1, 4, 17)]


def short_records():
    """Records of 1 to 3 bytes: not even a structure header."""
    return [b"\x01", b"\x04\x1b", b"\x11\x02\x00"]


def lengths_beyond_the_record():
    return [st(4, 0x400, bytes([1, 3, 0x0B, 2]), hostile(2), length=0xFF),
            st(17, 0x1100, bytes(10), hostile(2), length=0x80),
            st(1, 0x0001, bytes([1, 2, 3, 4]), hostile(1), length=0x1B)]


def string_numbers_out_of_range():
    """Numbers beyond the set (129 folds to 1 after the top bit is dropped), and 0."""
    return [st(1, 0x0001, bytes([0, 3, 127, 255]) + bytes(16) + bytes([6, 129, 200]), hostile(2)),
            st(4, 0x0004, bytes([200, 3, 0x0B, 0]) + bytes(12) + bytes([9, 128]), [MARKUP]),
            st(11, 0x0B00, bytes([200]), hostile(3)),
            st(2, 0x0002, bytes([0, 0, 0, 0, 0, 0, 0]), [])]


def many_long_strings():
    """255 strings of 255 characters (too long to report) and 255 of 80."""
    return [st(11, 0x0B00, bytes([255]), every_byte(255, 255)),
            st(12, 0x0C00, bytes([255]), every_byte(255, 80, shift=7))]


def missing_double_nul():
    """The last, largest record (and the table) ends inside its string set."""
    return [st(0, 0, bytes([1, 2, 0, 0, 3, 0]), hostile(3)),
            b"\x01\x08\x01\x00\x01\x02\x03\x00" + MARKUP + b"\0" + INVALID + b"\0" + b"A" * 300]


def record_of_64k():
    """A record as large as the dump's 16-bit buffer size can describe."""
    strings = every_byte(800, 80)
    record = st(11, 0x0B00, bytes([255]), strings)[:0xFFFF - 2] + b"\0\0"
    return [st(1, 1, bytes([1, 2, 3, 4]), hostile(4)), record]


def record_beyond_the_buffer():
    """A record larger than the buffer size the dump states: reading stops."""
    return [st(1, 1, bytes([1, 2, 3, 4]), hostile(4)),
            st(11, 0x0B00, bytes([255]), every_byte(900, 80)),
            st(2, 2, bytes([1, 2, 3, 4]), hostile(4))]


def structure_beyond_64k():
    """More than a dump record can hold: the collector leaves it out."""
    return [st(0, 0, bytes([1, 2, 0, 0, 3, 0]), hostile(3)),
            st(11, 0x0B00, bytes([255]), every_byte(900, 80)),
            st(1, 1, bytes([1, 2, 3, 4]), hostile(4))]


# ---- DMI.DAT with hostile names and 10 000-character lines ----

DAT_KEY = b"QuIeTrIvErStOnEbRiDgE"
# The sections the viewer asks for, from the plain source of DMI.DAT.
with open(os.path.join(HERE, "..", "..", "data", "dmi_values.txt")) as _f:
    DAT_SECTIONS = re.findall(r"^\[(\w+)\]", _f.read(), re.M)
# Bytes that would end or split a piece of the file (NUL, LF, CR, Ctrl-Z).
DAT_BREAKS = {0x00, 0x0A, 0x0D, 0x1A}


def scrambled(plain):
    return bytes((c + DAT_KEY[i % len(DAT_KEY)]) & 0xFF for i, c in enumerate(plain))


def dat_line(plain):
    """One scrambled line; blanks after "=" move bytes that would scramble to
    a line break onto other key characters."""
    key, _, name = plain.partition(b"=")
    for pad in range(len(DAT_KEY)):
        line = scrambled(key + b"=" + b" " * pad + name if name else plain)
        if not DAT_BREAKS & set(line):
            return line + b"\n"
    raise AssertionError("no clean scrambling for %r" % plain)


def hostile_dmi_dat():
    rng = random.Random(1187)
    safe = [b for b in range(256) if b not in DAT_BREAKS]
    names = [b"<i>&\"'\t\x1b\x7f", b"\x85\x9b\xc2\x85\xc2\x9b", b"\xff\xc0\x80\xe2\x82",
             b"\xed\xa0\x80\xef\xbf\xbe", b"[Forged]\r=FORGED_KEY"]
    out = []
    for section in DAT_SECTIONS:
        out.append(dat_line(b"*" + section.encode()))
        # A 10 000-character line of junk, read as 127 pieces of its own.
        out.append(bytes(rng.choice(safe) for _ in range(10000)) + b"\n")
        for code in range(256):
            out.append(dat_line(b"%02XH=" % code + names[code % len(names)]))
        out.append(dat_line(b"!" + names[0] * 4))
    return b"".join(out)


# ---- Cases: (name, structures, paths, options) ----
# Paths: "table" = the structures as a saved table through the real
# collector, "saved" = a saved table already built, "dump" = the records as
# they are through the stand-in collector. Options: "shows": the hostile
# strings must appear in the report; "refused": the real collector refuses the
# table (it breaks in its first structure), so the report stays empty; a
# table that breaks later is reported up to the break; "cut": the table has no end-of-table
# structure; "dmi_dat": builds the DMI.DAT of the run.

CASES = [
    ("every_string_field", every_string_field, ("table", "dump"), {"shows": True}),
    ("header_lengths", header_lengths, ("table", "dump"), {"refused": True}),
    ("header_only", lambda: header_lengths([4]), ("table", "dump"), {}),
    ("short_records", short_records, ("dump",), {}),
    ("lengths_beyond_the_record", lengths_beyond_the_record, ("table", "dump"), {}),
    ("string_numbers_out_of_range", string_numbers_out_of_range, ("table", "dump"), {}),
    ("many_long_strings", many_long_strings, ("table", "dump"), {}),
    ("missing_double_nul", missing_double_nul, ("table", "dump"), {"cut": True}),
    ("record_of_64k", record_of_64k, ("dump",), {}),
    ("record_beyond_the_buffer", record_beyond_the_buffer, ("dump",), {}),
    ("structure_beyond_64k", structure_beyond_64k, ("table",), {}),
    ("hostile_dmi_dat", tables.types_0_to_13_and_later, ("saved",), {"dmi_dat": hostile_dmi_dat}),
    ("hostile_dmi_dat_5_30", tables.types_5_to_30, ("saved",), {"dmi_dat": hostile_dmi_dat}),
]

SANITIZER = re.compile(rb"Sanitizer|runtime error:")
KEY = re.compile(r"^(b|dw|sz)[A-Z][A-Za-z0-9_]*$")


def html_codes_markup(path):
    """Element and attribute names the HTML codes file and the sink can write."""
    with open(path, "rb") as f:
        text = f.read().decode("utf-8")
    tags = {"html", "head", "body", "tbody", "br", "hr"}  # implied, or written by the sink
    attributes = set()
    for tag, attrs in re.findall(r"<!?/?([A-Za-z][A-Za-z0-9]*)([^>]*)>", text):
        tags.add(tag.lower())
        attributes.update(a.lower() for a in re.findall(r"([A-Za-z-]+)=", attrs))
    tags.discard("doctype")
    return tags, attributes


class Hostile(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="syslens-hostile-")
        self.wine = ARGS.wine is not None
        self.app = os.path.join(self.dir, "app")
        os.mkdir(self.app)
        self.viewer = os.path.join(self.app, "SYSLENS.EXE" if self.wine else "syslens")
        shutil.copy(ARGS.viewer, self.viewer)
        shutil.copy(ARGS.html_codes, os.path.join(self.app, "QMRKW32H.INI"))
        self.tags, self.attributes = html_codes_markup(ARGS.html_codes)

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def prepare(self, path, structures, options):
        """Lays out the collector and its input; returns the environment."""
        collector = ARGS.fake_collector if path == "dump" else ARGS.collector
        shutil.copy(collector, os.path.join(self.app, "PROBEX.EXE" if self.wine else "probex"))
        if "dmi_dat" in options:
            dat = options["dmi_dat"]()
        else:
            with open(ARGS.dmi_dat, "rb") as f:
                dat = f.read()
        with open(os.path.join(self.dir, "DMI.DAT"), "wb") as f:
            f.write(dat)
        env = dict(os.environ)
        env["QMRK_WIN_INI"] = os.path.join(self.dir, "win.ini")
        source = os.path.join(self.dir, "input.bin")
        with open(source, "wb") as f:
            if path == "saved":
                f.write(structures)
            elif path == "table":
                end = [] if options.get("cut") else [dumpfile.end_of_table()]
                f.write(dumpfile.saved_3(3, 2, structures + end))
            else:
                f.write(dumpfile.dump(structures, major=3, minor=2,
                                      buffer_size=min(0xFFFF, max(map(len, structures)))))
        env["SYSLENS_FAKE_DUMP" if path == "dump" else "PROBEX_SMBIOS_DUMP"] = source
        return env

    def run_viewer(self, env, words):
        command = (ARGS.wine or []) + [self.viewer] + words
        result = subprocess.run(command, cwd=self.dir, env=env, capture_output=True, timeout=300)
        self.assertEqual(result.returncode, 0, result.stderr.decode("latin-1")[-2000:])
        self.assertIsNone(SANITIZER.search(result.stderr), result.stderr.decode("latin-1")[-2000:])
        return result

    def file_run(self, env, flags, name):
        """The file a run writes; empty when it wrote none."""
        out = os.path.join(self.dir, name)
        self.run_viewer(env, ["W=0", "X=0", "Y=0", "X2=0", "Y2=0", "A=0", "F=" + flags,
                              "FN=" + out])
        if not os.path.exists(out):
            return b""
        with open(out, "rb") as f:
            return f.read()

    def utf8(self, data, what):
        try:
            return data.decode("utf-8")
        except UnicodeDecodeError as error:
            self.fail("%s is not UTF-8: %s" % (what, error))

    def check_text(self, env, shows):
        decoded = self.utf8(self.run_viewer(env, ["tulip"]).stdout, "window text")
        if shows:
            self.assertTrue("<script>" in decoded, "firmware text missing")

    def check_html(self, env, shows):
        data = self.file_run(env, "40000000", "report.htm")
        text = self.utf8(data, "HTML")
        parser = html5lib.HTMLParser(strict=True, namespaceHTMLElements=False)
        try:
            document = parser.parse(text)
        except html5lib.html5parser.ParseError as error:
            self.fail("HTML parse error %s %r" % (error, parser.errors[-1:]))
        for element in document.iter():
            self.assertIn(element.tag, self.tags, "element forged")
            for attribute in element.attrib:
                self.assertIn(attribute, self.attributes, "attribute forged on " + element.tag)
        if shows:
            words = "".join(document.itertext())
            self.assertTrue("<script>alert(1)</script>" in words, "firmware text missing")
            if self.wine:
                # Converted from the ANSI code page, which names every byte
                # (Wine's code pages for Western locales), no byte is lost.
                self.assertTrue("\ufffd" not in words, "a byte was lost in the conversion")
            else:
                self.assertTrue("\ufffd" in words, "invalid UTF-8 not replaced")

    def check_properties(self, env, shows, reported):
        data = self.file_run(env, "20000000", "report.ini")
        text = data.decode("latin-1") if self.wine else self.utf8(data, "property file")
        lines = [line for line in re.split(r"\r\n|\n", text) if line]
        if not reported:
            self.assertEqual(lines, [])
            return
        self.assertEqual(lines[0], "[Settings]")
        values = {}
        for line in lines[1:]:
            key, equals, value = line.partition("=")
            self.assertTrue(equals and KEY.match(key), "line forged: %r" % line)
            self.assertNotIn("\r", value)
            values[key] = value
        self.assertEqual(values.get("bBIOSDetected"), "1")
        if shows:
            self.assertTrue(any("<script>alert(1)</script>" in v for v in values.values()),
                            "firmware text missing")
            self.assertNotEqual(values.get("szBIOSVendor"), "forged")

    def check(self, structures, path, options):
        env = self.prepare(path, structures, options)
        shows = options.get("shows", False)
        reported = not (path == "table" and options.get("refused"))
        if not self.wine:
            with self.subTest(sink="text"):
                self.check_text(env, shows)
        with self.subTest(sink="html"):
            self.check_html(env, shows)
        with self.subTest(sink="properties"):
            self.check_properties(env, shows, reported)


def add_cases():
    for name, build, paths, options in CASES:
        for path in paths:
            def test(self, build=build, path=path, options=options):
                self.check(build(), path, options)
            setattr(Hostile, "test_%s_%s" % (name, path), test)


add_cases()


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--viewer", required=True)
    parser.add_argument("--collector", required=True)
    parser.add_argument("--fake-collector", required=True)
    parser.add_argument("--html-codes", required=True)
    parser.add_argument("--dmi-dat", required=True)
    ARGS, run_tests = e2e_main.run(parser)
    run_tests()


if __name__ == "__main__":
    main()
