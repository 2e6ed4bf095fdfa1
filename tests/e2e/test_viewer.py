#!/usr/bin/env python3
"""End-to-end runs of the viewer with the stand-in collector beside it.

Each test lays out a directory as the viewer is installed (viewer, collector,
HTML codes file), writes a dump for the collector to hand over, runs the
viewer with a parameter string, and checks what it wrote. With --wine the
Windows build runs under Wine; window-text checks then read the host edit
control's text from the HTML and property paths only, since Wine has no
descriptor-backed edit control.
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

TITLE = "\r\n\r\nDESKTOP MANAGEMENT INFORMATION BIOS (DMIBIOS)\r\n\r\n\r\n\r\n"
HEADER_TEXT = TITLE + " DMI BIOS\t: Detected\r\n DMIBIOS Revision\t: 2.3\r\n"


def filler():
    """A structure the viewer reads but does not report (type 126, Inactive)."""
    return dumpfile.structure(126, 0x10, bytes(4), [b"unused"])


class ViewerRun(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="syslens-e2e-")
        self.tmp = os.path.join(self.dir, "tmp")
        os.mkdir(self.tmp)
        self.app = os.path.join(self.dir, "app")
        os.mkdir(self.app)
        self.wine = ARGS.wine is not None
        self.viewer = os.path.join(self.app, "SYSLENS.EXE" if self.wine else "syslens")
        shutil.copy(ARGS.viewer, self.viewer)
        shutil.copy(ARGS.collector, os.path.join(self.app, "PROBEX.EXE" if self.wine else "probex"))
        shutil.copy(ARGS.html_codes, os.path.join(self.app, "QMRKW32H.INI"))
        self.dump_path = os.path.join(self.dir, "dump.bin")
        self.log = os.path.join(self.dir, "collector.log")
        self.env = dict(os.environ)
        self.env.update({
            "SYSLENS_FAKE_DUMP": self.dump_path,
            "SYSLENS_FAKE_LOG": self.log,
            "QMRK_WIN_INI": os.path.join(self.dir, "win.ini"),
        })
        if not self.wine:
            self.env["TMPDIR"] = self.tmp

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def write_dump(self, data):
        with open(self.dump_path, "wb") as f:
            f.write(data)

    def run_viewer(self, *args, pass_fds=()):
        command = [self.viewer, *args]
        if self.wine:
            # Wine quotes an argument that holds blanks when it builds the
            # command line; one word per argument gives the parameter string.
            words = [w for a in args for w in (a.split(" ") if a.strip() else [a])]
            command = ARGS.wine + [self.viewer, *words]
        return subprocess.run(command, cwd=self.dir, env=self.env, capture_output=True,
                              timeout=120, pass_fds=pass_fds)

    def read(self, name):
        with open(os.path.join(self.dir, name), "rb") as f:
            return f.read().decode("latin-1")

    def collector_paths(self):
        if not os.path.exists(self.log):
            return []
        with open(self.log) as f:
            return [line.rstrip("\n").split("|") for line in f]

    def assert_dump_removed(self):
        for path, existed in self.collector_paths():
            self.assertEqual(existed, "exists", "the dump file exists before the collector runs")
            if not self.wine:
                self.assertFalse(os.path.exists(path), path)
        if not self.wine:
            self.assertEqual(os.listdir(self.tmp), [])

    def html_report(self, *args):
        result = self.run_viewer(*args)
        self.assertEqual(result.returncode, 0, result.stderr)
        return self.read("report.htm" if args[0] != "tulip2" else "output.htm")


class HtmlAndProperties(ViewerRun):
    def test_html_run_writes_framed_header_table(self):
        self.write_dump(dumpfile.dump([filler()]))
        html = self.html_report("W=00000000 X=0000 Y=0000 X2=0000 Y2=0000 A=0 F=40000000 FN=report.htm")
        self.assertTrue(html.startswith("<!DOCTYPE html>\r\n"), html[:80])
        self.assertIn("<h1>\r\nDesktop Management Information BIOS (DMIBIOS)\r\n\r\n</h1>\r\n<hr>", html)
        self.assertIn('<th scope="row">DMI BIOS</th>\r\n<td>Detected</td>', html)
        self.assertIn('<th scope="row">DMIBIOS Revision</th>\r\n<td>2.3</td>', html)
        self.assertTrue(html.endswith("</body>\r\n</html>\r\n"), html[-40:])
        self.assert_dump_removed()

    def test_tulip2_replaces_output_htm(self):
        with open(os.path.join(self.dir, "output.htm"), "w") as f:
            f.write("old report")
        self.write_dump(dumpfile.dump([filler()]))
        html = self.html_report("tulip2")
        self.assertNotIn("old report", html)
        self.assertIn("<td>2.3</td>", html)

    def test_bits_29_and_30_choose_html(self):
        self.write_dump(dumpfile.dump([]))
        html = self.html_report("W=0 X=0 Y=0 X2=0 Y2=0 A=0 F=60000000 FN=report.htm")
        self.assertIn("<td>Detected</td>", html)

    def test_not_supported_heading(self):
        self.write_dump(dumpfile.dump([filler()], found=0))
        html = self.html_report("W=0 X=0 Y=0 X2=0 Y2=0 A=0 F=40000000 FN=report.htm")
        self.assertIn("<h3> DMI BIOS is not supported\r\n</h3>", html)

    def test_collector_failure_leaves_an_empty_document(self):
        self.write_dump(dumpfile.dump([filler()], wrote_all=0))
        html = self.html_report("W=0 X=0 Y=0 X2=0 Y2=0 A=0 F=40000000 FN=report.htm")
        self.assertNotIn("DMIBIOS", html)
        self.assertIn("<body>", html)
        self.assertTrue(html.endswith("</html>\r\n"))
        self.assert_dump_removed()

    def test_property_runs(self):
        self.write_dump(dumpfile.dump([filler()], major=2, minor=7))
        # A bare name would be looked for in the Windows directory: give the
        # property file with its directory.
        result = self.run_viewer("W=0 X=0 Y=0 X2=0 Y2=0 A=0 F=20000000 FN=" +
                                 os.path.join(self.dir, "props.ini"))
        self.assertEqual(result.returncode, 0, result.stderr)
        text = self.read("props.ini")
        self.assertIn("[Settings]", text)
        self.assertIn("bBIOSDetected=1", text)
        self.assertIn("szBIOSRevision=2.7", text)

    def test_tulip3_writes_object_ini(self):
        if self.wine:
            self.skipTest("writes to c:\\ of the Wine prefix")
        with open(os.path.join(self.dir, "object.ini"), "w") as f:
            f.write("[Old]\nkey=1\n")
        self.write_dump(dumpfile.dump([], found=0))
        result = self.run_viewer("tulip3")
        self.assertEqual(result.returncode, 0)
        text = self.read("object.ini")
        self.assertNotIn("[Old]", text)
        self.assertIn("bBIOSDetected=0", text)


class WindowText(ViewerRun):
    def setUp(self):
        super().setUp()
        if self.wine:
            self.skipTest("window text is read from standard output on POSIX only")

    def test_own_window_prints_the_header(self):
        self.write_dump(dumpfile.dump([filler(), filler()]))
        for keyword in ("tulip", "TULIP", "W=00000000 X=0 Y=0 X2=0 Y2=0 A=0 F=40000000"):
            result = self.run_viewer(keyword)
            self.assertEqual(result.returncode, 0)
            self.assertEqual(result.stdout.decode("latin-1"), HEADER_TEXT, keyword)
        self.assert_dump_removed()

    def test_host_edit_control_is_a_descriptor(self):
        self.write_dump(dumpfile.dump([filler()]))
        read_end, write_end = os.pipe()
        result = self.run_viewer("W=%08X X=0 Y=0 X2=0 Y2=0 A=0" % write_end, pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end, "rb") as pipe:
            text = pipe.read().decode("latin-1")
        self.assertEqual(result.returncode, 0)
        self.assertEqual(result.stdout, b"")
        self.assertEqual(text, HEADER_TEXT)

    def test_keywords_and_unknown_strings(self):
        self.write_dump(dumpfile.dump([filler()]))
        self.assertEqual(self.run_viewer("SELFREPORT").returncode, 2)
        # Arguments are joined with single blanks: ("tulip2", "") is "tulip2 ".
        for args in (("tulip2", ""), ("hello",), ("W=00000000", "X=0000")):
            result = self.run_viewer(*args)
            self.assertEqual(result.returncode, 0)
            self.assertIn(b"It can not be executed by itself.", result.stderr, args)
            self.assertEqual(result.stdout, b"")
        self.assertEqual(self.collector_paths(), [])

    def test_missing_collector_gives_no_report(self):
        os.remove(os.path.join(self.app, "probex"))
        result = self.run_viewer("tulip")
        self.assertEqual(result.returncode, 0)
        self.assertEqual(result.stdout, b"")
        self.assertEqual(os.listdir(self.tmp), [])

    def test_dump_path_with_blanks_reaches_the_collector(self):
        spaced = os.path.join(self.dir, "temp dir")
        os.mkdir(spaced)
        self.env["TMPDIR"] = spaced
        self.write_dump(dumpfile.dump([filler()]))
        result = self.run_viewer("tulip")
        self.assertEqual(result.stdout.decode("latin-1"), HEADER_TEXT)
        self.assertEqual(os.listdir(spaced), [])

    def test_truncated_dump_keeps_what_was_reported(self):
        self.write_dump(dumpfile.dump([filler(), filler()])[:-1])
        result = self.run_viewer("tulip")
        self.assertEqual(result.stdout.decode("latin-1"), HEADER_TEXT)
        self.assert_dump_removed()

    def test_fixed_ten_seconds_for_japanese(self):
        with open(self.env["QMRK_WIN_INI"], "w") as f:
            f.write("[QMRKWIN]\r\nCurrentLanguage=15\r\n")
        # The collector finishes late: the dump is read after ten seconds,
        # still marked incomplete, so nothing is reported.
        self.write_dump(dumpfile.dump([filler()]))
        self.env["SYSLENS_FAKE_SLEEP"] = "12000"
        result = self.run_viewer("tulip")
        self.assertEqual(result.returncode, 0)
        self.assertEqual(result.stdout, b"")


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--viewer", required=True)
    parser.add_argument("--collector", required=True)
    parser.add_argument("--html-codes", required=True)
    ARGS, run_tests = e2e_main.run(parser)
    run_tests()


if __name__ == "__main__":
    main()
