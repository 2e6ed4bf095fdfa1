#!/usr/bin/env python3
"""The classic run on a shared machine: the files, processes and environment
around the report, not its content.

One table of cases. Each lays out an installed viewer (with the real
collector or the stand-in), makes the hostile surroundings (a killed viewer,
a planted link or program, a FIFO, an odd TMPDIR, an unwritable output), runs,
and checks that no temporary dump is left, no other file is touched, nothing
hangs, and a failure says what failed on standard error. POSIX only (links,
FIFOs, signals and descriptors), but for the last two cases, which run under
Wine too (a cut dump's HTML, the planted program beside a blank).
"""
import argparse
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

import e2e_main

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.dont_write_bytecode = True
import dumpfile  # noqa: E402

ARGS = None
HTML = "W=0 X=0 Y=0 X2=0 Y2=0 A=0 F=40000000 FN="
PROPS = "W=0 X=0 Y=0 X2=0 Y2=0 A=0 F=20000000 FN="


def oem(handle, count=5):
    """A type-11 structure whose strings each give one report line."""
    return dumpfile.structure(11, handle, bytes([count]),
                              [b"OEM string %d of structure %d" % (i, handle) for i in range(count)])


def slot(handle):
    return dumpfile.structure(9, handle, bytes([1, 0xA5, 0x0D, 3, 4]) + bytes(8), [b"PCIE%d" % handle])


class Setting:
    """One installed viewer in a fresh directory, with its own TMPDIR."""

    def __init__(self, real_collector=False):
        self.dir = tempfile.mkdtemp(prefix="syslens-shared-")
        self.tmp = os.path.join(self.dir, "tmp")
        self.app = os.path.join(self.dir, "app")
        os.mkdir(self.tmp)
        os.mkdir(self.app)
        self.wine = ARGS.wine is not None
        self.install(self.app, real_collector)
        shutil.copy(ARGS.dmi_dat, os.path.join(self.dir, "DMI.DAT"))
        self.dump = os.path.join(self.dir, "dump.bin")
        self.env = dict(os.environ)
        self.env.pop("PROBEX_SMBIOS_DUMP", None)
        self.env.update({"SYSLENS_FAKE_DUMP": self.dump, "TMPDIR": self.tmp,
                         "QMRK_WIN_INI": os.path.join(self.dir, "win.ini")})

    def install(self, app, real_collector):
        self.viewer = os.path.join(app, "SYSLENS.EXE" if self.wine else "syslens")
        shutil.copy(ARGS.viewer, self.viewer)
        shutil.copy(ARGS.collector if real_collector else ARGS.fake_collector,
                    os.path.join(app, "PROBEX.EXE" if self.wine else "probex"))
        shutil.copy(ARGS.html_codes, os.path.join(app, "QMRKW32H.INI"))

    def path(self, name):
        return os.path.join(self.dir, name)

    def write(self, name, data):
        with open(self.path(name), "wb") as f:
            f.write(data)

    def read(self, name):
        with open(self.path(name), "rb") as f:
            return f.read()

    def command(self, parameters):
        words = parameters.split(" ")
        return (ARGS.wine + [self.viewer] if self.wine else [self.viewer]) + words

    def run(self, parameters, **kw):
        kw.setdefault("capture_output", True)
        return subprocess.run(self.command(parameters), cwd=self.dir, env=self.env,
                              timeout=kw.pop("timeout", 60), **kw)

    def start(self, parameters, **kw):
        return subprocess.Popen(self.command(parameters), cwd=self.dir, env=self.env, **kw)

    def left_in_tmp(self):
        return os.listdir(self.tmp)


# ---- The cases: each gets a fresh Setting and a TestCase to assert with ----

