#!/usr/bin/env python3
"""End-to-end tests of TOVARIN.EXE under Wine.

    tovarin_e2e.py --exe TOVARIN.EXE --fakecmd FAKECMD.EXE --arch win32|win64
                   -- WINE-LAUNCHER [ARGS...]

The launcher is the build's emulator command (tests/wine/run-wine.sh with its
--arch); when it answers 77 (this machine cannot run the architecture), the
driver exits with 77 too, which CTest reports as skipped. The driver gives it a Wine prefix of its own in a temporary
directory, removed at the end, so the registry keys it writes touch nothing
else. For every case it imports the registry locations (removing the three
keys first), lays out installed suites with old syslens.* and probex.* files
and a patch directory with new ones inside the prefix's drive C, runs
TOVARIN.EXE from the patch directory with a key press on standard input, and
checks the console text, the exit code, the commands that reached the
command interpreter and the files afterwards.

The command interpreter is tests/fakecmd.cpp, set as ComSpec: it logs each
command and passes it on to Wine's cmd.exe (see its source for why).
"""

import argparse
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77  # the launcher's and CTest's code for "cannot run here"
VERBOSE = False  # --verbose: print every run's console text

K_UNINST = r"Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmark"
K_SUITE = r"Software\Quillmark\Quillmark for Windows"
K_UNINST2 = r"Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmarks"
WOW32 = "Software\\Wow6432Node\\"  # the 32-bit view in a 64-bit prefix

USAGE = ("-= Usage =-\n"
         "Original Name - TOVARIN.EXE.  May be renamed as needed.\n\n"
         "This program will replace the DMI info report from the Quillmark directory.\n"
         "TOVARIN.EXE displays this help when any argument is passed\n"
         + "-" * 59 + "\n\n")
NOT_INSTALLED = (
    "\n-= ERROR =-\nUnable to locate Quillmark for Windows!\n\n"
    "Either Quillmark is not properly installed on your system, or\n"
    "your version is incompatible with this patch.\n"
    "Please install Quillmark for Windows prior to executing this program.\n\n"
    "If Quillmark for Windows is installed on your system, please copy all files\n"
    "from the {subprg} directory into your \n"
    "Quillmark directory to manually patch your installation.\n\n\n"
    "Press any key to quit...\n")
NO_DIRECTORY = (
    "\n-= ERROR =-\nUnable to locate {dir}\n"
    "Please re-install Quillmark for Windows prior to running this program.\n\n"
    "Press any key to quit...\n")
INSTALLED_AT = "\nQuillmark registered installed location : {value}\n"
UNINSTALL_AT = "\nQuillmark uninstall registered location : {value}\n"
DIRECTORY = "Quillmark directory : {dir}\n\n"

OLD_SUITE = {"SYSLENS.EXE": "old syslens", "PROBEX.EXE": "old probex",
             "syslens.hlp": "old help", "probex.dat": "old data",
             "other.txt": "not ours"}
NEW_FILES = {"SYSLENS.EXE": "new syslens", "PROBEX.EXE": "new probex",
             "PROBEX.INI": "new settings"}
PATCHED_SUITE = {"SYSLENS.EXE": "new syslens", "PROBEX.EXE": "new probex",
                 "PROBEX.INI": "new settings", "other.txt": "not ours"}


def padded_path(length):
    """C:\\t\\xxx...\\QM.EXE of exactly `length` characters."""
    head, tail = "C:\\t\\", "\\QM.EXE"
    return head + "x" * (length - len(head) - len(tail)) + tail


def case(name, values, suites, expect, **kw):
    """values: (key, value name, kind, data[, view]) with kind sz, expand,
    dword or raw (a REG_SZ stored without its terminating NUL)."""
    c = dict(name=name, values=values, suites=suites, expect=expect,
             patch="C:\\t\\patch", run_from=None, args=[], rule=None,
             value=None, dir=None, short=None, only64=False, stray=[],
             by_name=False)
    c.update(kw)
    return c


P127, P128 = padded_path(127), padded_path(128)
DIR127 = P127.rsplit("\\", 1)[0]
DIR128 = P128.rsplit("\\", 1)[0]
OTHERS = ["C:\\t\\other", "C:\\t\\other2"]

