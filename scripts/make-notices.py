#!/usr/bin/env python3
"""Writes THIRD-PARTY-NOTICES.txt for the statically linked Windows programs.

Reads the GNU ld link maps of the programs (-Wl,-Map, written beside each program by the build)
and names each third-party component of which the link really took an archive member: Qt's own
libraries and plug-ins, the libraries Qt bundles (from the qt_attribution.json files and licence
texts under the static Qt's licenses/ folder) and the toolchain's run-time libraries (the MinGW-w64
run time, libstdc++, libgcc, winpthreads), whose licences come from the copyright files of the
Debian packages that installed them.

Usage: make-notices.py --licenses QT/licenses --output FILE PROGRAM.exe.map...
"""

import argparse
import json
import os
import re
import subprocess
import sys
from pathlib import Path

# Qt bundles these inside its own archives; which member of which archive shows that a
# component went in. Keyed by the Id of its qt_attribution.json entry.
BUNDLED = {
    "zlib": r"libQt6BundledZLIB\.a\(",
    "libpng": r"libQt6BundledLibpng\.a\(",
    "pcre2": r"libQt6BundledPcre2\.a\(",
    "pcre2-sljit": r"libQt6BundledPcre2\.a\(pcre2_jit_compile",
    "freetype": r"libQt6BundledFreetype\.a\(",
    "freetype-zlib": r"libQt6BundledFreetype\.a\(ftgzip",
    "freetype-bdf": r"libQt6BundledFreetype\.a\(bdf",
    "freetype-pcf": r"libQt6BundledFreetype\.a\(pcf",
    "harfbuzz-ng": r"libQt6BundledHarfbuzz\.a\(",
    "doubleconversion": r"libQt6Core\.a\((bignum|bignum-dtoa|cached-powers|double-to-string"
                        r"|fast-dtoa|fixed-dtoa|string-to-double|strtod)\.cc\.obj\)",
    "tinycbor": r"libQt6Core\.a\(qcbor(common|streamreader|streamwriter|value)\.cpp\.obj\)",
    "easing": r"libQt6Core\.a\(qeasingcurve\.cpp\.obj\)",
    "md4": r"libQt6Core\.a\(qcryptographichash\.cpp\.obj\)",
    "md5": r"libQt6Core\.a\(qcryptographichash\.cpp\.obj\)",
    "sha1": r"libQt6Core\.a\(qcryptographichash\.cpp\.obj\)",
    "sha3_endian": r"libQt6Core\.a\(qcryptographichash\.cpp\.obj\)",
    "sha3_keccak": r"libQt6Core\.a\(qcryptographichash\.cpp\.obj\)",
    "rfc6234": r"libQt6Core\.a\(qcryptographichash\.cpp\.obj\)",
    "blake2": r"libQt6Core\.a\(qcryptographichash\.cpp\.obj\)",
    "md4c": r"libQt6Gui\.a\(md4c\.c\.obj\)",
    # Qt Gui's resources, linked whole into every Gui program, carry the profile.
    "icc-sRGB-color-profile": r"libQt6Gui\.a\(",
}

QT_ARCHIVE = re.compile(r"/(libQt6(Core|Gui|Widgets)\.a|libq(windows|windowsvistastyle|offscreen)\.a)$")
RULE = "=" * 100


def read_maps(paths):
    """Every archive member ("archive(member)") and object file the links took in."""
    members, objects = set(), set()
    for path in paths:
        text = Path(path).read_text(errors="replace")
        found = re.findall(r"^(\S+\.a\([^)]+\))", text, re.MULTILINE)
        if not found:
            sys.exit(f"make-notices: {path} lists no archive member: not a GNU ld link map")
        members.update(found)
        objects.update(re.findall(r"^LOAD (\S+\.o)$", text, re.MULTILINE))
    return members, objects


def normalized(path):
    return os.path.normpath(path)


def owning_packages(paths):
    """{path: the Debian package that installed it}, asked of dpkg once for all paths."""
    candidates = {p: (normalized(p), os.path.realpath(p)) for p in paths}
    queries = sorted({c for pair in candidates.values() for c in pair})
    result = subprocess.run(["dpkg-query", "-S", *queries], capture_output=True, text=True)
    owner = {}
    for line in result.stdout.splitlines():
        package, _, path = line.partition(": ")
        owner[path.strip()] = package.split(":")[0].strip()
    return {p: owner.get(pair[0]) or owner.get(pair[1]) for p, pair in candidates.items()}


def attribution_entries(licenses):
    entries = {}
    for json_file in sorted((licenses / "3rdparty").glob("*/qt_attribution.json")):
        data = json.loads(json_file.read_text(), strict=False)
        for entry in data if isinstance(data, list) else [data]:
            entries[entry["Id"]] = (json_file.parent, entry)
    return entries


def qt_version(licenses):
    config = licenses.parent / "lib/cmake/Qt6/Qt6ConfigVersionImpl.cmake"
    if not config.exists():
        config = licenses.parent / "lib/cmake/Qt6/Qt6ConfigVersion.cmake"
    match = re.search(r'set\(PACKAGE_VERSION "([^"]+)"\)', config.read_text())
    return match.group(1) if match else "6"


