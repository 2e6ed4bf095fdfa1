#!/usr/bin/env python3
"""End-to-end runs of the collector probex, alone and beside the real viewer.

Saved SMBIOS tables (the bundled sample, hand-made bad copies of it, and the
recorded tables of real machines when ../shared/corpus is present) reach the
collector through PROBEX_SMBIOS_DUMP. Checked: the dump it writes, byte for
byte against one assembled here from the table; its exit codes and messages
for bad input; and the values the viewer then reports, against what Debian's
dmidecode shows for the same file (when dmidecode is installed). With --wine
the Windows programs run under Wine.
"""
import argparse
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

import dumpfile

ARGS = None
VARIABLE = "PROBEX_SMBIOS_DUMP"
PROPERTIES = "W=0 X=0 Y=0 X2=0 Y2=0 A=0 F=20000000 FN=report.ini"
HTML = "W=0 X=0 Y=0 X2=0 Y2=0 A=0 F=40000000 FN=report.htm"


# ---- SMBIOS tables and dumps, assembled independently of the collector ----

def read(path):
    with open(path, "rb") as f:
        return f.read()


def table_of(saved):
    """Version and table bytes of a --dump-bin file (entry point at 0)."""
    if saved.startswith(b"_SM3_"):
        major, minor = saved[7], saved[8]
        length, address = struct.unpack_from("<IQ", saved, 0x0C)
    else:
        major, minor = saved[6], saved[7]
        length, address = struct.unpack_from("<HI", saved, 0x16)
    return major, minor, saved[address:address + length]


def structures_of(table):
    """Each structure with its string set, up to and including type 127."""
    out, at = [], 0
    while at + 4 <= len(table):
        kind, length = table[at], table[at + 1]
        end = table.index(b"\0\0", at + length) + 2
        out.append(table[at:end])
        at = end
        if kind == 127:
            break
    return out


def expected_dump(saved):
    major, minor, table = table_of(saved)
    return dumpfile.dump(structures_of(table), major=major, minor=minor)


def complete(dump):
    return len(dump) >= 54 and struct.unpack_from("<h", dump, 52)[0] != 0


# ---- Runs ----

class Run(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="probex-e2e-")
        self.wine = ARGS.wine is not None
        self.app = os.path.join(self.dir, "app")
        os.mkdir(self.app)
        self.collector = os.path.join(self.app, "PROBEX.EXE" if self.wine else "probex")
        self.viewer = os.path.join(self.app, "SYSLENS.EXE" if self.wine else "syslens")
        shutil.copy(ARGS.collector, self.collector)
        shutil.copy(ARGS.viewer, self.viewer)
        shutil.copy(ARGS.html_codes, os.path.join(self.app, "QMRKW32H.INI"))
        # The viewer reads DMI.DAT from its working directory.
        shutil.copy(ARGS.dmi_dat, os.path.join(self.dir, "DMI.DAT"))
        self.env = dict(os.environ)
        self.env.pop(VARIABLE, None)
        self.env["QMRK_WIN_INI"] = os.path.join(self.dir, "win.ini")
        self.dump = os.path.join(self.dir, "dump file.bin")

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def command(self, program, *args):
        return (ARGS.wine if self.wine else []) + [program, *args]

    def collect(self, saved=None, saved_bytes=None, *, env=None):
        """Runs the collector on an empty dump file; (exit code, dump, stderr)."""
        with open(self.dump, "wb"):
            pass
        if saved_bytes is not None:
            saved = os.path.join(self.dir, "saved.bin")
            with open(saved, "wb") as f:
                f.write(saved_bytes)
        run_env = dict(env or self.env)
        if saved is not None:
            run_env[VARIABLE] = saved
        result = subprocess.run(self.command(self.collector, self.dump), env=run_env,
                                cwd=self.dir, capture_output=True, timeout=120)
        return result.returncode, read(self.dump), result.stderr.decode("latin-1")

    def view(self, saved, parameters):
        env = dict(self.env)
        env[VARIABLE] = saved
        # One argument per word: Wine would quote an argument with blanks into
        # the parameter string, and POSIX joins the words with single blanks.
        return subprocess.run(self.command(self.viewer, *parameters.split(" ")), env=env,
                              cwd=self.dir, capture_output=True, timeout=300)


