#!/usr/bin/env python3
"""Runs the report-window tests of a Windows build under Wine on a private
Xvfb display.

Lays out the viewer as installed (SYSLENS.EXE with the stand-in collector
PROBEX.EXE beside it), writes the dumps and golden texts the driver uses,
then runs, each against the same display and Wine prefix:
  1. window_inproc_test  the window inside one process (gtest);
  2. host_edit           a host program whose edit control receives the
                         report through W=;
  3. window_driver       the real window worked from outside; while it waits
                         the runner takes the screenshot (--screenshot);
                         last, a German window (CurrentLanguage=8), whose
                         title, menu and report the runner then compares
                         with res/menus.rc and res/strings/de.txt.
Exit code 77 (skipped) when this machine cannot run the build's
architecture under Wine; 1 when a part failed.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
RES = os.path.join(HERE, "..", "..", "res")
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "resgen"))
sys.dont_write_bytecode = True  # nothing written into the source tree
import check_translation  # noqa: E402
import dumpfile  # noqa: E402

TITLE = "\r\n\r\nDESKTOP MANAGEMENT INFORMATION BIOS (DMIBIOS)\r\n\r\n\r\n\r\n"
LARGE_COUNT = 210  # must match kLargeCount of window_driver.cpp
GERMAN = 8


def header_text(minor):
    return TITLE + " DMI BIOS\t: Detected\r\n DMIBIOS Revision\t: 2.%d\r\n" % minor


def rc_menu(text, menu_id):
    """Menu MENU_ID of a resource script written as res/menus.rc writes
    menus (one entry per line, texts as wide literals), as the driver lists
    a menu: ("popup", text), ("item", id, text) or ("separator",)."""
    lines = iter(text.splitlines())
    for line in lines:
        if re.match(r"\s*%d\s+MENU\b" % menu_id, line):
            break
    else:
        raise ValueError("no menu %d" % menu_id)
    literal = r'L"((?:[^"\\]|\\.)*)"'
    entries, depth = [], 0
    for line in lines:
        word = line.split()[0] if line.split() else ""
        if word == "BEGIN":
            depth += 1
        elif word == "END":
            depth -= 1
            if depth == 0:
                return entries
        elif word == "POPUP":
            entries.append(("popup", wide(re.search(literal, line).group(1))))
        elif line.split()[1:2] == ["SEPARATOR"]:
            entries.append(("separator",))
        elif word == "MENUITEM":
            m = re.search(literal + r"\s*,\s*(\d+)", line)
            entries.append(("item", int(m.group(2)), wide(m.group(1))))
    raise ValueError("menu %d does not end" % menu_id)


def wide(literal):
    """Text of a wide string literal with \\xNNNN escapes."""
    return re.sub(r"\\x([0-9A-Fa-f]{4})", lambda m: chr(int(m.group(1), 16)), literal)


def driver_menu(lines):
    """The driver's menu lines as rc_menu returns a menu."""
    entries = []
    for line in lines:
        kind, _, rest = line.partition(" ")
        if kind == "item":
            number, _, text = rest.partition(" ")
            entries.append(("item", int(number), text))
        elif kind == "separator":
            entries.append(("separator",))
        else:
            entries.append((kind, rest))
    return entries


def check_german_window(out):
    """Compares what the driver saw of the German window with the German
    menu (8010) of res/menus.rc and the German strings; 0 when they agree."""
    path = os.path.join(out, "german-menu.txt")
    if not os.path.exists(path):
        print("german window: the driver wrote no %s" % path)
        return 1
    with open(path, "rb") as f:
        raw = f.read()
    # The driver writes the window's ANSI texts; its first line names the code page.
    first, _, rest = raw.partition(b"\n")
    codepage = "cp" + first.decode("ascii").split()[1]
    lines = rest.decode(codepage).splitlines()
    with open(os.path.join(RES, "menus.rc"), encoding="ascii") as f:
        expected_menu = rc_menu(f.read(), 10 + 1000 * GERMAN)
    strings = check_translation.read_lang_file(os.path.join(RES, "strings", "de.txt")).texts
    with open(os.path.join(out, "german-report.txt"), "rb") as f:
        report = f.read().decode(codepage)
    # The dump holds no reported structure: the text is the header only,
    # the heading set off and upper-cased as the English one is.
    expected_report = ("\r\n" + strings[3002].upper() + "\r\n\r\n" + strings[3003] +
                       strings[3004] % (2, 3))
    failures = 0
    for what, actual, expected in (
            ("title", lines[0] if lines else "", "title " + strings[3001]),
            ("menu", driver_menu(lines[1:]), expected_menu),
            ("report", report, expected_report)):
        ok = actual == expected
        print("%s: German %s%s" % ("ok  " if ok else "FAIL", what,
                                   "" if ok else ": %r, expected %r" % (actual, expected)))
        failures += not ok
    return 1 if failures else 0


def filler():
    """A structure the viewer reads but does not report (type 126, Inactive)."""
    return dumpfile.structure(126, 0x10, bytes(4), [b"unused"])


def system_information():
    """Type 1 with four long strings: about 340 bytes of report each, so that
    few appends (each costs more as the text grows) make a large report."""
    strings = [(name * 12)[:60].encode() for name in ("Maker ", "Model ", "Version ", "Serial ")]
    return dumpfile.structure(1, 0x100, bytes([1, 2, 3, 4]), strings)


