#!/usr/bin/env python3
"""Golden end-to-end runs: the real viewer with the real collector beside it,
fed saved SMBIOS tables through PROBEX_SMBIOS_DUMP; each run's whole output is
compared byte for byte with a file under tests/golden/expected/.

Sinks: the report window's text (POSIX only: `syslens tulip` writes the edit
control's text to standard output when that is not a terminal), the HTML
report (with the short test HTML codes of tests/support/QMRKW32H.INI beside
the viewer) and the property file. With --wine the Windows programs run under
Wine and must write the same HTML and property files byte for byte; the
window text is then skipped.

On a mismatch the output is written to ACTUAL_DIR/NAME.actual (the build
directory, never the source tree) and a unified diff is printed.

Regenerating the expected files after an intended change of the reports
(native build only; read the diff before keeping it):

    python3 tests/golden/test_golden.py --update \\
        --viewer build/native/bin/syslens --collector build/native/bin/probex \\
        --dmi-dat build/native/bin/DMI.DAT \\
        --html-codes tests/support/QMRKW32H.INI \\
        --sample data/samples/workstation-smbios32.bin
"""
import argparse
import difflib
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.dont_write_bytecode = True  # nothing written into the source tree
import tables  # noqa: E402

EXPECTED_DIR = os.path.join(HERE, "expected")
VARIABLE = "PROBEX_SMBIOS_DUMP"
GERMAN = 8
# Japanese also gives the collector a fixed 10 s instead of waiting for it.
JAPANESE = 15
ARGS = None

# (golden name, table, sink, language): table is "sample" (the bundled
# table) or a name of tables.TABLES; sink is "text", "html" or "properties".
CASES = [
    ("workstation.txt", "sample", "text", 0),
    ("workstation.htm", "sample", "html", 0),
    ("workstation.ini", "sample", "properties", 0),
    ("types-5-30.txt", "types-5-30", "text", 0),
    ("types-5-30.htm", "types-5-30", "html", 0),
    ("types-5-30.ini", "types-5-30", "properties", 0),
    ("types-0-13-german.txt", "types-0-13", "text", GERMAN),
    ("types-0-13-japanese.txt", "types-0-13", "text", JAPANESE),
]


def read(path):
    with open(path, "rb") as f:
        return f.read()


def show(data):
    """Lines of an output for a diff, with the line ends made visible; the
    translated reports are UTF-8, and bytes that are not show escaped."""
    text = data.decode("utf-8", errors="backslashreplace")
    return [line.replace("\r", "\\r").replace("\t", "\\t") + "\n"
            for line in text.split("\n")]


class Golden(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="syslens-golden-")
        self.wine = ARGS.wine is not None
        app = os.path.join(self.dir, "app")
        os.mkdir(app)
        self.viewer = os.path.join(app, "SYSLENS.EXE" if self.wine else "syslens")
        shutil.copy(ARGS.viewer, self.viewer)
        shutil.copy(ARGS.collector, os.path.join(app, "PROBEX.EXE" if self.wine else "probex"))
        shutil.copy(ARGS.html_codes, os.path.join(app, "QMRKW32H.INI"))
        # The viewer reads DMI.DAT from its working directory.
        shutil.copy(ARGS.dmi_dat, os.path.join(self.dir, "DMI.DAT"))

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def table_file(self, table):
        if table == "sample":
            return os.path.abspath(ARGS.sample)
        path = os.path.join(self.dir, table + ".bin")
        with open(path, "wb") as f:
            f.write(tables.TABLES[table]())
        return path

    def output_of(self, table, sink, language):
        env = dict(os.environ)
        env[VARIABLE] = self.table_file(table)
        env["QMRK_WIN_INI"] = os.path.join(self.dir, "win.ini")
        if language:
            with open(env["QMRK_WIN_INI"], "w") as f:
                f.write("[QMRKWIN]\r\nCurrentLanguage=%d\r\n" % language)
        out = os.path.join(self.dir, {"html": "report.htm", "properties": "report.ini"}.get(
            sink, "unused"))
        if sink == "text":
            words = ["tulip"]
        else:
            flags = "40000000" if sink == "html" else "20000000"
            words = ["W=0", "X=0", "Y=0", "X2=0", "Y2=0", "A=0", "F=" + flags, "FN=" + out]
        # One word per argument: Wine quotes an argument holding blanks when
        # it builds the command line, and POSIX joins the words with blanks.
        command = (ARGS.wine or []) + [self.viewer] + words
        result = subprocess.run(command, cwd=self.dir, env=env, capture_output=True,
                                timeout=300)
        self.assertEqual(result.returncode, 0, result.stderr.decode("latin-1"))
        if sink == "text":
            return result.stdout
        self.assertTrue(os.path.exists(out), "no %s written; stderr: %s" % (
            out, result.stderr.decode("latin-1")))
        return read(out)

    def check(self, name, table, sink, language):
        if sink == "text" and self.wine:
            self.skipTest("window text is read from standard output on POSIX only")
        actual = self.output_of(table, sink, language)
        golden = os.path.join(EXPECTED_DIR, name)
        if ARGS.update:
            if self.wine:
                self.skipTest("expected files are written from the native build")
            with open(golden, "wb") as f:
                f.write(actual)
            return
        expected = read(golden) if os.path.exists(golden) else b""
        if actual == expected:
            return
        os.makedirs(ARGS.actual_dir, exist_ok=True)
        actual_path = os.path.join(ARGS.actual_dir, name + ".actual")
        with open(actual_path, "wb") as f:
            f.write(actual)
        diff = "".join(difflib.unified_diff(show(expected), show(actual), golden, actual_path))
        self.fail("%s differs from %s (\\r and \\t shown escaped):\n%s" % (
            actual_path, golden, diff))


def add_cases():
    for name, table, sink, language in CASES:
        def test(self, name=name, table=table, sink=sink, language=language):
            self.check(name, table, sink, language)
        setattr(Golden, "test_" + name.replace("-", "_").replace(".", "_"), test)


add_cases()


def main():
    global ARGS
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--viewer", required=True)
    parser.add_argument("--collector", required=True)
    parser.add_argument("--dmi-dat", required=True)
    parser.add_argument("--html-codes", required=True,
                        help="the test HTML codes, tests/support/QMRKW32H.INI")
    parser.add_argument("--sample", required=True)
    parser.add_argument("--actual-dir", default=os.path.join(tempfile.gettempdir(),
                                                            "syslens-golden-actual"),
                        help="where NAME.actual files go on a mismatch")
    parser.add_argument("--update", action="store_true",
                        help="write the expected files from this run's outputs")
    parser.add_argument("--wine", help="Wine runner script")
    parser.add_argument("--arch", default="win32")
    ARGS, rest = parser.parse_known_args()
    if ARGS.wine:
        ARGS.wine = [os.path.abspath(ARGS.wine), "--arch", ARGS.arch]
        # Also makes the Wine prefix before the first run.
        probe = subprocess.run(ARGS.wine + ["cmd.exe", "/c", "exit 0"], capture_output=True)
        if probe.returncode == 77:
            print(probe.stderr.decode(errors="replace").strip())
            return 77
    result = unittest.main(argv=[sys.argv[0]] + rest, exit=False, verbosity=2).result
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
