#!/usr/bin/env python3
"""Whole runs of the command line (syslens with options) on the real tables
of ../shared/corpus: golden text and JSON per table, every JSON made checked
against docs/syslens.schema.json, -s against dmidecode, -t/-H selections,
the three dump shapes, and each exit code. Skipped (77) without the corpus.

Regenerating the goldens after an intended change (read the diff first):

    python3 tests/cli/test_cli.py --update --syslens build/native/bin/syslens \\
        --probex build/native/bin/probex
"""
import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
EXPECTED = os.path.join(HERE, "expected")
ARGS = None
# chassis-type and processor-family print our names, not the other tool's.
OWN_NAMES = {"chassis-type", "processor-family"}


def tables():
    return sorted(f for f in os.listdir(ARGS.corpus) if f.endswith(".bin"))


def run(*args, cwd=None, env=None):
    """One run; under Wine (the Windows console program) with its CR LF line
    ends made LF, so that both builds meet the same goldens."""
    launcher = [ARGS.wine, "--arch", ARGS.arch] if ARGS.wine else []
    result = subprocess.run([*launcher, ARGS.syslens, *args], capture_output=True,
                            cwd=cwd or ARGS.corpus, env=env, timeout=120)
    if ARGS.wine:
        result.stdout = result.stdout.replace(b"\r\n", b"\n")
        result.stderr = result.stderr.replace(b"\r\n", b"\n")
    return result