CASES = [
    case("installed location wins over both uninstall strings",
         [(K_SUITE, "MainExePath", "sz", "C:\\t\\suite\\QM.EXE"),
          (K_UNINST, "UninstallString", "sz", "C:\\t\\other\\UNINST.EXE"),
          (K_UNINST2, "UninstallString", "sz", "C:\\t\\other2\\UNINST.EXE")],
         ["C:\\t\\suite"] + OTHERS, "patched", rule="installed",
         value="C:\\t\\suite\\QM.EXE", dir="C:\\t\\suite", short="C:\\t\\suite"),
    case("first uninstall key wins over the second",
         [(K_UNINST, "UninstallString", "sz", "C:\\t\\suite\\UNINST.EXE"),
          (K_UNINST2, "UninstallString", "sz", "C:\\t\\other\\UNINST.EXE")],
         ["C:\\t\\suite"] + OTHERS, "patched", rule="uninstall",
         value="C:\\t\\suite\\UNINST.EXE", dir="C:\\t\\suite",
         short="C:\\t\\suite"),
    case("second uninstall key alone, uninstaller and file path with blanks",
         [(K_UNINST2, "UninstallString", "sz",
           "C:\\WINDOWS\\UNINST.EXE C:\\t\\Quill Mark\\install.log")],
         ["C:\\t\\Quill Mark"] + OTHERS, "patched", rule="uninstall",
         value="C:\\WINDOWS\\UNINST.EXE C:\\t\\Quill Mark\\install.log",
         dir="C:\\t\\Quill Mark"),
    case("value of 127 characters is used",
         [(K_SUITE, "MainExePath", "sz", P127),
          (K_UNINST, "UninstallString", "sz", "C:\\t\\other\\UNINST.EXE")],
         [DIR127] + OTHERS, "patched", rule="installed", value=P127,
         dir=DIR127),
    case("unterminated value of 127 characters is used whole",
         [(K_SUITE, "MainExePath", "raw", P127),
          (K_UNINST, "UninstallString", "sz", "C:\\t\\other\\UNINST.EXE")],
         [DIR127] + OTHERS, "patched", rule="installed", value=P127,
         dir=DIR127),
    case("values of 128 characters, with or without terminator, are missing",
         [(K_SUITE, "MainExePath", "sz", P128),
          (K_UNINST, "UninstallString", "raw", P128),
          (K_UNINST2, "UninstallString", "sz", "C:\\t\\suite\\UNINST.EXE")],
         [DIR128, "C:\\t\\suite"], "patched", rule="uninstall",
         value="C:\\t\\suite\\UNINST.EXE", dir="C:\\t\\suite",
         short="C:\\t\\suite"),
    case("wrong type and value without a backslash count as missing",
         [(K_SUITE, "MainExePath", "dword", "5"),
          (K_UNINST, "UninstallString", "sz", "UNINST.EXE /S"),
          (K_UNINST2, "UninstallString", "sz", "C:\\t\\suite\\UNINST.EXE")],
         ["C:\\t\\suite"], "patched", rule="uninstall",
         value="C:\\t\\suite\\UNINST.EXE", dir="C:\\t\\suite",
         short="C:\\t\\suite"),
    case("expandable uninstall string is expanded",
         [(K_UNINST2, "UninstallString", "expand",
           "%SystemDrive%\\t\\suite\\UNINST.EXE")],
         ["C:\\t\\suite"], "patched", rule="uninstall",
         value="C:\\t\\suite\\UNINST.EXE", dir="C:\\t\\suite",
         short="C:\\t\\suite"),
    case("no registry location: first error, key wait, exit 1",
         [], ["C:\\t\\suite"], "not_installed"),
    case("directory missing on disk: second error, uninstall strings ignored",
         [(K_SUITE, "MainExePath", "sz", "C:\\t\\gone\\QM.EXE"),
          (K_UNINST, "UninstallString", "sz", "C:\\t\\suite\\UNINST.EXE")],
         ["C:\\t\\suite"], "no_dir", rule="installed",
         value="C:\\t\\gone\\QM.EXE", dir="C:\\t\\gone"),
    case("any argument prints only the usage text",
         [(K_SUITE, "MainExePath", "sz", "C:\\t\\suite\\QM.EXE")],
         ["C:\\t\\suite"], "usage", args=[["/?"], ["x", "y"]]),
    case("started by bare name, it still copies from its own directory",
         [(K_SUITE, "MainExePath", "sz", "C:\\t\\suite\\QM.EXE")],
         ["C:\\t\\suite"], "patched", rule="installed",
         value="C:\\t\\suite\\QM.EXE", dir="C:\\t\\suite",
         short="C:\\t\\suite", by_name=True),
    case("& and ^ in the directory are quoted, nothing else runs",
         [(K_SUITE, "MainExePath", "sz", "C:\\t\\a&b^c\\QM.EXE")],
         ["C:\\t\\a&b^c"], "patched", rule="installed",
         value="C:\\t\\a&b^c\\QM.EXE", dir="C:\\t\\a&b^c",
         short="C:\\t\\a&b^c", stray=["C:\\t\\a", "C:\\t\\bc"]),
    case("% in the suite directory is refused",
         [(K_SUITE, "MainExePath", "sz", "C:\\t\\50%os%\\QM.EXE")],
         ["C:\\t\\50%os%"], "refused", rule="installed",
         value="C:\\t\\50%os%\\QM.EXE", dir="C:\\t\\50%os%"),
    case("% in TOVARIN's own directory is refused",
         [(K_SUITE, "MainExePath", "sz", "C:\\t\\suite\\QM.EXE")],
         ["C:\\t\\suite"], "refused", patch="C:\\t\\p%os%", rule="installed",
         value="C:\\t\\suite\\QM.EXE", dir="C:\\t\\suite"),
    case("started from the suite directory itself is refused",
         [(K_SUITE, "MainExePath", "sz", "C:\\t\\suite\\QM.EXE")],
         ["C:\\t\\suite"], "refused", run_from="C:\\t\\suite",
         rule="installed", value="C:\\t\\suite\\QM.EXE", dir="C:\\t\\suite"),
    case("32-bit registry view comes before the 64-bit one",
         [(K_SUITE, "MainExePath", "sz", "C:\\t\\suite\\QM.EXE", 32),
          (K_SUITE, "MainExePath", "sz", "C:\\t\\other\\QM.EXE", 64)],
         ["C:\\t\\suite"] + OTHERS, "patched", rule="installed",
         value="C:\\t\\suite\\QM.EXE", dir="C:\\t\\suite",
         short="C:\\t\\suite", only64=True),
]