class Collector(Run):
    def test_sample_gives_the_dump_assembled_from_its_table(self):
        code, dump, err = self.collect(ARGS.sample)
        self.assertEqual(code, 0, err)
        self.assertEqual(err, "")
        self.assertEqual(dump, expected_dump(read(ARGS.sample)))

    def test_corpus_tables_give_their_dumps(self):
        files = corpus_files()
        if not files:
            self.skipTest("no corpus of real tables")
        for path in files:
            code, dump, err = self.collect(path)
            self.assertEqual(code, 0, path + err)
            self.assertEqual(dump, expected_dump(read(path)), path)

    def test_bad_saved_tables_leave_the_dump_incomplete(self):
        sample = read(ARGS.sample)
        _, _, table = table_of(sample)
        n = len(table)
        first = len(structures_of(table)[0])
        cases = {
            "cut inside the first structure": sample[:32 + first - 1],
            "garbage": bytes(range(256)) * 4,
            "entry point past the file":
                dumpfile.entry_point_2(2, 7, n, 1, address=32 + n) + table,
            "zero-length table": dumpfile.entry_point_2(2, 7, 0, 1) + table,
            "length below 4 first": dumpfile.entry_point_2(2, 7, n, 1) + b"\x00\x02" + table[2:],
            "empty": b"",
        }
        for name, data in cases.items():
            code, dump, err = self.collect(saved_bytes=data)
            self.assertEqual(code, 3, name + ": " + err)
            self.assertFalse(complete(dump), name)
            self.assertTrue(err.startswith("probex: "), name + ": " + err)
        code, dump, err = self.collect(os.path.join(self.dir, "absent.bin"))
        self.assertEqual(code, 3)
        self.assertIn(VARIABLE, err)
        self.assertFalse(complete(dump))

    def test_broken_tables_are_reported_up_to_the_break(self):
        # Exit code 5: the dump is complete but holds only the structures
        # before the break, and a warning says where it broke.
        for path in [ARGS.sample] + corpus_files():
            saved = read(path)
            _, _, table = table_of(saved)
            records = structures_of(table)
            at = 32 + sum(len(r) for r in records[:5])
            cases = {
                # A Hyper-V table: a structure of length 0 after five good ones.
                "length 0": saved[:at + 1] + b"\0" + saved[at + 2:],
                "cut in the strings": saved[:at - 1],
            }
            if saved.startswith(b"_SM3_"):
                # Cut on every structure boundary: no end-of-table structure.
                for k in range(1, len(records)):
                    cases["cut after %d structures" % k] = saved[:32 + sum(map(len, records[:k]))]
            for name, data in cases.items():
                code, dump, err = self.collect(saved_bytes=data)
                label = "%s, %s: %s" % (os.path.basename(path), name, err)
                self.assertEqual(code, 5, label)
                self.assertTrue(complete(dump), label)
                self.assertIn(": warning: ", err, label)
                kept = {"length 0": 5, "cut in the strings": 4}.get(name) or int(name.split()[2])
                self.assertEqual(dump[60:], b"".join(struct.pack("<I", len(r)) + r
                                                     for r in records[:kept]), label)

    def test_tables_beyond_64_kib(self):
        # 400 OEM string structures of about 250 bytes: a 3.x table of 100 KB,
        # then one structure too large for a dump record, which is left out.
        oem = [bytes([11, 5]) + struct.pack("<H", i) + b"\x01" + b"x" * 240 + b"\0\0"
               for i in range(400)]
        huge = bytes([11, 5, 0xFF, 0xFF, 1]) + b"y" * 70000 + b"\0\0"
        end = bytes([127, 4, 0, 0x7F, 0, 0])
        table = b"".join(oem) + huge + end
        code, dump, err = self.collect(saved_bytes=dumpfile.entry_point_3(3, 0, len(table)) + table)
        self.assertEqual(code, 0, err)
        self.assertIn("type 11 has 70007 bytes", err)
        self.assertTrue(complete(dump))
        self.assertEqual(len(dump), 60 + sum(4 + len(s) for s in oem) + 4 + len(end))

    def test_without_a_dump_path(self):
        result = subprocess.run(self.command(self.collector), env=self.env,
                                capture_output=True, timeout=120)
        self.assertEqual(result.returncode, 1)
        self.assertIn(b"usage", result.stderr)

    def test_machine_tables_or_no_dmi_bios(self):
        tables = "/sys/firmware/dmi/tables/DMI"
        code, dump, err = self.collect()
        if self.wine:
            # Wine's 'RSMB' provider makes up a table from what Linux shows:
            # whatever it holds, it arrives as well-formed records.
            self.assertEqual(code, 0, err)
            self.assertTrue(complete(dump))
            self.assertEqual(struct.unpack_from("<h", dump, 54)[0], 1)
            at, records = 60, 0
            while at < len(dump):
                size, = struct.unpack_from("<I", dump, at)
                record = dump[at + 4:at + 4 + size]
                self.assertGreaterEqual(record[1], 4)
                self.assertTrue(record.endswith(b"\0\0"))
                at, records = at + 4 + size, records + 1
            self.assertEqual(at, len(dump))
            self.assertGreater(records, 0)
        elif not os.path.exists(tables):
            self.assertEqual(code, 0, err)
            self.assertTrue(complete(dump))
            self.assertEqual(struct.unpack_from("<h", dump, 54)[0], 0, "no DMI BIOS")
        elif os.access(tables, os.R_OK):
            self.assertEqual(code, 0, err)
            self.assertEqual(struct.unpack_from("<h", dump, 54)[0], 1)
        else:
            self.assertEqual(code, 4)
            self.assertIn(VARIABLE, err)
            self.assertFalse(complete(dump))

    def test_bundled_sample_is_what_the_generator_writes(self):
        if not ARGS.make_sample:
            self.skipTest("the generator is built natively only")
        fresh = os.path.join(self.dir, "fresh.bin")
        subprocess.run([ARGS.make_sample, fresh], check=True, timeout=60)
        self.assertEqual(read(fresh), read(ARGS.sample))