def section(out, title, lines, texts):
    out.append(RULE)
    out.append(title)
    out.append(RULE)
    out.extend(lines)
    for heading, text in texts:
        out.append("")
        out.append(f"--- {heading} ---")
        out.append("")
        out.append(text.rstrip())
    out.append("")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--licenses", required=True, type=Path)
    parser.add_argument("--output", required=True, type=Path)
    parser.add_argument("maps", nargs="+")
    args = parser.parse_args()
    licenses = args.licenses
    members, objects = read_maps(args.maps)
    programs = ", ".join(Path(m).name.removesuffix(".map") for m in args.maps)
    version = qt_version(licenses)

    out = ["THIRD-PARTY NOTICES", "",
           f"{programs} are each one file that carries the components below inside itself",
           "(linked statically). Each component's licence follows in full.", "",
           "Qt is used under the GNU Lesser General Public License version 3. You may relink the",
           "programs against another, modified Qt: the complete sources of this program and the recipe",
           "of the Qt build it was linked with (build-qt6-mingw.sh, with its toolchain files) rebuild",
           "both programs with the same tools; README.md, \"Relinking against another Qt\", says how.",
           "Components:", ""]
    summary_at = len(out)
    sections = []

    qt_parts = sorted({QT_ARCHIVE.search(m.split("(")[0]).group(1)
                       for m in members if QT_ARCHIVE.search(m.split("(")[0])})
    if not qt_parts:
        sys.exit("make-notices: the link maps show no Qt library")
    out.insert(summary_at, f"  Qt {version} ({', '.join(qt_parts)}): LGPL-3.0-only")
    summary_at += 1
    section(sections, f"Qt {version}",
            [f"Linked: {', '.join(qt_parts)}.", "Copyright (C) The Qt Company Ltd. and other contributors.",
             "Licence: GNU Lesser General Public License v3.0 only, which adds to the GNU General",
             "Public License v3.0 (both texts below)."],
            [("LGPL-3.0-only", (licenses / "LGPL-3.0-only.txt").read_text()),
             ("GPL-3.0-only", (licenses / "GPL-3.0-only.txt").read_text())])

    entries = attribution_entries(licenses)
    for identifier, pattern in BUNDLED.items():
        if identifier not in entries or not any(re.search(pattern, m) for m in members):
            continue
        folder, entry = entries[identifier]
        name = entry.get("Name", identifier)
        entry_version = entry.get("Version")
        licence = entry.get("LicenseId") or entry.get("License") or "see below"
        out.insert(summary_at, f"  {name}{f' {entry_version}' if entry_version else ''}"
                               f" (inside Qt): {licence}")
        summary_at += 1
        texts = []
        licence_file = entry.get("LicenseFile")
        if licence_file:
            texts.append((licence_file, (folder / licence_file).read_text(errors="replace")))
        section(sections, f"{name} (bundled in Qt)",
                [line for line in (f"Version: {entry_version}" if entry_version else "",
                                   f"Licence: {entry.get('License', licence)}",
                                   f"Copyright: {entry.get('Copyright', '').strip()}") if line],
                texts)

    # The toolchain's archives and start-up objects, grouped by the package that installed them.
    toolchain_files = [item for item in sorted({m.split("(")[0] for m in members} | objects)
                       if os.path.isabs(item) and str(licenses.parent) not in normalized(item)
                       and "/delayload/" not in item]  # not the build's own files, nor Qt's
    packages = {}
    for item, package in owning_packages(toolchain_files).items():
        if package is None:
            sys.exit(f"make-notices: no Debian package owns {item}")
        packages.setdefault(package, []).append(os.path.basename(item))
    for package, files in sorted(packages.items()):
        copyright_file = Path("/usr/share/doc") / package / "copyright"
        if not copyright_file.exists():
            sys.exit(f"make-notices: {copyright_file} is missing")
        out.insert(summary_at, f"  {package} ({', '.join(sorted(set(files)))}): see its Debian copyright file")
        summary_at += 1
        section(sections, f"{package} (Debian package): {', '.join(sorted(set(files)))}",
                ["The GCC run-time libraries (libstdc++, libgcc) are under the GPL-3.0 with the GCC",
                 "Runtime Library Exception 3.1; the MinGW-w64 run time and winpthreads under the",
                 "licences below. Text: the package's copyright file, /usr/share/doc/"
                 f"{package}/copyright."] if package.startswith(("g++", "gcc")) else
                [f"Text: the package's copyright file, /usr/share/doc/{package}/copyright."],
                [(f"{package} copyright", copyright_file.read_text(errors="replace"))])

    out.append("")
    text = "\n".join(out + sections)
    # Windows line ends: the file is read with Notepad.
    args.output.write_bytes(text.replace("\r\n", "\n").replace("\n", "\r\n").encode("utf-8"))


if __name__ == "__main__":
    main()
