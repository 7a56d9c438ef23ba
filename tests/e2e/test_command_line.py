"""The window program's command line, as a user or the desktop's menu entry gives it: refusals
and help without a window, lists given as files converted as a drop converts them, and
"Verifica IBAN" opened filled in."""

import os
import shutil
import subprocess
import tempfile
import unittest

from colours import count, is_green, is_red
from desktop import DesktopTestCase, wait_until

PROGRAM = os.environ.get("BVIBAN_PROGRAM", "bviban")
RESULTS_TITLE = "Risultato della conversione"
LIST = ("Fornitore;ABI;CAB;Conto\r\nRossi Mario;5428;11101;123456\r\n"
        "Verdi Srl;;11101;77\r\n")
CONVERTED = ("\ufeffFornitore;ABI;CAB;Conto;IBAN;Esito\r\n"
             "Rossi Mario;5428;11101;123456;IT60X0542811101000000123456;OK\r\n"
             "Verdi Srl;;11101;77;;Compilare ABI, CAB e Nr. del CONTO.\r\n")


class RefusalsTest(unittest.TestCase):
    """What the program says and how it ends when it opens no window: no display is needed."""

    def test_help_version_and_refusals(self):
        environment = {key: value for key, value in os.environ.items() if key != "DISPLAY"}
        cases = [
            (["--help"], 0, "Uso: bviban [FILE...]\n", ""),
            (["--version"], 0, "bviban 1.0.0.25\n", ""),
            (["--sconosciuta"], 2, "", "bviban: opzione sconosciuta: --sconosciuta\nUso: bviban"),
            (["-x", "elenco.csv"], 2, "", "bviban: opzione sconosciuta: -x\nUso: bviban"),
            (["-"], 2, "", "bviban: la finestra non legge lo standard input: per convertirlo "
                           "usa bviban-cli converti -.\nUso: bviban"),
            (["elenco.csv", "--verifica"], 2, "",
             "bviban: --verifica non va insieme ad altri argomenti.\nUso: bviban"),
            (["--converti", "elenco.csv"], 2, "",
             "bviban: --converti non va insieme ad altri argomenti.\nUso: bviban"),
        ]
        for arguments, status, output, error in cases:
            with self.subTest(arguments=arguments):
                done = subprocess.run([PROGRAM, *arguments], env=environment,
                                      capture_output=True, text=True, timeout=30)
                self.assertEqual(done.returncode, status)
                self.assertTrue(done.stdout.startswith(output), done.stdout)
                self.assertTrue(done.stderr.startswith(error), done.stderr)
                if status != 0:
                    self.assertEqual(done.stdout, "")
                    self.assertIn("--verifica [IBAN]", done.stderr)


class FilesGivenTest(DesktopTestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="bviban-elenchi-")
        self.addCleanup(shutil.rmtree, self.folder, ignore_errors=True)
        with open(os.path.join(self.folder, "fornitori.csv"), "w", encoding="utf-8",
                  newline="") as f:
            f.write(LIST)
        # Started in the list's folder, with the list's name as typed there.
        self.addCleanup(os.chdir, os.getcwd())
        os.chdir(self.folder)
        super().setUp()

    def arguments(self):
        return ["fornitori.csv"]

    def test_a_file_given_is_converted(self):
        results = self.desktop.wait_for_window(RESULTS_TITLE, timeout=30)
        with open(os.path.join(self.folder, "fornitori-IBAN.csv"), encoding="utf-8",
                  newline="") as f:
            self.assertEqual(f.read(), CONVERTED)
        self.desktop.wait_until_active(results)
        self.desktop.key("Escape")
        self.desktop.wait_until_gone(RESULTS_TITLE)
        self.desktop.wait_until_active(self.main)


class VerifyGivenTest(DesktopTestCase):
    def arguments(self):
        # As copied from a letter, in groups.
        return ["--verifica", "IT60", "X054", "2811", "1010", "0000", "0123", "456"]

    def test_verify_window_opens_filled_in(self):
        window = self.desktop.wait_for_window("Verifica IBAN")
        wait_until(lambda: count(window.grab(), is_green) > 30, 10, "the green verdict")
        self.assertEqual(count(window.grab(), is_red), 0)
        self.desktop.wait_until_active(window)
        self.desktop.key("Escape")
        self.desktop.wait_until_gone("Verifica IBAN")


if __name__ == "__main__":
    unittest.main()