# ---- The viewer's report against dmidecode ----

def dmidecode_structures(path):
    """(type, {field: value}) per structure, as `dmidecode --from-dump` shows it."""
    out = subprocess.run(["dmidecode", "--from-dump", path], capture_output=True, text=True,
                         errors="replace", check=True, timeout=120).stdout
    structures = []
    for line in out.splitlines():
        m = re.match(r"Handle 0x[0-9A-F]+, DMI type (\d+),", line)
        if m:
            structures.append((int(m.group(1)), {}))
        elif structures and line.startswith("\t") and not line.startswith("\t\t") and ":" in line:
            key, _, value = line[1:].partition(":")
            structures[-1][1].setdefault(key, value.strip())
    return structures


def viewer_sections(text):
    """{heading: [{caption: value}]} of the viewer's window text, in order."""
    sections = {}
    current = None
    for line in text.split("\r\n"):
        if line.strip() and "\t" not in line and ":" not in line:
            current = {}
            sections.setdefault(line.strip(), []).append(current)
        elif current is not None and "\t" in line:
            caption, _, value = line.partition("\t")
            current.setdefault(caption.strip(), value.lstrip(":").strip())
    return sections


def kilobytes(text):
    """'640 kB', '4 MB', '16 GB', '32768K' -> kB; None when there is no size."""
    m = re.match(r"(\d+)\s*(kB|K|MB|GB)\b", text or "")
    if not m:
        return 0 if text and ("not installed" in text.lower() or "no module" in text.lower()) else None
    return int(m.group(1)) * {"kB": 1, "K": 1, "MB": 1024, "GB": 1 << 20}[m.group(2)]


def megahertz(text):
    m = re.match(r"(\d+) MHz$", text or "")
    return int(m.group(1)) if m else None


def corpus_files():
    if not ARGS.corpus or not os.path.isdir(ARGS.corpus):
        return []
    return sorted(os.path.join(ARGS.corpus, f) for f in os.listdir(ARGS.corpus)
                  if f.endswith(".bin"))


