"""bviban-cli.exe under Wine against the Linux build's bviban-cli: the same arguments and input
give the same bytes on standard output and standard error, the same files and the same exit
status. The lists are those of the Linux suites: a Windows-1252 CSV with ";", a UTF-16 CSV and
an .xlsx; file names with accents and spaces, given as Windows names."""

import os
import re
import shutil
import subprocess
import tempfile
import unittest

import openpyxl

import windows_build
from windows_build import windows_path

LINUX_CLI = os.path.join(os.environ["BVIBAN_LINUX_BUILD"], "bviban-cli")
WINDOWS_CLI = os.path.join(windows_build.FOLDER, "bviban-cli.exe")

WINDOWS_1252 = (
    "Fornitore;ABI;CAB;Conto\r\n"
    "Caffè Rossi € 1;5428;11101;123456\r\n"
    "\"Bianchi; Ugo\";1234;987;ab-12 345\r\n"
    "Verdi Srl;;11101;77\r\n").encode("cp1252")
UTF_16 = ("\ufeffFornitore\tIBAN\r\n"
          "Città del Sole\tit60 x054 2811 1010 0000 0123 456\r\n"
          "Bianchi\tIT65A0542811101000000123456\r\n").encode("utf-16-le")


def workbook(path):
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = "Fornitori"
    for row in (["Fornitore", "ABI", "CAB", "Conto"], ["Perché Srl", 3069, 9400, "CC 1000/57"],
                ["Rossi", 5428, 11101, 123456], ["Vuoto", None, None, None]):
        sheet.append(row)
    book.save(path)


def sheets(path):
    """The cells of every sheet of a workbook, by sheet name: what an .xlsx holds, without its
    time stamps."""
    book = openpyxl.load_workbook(path)
    return {sheet.title: [list(row) for row in sheet.iter_rows(values_only=True)]
            for sheet in book.worksheets}


def contents(folder):
    """Every file under the folder, by relative name: its bytes, or its cells for an .xlsx."""
    found = {}
    for parent, _, files in os.walk(folder):
        for name in files:
            path = os.path.join(parent, name)
            relative = os.path.relpath(path, folder)
            if name.endswith(".xlsx"):
                found[relative] = sheets(path)
            else:
                with open(path, "rb") as f:
                    found[relative] = f.read()
    return found


# Each case: name, arguments (a path in the case's folder is written "{dir}/..."), standard
# input, whether standard output goes to a full disk, and whether the program writes files.
CASES = [
    ("calcola", ["calcola", "5428", "11101", "123456"], b"", False, False),
    ("calcola refused", ["calcola", "5428", "111011", "1"], b"", False, False),
    ("verifica arguments", ["verifica", "IT60X0542811101000000123456",
                            "IT61 X054 2811 1010 0000 0123 456", ""], b"", False, False),
    ("verifica input with CR LF", ["verifica"],
     b"IT60X0542811101000000123456\r\nGB82WEST12345698765432\r\n\r\nXX\r\n", False, False),
    ("verifica --json", ["verifica", "--json"], b"IT60X0542811101000000123456\nSM00\n", False,
     False),
    ("help", ["--help"], b"", False, False),
    ("version", ["--version"], b"", False, False),
    ("unknown command", ["calcolo"], b"", False, False),
    ("standard output on a full disk", ["verifica", "IT60X0542811101000000123456"], b"", True,
     False),
    ("Windows-1252 list", ["converti", "{dir}/fornitori.csv"], b"", False, True),
    ("UTF-16 list", ["converti", "{dir}/iban.csv"], b"", False, True),
    ("workbook", ["converti", "{dir}/fornitori.xlsx"], b"", False, True),
    ("workbook to CSV", ["converti", "{dir}/fornitori.xlsx", "-o", "{dir}/uscita.csv"], b"",
     False, True),
    ("accents in the name", ["converti", "{dir}/fornitori è già.csv"], b"", False, True),
    ("accents and spaces in the folder",
     ["converti", "{dir}/Nuova cartella è/fornitori è già.csv", "-o",
      "{dir}/Nuova cartella è/uscita è.xlsx"], b"", False, True),
    ("output exists", ["converti", "{dir}/già.csv", "-o", "{dir}/fornitori.csv"], b"", False,
     False),
    ("missing list", ["converti", "{dir}/manca è.csv"], b"", False, False),
    ("converted to a full standard output", ["converti", "{dir}/fornitori.csv", "-o", "-"], b"",
     True, False),
]


class CliTest(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.TemporaryDirectory(prefix="bviban-cli-")
        self.addCleanup(self.work.cleanup)

    def lists(self, folder):
        """The same input files in a fresh folder for each run."""
        os.makedirs(os.path.join(folder, "Nuova cartella è"))
        for name, data in (("fornitori.csv", WINDOWS_1252), ("iban.csv", UTF_16),
                           ("fornitori è già.csv", WINDOWS_1252),
                           ("Nuova cartella è/fornitori è già.csv", WINDOWS_1252),
                           ("già.csv", WINDOWS_1252)):
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)
        workbook(os.path.join(folder, "fornitori.xlsx"))

    def run_cli(self, command, folder, arguments, stdin, full, name_of):
        os.makedirs(folder)
        self.lists(folder)
        before = contents(folder)
        out = open("/dev/full", "wb") if full else subprocess.PIPE
        try:
            done = subprocess.run(
                [*command, *[name_of(a.replace("{dir}", folder)) if "{dir}" in a else a
                             for a in arguments]],
                input=stdin, stdout=out, stderr=subprocess.PIPE, cwd=folder, timeout=120)
        finally:
            if full:
                out.close()
        after = contents(folder)
        written = {name: value for name, value in after.items() if before.get(name) != value}
        # The time a conversion took differs from run to run.
        errors = re.sub(rb"Tempo: [0-9,]+ s", b"Tempo: - s", done.stderr)
        return done.returncode, done.stdout, errors, written

    def test_same_as_linux(self):
        for name, arguments, stdin, full, writes in CASES:
            with self.subTest(name):
                linux = self.run_cli([LINUX_CLI], os.path.join(self.work.name, name, "linux"),
                                     arguments, stdin, full, lambda path: path)
                windows = self.run_cli(["wine", WINDOWS_CLI],
                                       os.path.join(self.work.name, name, "windows"), arguments,
                                       stdin, full, windows_path)
                self.assertEqual(windows[0], linux[0], "exit status")
                self.assertEqual(windows[1], linux[1], "standard output")
                # Messages name the files the user gave, which differ only by the folder.
                folder = os.path.join(self.work.name, name).encode()
                linux_errors = linux[2].replace(folder + b"/linux", b"...")
                windows_errors = windows[2].replace(
                    windows_path(os.path.join(self.work.name, name, "windows")).encode(),
                    b"...").replace(b"\\", b"/")
                self.assertEqual(windows_errors, linux_errors, "standard error")
                self.assertEqual(bool(linux[3]), writes, "files written on Linux")
                self.assertEqual(windows[3], linux[3], "files written")


if __name__ == "__main__":
    unittest.main()
