#!/usr/bin/env python3
"""End-to-end runs of the viewer with the sample override module.

Each test lays out the viewer as installed (viewer, stand-in collector, HTML
codes), puts the override module and its CustomStrings.txt where the test
needs them, runs an HTML report and reads the captions of the DMI BIOS
header from it. With --wine the Windows build runs under Wine (English only:
the language lives in the Wine prefix's win.ini, which the tests share).
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

import e2e_main  # noqa: E402

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import dumpfile  # noqa: E402

ARGS = None

DETECTED = '<th scope="row">DMI BIOS</th>\r\n<td>%s</td>'
REVISION = '<th scope="row">%s</th>\r\n<td>2.3</td>'
RUN = "W=0 X=0 Y=0 X2=0 Y2=0 A=0 F=40000000 FN=report.htm"


def shipped_sample():
    """The text file the build puts beside the module."""
    with open(os.path.join(os.path.dirname(ARGS.module), "CustomStrings.txt")) as f:
        return f.read()


class OverrideRun(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="syslens-override-")
        self.app = os.path.join(self.dir, "app")
        self.elsewhere = os.path.join(self.dir, "elsewhere")
        for d in (self.app, self.elsewhere):
            os.mkdir(d)
        self.wine = ARGS.wine is not None
        self.viewer = os.path.join(self.app, "SYSLENS.EXE" if self.wine else "syslens")
        shutil.copy(ARGS.viewer, self.viewer)
        shutil.copy(ARGS.collector, os.path.join(self.app, "PROBEX.EXE" if self.wine else "probex"))
        shutil.copy(ARGS.html_codes, os.path.join(self.app, "QMRKW32H.INI"))
        self.dump_path = os.path.join(self.dir, "dump.bin")
        with open(self.dump_path, "wb") as f:
            f.write(dumpfile.dump([dumpfile.structure(126, 0x10, bytes(4), [b"unused"])]))
        self.env = dict(os.environ)
        self.env.update({
            "SYSLENS_FAKE_DUMP": self.dump_path,
            "QMRK_WIN_INI": os.path.join(self.dir, "win.ini"),
        })
        self.env.pop("LD_LIBRARY_PATH", None)

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def install_module(self, directory, text):
        """The module and its text file in directory."""
        name = "CustomStrings.DLL" if self.wine else "CustomStrings.so"
        shutil.copy(ARGS.module, os.path.join(directory, name))
        with open(os.path.join(directory, "CustomStrings.txt"), "w", newline="\n") as f:
            f.write(text)

    def set_language(self, language):
        with open(self.env["QMRK_WIN_INI"], "w") as f:
            f.write("[QMRKWIN]\nCurrentLanguage=%d\n" % language)

    def report(self, cwd=None):
        # One argument per word: Wine quotes an argument that holds blanks,
        # and the quotes would reach the program's parameter string.
        command = [self.viewer, *RUN.split()]
        if self.wine:
            command = ARGS.wine + command
        cwd = cwd or self.dir
        result = subprocess.run(command, cwd=cwd, env=self.env, capture_output=True, timeout=120)
        self.assertEqual(result.returncode, 0, result.stderr)
        with open(os.path.join(cwd, "report.htm"), "rb") as f:
            return f.read().decode("utf-8" if not self.wine else "latin-1")


class Answers(OverrideRun):
    def test_module_answers_english_lookups_first(self):
        self.install_module(self.app, '[SYSLENS]\n3003 0x0409 " DMI BIOS\\t: Present\\r\\n"\n')
        html = self.report()
        self.assertIn(DETECTED % "Present", html)
        self.assertIn(REVISION % "DMIBIOS Revision", html)  # ids it lacks stay

    def test_shipped_sample(self):
        self.install_module(self.app, shipped_sample())
        self.assertIn(DETECTED % "Present", self.report())

    def test_without_module_the_program_keeps_its_captions(self):
        html = self.report()
        self.assertIn(DETECTED % "Detected", html)

    def test_entries_for_another_program_do_not_apply(self):
        self.install_module(self.app, '[OTHERPROG]\n3003 " DMI BIOS\\t: Present\\r\\n"\n')
        self.assertIn(DETECTED % "Detected", self.report())

    def test_caption_with_other_conversions_falls_back_to_english(self):
        # A text where the program passes two numbers: used as a format it
        # would read an argument that was never passed.
        self.install_module(self.app, '3004 " Site revision\\t: %s\\r\\n"\n'
                                      '3003 " DMI BIOS\\t: Present\\r\\n"\n')
        html = self.report()
        self.assertIn(REVISION % "DMIBIOS Revision", html)
        self.assertIn(DETECTED % "Present", html)

    def test_caption_with_the_same_conversions_is_used(self):
        self.install_module(self.app, '3004 " Site revision\\t: %u.%u\\r\\n"\n')
        self.assertIn(REVISION % "Site revision", self.report())


class Languages(OverrideRun):
    def setUp(self):
        super().setUp()
        if self.wine:
            self.skipTest("the language is read from the shared Wine prefix")

    def test_module_receives_base_id_and_language_id(self):
        # Keyed by the base id and German's language identifier: answered
        # only when the program passes exactly those.
        self.install_module(self.app, '3003 0x0409 " DMI BIOS\\t: Present\\r\\n"\n'
                                      '3003 0x0407 " DMI BIOS\\t: Vorhanden (Site)\\r\\n"\n')
        self.set_language(8)
        self.assertIn(DETECTED % "Vorhanden (Site)", self.report())
        self.set_language(0)
        self.assertIn(DETECTED % "Present", self.report())

    def test_shipped_sample_in_german(self):
        self.install_module(self.app, shipped_sample())
        self.set_language(8)
        self.assertIn(DETECTED % "Vorhanden", self.report())

    def test_bad_caption_falls_back_to_english_not_to_the_translation(self):
        self.install_module(self.app, '3004 " Revision\\t: %i\\r\\n"\n')
        self.set_language(8)
        self.assertIn(REVISION % "DMIBIOS Revision", self.report())


class Search(OverrideRun):
    def test_program_directory_comes_first(self):
        self.install_module(self.app, '3003 " DMI BIOS\\t: Beside the program\\r\\n"\n')
        self.install_module(self.elsewhere, '3003 " DMI BIOS\\t: Planted\\r\\n"\n')
        if not self.wine:
            self.env["LD_LIBRARY_PATH"] = self.elsewhere
        # Under Wine the other copy lies in the current directory, which the
        # system's search order also visits.
        self.assertIn(DETECTED % "Beside the program", self.report(cwd=self.elsewhere))

    def test_no_search_finds_a_planted_module(self):
        # Only the program's directory counts: neither the library path nor
        # the current directory, which an empty element of LD_LIBRARY_PATH
        # (leading, trailing or doubled ':') would put in the search, and
        # which the Windows search order visits.
        self.install_module(self.elsewhere, '3003 " DMI BIOS\\t: Planted\\r\\n"\n')
        paths = [None] if self.wine else [None, self.elsewhere, ":", ":/usr/lib", "/usr/lib:",
                                          "/usr/lib::/lib"]
        for path in paths:
            if path is not None:
                self.env["LD_LIBRARY_PATH"] = path
            if os.path.exists(os.path.join(self.elsewhere, "report.htm")):
                os.remove(os.path.join(self.elsewhere, "report.htm"))  # appended to
            self.assertIn(DETECTED % "Detected", self.report(cwd=self.elsewhere), path)


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--viewer", required=True)
    parser.add_argument("--collector", required=True)
    parser.add_argument("--module", required=True)
    parser.add_argument("--html-codes", required=True)
    ARGS, run_tests = e2e_main.run(parser)
    run_tests()


if __name__ == "__main__":
    main()