class Viewer(Run):
    def window_text(self, saved):
        if self.wine:
            self.skipTest("window text is read from standard output on POSIX only")
        result = self.view(saved, "tulip")
        self.assertEqual(result.returncode, 0, result.stderr)
        return result.stdout.decode("latin-1")

    def test_sample_report(self):
        # Win32 puts a private-profile file named without a directory into
        # the Windows directory: under Wine the file is named in full.
        parameters = PROPERTIES
        if self.wine:
            parameters = parameters.replace(
                "report.ini", "Z:" + os.path.join(self.dir, "report.ini").replace("/", "\\"))
        result = self.view(ARGS.sample, parameters)
        self.assertEqual(result.returncode, 0, result.stderr)
        with open(os.path.join(self.dir, "report.ini"), encoding="latin-1") as f:
            ini = f.read()
        for line in ("bBIOSDetected=1", "szBIOSRevision=3.2",
                     "szBIOSVendor=Northwind Firmware Inc.", "szSysInf_ProdNm=Forge W760",
                     "dwProcInf_MaxSpdMHz=4900", "dwProcInf_CurrSpdMHz=2500"):
            self.assertIn(line + "\r\n" if "\r\n" in ini else line + "\n", ini)

    def test_sample_html_report(self):
        result = self.view(ARGS.sample, HTML)
        self.assertEqual(result.returncode, 0, result.stderr)
        with open(os.path.join(self.dir, "report.htm"), encoding="latin-1") as f:
            html = f.read()
        self.assertIn("<td>3.2</td>", html)
        self.assertIn("Northwind Firmware Inc.", html)
        self.assertIn("11th Gen Intel(R) Core(TM) i7-11700 @ 2.50GHz", html)

    def test_bad_saved_table_gives_no_report_and_says_why(self):
        garbage = os.path.join(self.dir, "garbage.bin")
        with open(garbage, "wb") as f:
            f.write(b"not a table" * 10)
        if self.wine:
            # The collector's messages go to its own hidden console there.
            result = self.view(garbage, HTML)
            self.assertEqual(result.returncode, 0)
            with open(os.path.join(self.dir, "report.htm"), encoding="latin-1") as f:
                html = f.read()
            self.assertIn("</html>", html)
            self.assertNotIn("DMIBIOS", html)
        else:
            result = self.view(garbage, "tulip")
            self.assertEqual(result.returncode, 0)
            self.assertIn(b"probex: " + garbage.encode(), result.stderr)
            self.assertEqual(result.stdout, b"")

    def test_values_match_dmidecode(self):
        if self.wine:
            self.skipTest("compared natively")
        if not shutil.which("dmidecode"):
            self.skipTest("dmidecode is not installed")
        for path in [ARGS.sample] + corpus_files():
            with self.subTest(table=os.path.basename(path)):
                self.compare(path)

    def compare(self, path):
        peer = dmidecode_structures(path)
        ours = viewer_sections(self.window_text(path))
        of_type = lambda t: [fields for kind, fields in peer if kind == t]  # noqa: E731

        bios, = of_type(0)
        mine, = ours["BIOS Information"]
        self.assertEqual(mine["Vendor"], bios["Vendor"])
        self.assertEqual(mine["BIOS Version"], bios["Version"])
        self.assertEqual(mine["BIOS Rel. Date"], bios["Release Date"])
        self.assertEqual(kilobytes(mine["BIOS ROM size"]), kilobytes(bios["ROM Size"]))

        processors = of_type(4)
        self.assertEqual(len(ours.get("Processor Information", [])), len(processors))
        for theirs, mine in zip(processors, ours.get("Processor Information", [])):
            self.assertIn(theirs["Family"].lower(), mine["Processor family"].lower())
            for peer_key, my_key in (("External Clock", "External clock"),
                                     ("Max Speed", "Max. Speed"),
                                     ("Current Speed", "Current speed")):
                self.assertEqual(megahertz(mine.get(my_key)), megahertz(theirs[peer_key]),
                                 peer_key)

        caches = of_type(7)
        self.assertEqual(len(ours.get("Cache Information", [])), len(caches))
        for theirs, mine in zip(caches, ours.get("Cache Information", [])):
            self.assertEqual(kilobytes(mine["Cache Size"]), kilobytes(theirs["Installed Size"]))

        devices = of_type(17)
        self.assertEqual(len(ours.get("Memory Device", [])), len(devices))
        for theirs, mine in zip(devices, ours.get("Memory Device", [])):
            self.assertEqual(kilobytes(mine["Size"]), kilobytes(theirs["Size"]))


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--viewer", required=True)
    parser.add_argument("--collector", required=True)
    parser.add_argument("--html-codes", required=True)
    parser.add_argument("--dmi-dat", required=True)
    parser.add_argument("--sample", required=True)
    parser.add_argument("--corpus")
    parser.add_argument("--make-sample")
    parser.add_argument("--wine", help="Wine runner script")
    parser.add_argument("--arch", default="win32")
    ARGS, rest = parser.parse_known_args()
    if ARGS.wine:
        ARGS.wine = [ARGS.wine, "--arch", ARGS.arch]
        probe = subprocess.run(ARGS.wine + ["cmd", "/c", "exit"], capture_output=True)
        if probe.returncode == 77:
            print("Wine cannot run %s programs here" % ARGS.arch)
            return 77
    result = unittest.main(argv=[sys.argv[0]] + rest, exit=False, verbosity=2).result
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
