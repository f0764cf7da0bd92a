#!/usr/bin/env python3
"""The build's Windows Installer package under Wine, each case in a fresh prefix where qorhost counts as
Outlook: what a per-user and a per-machine installation write against what regsvr32 writes, loading
the installed add-in, uninstalling, and an upgrade over an older version.

  package_test.py WINE_RUN ARCH PACKAGE QORHOST DLL MAILBOX SCRIPT WORK PACKAGING_DIR

Wine resolves COM classes only through HKLM\\Software\\Classes, so a per-user installation is proven
by its keys (Windows would also find the classes through them); a per-machine one also by loading.
"""

import os
import re
import shutil
import subprocess
import sys
import unittest

WINE_RUN, ARCH, PACKAGE, QORHOST, DLL, MAILBOX, SCRIPT, WORK, PACKAGING = sys.argv[1:10]
sys.path.insert(0, PACKAGING)
import wine_registry  # noqa: E402

VERSION = re.search(r"qorOutlook-(.+)-x(?:86|64)\.msi$", PACKAGE).group(1)
USER_FOLDER = "C:\\users\\root\\AppData\\Local\\Programs\\QOR for Outlook\\"
MACHINE_FOLDER = "C:\\Program Files (x86)\\QOR for Outlook\\" if ARCH == "x86" else "C:\\Program Files\\QOR for Outlook\\"
ADDIN_KEY = "Software\\Microsoft\\Office\\Outlook\\AddIns\\qorOutlook.coqorOutlook"
# What Windows Installer keeps about installed products, and what Wine itself rewrites at each start.
BOOKKEEPING = re.compile(r"^HK(LM|CU)\\(Software\\(Wow6432Node\\)?(Classes\\Installer|Microsoft\\Installer"
                         r"|Microsoft\\Windows\\CurrentVersion\\(Installer|Uninstall))\\|System\\CurrentControlSet\\)")


# Wine's RegisterTypeLib also registers a type library's interfaces in the machine's other view, even
# when registering for one user: the 64-bit one's in the 32-bit view, the 32-bit one's (under WoW64)
# in the 64-bit view. Windows' RegisterTypeLibForUser, and so the package, write the user's classes
# alone, and a package writes its own architecture's view.
WINE_TYPELIB_EXTRA = re.compile(r"^HKLM\\Software\\Classes\\Wow6432Node\\Interface\\" if ARCH == "x64"
                                else r"^HKLM\\Software\\Classes\\Interface\\")


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Prefix:
    """A Wine prefix of its own, copied from a template where qorhost is registered as Outlook. Wine's
    600 MB of system DLLs are linked, not copied: nothing here writes them."""

    template = os.path.join(WORK, "template")

    @classmethod
    def make_template(cls):
        shutil.rmtree(cls.template, ignore_errors=True)
        Prefix(cls.template, copy=False).run(QORHOST, "/regserver")

    def __init__(self, path, copy=True):
        self.path = path
        if copy:
            shutil.rmtree(path, ignore_errors=True)
            shutil.copytree(self.template, path, symlinks=True, copy_function=self.link_system_files)

    @staticmethod
    def link_system_files(source, target):
        if "/windows/system32/" in source or "/windows/syswow64/" in source:
            os.link(source, target)
        else:
            shutil.copy2(source, target)

    def run(self, *args, check=True):
        env = dict(os.environ, QOR_WINEPREFIX=self.path)
        done = subprocess.run([WINE_RUN, *args], env=env, capture_output=True, text=True, errors="replace")
        subprocess.run(["wineserver", "-w"], env=dict(env, WINEPREFIX=self.path))
        if check and done.returncode != 0:
            raise AssertionError(f"{' '.join(args)}: exit {done.returncode}\n{done.stdout}{done.stderr}")
        return done

    def snapshot(self):
        return wine_registry.snapshot(self.path)

    def unix(self, windows):
        return os.path.join(self.path, "drive_c", windows[3:].replace("\\", "/"))

    def install(self, package=PACKAGE, *properties):
        self.run("msiexec", "/i", windows_path(package), "/qn", *properties)

    def uninstall(self, package=PACKAGE, *properties):
        self.run("msiexec", "/x", windows_path(package), "/qn", *properties)

    def regsvr32(self, dll, *options):
        """What regsvr32 writes, Wine's extra type library entries left out."""
        before = self.snapshot()
        self.run("regsvr32", "/s", *options, dll)
        written, _ = ours(before, self.snapshot())
        return {entry: value for entry, value in written.items() if not WINE_TYPELIB_EXTRA.match(entry[0])}


