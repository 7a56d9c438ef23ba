"""BVIBAN installed, as a user meets it: the files in their places, the program started from the
menu entry's Exec line, the invitation sent through the helper in its libexec folder.

Two ways to run it (from this folder, with ../e2e on PYTHONPATH):
- BVIBAN_BUILD_DIR=<build folder>: installs that build with `cmake --install` into a temporary
  prefix first (what `make test` does);
- BVIBAN_PREFIX=/usr: checks what the Debian package installed (what `make check-package` does).
Either way the programs are looked up through PATH, with the prefix's bin folder first.
"""

import configparser
import os
import shlex
import shutil
import struct
import subprocess
import tempfile
import unittest

import test_tell_a_friend
from desktop import Desktop

THEME_SIZES = (16, 24, 32, 48, 64, 128, 256)
PREFIX = os.environ.get("BVIBAN_PREFIX", "/usr")
_staging = None


def setUpModule():
    global PREFIX, _staging
    build = os.environ.get("BVIBAN_BUILD_DIR")
    if build:
        _staging = tempfile.mkdtemp(prefix="bviban-installed-")
        PREFIX = os.path.join(_staging, "usr")
        subprocess.run([os.environ.get("BVIBAN_CMAKE", "cmake"), "--install", build,
                        "--prefix", PREFIX], check=True, stdout=subprocess.DEVNULL)
    os.environ["PATH"] = os.path.join(PREFIX, "bin") + os.pathsep + os.environ["PATH"]
    os.environ["BVIBAN_PROGRAM"] = os.path.join(PREFIX, "bin", "bviban")


def tearDownModule():
    if _staging:
        shutil.rmtree(_staging, ignore_errors=True)


def installed(relative):
    return os.path.join(PREFIX, relative)


def png_size(path):
    with open(path, "rb") as f:
        header = f.read(24)
    if header[:8] != b"\x89PNG\r\n\x1a\n" or header[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", header[16:24])


def desktop_entry():
    entry = configparser.ConfigParser(interpolation=None)
    entry.optionxform = str
    entry.read(installed("share/applications/bviban.desktop"), encoding="utf-8")
    return entry["Desktop Entry"]


class InstalledFilesTest(unittest.TestCase):
    def test_programs_and_helper(self):
        self.assertTrue(os.access(installed("bin/bviban"), os.X_OK))
        self.assertTrue(os.access(installed("libexec/bviban/bviban-browser"), os.X_OK))
        # The helper is not a command: nothing of it on PATH.
        self.assertFalse(os.path.exists(installed("bin/bviban-browser")))

    def test_theme_icons_have_their_sizes(self):
        for size in THEME_SIZES:
            with self.subTest(size=size):
                path = installed(f"share/icons/hicolor/{size}x{size}/apps/bviban.png")
                self.assertEqual(png_size(path), (size, size))

    def test_manual_page_reads_in_italian(self):
        page = subprocess.run(["man", "bviban"], capture_output=True, text=True, timeout=60,
                              env=dict(os.environ, MANPATH=installed("share/man"),
                                       MANWIDTH="80", LC_ALL="C.UTF-8"))
        self.assertEqual(page.returncode, 0, page.stderr)
        for heading in ("NOME", "SINTASSI", "DESCRIZIONE", "VEDERE ANCHE"):
            self.assertIn(f"\n{heading}\n", page.stdout)
        self.assertIn("bviban-cli(1)", page.stdout)


class MenuEntryTest(unittest.TestCase):
    def test_exec_line_starts_the_program_with_its_window(self):
        entry = desktop_entry()
        self.assertEqual(entry["Name"], "Brivanta IBAN")
        icon = entry["Icon"]
        self.assertTrue(os.path.exists(installed(f"share/icons/hicolor/48x48/apps/{icon}.png")))
        # Field codes (%f, %u...) stand for files the menu passes; the entry takes none.
        command = [word for word in shlex.split(entry["Exec"]) if not word.startswith("%")]
        self.assertEqual(shutil.which(command[0]), installed("bin/bviban"))

        desktop = Desktop(command)
        try:
            # The desktop ties the window to the entry through its class.
            wm_class = subprocess.run(["xprop", "-id", desktop.main.id, "WM_CLASS"],
                                      env=desktop.environment, capture_output=True, text=True,
                                      timeout=30).stdout
            self.assertEqual(wm_class.split("=")[1].split(",")[1].strip().strip('"'),
                             entry["StartupWMClass"])
            desktop.assert_clean_exit()
        finally:
            desktop.close()


class InvitationThroughInstalledHelperTest(test_tell_a_friend.TellAFriendTest):
    """The invitation scenarios again, with the program and its hidden browser as installed."""


if __name__ == "__main__":
    unittest.main()