class Wine:
    def __init__(self, launcher, arch, tmp):
        self.launcher = launcher
        self.wow64 = arch == "win64"
        self.base = os.path.join(tmp, "pfx")
        self.env = dict(os.environ, SYSLENS_WINEPREFIX=self.base,
                        WINEDEBUG="-all",
                        TOVARIN_TEST_CMDLOG="C:\\cmdlog.txt")
        self.prefix = None

    def run(self, args, stdin=b"", cwd=None, timeout=180):
        return subprocess.run(self.launcher + args, input=stdin,
                              capture_output=True, env=self.env, cwd=cwd,
                              timeout=timeout)

    def quiet(self, args, **kw):
        """Runs without pipes: Wine's long-lived service processes started
        by this call must not hold a pipe of ours open."""
        return subprocess.run(args, stdin=subprocess.DEVNULL,
                              stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, **kw)

    def start(self):
        """False when the launcher cannot run this architecture here."""
        # The launcher makes the prefix on first use.
        r = self.quiet(self.launcher + ["cmd", "/c", "exit"], env=self.env,
                       timeout=600)
        if r.returncode == SKIP:
            return False
        found = [d for d in glob.glob(self.base + "-*") if os.path.isdir(d)]
        if len(found) != 1:
            raise RuntimeError("no Wine prefix made under " + self.base)
        self.prefix = found[0]
        # A server that stays up, with its services, spares every later Wine
        # start the loading of the prefix.
        self.quiet(["wineserver", "-p"],
                   env=dict(self.env, WINEPREFIX=self.prefix))
        self.quiet(self.launcher + ["cmd", "/c", "exit"], env=self.env,
                   timeout=600)
        return True

    def stop(self):
        if self.prefix:
            self.quiet(["wineserver", "-k"],
                       env=dict(self.env, WINEPREFIX=self.prefix))

    def host(self, winpath):
        """Unix path of a C:\\ path inside the prefix."""
        assert winpath[:3].upper() == "C:\\", winpath
        return os.path.join(self.prefix, "drive_c",
                            *[p for p in winpath[3:].split("\\") if p])

    def import_reg(self, lines):
        path = self.host("C:\\import.reg")
        text = "Windows Registry Editor Version 5.00\r\n\r\n" + \
            "\r\n".join(lines) + "\r\n"
        with open(path, "wb") as f:
            f.write(b"\xff\xfe" + text.encode("utf-16-le"))
        r = self.run(["regedit", "/s", "C:\\import.reg"])
        if r.returncode != 0:
            raise RuntimeError("regedit failed: %r" % r.stderr)


