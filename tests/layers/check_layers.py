#!/usr/bin/env python3
"""Fails when an #include points up the layers or past the platform seam.

Layers, top down: front ends (viewer, cli, collector, installer) -> the
classic core and the renderers -> the leaf library (src/smbios, src/dmidat)
-> the platform layer (src/platform). Above the platform layer no file
includes a system header of Windows or POSIX; the platform layer includes
no header of a layer above it. Test sources (*_test.cpp, test helpers) are
not part of a layer and are not checked.

usage: check_layers.py SRC_DIR
"""
import os
import re
import sys

# What each layer may include from the other folders of src/ (its own always).
ALLOWED = {
    "platform": {"res"},
    "res": set(),
    "smbios": {"platform"},
    "dmidat": {"platform", "smbios"},
    "override": {"platform"},
    "core": {"platform", "smbios", "dmidat", "override", "res"},
    "render": {"platform", "smbios"},
    "cli": {"platform", "smbios", "render"},
    "viewer": {"platform", "smbios", "dmidat", "core", "cli", "res"},
    "collector": {"platform", "smbios"},
}
# Folders above the seam that must not name the systems' own headers.
PORTABLE = {"smbios", "dmidat", "core", "render", "cli", "viewer", "collector"}
SYSTEM_HEADER = re.compile(
    r"^(windows|win[a-z0-9]*|commdlg|commctrl|shellapi|shlobj|objbase|io|direct|process"
    r"|unistd|fcntl|dirent|dlfcn|pthread|poll|termios|pwd|grp|spawn|signal|glob|fnmatch"
    r"|syslog|(sys|arpa|netinet|net)/.*)\.h$",
    re.IGNORECASE)
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def is_test(name):
    return name.endswith("_test.cpp") or name.startswith("test_") or name.endswith("_test.h")


def main():
    src = sys.argv[1]
    # Which folder of src/ holds each header, by its path below the folder.
    owner = {}
    for layer in os.listdir(src):
        top = os.path.join(src, layer)
        for folder, _, files in os.walk(top):
            for name in files:
                if name.endswith(".h"):
                    rel = os.path.relpath(os.path.join(folder, name), top)
                    for key in {rel, name}:
                        owner.setdefault(key, set()).add(layer)
    faults = []
    for layer in sorted(ALLOWED):
        top = os.path.join(src, layer)
        for folder, _, files in os.walk(top):
            for name in sorted(files):
                if not name.endswith((".h", ".cpp")) or is_test(name):
                    continue
                path = os.path.join(folder, name)
                with open(path, encoding="utf-8", errors="replace") as f:
                    for number, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if not m:
                            continue
                        kind, header = m.groups()
                        where = "%s:%d: %s" % (os.path.relpath(path, src), number, header)
                        if kind == "<":
                            if layer in PORTABLE and SYSTEM_HEADER.match(header):
                                faults.append(where + " is a system header above the platform layer")
                            continue
                        layers = owner.get(header, set())
                        if layers and layer not in layers and not layers & ALLOWED[layer]:
                            faults.append(where + " belongs to " + "/".join(sorted(layers)))
    for fault in faults:
        print(fault)
    print("%d include(s) against the layers" % len(faults))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