def win_path(path):
    """The Unix path as Wine's drive Z: shows it."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def prepare(work, args):
    # The Wine prefix under work/ is kept between runs: making one is slow.
    app, dumps, out = (os.path.join(work, d) for d in ("app", "dumps", "out"))
    for d in (app, dumps, out):
        shutil.rmtree(d, ignore_errors=True)
        os.makedirs(d)
    shutil.copy(args.viewer, os.path.join(app, "SYSLENS.EXE"))
    shutil.copy(args.collector, os.path.join(app, "PROBEX.EXE"))
    write(os.path.join(dumps, "v23.bin"), dumpfile.dump([filler()], minor=3))
    write(os.path.join(dumps, "v27.bin"), dumpfile.dump([filler()], minor=7))
    write(os.path.join(dumps, "one.bin"), dumpfile.dump([system_information()]))
    write(os.path.join(dumps, "large.bin"), dumpfile.dump([system_information()] * LARGE_COUNT))
    write(os.path.join(dumps, "empty.bin"), dumpfile.dump([filler()], wrote_all=0))
    write(os.path.join(dumps, "golden23.txt"), header_text(3).encode("latin-1"))
    write(os.path.join(dumps, "golden27.txt"), header_text(7).encode("latin-1"))
    shutil.copy(os.path.join(dumps, "v23.bin"), os.path.join(dumps, "current.bin"))
    return app, dumps, out


def start_xvfb():
    """Xvfb on the first free display from 57 on; returns (process, number)."""
    for number in range(57, 90):
        if os.path.exists("/tmp/.X%d-lock" % number):
            continue
        proc = subprocess.Popen(["Xvfb", ":%d" % number, "-screen", "0", "1024x768x24",
                                 "-nolisten", "tcp"], stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
        for _ in range(100):
            if os.path.exists("/tmp/.X11-unix/X%d" % number):
                return proc, number
            if proc.poll() is not None:
                break
            time.sleep(0.05)
        if proc.poll() is None:
            proc.terminate()
            proc.wait()
    raise RuntimeError("no free X display for Xvfb")


def run(command, env, timeout):
    print("$ " + " ".join(command), flush=True)
    try:
        result = subprocess.run(command, env=env, timeout=timeout, stdout=subprocess.PIPE,
                                stderr=subprocess.STDOUT)
    except subprocess.TimeoutExpired as e:
        print((e.stdout or b"").decode(errors="replace"))
        print("timed out after %d s" % timeout)
        return 1
    print(result.stdout.decode(errors="replace"), flush=True)
    return result.returncode


def run_driver(wine, args, app, dumps, out, env, display):
    command = wine + [args.driver, "--viewer", win_path(os.path.join(app, "SYSLENS.EXE")),
                      "--dumps", win_path(dumps), "--out", win_path(out)]
    print("$ " + " ".join(command), flush=True)
    driver = subprocess.Popen(command, env=env)
    ready = os.path.join(out, "window-ready")
    deadline = time.time() + 300
    while driver.poll() is None and not os.path.exists(ready) and time.time() < deadline:
        time.sleep(0.1)
    if os.path.exists(ready):
        subprocess.run(["import", "-display", ":%d" % display, "-window", "root", args.screenshot])
        write(os.path.join(out, "shot-done"), b"")
    try:
        return driver.wait(timeout=600)
    except subprocess.TimeoutExpired:
        driver.kill()
        driver.wait()
        print("driver timed out")
        return 1


def main():
    parser = argparse.ArgumentParser()
    for name in ("viewer", "collector", "driver", "host", "inproc", "work", "screenshot"):
        parser.add_argument("--" + name, required=True)
    parser.add_argument("--wine", required=True)
    parser.add_argument("--arch", required=True)
    args = parser.parse_args()

    work = os.path.abspath(args.work)
    app, dumps, out = prepare(work, args)
    wine = [args.wine, "--arch", args.arch]
    xvfb, display = start_xvfb()
    env = dict(os.environ)
    env.update({
        "DISPLAY": ":%d" % display,
        # A prefix of our own: its wineserver serves only this display.
        "SYSLENS_WINEPREFIX": os.path.join(work, "prefix"),
        "SYSLENS_FAKE_DUMP": win_path(os.path.join(dumps, "current.bin")),
    })
    try:
        probe = subprocess.run(wine + ["cmd.exe", "/c", "exit 0"], env=env, capture_output=True)
        if probe.returncode == 77:
            print(probe.stderr.decode(errors="replace").strip())
            return 77
        results = {}
        results["window_inproc_test"] = run(wine + [args.inproc], env, 300)
        results["host_edit"] = run(wine + [args.host, "--viewer",
                                           win_path(os.path.join(app, "SYSLENS.EXE")),
                                           "--golden", win_path(os.path.join(dumps, "golden23.txt"))],
                                   env, 300)
        results["window_driver"] = run_driver(wine, args, app, dumps, out, env, display)
        results["german_window"] = check_german_window(out)
        # Let this prefix's wineserver finish before the display goes.
        server_env = dict(env, WINEPREFIX=os.path.join(work, "prefix") + "-" + args.arch)
        subprocess.run(["wineserver", "-w"], env=server_env, timeout=120)
    finally:
        xvfb.terminate()
        xvfb.wait()
    for name, code in results.items():
        print("%s: %s" % (name, "passed" if code == 0 else "FAILED (%d)" % code))
    if os.path.exists(args.screenshot):
        print("screenshot: " + args.screenshot)
    return 0 if all(code == 0 for code in results.values()) else 1


if __name__ == "__main__":
    sys.exit(main())
