#!/usr/bin/env python3
"""What ships, read without running it (so also for a build whose programs this machine cannot run):
the DLL's architecture, entry points and imports, and the package's tables.

  package_contents_test.py ARCH DLL OBJDUMP PACKAGE NM LIBRARY...

LIBRARY...: the archives of the test and script machinery (the script driver, screen capture), whose
code must not be linked into the DLL; an archive named with ":member,member" counts those members only.
"""

import re
import subprocess
import sys
import unittest

ARCH, DLL, OBJDUMP, PACKAGE, NM = sys.argv[1:6]
MACHINERY = sys.argv[6:]
# What Windows itself provides: nothing of MinGW's runtime may be loaded into Outlook.
SYSTEM_DLLS = {"advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll",
               "ole32.dll", "oleaut32.dll", "shell32.dll", "user32.dll", "version.dll", "windowscodecs.dll",
               "shlwapi.dll", "uxtheme.dll", "api-ms-win-crt-runtime-l1-1-0.dll", "winspool.drv"}


def table(name):
    """The rows of one of the package's tables, as lists of columns."""
    lines = subprocess.run(["msiinfo", "export", PACKAGE, name], check=True, capture_output=True,
                           text=True).stdout.splitlines()
    return [line.split("\t") for line in lines[3:]]


class DllTest(unittest.TestCase):
    def setUp(self):
        self.headers = subprocess.run([OBJDUMP, "-p", DLL], check=True, capture_output=True, text=True).stdout

    def test_architecture_entry_points_and_imports(self):
        machine = {"x86": "pei-i386", "x64": "pei-x86-64"}[ARCH]
        self.assertIn(f"file format {machine}", self.headers)
        exports = dict(re.findall(r"^\s+\[\s*(\d+)\]\s+(\w+)$", self.headers, re.MULTILINE))
        # The export table lists ordinal - 1: DllUnregisterServer @1 ... DllInstall @5.
        self.assertEqual(exports, {"0": "DllUnregisterServer", "1": "DllRegisterServer", "2": "DllCanUnloadNow",
                                   "3": "DllGetClassObject", "4": "DllInstall"})
        imported = {name.lower() for name in re.findall(r"DLL Name: (\S+)", self.headers)}
        self.assertTrue(imported <= SYSTEM_DLLS, f"imports beyond Windows: {sorted(imported - SYSTEM_DLLS)}")


SYMBOL = re.compile(r"^\[\s*\d+\]\(sec\s+(-?\d+)\)\(fl 0x\w+\)\(ty\s+(\w+)\)\(scl\s+(\d+)\) \(nx \d+\) 0x[0-9a-f]+ (\S+)$")
FUNCTION = "20"


def own_functions(archive, members=None):
    """The functions of this project the archive's members define in their own code section, not
    those every user of a header gets (inline and template functions, in .text$NAME sections)."""
    functions = set()
    member, sections = None, {}
    for line in subprocess.run([OBJDUMP, "-t", archive], check=True, capture_output=True, text=True).stdout.splitlines():
        if "file format" in line:
            member, sections = line.split(":")[0], {}
            continue
        m = SYMBOL.match(line)
        if not m or (members is not None and member not in members):
            continue
        section, kind, storage, name = m.groups()
        if storage == "3" and name.startswith("."):
            sections[section] = name
        elif (storage == "2" and kind == FUNCTION and section != "0"
              and not sections.get(section, "").startswith(".text$") and name.lstrip("_").startswith("ZN3qor")):
            functions.add(name)
    return functions


def linked_symbols(debug_file):
    """Every symbol of the DLL, read from its debug information."""
    listing = subprocess.run([NM, "--defined-only", debug_file], check=True, capture_output=True, text=True).stdout
    return {fields[2] for fields in (line.split() for line in listing.splitlines()) if len(fields) == 3}


class MachineryTest(unittest.TestCase):
    def test_the_dll_links_nothing_of_the_test_and_script_machinery(self):
        linked = linked_symbols(DLL + ".debug")
        self.assertTrue(linked)
        for library in MACHINERY:
            path, _, members = library.partition(":")
            machinery = own_functions(path, members.split(",") if members else None)
            self.assertTrue(machinery, library)
            self.assertEqual(sorted(machinery & linked), [], library)


class PackageTest(unittest.TestCase):
    def test_per_user_by_default_per_machine_in_the_architectures_program_files(self):
        properties = dict(row[:2] for row in table("Property"))
        self.assertNotIn("ALLUSERS", properties, "no ALLUSERS of its own: per user unless the command line says so")
        self.assertEqual(properties["ProductName"], "QOR for Outlook")
        self.assertEqual(properties["Manufacturer"], "Calvory Software")
        actions = {row[0]: row for row in table("CustomAction")}
        program_files = {"x86": "[ProgramFilesFolder]", "x64": "[ProgramFiles64Folder]"}[ARCH]
        self.assertEqual(actions["SetMachineFolder"][3], program_files + "QOR for Outlook\\")
        self.assertEqual(actions["SetUserFolder"][3], "[LocalAppDataFolder]Programs\\QOR for Outlook\\")
        component, = table("Component")
        win64 = 256
        self.assertEqual(int(component[3]) & win64, win64 if ARCH == "x64" else 0, "the registry view of the architecture")
        self.assertEqual(sorted(row[2] for row in table("File")), ["qorOutlook-help.html", "qorOutlook.dll"])

    def test_registry_rows_follow_the_installation_and_name_the_installed_file(self):
        rows = table("Registry")
        self.assertTrue(rows)
        self.assertEqual({row[1] for row in rows}, {"-1"}, "HKCU per user, HKLM per machine")
        values = {(row[2], row[3]): row[4] for row in rows}
        clsid = "Software\\Classes\\CLSID\\{DA58D642-4C75-4880-A350-3D77035C372E}"
        self.assertEqual(values[(clsid + "\\InprocServer32", "")], "[!qorOutlook.dll]")
        self.assertEqual(values[("Software\\Microsoft\\Office\\Outlook\\AddIns\\qorOutlook.coqorOutlook", "LoadBehavior")],
                         "#3")
        self.assertFalse([v for v in values.values() if re.search(r"[A-Za-z]:\\", v)], "no path of the build machine")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
