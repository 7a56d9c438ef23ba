"""The Windows installer under Wine, as a Windows user meets it: installed silently, the program
started from its Start-menu entry, used from the window, and uninstalled silently with nothing
left behind."""

import os
import re
import stat
import tempfile
import unittest
import urllib.parse

import windows_build
from windows_build import INSTALLER, WineDesktop, drive_c, wait_until, wine

import design  # noqa: E402  (tests/e2e, put on the path by windows_build)
from iban import expected_iban  # noqa: E402

PRODUCT = "Brivanta IBAN"
INSTALLED = drive_c("Program Files", PRODUCT)
START_MENU = drive_c("ProgramData", "Microsoft", "Windows", "Start Menu", "Programs",
                     f"{PRODUCT}.lnk")
DESKTOP_LINK = drive_c("users", "Public", "Desktop", f"{PRODUCT}.lnk")
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\BVIBAN"
HELP = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "help")


def shipped_licences():
    """The licence texts that help/librerie.txt names, one per library the program ships."""
    with open(os.path.join(HELP, "librerie.txt"), encoding="utf-8") as f:
        return [line.rstrip("\n").split("|")[3] for line in f if not line.startswith("#")]


def registry_values(key):
    """The values of a registry key, by name; None when the key does not exist."""
    done = wine("reg", "query", key)
    if done.returncode != 0:
        return None
    values = {}
    for line in done.stdout.decode("utf-8", errors="replace").splitlines():
        match = re.match(r"\s+(\S+)\s+REG_\w+\s+(.*)$", line)
        if match:
            values[match.group(1)] = match.group(2).strip()
    return values


def leftovers():
    """Every file or folder of the prefix, and every registry line, that names the program."""
    found = []
    for folder, folders, files in os.walk(drive_c()):
        found += [os.path.join(folder, name) for name in folders + files
                  if re.search(r"brivanta|bviban", name, re.IGNORECASE)]
    # The registry as Wine holds it now: the prefix's hive files are written only from time to
    # time by the running wineserver.
    with tempfile.TemporaryDirectory(prefix="registro-") as folder:
        for root in ("HKLM", "HKCU"):
            exported = os.path.join(folder, root + ".reg")
            done = wine("reg", "export", root, windows_build.windows_path(exported), "/y")
            assert done.returncode == 0, done.stderr.decode(errors="replace")
            with open(exported, encoding="utf-16") as f:
                found += [f"{root}: {line.strip()}" for line in f
                          if re.search(r"brivanta|bviban", line, re.IGNORECASE)]
    return found