def killed_by_a_closed_pipe(t, s):
    s.write("dump.bin", dumpfile.dump([oem(h) for h in range(620)]))
    viewer = s.start("tulip", stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    viewer.stdout.read(1)
    viewer.stdout.close()
    viewer.wait(timeout=60)
    t.assertEqual(s.left_in_tmp(), [])


def killed_while_the_collector_runs(t, s):
    s.env.pop("SYSLENS_FAKE_DUMP")
    s.env["SYSLENS_FAKE_SLEEP"] = "1500"
    viewer = s.start("tulip", stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(0.5)
    viewer.send_signal(signal.SIGTERM)
    t.assertEqual(viewer.wait(timeout=60), -signal.SIGTERM)
    time.sleep(1.5)  # the orphaned stand-in ends without writing
    t.assertEqual(s.left_in_tmp(), [])


def collector_slower_than_ten_seconds(t, s):
    s.write("win.ini", b"[QMRKWIN]\r\nCurrentLanguage=15\r\n")
    s.write("dump.bin", dumpfile.dump([oem(1)]))
    s.env["SYSLENS_FAKE_SLEEP"] = "11000"
    result = s.run("tulip")
    t.assertEqual(result.stdout, b"")
    t.assertIn(b"did not finish in 10 seconds", result.stderr)
    time.sleep(1.5)  # when the stand-in would have written
    t.assertEqual(s.left_in_tmp(), [])


def tmpdir_with_two_blanks(t, s):
    spaced = s.path("a  b")
    os.mkdir(spaced)
    s.env["TMPDIR"] = spaced
    s.write("dump.bin", dumpfile.dump([oem(1)]))
    result = s.run("tulip")
    t.assertIn(b"OEM string 4 of structure 1", result.stdout)
    t.assertEqual(os.listdir(spaced), [])
    t.assertEqual(os.listdir(s.dir).count("a b"), 0)


def collector_refuses_links_fifos_and_missing_files(t, s):
    probex = os.path.join(s.app, "probex")
    s.write("victim", b"precious")
    os.symlink(s.path("victim"), s.path("link"))
    os.mkfifo(s.path("fifo"))
    env = dict(s.env, PROBEX_SMBIOS_DUMP=ARGS.sample)
    for target in ("link", "fifo", "missing"):
        result = subprocess.run([probex, s.path(target)], env=env, capture_output=True,
                                timeout=20)
        t.assertEqual(result.returncode, 2, target)
        t.assertIn(b"cannot open the dump file", result.stderr, target)
    t.assertEqual(s.read("victim"), b"precious")
    t.assertFalse(os.path.exists(s.path("missing")))


def dump_name_swapped_for_a_link(t, s):
    """The viewer reads the dump it made, not whatever its name leads to."""
    s.write("dump.bin", dumpfile.dump([oem(1)]))
    s.write("other.bin", dumpfile.dump([oem(2)]))
    s.env["SYSLENS_FAKE_SWAP"] = s.path("other.bin")
    result = s.run("tulip")
    t.assertIn(b"OEM string 4 of structure 1", result.stdout)
    t.assertNotIn(b"structure 2", result.stdout)


def special_files_as_inputs(t, s):
    """A FIFO as the saved table, DMI.DAT or the profile must not hang."""
    os.mkfifo(s.path("fifo"))
    for name, env in (("saved table", {"PROBEX_SMBIOS_DUMP": s.path("fifo")}),
                      ("profile", {"QMRK_WIN_INI": s.path("fifo"),
                                   "PROBEX_SMBIOS_DUMP": ARGS.sample})):
        s.env.update(env)
        result = s.run("tulip", timeout=20)
        t.assertEqual(result.returncode, 0, name)
    os.remove(s.path("DMI.DAT"))
    os.mkfifo(s.path("DMI.DAT"))
    s.env["QMRK_WIN_INI"] = s.path("win.ini")
    result = s.run("tulip", timeout=20)
    t.assertIn(b"DMI BIOS", result.stdout, result.stderr)


def empty_saved_table_variable(t, s):
    s.env["PROBEX_SMBIOS_DUMP"] = ""
    result = subprocess.run([os.path.join(s.app, "probex"), s.dump], env=s.env,
                            capture_output=True, timeout=20)
    t.assertEqual(result.returncode, 3)
    t.assertIn(b"PROBEX_SMBIOS_DUMP is set but empty", result.stderr)


def keyword_outputs_planted_as_links(t, s):
    """In a sticky directory another user's link to the victim's file cannot
    be deleted; the report must then not write through it."""
    if os.getuid() != 0:
        raise unittest.SkipTest("needs root to act as two users")
    shared = s.path("shared")
    os.mkdir(shared, 0o1777)
    os.chmod(shared, 0o1777)
    os.chmod(s.dir, 0o755)
    victim = s.path("victim")
    s.write("victim", b"precious\n")
    os.chown(victim, 65534, 65534)
    for name in ("output.htm", "object.ini"):
        os.symlink(victim, os.path.join(shared, name))
        os.lchown(os.path.join(shared, name), 65533, 65533)  # the other user's
    s.write("dump.bin", dumpfile.dump([oem(1)]))
    for path in (s.tmp, s.dump):
        os.chown(path, 65534, 65534)
    for keyword, name in (("tulip2", "output.htm"), ("tulip3", "object.ini")):
        result = subprocess.run(["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
                                 s.viewer, keyword], cwd=shared, env=s.env,
                                capture_output=True, timeout=60)
        t.assertIn(name.encode(), result.stderr, keyword)
    t.assertEqual(s.read("victim"), b"precious\n")


def failures_say_what_failed(t, s):
    s.write("dump.bin", dumpfile.dump([oem(1)]))
    os.mkdir(s.path("adir"))
    read_only = os.open(s.dump, os.O_RDONLY)
    cases = [
        ("missing TMPDIR", {"TMPDIR": s.path("no such dir")}, "tulip", b"temporary file"),
        ("directory as FN=", {}, HTML + "adir", b"adir"),
        ("unwritable FN=", {}, PROPS + s.path("nosuchdir/props.ini"), b"props.ini"),
        ("failed collector", {"SYSLENS_FAKE_DUMP": s.path("none")}, "tulip", b"collector"),
        ("closed W= descriptor", {}, "W=000000F0 X=0 Y=0 X2=0 Y2=0 A=0", b"W="),
        ("read-only W= descriptor", {}, "W=%08X X=0 Y=0 X2=0 Y2=0 A=0" % read_only, b"W="),
    ]
    for name, env, parameters, said in cases:
        run_env = dict(s.env, **env)
        result = subprocess.run(s.command(parameters), cwd=s.dir, env=run_env,
                                capture_output=True, timeout=60, pass_fds=(read_only,))
        t.assertEqual(result.returncode, 0, name)
        lines = result.stderr.splitlines()
        t.assertEqual(len(lines), 1, (name, result.stderr))
        t.assertTrue(lines[0].startswith(b"syslens: ") and said in lines[0], (name, lines))
    os.close(read_only)


def firmware_controls_never_reach_the_window_text(t, s):
    s.write("dump.bin", dumpfile.dump([dumpfile.structure(
        11, 1, bytes([1]), [b"esc\x1b]0;title\x07 csi\xc2\x9b31m tab\tcr\rend"])]))
    read_end, write_end = os.pipe()
    result = s.run("W=%08X X=0 Y=0 X2=0 Y2=0 A=0" % write_end, pass_fds=(write_end,))
    os.close(write_end)
    with os.fdopen(read_end, "rb") as pipe:
        host = pipe.read()
    piped = s.run("tulip").stdout
    for text in (host, piped):
        t.assertIn(b"esc ]0;title  csi 31m tab cr end", text)


def html_closes_tables_of_a_cut_dump(t, s):
    records = dumpfile.dump([slot(1), slot(2)])
    s.write("dump.bin", records[:-3])
    s.run(HTML + "report.htm")
    html = s.read("report.htm")
    t.assertEqual(html.count(b"<table"), html.count(b"</table>"))


def planted_program_at_a_blank_in_the_path(t, s):
    inst = os.path.join(s.dir, "inst dir", "app")
    os.makedirs(inst)
    s.install(inst, real_collector=False)
    marker = s.path("planted ran")
    if s.wine:
        # Started instead, the stand-in would take "dir\app\PROBEX.EXE ..." as
        # its dump path, and no report would come.
        shutil.copy(ARGS.fake_collector, s.path("inst.exe"))
    else:
        s.write("inst", b"#!/bin/sh\ntouch '%s'\n" % marker.encode())
        os.chmod(s.path("inst"), 0o755)
    s.write("dump.bin", dumpfile.dump([oem(1)]))
    result = s.run(HTML + "report.htm", timeout=120)
    t.assertIn(b"OEM string 4 of structure 1", s.read("report.htm"), result.stderr)
    t.assertFalse(os.path.exists(marker))


# (case, needs the real collector, runs under Wine)
CASES = [
    (killed_by_a_closed_pipe, False, False),
    (killed_while_the_collector_runs, False, False),
    (collector_slower_than_ten_seconds, False, False),
    (tmpdir_with_two_blanks, False, False),
    (collector_refuses_links_fifos_and_missing_files, True, False),
    (dump_name_swapped_for_a_link, False, False),
    (special_files_as_inputs, True, False),
    (empty_saved_table_variable, True, False),
    (keyword_outputs_planted_as_links, False, False),
    (failures_say_what_failed, False, False),
    (firmware_controls_never_reach_the_window_text, False, False),
    (html_closes_tables_of_a_cut_dump, False, True),
    (planted_program_at_a_blank_in_the_path, False, True),
]


class SharedMachine(unittest.TestCase):
    def test_cases(self):
        for case, real, under_wine in CASES:
            if ARGS.wine and not under_wine:
                continue
            if ARGS.only and case.__name__ not in ARGS.only:
                continue
            with self.subTest(case.__name__):
                s = Setting(real)
                try:
                    case(self, s)
                except unittest.SkipTest as skipped:
                    print("%s skipped: %s" % (case.__name__, skipped), file=sys.stderr)
                finally:
                    shutil.rmtree(s.dir, ignore_errors=True)


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    for option in ("--viewer", "--collector", "--fake-collector", "--html-codes", "--dmi-dat",
                   "--sample"):
        parser.add_argument(option, required=True)
    parser.add_argument("--only", action="append")
    ARGS, run_tests = e2e_main.run(parser)
    ARGS.sample = os.path.abspath(ARGS.sample)
    run_tests()


if __name__ == "__main__":
    main()
