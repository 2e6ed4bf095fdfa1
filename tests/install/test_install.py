#!/usr/bin/env python3
"""The installed programs, run from a directory that has nothing of theirs.

Installs the build into a DESTDIR, builds the Debian package from it
(scripts/package.sh) and unpacks that with dpkg-deb -x; both trees must give
the golden reports of the bundled sample from an unrelated directory, with
the installed DMI.DAT, and a DMI.DAT in the current directory must still win.
Also renders the man pages with man --warnings and tries the bash completion.

    tests/install/test_install.py --build build/native --source . --version 1.0.0
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

ARGS = None
# What the package must hold (paths as dpkg-deb --contents lists them).
PACKAGE_FILES = [
    "./usr/bin/syslens -> ../lib/syslens/syslens",
    "./usr/bin/probex -> ../lib/syslens/probex",
    "./usr/lib/syslens/syslens", "./usr/lib/syslens/probex",
    "./usr/lib/syslens/DMI.DAT", "./usr/lib/syslens/QMRKW32H.INI",
    "./usr/share/man/man1/syslens.1.gz", "./usr/share/man/man1/probex.1.gz",
    "./usr/share/bash-completion/completions/syslens",
    "./usr/share/doc/syslens/copyright", "./usr/share/doc/syslens/changelog.gz",
]


def run(command, **kwargs):
    return subprocess.run(command, capture_output=True, timeout=300, **kwargs)


def read(path):
    with open(path, "rb") as f:
        return f.read()


class Installed(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.mkdtemp(prefix="syslens-install-")
        cls.destdir = os.path.join(cls.dir, "destdir")
        env = dict(os.environ, DESTDIR=cls.destdir)
        result = run(["cmake", "--install", ARGS.build, "--prefix", "/usr"], env=env)
        assert result.returncode == 0, result.stderr.decode()
        out = os.path.join(cls.dir, "packages")
        result = run([os.path.join(ARGS.source, "scripts", "package.sh"),
                      "--build-dir", ARGS.build, "--out", out, "deb"])
        assert result.returncode == 0, result.stderr.decode()
        cls.deb = result.stdout.decode().strip().splitlines()[-1]
        cls.unpacked = os.path.join(cls.dir, "unpacked")
        result = run(["dpkg-deb", "-x", cls.deb, cls.unpacked])
        assert result.returncode == 0, result.stderr.decode()

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.dir, ignore_errors=True)

    def setUp(self):
        # The unrelated directory the programs are started from.
        self.cwd = tempfile.mkdtemp(dir=self.dir, prefix="elsewhere-")
        self.env = dict(os.environ,
                        PROBEX_SMBIOS_DUMP=os.path.join(ARGS.source, "data", "samples",
                                                        "workstation-smbios32.bin"),
                        QMRK_WIN_INI=os.path.join(self.cwd, "win.ini"),
                        TMPDIR=self.cwd)

    def viewer(self, root, *words):
        result = run([os.path.join(root, "usr", "bin", "syslens"), *words],
                     cwd=self.cwd, env=self.env)
        self.assertEqual(result.returncode, 0, result.stderr.decode("latin-1"))
        return result.stdout

    def golden(self, name):
        return read(os.path.join(ARGS.source, "tests", "golden", "expected", name))

    def test_package_contents_and_version(self):
        listing = run(["dpkg-deb", "--contents", self.deb]).stdout.decode()
        names = [" ".join(line.split()[5:]) for line in listing.splitlines()]
        for path in PACKAGE_FILES:
            self.assertIn(path, names)
        self.assertEqual(os.path.basename(self.deb).split("_")[1], ARGS.version)
        fields = run(["dpkg-deb", "-f", self.deb, "Version", "Depends"]).stdout.decode()
        self.assertIn("Version: %s\n" % ARGS.version, fields)
        # Static C++ runtime, static collector: nothing but the C library.
        self.assertRegex(fields, r"\nDepends: libc6 \(>= [0-9.]+\)\n")
        with open(os.path.join(ARGS.build, "generated", "syslens_version.h")) as f:
            self.assertIn('#define SYSLENS_VERSION "%s"' % ARGS.version, f.read())

    def test_lintian(self):
        if not shutil.which("lintian"):
            self.skipTest("lintian is not installed")
        # Errors and warnings only: a test build is not hardened (infos).
        result = run(["lintian", "--fail-on", "error,warning", self.deb])
        self.assertEqual(result.returncode, 0, result.stdout.decode())

    def test_reports_from_any_directory(self):
        for root in (self.destdir, self.unpacked):
            with self.subTest(root=root):
                self.assertEqual(self.viewer(root, "tulip"), self.golden("workstation.txt"))
                ini = os.path.join(self.cwd, "report.ini")
                self.viewer(root, "W=0", "X=0", "Y=0", "X2=0", "Y2=0", "A=0", "F=20000000",
                            "FN=" + ini)
                self.assertEqual(read(ini), self.golden("workstation.ini"))
                os.remove(ini)
                # HTML with the installed mark-up, as the build tree's viewer
                # writes it beside DMI.DAT.
                self.viewer(root, "tulip2")
                installed = read(os.path.join(self.cwd, "output.htm"))
                reference = tempfile.mkdtemp(dir=self.dir)
                shutil.copy(os.path.join(ARGS.build, "bin", "DMI.DAT"), reference)
                result = run([os.path.join(ARGS.build, "bin", "syslens"), "tulip2"],
                             cwd=reference, env=self.env)
                self.assertEqual(result.returncode, 0)
                self.assertEqual(installed, read(os.path.join(reference, "output.htm")))

    def test_command_line_agrees(self):
        syslens = os.path.join(self.unpacked, "usr", "bin", "syslens")
        version = run([syslens, "--version"], cwd=self.cwd, env=self.env)
        if not version.stdout:
            # The classic viewer takes "--version" for an unknown parameter
            # string and says so on standard error.
            self.skipTest("this build has no command line")
        self.assertIn(ARGS.version, version.stdout.decode())
        # The completion offers the keywords the program accepts.
        script = os.path.join(self.unpacked, "usr", "share", "bash-completion", "completions",
                              "syslens")
        strings = run([syslens, "--list-strings"], cwd=self.cwd, env=self.env).stdout.decode()
        types = run([syslens, "--list-types"], cwd=self.cwd, env=self.env).stdout.decode()
        # --list-types ends with the keywords of -t, one "name: numbers" a line.
        keywords = [line.split(":")[0] for line in types.split("Keywords of -t:")[-1].splitlines()
                    if ":" in line]
        for option, accepted in (("-t", keywords), ("-s", strings.split())):
            self.assertEqual(sorted(self.complete(script, ["syslens", option, ""]).split()),
                             sorted(accepted), option)

    def complete(self, script, words):
        line = ('source %s; COMP_WORDS=(%s); COMP_CWORD=%d; _syslens; echo "${COMPREPLY[*]}"'
                % (script, " ".join("'%s'" % w for w in words), len(words) - 1))
        return run(["bash", "-c", line]).stdout.decode().strip()

    def test_current_directory_dmi_dat_wins(self):
        with open(os.path.join(self.cwd, "DMI.DAT"), "wb"):
            pass
        text = self.viewer(self.destdir, "tulip")
        self.assertIn(b"System Enclosure or Chassis", text)
        self.assertNotIn(b"Tower", text)  # the chassis type's name comes from DMI.DAT

    def test_collector(self):
        probex = os.path.join(self.unpacked, "usr", "bin", "probex")
        dump = os.path.join(self.cwd, "dump.bin")
        # The collector only rewrites a dump file its caller has made.
        open(dump, "wb").close()
        result = run([probex, dump], cwd=self.cwd, env=self.env)
        self.assertEqual(result.returncode, 0, result.stderr.decode())
        self.assertGreater(os.path.getsize(dump), 100)
        self.env["PROBEX_SMBIOS_DUMP"] = os.path.join(self.cwd, "missing.bin")
        self.assertEqual(run([probex, dump], cwd=self.cwd, env=self.env).returncode, 3)

    def test_man_pages_render_without_warnings(self):
        for page in ("syslens", "probex"):
            path = os.path.join(self.unpacked, "usr", "share", "man", "man1", page + ".1.gz")
            result = run(["man", "--warnings", "-l", path],
                         env=dict(os.environ, MANWIDTH="80"))
            self.assertEqual(result.returncode, 0)
            self.assertEqual(result.stderr.decode(), "", page)
            text = result.stdout.decode()
            self.assertIn("syslens %s" % ARGS.version, text)
            self.assertIn("EXIT STATUS", text)

    def test_bash_completion(self):
        script = os.path.join(self.unpacked, "usr", "share", "bash-completion",
                              "completions", "syslens")
        cases = [
            (["syslens", "-t", ""], "bios system baseboard chassis processor memory cache "
                                    "connector slot"),
            (["syslens", "--string", "system-s"], "system-serial-number system-sku-number"),
            (["syslens", "--list"], "--list-strings --list-types"),
            (["syslens", "tul"], ""),
        ]
        for words, expected in cases:
            self.assertEqual(self.complete(script, words), expected, words)


def main():
    global ARGS
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--version", required=True)
    ARGS, rest = parser.parse_known_args()
    ARGS.build = os.path.abspath(ARGS.build)
    ARGS.source = os.path.abspath(ARGS.source)
    for tool in ("dpkg-deb", "dpkg-shlibdeps", "man"):
        if not shutil.which(tool):
            print("%s is missing (scripts/install-deps.sh installs it)" % tool)
            return 77
    return 0 if unittest.main(argv=[sys.argv[0]] + rest, exit=False).result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