def ours(before, after):
    """The values added or changed, Windows Installer's bookkeeping left out."""
    added, removed = wine_registry.changes(before, after)
    return {entry: value for entry, value in added.items() if not BOOKKEEPING.match(entry[0])}, \
        {entry for entry in removed if not BOOKKEEPING.match(entry[0])}


def place_dll(prefix, folder):
    """The built DLL where the package installs it, for regsvr32 to register from there."""
    os.makedirs(prefix.unix(folder), exist_ok=True)
    shutil.copy(DLL, prefix.unix(folder + "qorOutlook.dll"))
    return folder + "qorOutlook.dll"


def products(snapshot):
    """The Add/Remove Programs entries named QOR for Outlook, as {key: values}."""
    return {key: values for key, values in snapshot.items()
            if "\\CurrentVersion\\Uninstall\\" in key and values.get("DisplayName") == ["sz", "QOR for Outlook"]}


class PackageTest(unittest.TestCase):
    maxDiff = None

    @classmethod
    def setUpClass(cls):
        shutil.rmtree(WORK, ignore_errors=True)
        os.makedirs(WORK)
        Prefix.make_template()

    def assertNothingLeft(self, before, prefix, folder, within=None):
        """Uninstalled: no value added since `before` (of the keys `within` alone, when given) and
        no installation folder."""
        added, removed = wine_registry.changes(before, prefix.snapshot())
        left = sorted(k for k in added if not k[0].startswith("HKLM\\System\\CurrentControlSet\\")
                      and (within is None or k[0] in within))
        self.assertEqual(left, [], "uninstall leaves registry values")
        self.assertEqual(sorted(removed), [], "uninstall removes values it did not write")
        self.assertFalse(os.path.exists(prefix.unix(folder)), "uninstall leaves the installation folder")

    def test_per_user_install_writes_what_regsvr32_writes_for_the_user_and_uninstall_leaves_nothing(self):
        reference = Prefix(os.path.join(WORK, "regsvr32-user"))
        expected = reference.regsvr32(place_dll(reference, USER_FOLDER), "/n", "/i:user")
        self.assertTrue(all(key.startswith("HKCU\\") for key, _ in expected), "regsvr32 /i:user writes the user's hive only")

        prefix = Prefix(os.path.join(WORK, "msi-user"))
        before = prefix.snapshot()
        prefix.install()
        after = prefix.snapshot()
        written, _ = ours(before, after)
        self.assertEqual(sorted(written.items()), sorted(expected.items()))
        self.assertTrue(os.path.isfile(prefix.unix(USER_FOLDER + "qorOutlook.dll")))
        self.assertTrue(os.path.isfile(prefix.unix(USER_FOLDER + "qorOutlook-help.html")))
        # regsvr32 registered a copy at the installed path: the equality above proves InprocServer32
        # names the installed file (in the 8.3 form it takes for a path with blanks); the type
        # library takes the long one.
        typelib = [v for (k, _), v in written.items() if k.endswith("\\win32")]
        self.assertEqual(typelib, [("sz", USER_FOLDER + "qorOutlook.dll")])
        entry, = products(after).values()
        self.assertEqual(entry["Publisher"], ["sz", "Calvory Software"])
        self.assertEqual(entry["DisplayVersion"], ["sz", VERSION])
        self.assertEqual(entry["HelpLink"], ["sz", USER_FOLDER + "qorOutlook-help.html"])

        # The user's own data: the exclusion and address files, the settings.
        documents = prefix.unix("C:\\users\\Public\\Documents\\QOR for Outlook\\")
        os.makedirs(documents, exist_ok=True)
        for name in ("qorexclusions.dat", "olqor.txt"):
            with open(os.path.join(documents, name), "w") as f:
                f.write("kept@example.com\n")
        prefix.run("reg", "add", "HKCU\\Software\\Calvory Software\\QOR for Outlook", "/v", "Folder", "/d", "x", "/f")
        prefix.uninstall()
        added, removed = wine_registry.changes(before, prefix.snapshot())
        self.assertEqual(sorted(k for k in added if not k[0].startswith("HKLM\\System\\CurrentControlSet\\")),
                         [("HKCU\\Software\\Calvory Software\\QOR for Outlook", "Folder")],
                         "uninstall leaves nothing but the user's settings")
        self.assertEqual(sorted(removed), [])
        self.assertFalse(os.path.exists(prefix.unix(USER_FOLDER)))
        self.assertEqual(sorted(os.listdir(documents)), ["olqor.txt", "qorexclusions.dat"])

    def test_per_machine_install_writes_what_regsvr32_writes_and_outlook_loads_it(self):
        reference = Prefix(os.path.join(WORK, "regsvr32-machine"))
        registered = reference.regsvr32(place_dll(reference, MACHINE_FOLDER))
        # regsvr32 writes the add-in key for the user who runs it; a machine-wide package writes it
        # for every user, in the machine's view of the package's architecture.
        machine_office = "HKLM\\Software\\Wow6432Node\\" if ARCH == "x86" else "HKLM\\Software\\"
        expected = {(key.replace("HKCU\\Software\\", machine_office) if ADDIN_KEY in key else key, name): value
                    for (key, name), value in registered.items()}

        prefix = Prefix(os.path.join(WORK, "msi-machine"))
        before = prefix.snapshot()
        prefix.install(PACKAGE, "ALLUSERS=1")
        written, _ = ours(before, prefix.snapshot())
        self.assertEqual(sorted(written.items()), sorted(expected.items()))
        self.assertFalse(any(key.startswith("HKCU\\") for key, _ in written), "nothing in the user's hive")

        # Outlook 2016 loads it from the installed folder, twice: the first start must not leave a
        # user's add-in key that would hide the machine's.
        for start in (1, 2):
            shown = prefix.run(QORHOST, "--mailbox", windows_path(MAILBOX), "--version", "16", "--script",
                               windows_path(SCRIPT)).stdout
            self.assertIn("loaded qorOutlook.coqorOutlook", shown, f"start {start}")
            self.assertIn("menu QOR for Outlook > QOR Agent", shown)
            self.assertIn("txtEmailFolder.Text=Mailbox\\Bounces", shown, "QOR Agent opens the wizard")
        self.assertNotIn("HKCU\\" + ADDIN_KEY, prefix.snapshot())

        # As an administrator removes it: with the installation's ALLUSERS=1 (Wine does not take the
        # installed product's context by itself).
        # qorhost's own start registers Wine's standard type libraries: only the package's keys count.
        prefix.uninstall(PACKAGE, "ALLUSERS=1")
        self.assertNothingLeft(before, prefix, MACHINE_FOLDER, {key for key, _ in written})

    def test_a_newer_version_replaces_an_older_one(self):
        older = os.path.join(WORK, f"qorOutlook-0.9.0-{ARCH}.msi")
        subprocess.run(["sh", os.path.join(PACKAGING, "build-package.sh"), "wixl", ARCH, "0.9.0",
                        os.path.join(os.path.dirname(os.path.dirname(PACKAGE)), "packaging", "qorOutlook.wxs"), older],
                       check=True)
        prefix = Prefix(os.path.join(WORK, "msi-upgrade"))
        before = prefix.snapshot()
        prefix.install(older)
        self.assertEqual([e["DisplayVersion"] for e in products(prefix.snapshot()).values()], [["sz", "0.9.0"]])
        prefix.install()
        after = prefix.snapshot()
        self.assertEqual([e["DisplayVersion"] for e in products(after).values()], [["sz", VERSION]])
        self.assertEqual(sum(1 for key in after if key.endswith(ADDIN_KEY)), 1)
        prefix.uninstall()
        self.assertNothingLeft(before, prefix, USER_FOLDER)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
