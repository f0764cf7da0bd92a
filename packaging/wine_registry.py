#!/usr/bin/env python3
"""Registry entries of a Wine prefix, read from its hive files (system.reg, user.reg).

  wine_registry.py snapshot PREFIX OUT.json
      every value of the prefix's HKLM and HKCU, to compare with later;
  wine_registry.py wix BEFORE.json PREFIX --file LONG --dir DIR OUT.wxi
      what changed since BEFORE under HKCU, as WiX registry rows (Root="HKMU": HKCU for a per-user
      installation, HKLM for a per-machine one) with the DLL's path and folder written as the
      package's file and folder.
"""

import json
import os
import re
import sys
from xml.sax.saxutils import quoteattr

HIVES = {"HKLM": "system.reg", "HKCU": "user.reg"}
KEY = re.compile(r"^\[(.*)\] \d+")
# A path to a DLL in 8.3 form, as GetShortPathName gives it.
SHORT_DLL_PATH = re.compile(r"^[A-Za-z]:\\(?:[^\\ ]{1,8}(?:\.[^\\ ]{1,3})?\\)*[^\\ ]{1,8}\.dll$", re.IGNORECASE)
VALUE = re.compile(r'^(@|"(?:[^"\\]|\\.)*")=(.*)$')


def unescape(text):
    """A name or string of a Wine hive file: backslash escapes, \\xHHHH for characters beyond ASCII."""
    out = []
    i = 0
    while i < len(text):
        c = text[i]
        if c != "\\":
            out.append(c)
            i += 1
            continue
        n = text[i + 1]
        if n == "x":
            m = re.match(r"[0-9a-fA-F]{1,4}", text[i + 2:])
            out.append(chr(int(m.group(0), 16)))
            i += 2 + len(m.group(0))
            continue
        out.append({"n": "\n", "r": "\r", "t": "\t", "0": "\0"}.get(n, n))
        i += 2
    # The escapes are UTF-16 code units: a character beyond the BMP comes as a surrogate pair.
    return "".join(out).encode("utf-16-le", "surrogatepass").decode("utf-16-le", "replace")


def parse_data(data):
    """(type, text) of a value's data as a hive file writes it."""
    if data.startswith('"'):
        return "sz", unescape(data[1:-1])
    if data.startswith("str(2):"):
        return "expand_sz", unescape(data[8:-1])
    if data.startswith("dword:"):
        return "dword", str(int(data[6:], 16))
    return "raw", data  # binary and other types, as written ("hex:...", "hex(7):...")


def read_hive(path):
    """{key: {name: [type, data]}} of one hive file; keys as the file names them, without case folding."""
    keys = {}
    current = None
    pending = ""
    with open(path, encoding="utf-8", errors="surrogateescape") as hive:
        for line in hive:
            line = line.rstrip("\n")
            if pending:
                line = pending + line.lstrip()
                pending = ""
            if line.endswith("\\") and current is not None and not line.startswith("["):
                pending = line[:-1]
                continue
            m = KEY.match(line)
            if m:
                current = keys.setdefault(unescape(m.group(1)), {})
                continue
            m = VALUE.match(line)
            if m and current is not None:
                name = "" if m.group(1) == "@" else unescape(m.group(1)[1:-1])
                current[name] = list(parse_data(m.group(2)))
    return keys


def snapshot(prefix):
    """{"HKLM\\key": {name: [type, data]}, "HKCU\\key": ...} of the whole prefix."""
    entries = {}
    for root, name in HIVES.items():
        for key, values in read_hive(os.path.join(prefix, name)).items():
            entries[root + "\\" + key] = values
    return entries


def changes(before, after):
    """The values added or changed from `before` to `after` ({(key, name): (type, data)}), and those removed."""
    added = {}
    removed = set()
    for key, values in after.items():
        old = before.get(key, {})
        for name, value in values.items():
            if old.get(name) != value:
                added[(key, name)] = tuple(value)
    for key, values in before.items():
        for name in values:
            if name not in after.get(key, {}):
                removed.add((key, name))
    return added, removed


def formatted(text):
    """Literal text in a Windows Installer formatted string: brackets escaped."""
    return text.replace("[", "\x01").replace("]", "[\\]]").replace("\x01", "[\\[]")


def package_path(value, long_path, folder):
    """A string value with the DLL's path or folder written as the installed file's or folder's."""
    lower = value.lower()
    if lower.startswith(long_path.lower()):
        return "[#qorOutlook.dll]" + formatted(value[len(long_path):])
    if "~" in value and SHORT_DLL_PATH.match(value):
        return "[!qorOutlook.dll]"  # the 8.3 form the DLL writes for a path with blanks
    if lower.startswith(folder.lower()):
        return "[INSTALLDIR]" + formatted(value[len(folder):])
    return formatted(value)


def wix_rows(added, long_path, folder):
    """The values under HKCU as RegistryValue rows of the package's component."""
    rows = ["<Include>"]
    for (key, name), (kind, data) in sorted(added.items()):
        if not key.startswith("HKCU\\"):
            continue
        if kind == "dword":
            value, kind_attr = data, "integer"
        elif kind == "sz":
            value, kind_attr = data, "string"
        else:
            raise SystemExit(f"wine_registry: no row for a value of type {kind}: {key}|{name}")
        if kind == "sz":
            value = package_path(value, long_path, folder)
        name_attr = f" Name={quoteattr(name)}" if name else ""
        rows.append(f'  <RegistryValue Root="HKMU" Key={quoteattr(key[5:])}{name_attr} Type="{kind_attr}"'
                    f" Value={quoteattr(value)}/>")
    rows.append("</Include>")
    return "\n".join(rows) + "\n"


def load(path):
    with open(path, encoding="utf-8") as f:
        return json.load(f)


def main(argv):
    if len(argv) == 3 and argv[0] == "snapshot":
        with open(argv[2], "w", encoding="utf-8") as f:
            json.dump(snapshot(argv[1]), f)
        return 0
    if len(argv) == 8 and argv[0] == "wix" and argv[3] == "--file" and argv[5] == "--dir":
        added, _ = changes(load(argv[1]), snapshot(argv[2]))
        with open(argv[7], "w", encoding="utf-8") as f:
            f.write(wix_rows(added, argv[4], argv[6]))
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