def reg_string(s):
    return '"' + s.replace("\\", "\\\\").replace('"', '\\"') + '"'


def reg_hex(kind, data):
    raw = data.encode("utf-16-le") + (b"" if kind == 1 else b"\0\0")
    return "hex(%d):" % kind + ",".join("%02x" % b for b in raw)


def registry_lines(values, wow64):
    keys = [K_UNINST, K_SUITE, K_UNINST2]
    views = [""] + ([WOW32] if wow64 else [])
    lines = ["[-HKEY_LOCAL_MACHINE\\%s]" % (v + k[len("Software\\"):]
                                           if v else k)
             for v in views for k in keys]
    lines.append("")
    for val in values:
        key, name, kind, data = val[:4]
        view = val[4] if len(val) > 4 else 64
        full = key if view == 64 or not wow64 else \
            WOW32 + key[len("Software\\"):]
        if kind == "sz":
            text = reg_string(data)
        elif kind == "expand":
            text = reg_hex(2, data)
        elif kind == "raw":
            text = reg_hex(1, data)
        else:
            text = "dword:%08x" % int(data)
        lines += ["[HKEY_LOCAL_MACHINE\\%s]" % full,
                  "%s=%s" % (reg_string(name), text), ""]
    return lines


def read_dir(path):
    out = {}
    for name in sorted(os.listdir(path)):
        with open(os.path.join(path, name), encoding="latin-1") as f:
            out[name.upper()] = f.read()
    return out


def upper_keys(d):
    return {k.upper(): v for k, v in d.items()}


def norm(b):
    return b.decode("latin-1").replace("\r\n", "\n")


class Failure(Exception):
    pass


def check(cond, what, *detail):
    if not cond:
        raise Failure(what + "".join("\n    " + str(d) for d in detail))