class InstallerTest(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.TemporaryDirectory(prefix="bviban-installer-")
        self.addCleanup(self.work.cleanup)
        # Wine opens web addresses with winebrowser, which starts the first program of this list:
        # a recorder of the addresses it is given.
        self.opened = os.path.join(self.work.name, "opened.txt")
        recorder = os.path.join(self.work.name, "browser")
        with open(recorder, "w") as f:
            f.write(f"#!/bin/sh\nprintf '%s\\n' \"$@\" >> '{self.opened}'\n")
        os.chmod(recorder, os.stat(recorder).st_mode | stat.S_IXUSR)
        self.assertEqual(wine("reg", "add", r"HKCU\Software\Wine\WineBrowser", "/v", "Browsers",
                              "/d", recorder, "/f").returncode, 0)
        # As on Windows, web pages open in the browser: a new prefix names no program for .html.
        self.assertEqual(wine("reg", "add", r"HKCR\.html", "/ve", "/d", "htmlfile",
                              "/f").returncode, 0)

    def test_install_use_and_uninstall(self):
        # Other suites' own files (temporary files of tests named after the program) may be there.
        self.before = leftovers()
        done = wine(INSTALLER, "/S", timeout=300)
        self.assertEqual(done.returncode, 0, done.stderr.decode(errors="replace"))
        self.check_installed()
        self.use_from_start_menu()
        self.uninstall()

    def check_installed(self):
        licences = os.path.join("help", "Licenze")
        for name in ("bviban.exe", "bviban-cli.exe", "bviban-browser.exe", "Qt6Core.dll",
                     "Qt6Widgets.dll", os.path.join("platforms", "qwindows.dll"),
                     os.path.join("translations", "qtbase_it.qm"), "qt.conf",
                     os.path.join("help", "guida.html"), os.path.join("help", "librerie.txt"),
                     os.path.join(licences, "BVIBAN.txt"),
                     os.path.join(licences, "MinGW-w64 GCC runtime.txt"), "Disinstalla.exe"):
            with self.subTest(file=name):
                self.assertTrue(os.path.isfile(os.path.join(INSTALLED, name)))
        # The same texts as the Linux program shows under "Licenze…".
        for text in shipped_licences():
            with self.subTest(licence=text), open(os.path.join(HELP, "licenze", text), "rb") as f:
                with open(os.path.join(INSTALLED, licences, text), "rb") as installed:
                    self.assertEqual(installed.read(), f.read())
        self.assertTrue(os.path.isfile(START_MENU))
        self.assertTrue(os.path.isfile(DESKTOP_LINK))
        values = registry_values(UNINSTALL_KEY)
        self.assertIsNotNone(values, "no entry in App e funzionalità")
        installed = r"C:\Program Files" + "\\" + PRODUCT
        self.assertEqual(values.get("DisplayName"), PRODUCT)
        self.assertEqual(values.get("Publisher"), "Brivanta")
        self.assertEqual(values.get("DisplayVersion"), windows_build.VERSION)
        self.assertEqual(values.get("DisplayIcon"), installed + r"\bviban.exe,0")
        self.assertEqual(values.get("QuietUninstallString"),
                         f'"{installed}\\Disinstalla.exe" /S')

    def use_from_start_menu(self):
        link = r"C:\ProgramData\Microsoft\Windows\Start Menu\Programs" + "\\" + PRODUCT + ".lnk"
        desktop = WineDesktop(["wine", "start", link], "bviban.exe")
        try:
            main = desktop.main
            main.click(*design.centre(design.TXT_ABI))
            for text in ("5428", "Return", "11101", "Return", "123456", "Return", "Return"):
                if text == "Return":
                    desktop.key(text)
                else:
                    desktop.type(text)
            main.click(*design.centre(design.COPY_IBAN))
            expected = expected_iban("05428", "11101", "123456")
            wait_until(lambda: desktop.clipboard() == expected, 15,
                       f"{expected!r} on the X clipboard")

            main.click(*design.centre(design.BV_URL, design.bv_logo_origin()))
            wait_until(lambda: os.path.exists(self.opened), 30, "Wine to open the vendor's page")
            self.assertRegex(self.opened_lines()[0], r"^http://www\.brivanta\.example/?$")

            # "Guida" opens the guide installed in help\ beside the program.
            desktop.key("F1")
            wait_until(lambda: len(self.opened_lines()) > 1, 30, "Wine to open the guide")
            opened = self.opened_lines()[1]
            self.assertTrue(opened.startswith("file://"), opened)
            self.assertEqual(os.path.realpath(urllib.parse.unquote(opened[len("file://"):])),
                             os.path.realpath(os.path.join(INSTALLED, "help", "guida.html")))
            desktop.assert_clean_exit()
        finally:
            desktop.close()

    def opened_lines(self):
        with open(self.opened) as f:
            return f.read().splitlines()

    def uninstall(self):
        uninstaller = r"C:\Program Files" + "\\" + PRODUCT + r"\Disinstalla.exe"
        done = wine(uninstaller, "/S")
        self.assertEqual(done.returncode, 0, done.stderr.decode(errors="replace"))
        # The uninstaller runs on from a copy of itself in the temporary folder.
        wait_until(lambda: not os.path.exists(INSTALLED), 60, "the program's folder to go")
        self.assertFalse(os.path.exists(START_MENU))
        self.assertFalse(os.path.exists(DESKTOP_LINK))
        self.assertIsNone(registry_values(UNINSTALL_KEY))
        self.assertEqual(leftovers(), self.before)


if __name__ == "__main__":
    unittest.main()
