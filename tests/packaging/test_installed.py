"""BVIBAN installed, as a user meets it: the files in their places, bviban-cli and the manual
pages found through PATH, the program started from the menu entry's Exec line, the invitation
sent through the helper in its libexec folder.

Two ways to run it (from this folder, with ../e2e on PYTHONPATH):
- BVIBAN_BUILD_DIR=<build folder>: installs that build with `cmake --install` into a temporary
  prefix first (what `make test` does);
- BVIBAN_PREFIX=/usr: checks what the Debian package installed (what `make check-package` does).
Either way the programs are looked up through PATH, with the prefix's bin folder first, and
BVIBAN_VERSION is the version they must report.
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
from iban import expected_iban

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


def desktop_file():
    entry = configparser.ConfigParser(interpolation=None)
    entry.optionxform = str
    entry.read(installed("share/applications/bviban.desktop"), encoding="utf-8")
    return entry


def desktop_entry():
    return desktop_file()["Desktop Entry"]


def command(exec_line, files=()):
    """The command that the desktop runs for an Exec line: %F stands for the files."""
    words = []
    for word in shlex.split(exec_line):
        words.extend(files if word == "%F" else [] if word.startswith("%") else [word])
    return words


class InstalledFilesTest(unittest.TestCase):
    def test_programs_and_helper(self):
        for program in ("bin/bviban", "bin/bviban-cli", "libexec/bviban/bviban-browser"):
            self.assertTrue(os.access(installed(program), os.X_OK), program)
        # The helper is not a command: nothing of it on PATH.
        self.assertFalse(os.path.exists(installed("bin/bviban-browser")))

    def test_theme_icons_have_their_sizes(self):
        for size in THEME_SIZES:
            with self.subTest(size=size):
                path = installed(f"share/icons/hicolor/{size}x{size}/apps/bviban.png")
                self.assertEqual(png_size(path), (size, size))

    def test_help_page_and_licence_texts(self):
        self.assertTrue(os.path.isfile(installed("share/bviban/guida.html")))
        with open(installed("share/bviban/librerie.txt"), encoding="utf-8") as f:
            libraries = [line.strip().split("|") for line in f
                         if line.strip() and not line.startswith("#")]
        self.assertEqual([library[0] for library in libraries],
                         ["Qt", "libzip", "zlib"])
        for name, _, _, text in libraries:
            with self.subTest(library=name):
                self.assertGreater(os.path.getsize(installed(f"share/bviban/licenze/{text}")),
                                   1000)

    def test_manual_pages_read_in_italian(self):
        for page, other, texts in (("bviban", "bviban-cli(1)", ["Calcola IBAN"]),
                                   ("bviban-cli", "bviban(1)",
                                    ["calcola ABI CAB CONTO",
                                     "1 almeno una riga non valida o vuota"])):
            with self.subTest(page=page):
                shown = subprocess.run(["man", page], capture_output=True, text=True, timeout=60,
                                       env=dict(os.environ, MANPATH=installed("share/man"),
                                                MANWIDTH="80", LC_ALL="C.UTF-8"))
                self.assertEqual(shown.returncode, 0, shown.stderr)
                for heading in ("NOME", "SINTASSI", "DESCRIZIONE", "VEDERE ANCHE"):
                    self.assertIn(f"\n{heading}\n", shown.stdout)
                words = " ".join(shown.stdout.split())
                for text in texts:
                    self.assertIn(text, words)
                self.assertIn(other, words)


class CommandLineTest(unittest.TestCase):
    def run_cli(self, *arguments):
        self.assertEqual(shutil.which("bviban-cli"), installed("bin/bviban-cli"))
        return subprocess.run(["bviban-cli", *arguments], capture_output=True, text=True,
                              timeout=30)

    def test_version_and_a_calculation_from_path(self):
        version = self.run_cli("--version")
        self.assertEqual((version.returncode, version.stdout.split()[-1]),
                         (0, os.environ["BVIBAN_VERSION"]))
        done = self.run_cli("calcola", "05428", "11101", "000000123456")
        self.assertEqual((done.returncode, done.stdout, done.stderr),
                         (0, expected_iban("05428", "11101", "000000123456") + "\n", ""))


class MenuEntryTest(unittest.TestCase):
    def test_exec_line_starts_the_program_with_its_window(self):
        entry = desktop_entry()
        self.assertEqual(entry["Name"], "Brivanta IBAN")
        icon = entry["Icon"]
        self.assertTrue(os.path.exists(installed(f"share/icons/hicolor/48x48/apps/{icon}.png")))
        # Field codes (%f, %u...) stand for files the menu passes: here none.
        started = command(entry["Exec"])
        self.assertEqual(shutil.which(started[0]), installed("bin/bviban"))

        desktop = Desktop(started)
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


    def test_actions_and_file_types(self):
        entry = desktop_file()
        main = entry["Desktop Entry"]
        self.assertEqual(set(main["MimeType"].rstrip(";").split(";")),
                         {"text/csv", "text/tab-separated-values",
                          "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet",
                          "application/vnd.oasis.opendocument.spreadsheet"})
        self.assertEqual(shlex.split(main["Exec"]), ["bviban", "%F"])
        self.assertEqual(main["Actions"].rstrip(";").split(";"), ["verifica", "converti"])
        self.assertEqual([(entry[f"Desktop Action {action}"]["Name"],
                           entry[f"Desktop Action {action}"]["Exec"])
                          for action in ("verifica", "converti")],
                         [("Verifica un IBAN", "bviban --verifica"),
                          ("Converti un elenco", "bviban --converti")])

    def test_each_action_opens_its_window(self):
        folder = tempfile.mkdtemp(prefix="bviban-apri-con-")
        self.addCleanup(shutil.rmtree, folder, ignore_errors=True)
        listed = os.path.join(folder, "elenco.csv")
        with open(listed, "w", encoding="utf-8") as f:
            f.write("ABI;CAB;Conto\n5428;11101;123456\n")
        entry = desktop_file()
        cases = [
            ("Apri con", command(entry["Desktop Entry"]["Exec"], [listed]),
             "Risultato della conversione"),
            ("Verifica un IBAN", command(entry["Desktop Action verifica"]["Exec"]),
             "Verifica IBAN"),
            ("Converti un elenco", command(entry["Desktop Action converti"]["Exec"]),
             "Converti un elenco"),
        ]
        for name, started, title in cases:
            with self.subTest(name):
                desktop = Desktop(started, main_active=False)
                try:
                    window = desktop.wait_for_window(title, timeout=30)
                    desktop.wait_until_active(window)
                    desktop.key("Escape")
                    desktop.wait_until_gone(title)
                    desktop.assert_clean_exit()
                finally:
                    desktop.close()
        self.assertTrue(os.path.isfile(os.path.join(folder, "elenco-IBAN.csv")))


class InvitationThroughInstalledHelperTest(test_tell_a_friend.InvitationTestCase):
    """An invitation sent by the program as installed: it finds its hidden browser in the
    libexec folder. The other invitation scenarios do not depend on where the browser is."""

    test_invitation_reaches_the_server = \
        test_tell_a_friend.TellAFriendTest.test_invitation_reaches_the_server


if __name__ == "__main__":
    unittest.main()