def run_case(wine, tovarin, c):
    shutil.rmtree(wine.host("C:\\t"), ignore_errors=True)
    log = wine.host("C:\\cmdlog.txt")
    if os.path.exists(log):
        os.remove(log)
    for d in c["suites"]:
        os.makedirs(wine.host(d))
        for name, text in OLD_SUITE.items():
            with open(os.path.join(wine.host(d), name), "w") as f:
                f.write(text)
    run_from = c["run_from"] or c["patch"]
    os.makedirs(wine.host(c["patch"]), exist_ok=True)
    os.makedirs(wine.host(run_from), exist_ok=True)
    for name, text in NEW_FILES.items():
        with open(os.path.join(wine.host(c["patch"]), name), "w") as f:
            f.write(text)
    shutil.copy(tovarin, os.path.join(wine.host(run_from), "TOVARIN.EXE"))
    wine.import_reg(registry_lines(c["values"], wine.wow64))
    before = {d: read_dir(wine.host(d)) for d in c["suites"] + [c["patch"]]}
    exe = run_from + "\\TOVARIN.EXE"
    subprg = run_from + "\\"
    cwd = wine.host("C:\\t")

    runs = c["args"] if c["expect"] == "usage" else [[]]
    for args in runs:
        if c["expect"] == "not_installed":
            # The program must wait for the key: still running until the
            # byte arrives on standard input.
            p = subprocess.Popen(wine.launcher + [exe], stdin=subprocess.PIPE,
                                 stdout=subprocess.PIPE,
                                 stderr=subprocess.PIPE, env=wine.env, cwd=cwd)
            time.sleep(3)
            waited = p.poll() is None
            out, err = p.communicate(b"\n", timeout=180)
            rc = p.returncode
            check(waited, "ended without waiting for a key")
        elif c["by_name"]:
            # Typed at a prompt in its own directory, the program path of
            # the command line is the bare name.
            r = wine.run(["cmd", "/c", "TOVARIN.EXE"], stdin=b"\n",
                         cwd=wine.host(run_from))
            out, err, rc = r.stdout, r.stderr, r.returncode
        else:
            r = wine.run([exe] + args, stdin=b"\n", cwd=cwd)
            out, err, rc = r.stdout, r.stderr, r.returncode
        text = norm(out)
        if VERBOSE:
            print("--- %s %r: exit %d\n%s" % (exe, args, rc, text))
        ran = norm(open(log, "rb").read()).splitlines() \
            if os.path.exists(log) else []
        detail = ("exit %d" % rc, "stdout: %r" % text,
                  "stderr: %r" % norm(err)[-1500:], "interpreter got: %r" % ran)
        expect = c["expect"]
        header = ""
        if c["rule"]:
            at = INSTALLED_AT if c["rule"] == "installed" else UNINSTALL_AT
            header = "\n" + at.format(value=c["value"]) + \
                DIRECTORY.format(dir=c["dir"])

        if expect == "usage":
            check(text == "\n" + USAGE, "usage text", *detail)
            check(rc == 0, "usage exit code 0", *detail)
        elif expect == "not_installed":
            check(text == "\n" + NOT_INSTALLED.format(subprg=subprg),
                  "first error text", *detail)
            check(rc == 1, "exit code 1", *detail)
        elif expect == "no_dir":
            check(text == header + NO_DIRECTORY.format(dir=c["dir"]),
                  "second error text", *detail)
            check(rc == 2, "exit code 2", *detail)
        elif expect == "refused":
            check(text.startswith(header + "\n-= ERROR =-\n"),
                  "refusal text", *detail)
            check(text.endswith("\n\nPress any key to quit...\n"),
                  "refusal ends with key prompt", *detail)
            check(rc == 3, "exit code 3", *detail)
        if expect != "patched":
            check(ran == [], "nothing handed to the interpreter", *detail)
            after = {d: read_dir(wine.host(d)) for d in before}
            check(after == before, "files unchanged", after, before)
            continue

        # Patched: the header, then the four commands, each echoed on a line
        # of its own before it runs, and exactly those four ran.
        check(text.startswith(header), "location header", *detail)
        check(len(ran) == 4, "four commands ran", *detail)
        m = re.fullmatch(r'del "(.+)\\syslens\.\*"', ran[0])
        check(m is not None, "first command deletes syslens.*", *detail)
        short = m.group(1)
        if c["short"]:
            check(short == c["short"], "short directory " + c["short"], *detail)
        else:
            check(" " not in short and len(short) <= len(c["dir"]),
                  "short form of " + c["dir"], *detail)
        dest = short + "\\*.*"
        if re.search(r'[ &^]', short):
            dest = '"' + dest + '"'
        want = ['del "%s\\syslens.*"' % short, 'del "%s\\probex.*"' % short,
                'copy "%ssyslens.*" %s' % (subprg, dest),
                'copy "%sprobex.*" %s' % (subprg, dest)]
        check(ran == want, "commands", want, *detail)
        lines = text[len(header):].split("\n")
        pos = [lines.index(w) if w in lines else -1 for w in want]
        check(-1 not in pos and pos == sorted(pos),
              "each command echoed in order", *detail)
        check(rc == 1, "exit code 1", *detail)
        patched = c["dir"]
        for d in before:
            after = read_dir(wine.host(d))
            if d == patched:
                check(after == upper_keys(PATCHED_SUITE), "suite replaced",
                      after)
            else:
                check(after == before[d], d + " unchanged", after)
        for s in c["stray"]:
            check(not os.path.exists(wine.host(s)), "no stray " + s, *detail)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--exe", required=True)
    ap.add_argument("--fakecmd", required=True)
    ap.add_argument("--arch", required=True, choices=["win32", "win64"])
    ap.add_argument("--only", help="run only cases whose name holds this")
    ap.add_argument("--verbose", action="store_true",
                    help="print every run's console text")
    ap.add_argument("launcher", nargs="+")
    a = ap.parse_args()
    global VERBOSE
    VERBOSE = a.verbose

    tmp = tempfile.mkdtemp(prefix="tovarin-e2e-")
    wine = Wine(a.launcher, a.arch, tmp)
    failed = 0
    try:
        if not wine.start():
            print("skipped: Wine cannot run %s programs here" % a.arch)
            return SKIP
        shutil.copy(a.fakecmd, wine.host("C:\\fakecmd.exe"))
        wine.import_reg(["[HKEY_CURRENT_USER\\Environment]",
                         '"ComSpec"=' + reg_string("C:\\fakecmd.exe"), ""])
        for c in CASES:
            if c["only64"] and not wine.wow64:
                continue
            if a.only and a.only not in c["name"]:
                continue
            try:
                run_case(wine, a.exe, c)
                print("ok      " + c["name"])
            except Failure as e:
                failed += 1
                print("FAILED  " + c["name"] + "\n  " + str(e))
            sys.stdout.flush()
    finally:
        wine.stop()
        shutil.rmtree(tmp, ignore_errors=True)
    print("%d case(s) failed" % failed if failed else "all cases passed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