class CommandLine(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        import jsonschema
        with open(os.path.join(ROOT, "docs", "syslens.schema.json")) as f:
            cls.validator = jsonschema.Draft202012Validator(json.load(f))
        cls.scratch = tempfile.mkdtemp(prefix="syslens_cli_")

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.scratch, ignore_errors=True)

    def document(self, *args, cwd=None):
        """Runs with --json; checks exit 0 and the schema; returns the document."""
        result = run("--json", *args, cwd=cwd)
        self.assertEqual(result.returncode, 0, result.stderr)
        doc = json.loads(result.stdout.decode("utf-8"))  # strict: valid UTF-8
        errors = [e.message for e in self.validator.iter_errors(doc)]
        self.assertEqual(errors, [], args)
        return doc

    def compare(self, name, actual):
        path = os.path.join(EXPECTED, name)
        if ARGS.update:
            with open(path, "wb") as f:
                f.write(actual)
            return
        with open(path, "rb") as f:
            expected = f.read()
        if actual != expected:
            os.makedirs(ARGS.actual_dir, exist_ok=True)
            with open(os.path.join(ARGS.actual_dir, name + ".actual"), "wb") as f:
                f.write(actual)
        self.assertTrue(actual == expected, f"{name} differs; see {ARGS.actual_dir}")

    def test_golden_text_and_json(self):
        for table in tables():
            with self.subTest(table=table):
                stem = table[:-4]
                text = run("--from-dump", table)
                self.assertEqual(text.returncode, 0, text.stderr)
                self.compare(stem + ".txt", text.stdout)
                self.assertLessEqual(max(len(l) for l in text.stdout.decode().splitlines()), 80)
                self.document("--from-dump", table)  # schema
                # The program's version is not the table's: the goldens hold a mark.
                doc = re.sub(rb'(\{\n  "program": \{\n    "name": "syslens",\n    "version": )"[^"]*"',
                             rb'\1"VERSION"', run("--json", "--from-dump", table).stdout, count=1)
                self.compare(stem + ".json", doc)
                # Every structure of the table, with its handle, type and length.
                walk = self.document("-u", "--from-dump", table)["structures"]
                dmidecode = None if ARGS.wine else self.dmidecode(table, "-u")
                if dmidecode is not None:
                    handles = [l.split(",")[0].split()[1] for l in dmidecode.splitlines()
                               if l.startswith("Handle 0x")]
                    self.assertEqual(["0x%04X" % s["handle"] for s in walk], handles)

    def dmidecode(self, table, *args):
        if not shutil.which("dmidecode"):
            return None
        result = subprocess.run(["dmidecode", "--from-dump", table, *args], cwd=ARGS.corpus,
                                capture_output=True)
        return result.stdout.decode("utf-8", "replace")

    def test_strings_equal_dmidecode(self):
        if ARGS.wine:
            self.skipTest("the keywords run natively: the Windows program shares their code")
        if not shutil.which("dmidecode"):
            self.skipTest("dmidecode is not installed")
        keywords = run("--list-strings").stdout.decode().split()
        self.assertEqual(len(keywords), 26)
        for table in tables():
            for keyword in set(keywords) - OWN_NAMES:
                with self.subTest(table=table, keyword=keyword):
                    ours = run("--from-dump", table, "-s", keyword)
                    self.assertEqual(ours.returncode, 0, ours.stderr)
                    theirs = subprocess.run(["dmidecode", "--from-dump", table, "-s", keyword],
                                            cwd=ARGS.corpus, capture_output=True).stdout
                    self.assertEqual(ours.stdout, theirs)

    def test_type_and_handle_selections(self):
        table = "supermicro-x9dbl-server-smbios27.bin"
        every = self.document("--from-dump", table)["structures"]
        cases = [  # (options, the structures they keep)
            (["-t", "memory"], lambda s: s["type"] in (5, 6, 16, 17)),
            (["-t", "bios,4", "--type=slot"], lambda s: s["type"] in (0, 13, 4, 9)),
            (["-t7"], lambda s: s["type"] == 7),
            (["-H", hex(every[3]["handle"])], lambda s: s["handle"] == every[3]["handle"]),
            (["-t", "4", "-H", str(every[0]["handle"])], lambda s: False),
        ]
        for options, keep in cases:
            with self.subTest(options=options):
                got = self.document("--from-dump", table, *options)["structures"]
                self.assertEqual(got, [s for s in every if keep(s)])
                self.assertTrue(got or options[-1] == str(every[0]["handle"]))

    def test_handles_name_the_type_of_their_structure(self):
        # Also when -t leaves the named structures out; FFFFh, which the
        # standard reserves for "not provided", says so (a number in JSON).
        table = "lenovo-thinkpad-t480-laptop-smbios30.bin"
        text = run("--from-dump", table, "-t", "4").stdout.decode()
        self.assertRegex(text, r"L1 cache handle: +0x0007 \(type 7: Cache Information\)\n")
        doc = self.document("--from-dump", table, "-t", "4")["structures"][0]["fields"]
        self.assertEqual(doc["l1_cache_handle"], 7)
        group = run("--from-dump", table, "-H", "0x0001").stdout.decode()
        self.assertRegex(group, r"Item handle: 0x0000 \(type 222: OEM type\)\n")
        none = run("--from-dump", "gigabyte-ga-ma74gmt-s2-desktop-smbios24.bin", "-t", "4")
        self.assertRegex(none.stdout.decode(), r"L3 cache handle: +0xFFFF \(Not provided\)\n")

    def test_three_dump_shapes_give_one_model(self):
        if ARGS.wine:
            self.skipTest("the dump of the native collector, read natively")
        table = "lenovo-thinkpad-t480-laptop-smbios30.bin"
        with open(os.path.join(ARGS.corpus, table), "rb") as f:
            whole = f.read()
        bare = os.path.join(self.scratch, "DMI")
        with open(bare, "wb") as f:
            f.write(whole[32:])
        probex_dump = os.path.join(self.scratch, "probex.dmp")
        open(probex_dump, "wb").close()
        env = dict(os.environ, PROBEX_SMBIOS_DUMP=os.path.join(ARGS.corpus, table))
        subprocess.run([ARGS.probex, probex_dump], env=env, check=True, capture_output=True)
        reference = self.document("--from-dump", table)["structures"]
        for args, kind in ((["--from-dump", bare, "--table-version", "3.0"], "bare-table"),
                           (["--from-dump", probex_dump], "probex-dump")):
            with self.subTest(kind=kind):
                doc = self.document(*args)
                self.assertEqual(doc["source"]["kind"], kind)
                self.assertEqual(doc["structures"], reference)

    def test_broken_table_keeps_what_precedes(self):
        table = "asus-ux305la-laptop-smbios28.bin"
        reference = self.document("--from-dump", table)["structures"]
        with open(os.path.join(ARGS.corpus, table), "rb") as f:
            whole = bytearray(f.read())
        # The fifth structure states a length of 2: the walk stops there.
        at = 32
        for _ in range(4):
            at += whole[at + 1]
            while whole[at:at + 2] != b"\0\0":
                at += 1
            at += 2
        whole[at + 1] = 2
        broken = os.path.join(self.scratch, "broken.bin")
        with open(broken, "wb") as f:
            f.write(whole)
        doc = self.document("--from-dump", broken)
        self.assertTrue(doc["source"]["partial"])
        self.assertEqual(len(doc["warnings"]), 1)
        self.assertEqual(doc["structures"], reference[:4])
        self.assertIn("warning", run("--from-dump", broken).stderr.decode())
        self.assertEqual(run("-q", "--from-dump", broken).stderr, b"")

    def saved(self, table, *options):
        """--dump-bin of table into a fresh directory; returns the file's path."""
        folder = tempfile.mkdtemp(dir=self.scratch)
        path = os.path.join(folder, "saved.bin")
        result = run("--from-dump", table, "--dump-bin", path, *options)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(os.listdir(folder), ["saved.bin"])  # no temporary left
        return path

    def test_dump_bin_round_trip(self):
        for table in tables():
            with self.subTest(table=table):
                saved = self.saved(table)
                self.assertEqual(self.document("--from-dump", saved)["structures"],
                                 self.document("--from-dump", table)["structures"])
                if ARGS.wine:
                    continue
                theirs = self.dmidecode(table)
                if theirs is not None:  # the same but for the line naming the file
                    self.assertEqual(self.dmidecode(saved).split("\n")[2:],
                                     theirs.split("\n")[2:])
                # The collector's dump of it, which the classic report shows.
                dumps = []
                for source in (os.path.join(ARGS.corpus, table), saved):
                    dumps.append(saved + ".dmp" + str(len(dumps)))
                    open(dumps[-1], "wb").close()
                    env = dict(os.environ, PROBEX_SMBIOS_DUMP=source)
                    subprocess.run([ARGS.probex, dumps[-1]], env=env, check=True)
                with open(dumps[0], "rb") as a, open(dumps[1], "rb") as b:
                    self.assertTrue(a.read() == b.read())

    def test_dump_bin_makes_an_entry_point_for_a_bare_table(self):
        for table, version in (("lenovo-thinkpad-t480-laptop-smbios30.bin", "3.0"),
                               ("supermicro-x9dbl-server-smbios27.bin", "2.7")):
            with self.subTest(table=table):
                with open(os.path.join(ARGS.corpus, table), "rb") as f:
                    bare = os.path.join(tempfile.mkdtemp(dir=self.scratch), "DMI")
                    with open(bare, "wb") as out:
                        out.write(f.read()[32:])
                saved = self.saved(bare, "--table-version", version)
                self.assertEqual(self.document("--from-dump", saved)["structures"],
                                 self.document("--from-dump", table)["structures"])
                theirs = None if ARGS.wine else self.dmidecode(table)
                if theirs is not None:
                    self.assertEqual(self.dmidecode(saved).split("\n")[2:],
                                     theirs.split("\n")[2:])

    def test_dump_bin_never_replaces_a_name(self):
        table = "vmware-virtual-smbios27.bin"
        folder = tempfile.mkdtemp(dir=self.scratch)
        taken = os.path.join(folder, "taken.bin")
        with open(taken, "wb") as f:
            f.write(b"mine")
        planted = os.path.join(folder, "planted.bin")
        os.symlink(os.path.join(folder, "target"), planted)
        # Wine does not see a dangling POSIX link as a name (Windows' own
        # links it would): the planted link is for the native program.
        for name in (taken,) if ARGS.wine else (taken, planted):
            with self.subTest(name=name):
                result = run("--from-dump", table, "--dump-bin", name)
                self.assertEqual(result.returncode, 1)
                self.assertIn(b"exists already", result.stderr)
        with open(taken, "rb") as f:
            self.assertEqual(f.read(), b"mine")
        if not ARGS.wine:
            self.assertEqual(sorted(os.listdir(folder)), ["planted.bin", "taken.bin"])

    def test_mask_hides_identifying_values_only(self):
        keys = {"serial_number", "asset_tag", "asset_tag_number", "uuid", "sbds_serial_number"}
        # What the corpus's firmware left in these fields unfilled.
        blanks = {None, "", " ", "Not Specified", "To Be Filled By O.E.M.", "Default string",
                  "To be filled by O.E.M.", "To Be Filled By O.E.M", "None", "No Asset Tag",
                  "Not Available", "No Asset Information", "0123456789", "00000000",
                  "00000000-0000-0000-0000-000000000000", 0}
        marks = {"[masked]", "55555555-5555-5555-5555-555555555555", 0x5555}

        def split(structures):  # the identifying values, and the rest
            found, rest = [], []
            for s in structures:
                fields = dict(s.get("fields", {}))
                values = [(s["handle"], k, fields.pop(k)) for k in sorted(keys & set(fields))]
                gone = {v for _, _, v in values if isinstance(v, str) and v not in blanks}
                strings = [None if t in gone else t for t in s.get("strings", [])]
                found += values
                rest.append(dict(s, fields=fields, strings=strings))
            return found, rest

        for table in tables():
            with self.subTest(table=table):
                plain, rest = split(self.document("--from-dump", table)["structures"])
                secrets = [str(v) for _, _, v in plain if v not in blanks and len(str(v)) > 3]
                self.assertTrue(secrets)
                masked_dump = self.saved(table, "--mask")
                with open(masked_dump, "rb") as f:
                    outputs = [f.read()]
                for args in (["--mask", "--from-dump", table], ["--from-dump", masked_dump]):
                    hidden, others = split(self.document(*args)["structures"])
                    self.assertEqual(others, rest)
                    for (_, _, before), (_, _, after) in zip(plain, hidden):
                        self.assertIn(after, marks if before not in blanks else {before})
                    outputs += [run(*args).stdout, run("--json", *args).stdout,
                                run("-s", "system-uuid", *args).stdout]
                for secret in secrets:
                    for output in outputs:
                        self.assertNotIn(secret.encode(), output)

    def fake_sysfs(self, table, readable, break_at=None):
        """A sysfs root holding table's files (readable by root only unless
        readable), the DMI table broken at its structure break_at, and the
        world-readable /sys/class/dmi/id of a virtual machine."""
        root = tempfile.mkdtemp(dir=self.scratch)
        os.chmod(root, 0o755)
        tables = os.path.join(root, "firmware", "dmi", "tables")
        ident = os.path.join(root, "class", "dmi", "id")
        os.makedirs(tables)
        os.makedirs(ident)
        with open(os.path.join(ARGS.corpus, table), "rb") as f:
            whole = bytearray(f.read())
        at = 32
        for _ in range(break_at or 0):
            at += whole[at + 1]
            at = whole.index(b"\0\0", at) + 2
        if break_at:
            whole[at + 1] = 0  # as a Hyper-V generation-1 table has it
        files = {os.path.join(tables, "smbios_entry_point"): whole[:whole[5]],
                 os.path.join(tables, "DMI"): whole[32:]}
        values = {"bios_vendor": "Fake BIOS Co", "bios_version": "6.00", "bios_release": "4.6",
                  "product_name": "Fake Machine", "chassis_type": "1",
                  "product_serial": "SECRET-SERIAL"}
        files.update({os.path.join(ident, k): (v + "\n").encode() for k, v in values.items()})
        for path, content in files.items():
            with open(path, "wb") as f:
                f.write(content)
            closed = "serial" in path or path.startswith(tables)
            os.chmod(path, 0o400 if closed and not readable else 0o444)
        for folder in (tables, ident, os.path.dirname(tables), os.path.dirname(ident)):
            os.chmod(folder, 0o755)
        return root

    def unprivileged(self, program, *args, root):
        """A run as nobody (CI runs as root, who may read anything)."""
        def drop():
            if os.geteuid() == 0:
                os.setgroups([])
                os.setgid(65534)
                os.setuid(65534)
        return subprocess.run([program, *args], capture_output=True, preexec_fn=drop,
                              env=dict(os.environ, SYSLENS_SYSFS_ROOT=root), cwd=root,
                              timeout=120)

    def test_reading_without_root(self):
        if ARGS.wine:
            self.skipTest("no sysfs on Windows")
        os.chmod(self.scratch, 0o755)
        programs = tempfile.mkdtemp(dir=self.scratch)  # where nobody may run them
        os.chmod(programs, 0o755)
        for name in ("syslens", "probex", "DMI.DAT"):
            shutil.copy(os.path.join(os.path.dirname(ARGS.syslens), name), programs)
        syslens, probex = (os.path.join(programs, n) for n in ("syslens", "probex"))
        table = "vmware-virtual-smbios27.bin"
        closed = self.fake_sysfs(table, readable=False)
        cases = [  # (arguments, exit code, in standard output, in standard error)
            ([], 0, b"Partial report: only what", b"as root, the whole table"),
            (["-s", "bios-revision"], 0, b"4.6\n", b"note:"),
            (["-s", "chassis-type"], 0, b"Other\n", b"note:"),
            (["-s", "system-serial-number"], 1, b"", b"does not show system-serial-number"),
            (["-s", "processor-version"], 1, b"", b"does not show processor-version"),
            (["--dump-bin", os.path.join(closed, "x.bin")], 1, b"", b"cannot be read"),
        ]
        for args, code, out, err in cases:
            with self.subTest(args=args):
                result = self.unprivileged(syslens, *args, root=closed)
                self.assertEqual(result.returncode, code, result.stderr)
                self.assertIn(out, result.stdout)
                self.assertIn(err, result.stderr)
                self.assertNotIn(b"SECRET", result.stdout)
        doc = json.loads(self.unprivileged(syslens, "--json", root=closed).stdout)
        self.assertEqual(self.validator.is_valid(doc), True)
        self.assertEqual((doc["source"]["kind"], doc["source"]["partial"]), ("sysfs-id", True))
        self.assertEqual([s["type"] for s in doc["structures"]], [0, 1, 3])
        # The classic report: the collector says why and no report claims
        # the machine has no DMI BIOS.
        dump = os.path.join(closed, "probex.dmp")
        open(dump, "wb").close()
        os.chmod(dump, 0o666)
        collector = self.unprivileged(probex, dump, root=closed)
        self.assertEqual(collector.returncode, 4)
        self.assertIn(b"Permission denied", collector.stderr)
        classic = self.unprivileged(syslens, "tulip", root=closed)
        self.assertNotIn(b"not supported", classic.stdout)
        self.assertIn(b"cannot be read", classic.stderr)
        # With the rights: the whole table, as from the saved file; broken
        # part-way, the structures before the break with a warning.
        whole = self.document("--from-dump", table)["structures"]
        for break_at, kept in ((None, whole), (5, whole[:5])):
            with self.subTest(break_at=break_at):
                root = self.fake_sysfs(table, readable=True, break_at=break_at)
                result = self.unprivileged(syslens, "--json", root=root)
                self.assertEqual(result.returncode, 0, result.stderr)
                doc = json.loads(result.stdout)
                self.assertEqual((doc["source"]["kind"], doc["source"]["partial"]),
                                 ("sysfs", bool(break_at)))
                self.assertEqual(doc["structures"], kept)
                self.assertEqual(len(doc["warnings"]), 1 if break_at else 0)

    def test_exit_codes(self):
        garbage = os.path.join(self.scratch, "garbage.bin")
        with open(garbage, "wb") as f:
            f.write(b"no table here" * 10)
        cases = [  # (arguments, exit code)
            (["--help"], 0), (["-V"], 0), (["--list-types"], 0),
            (["--from-dump", "no-such-file.bin"], 1),
            (["--from-dump", garbage], 1),
            (["--from-dump", garbage, "--table-version", "3.0"], 1),
            (["--frobnicate"], 2), (["-t", "nothing"], 2), (["-s", "no-keyword"], 2),
            (["-H", "0x10000"], 2), (["-t"], 2), (["-s", "bios-vendor", "--json"], 2),
        ]
        # A parameter string the viewer does not know is no command line: the
        # classic run answers it with message 3000, as before.
        if not ARGS.wine:  # the Windows command line has no parameter strings
            classic = run("not-an-option")
            self.assertEqual(classic.returncode, 0)
            self.assertIn(b"executed by itself", classic.stderr)
        for args, code in cases:
            with self.subTest(args=args):
                result = run(*args)
                self.assertEqual(result.returncode, code, result.stderr)
                if code:
                    lines = result.stderr.decode().splitlines()
                    if ARGS.wine:  # Wine may add lines of its own
                        lines = [l for l in lines if l.startswith("syslens:")]
                    self.assertEqual(len(lines), 1, lines)
                    self.assertEqual(result.stdout, b"")


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--syslens", required=True)
    parser.add_argument("--probex", help="the collector, for the dump-shape test")
    parser.add_argument("--corpus", default=os.path.join(ROOT, "..", "shared", "corpus"))
    parser.add_argument("--actual-dir", default=os.path.join(tempfile.gettempdir(), "syslens-cli"))
    parser.add_argument("--update", action="store_true")
    parser.add_argument("--wine", help="tests/wine/run-wine.sh: --syslens is SYSLENSC.EXE")
    parser.add_argument("--arch", default="win64")
    ARGS, rest = parser.parse_known_args()
    ARGS.syslens = os.path.abspath(ARGS.syslens)
    ARGS.probex = os.path.abspath(ARGS.probex) if ARGS.probex else None
    ARGS.wine = os.path.abspath(ARGS.wine) if ARGS.wine else None
    ARGS.corpus = os.path.abspath(ARGS.corpus)
    if not os.path.isdir(ARGS.corpus):
        print("skipped: no corpus at", ARGS.corpus)
        return 77
    try:
        import jsonschema  # noqa: F401
    except ImportError:
        print("skipped: python3-jsonschema is not installed")
        return 77
    program = unittest.main(argv=[sys.argv[0], *rest], exit=False, verbosity=1)
    return 0 if program.result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
