"""The windows of the tools as a screen reader meets them, over the real accessibility bus (see
test_accessibility.py): the conversion's progress, which names the list and counts its rows,
and "Informazioni su Brivanta IBAN" with its libraries and their licence texts."""

import os
import re
import shutil
import tempfile
import threading
import time
import unittest

import pyatspi
from gi.repository import GLib

from desktop import DesktopTestCase, wait_until
# The bus of the accessibility suite, started and stopped around this module too.
from test_accessibility import find, setUpModule, tearDownModule, tree  # noqa: F401

LIBRARIES = os.path.join(os.path.dirname(__file__), "..", "..", "help", "librerie.txt")


class Feeder(threading.Thread):
    """Writes a list into a named pipe: some thousands of rows, then the rest once `more` is
    set, so that the conversion is still running while the test reads it."""

    def __init__(self, pipe):
        super().__init__(daemon=True)
        self.pipe = pipe
        self.more = threading.Event()

    def run(self):
        with open(self.pipe, "w", encoding="utf-8") as out:
            out.write("ABI;CAB;Conto\n")
            for part in range(2):
                for i in range(20000):
                    out.write(f"{1000 + i % 9000};11101;{i}\n")
                out.flush()
                if part == 0:
                    self.more.wait(60)


class ToolsAccessibilityTest(DesktopTestCase):
    environment = {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"}
    given = []

    def arguments(self):
        return self.given

    def application(self):
        for application in pyatspi.Registry.getDesktop(0):
            if application is not None and \
                    application.get_process_id() == self.desktop.program.pid:
                return application
        return None

    def top_level(self, role, name):
        """The program's window of that role and name, or None. A window that leaves the bus
        while the windows are read fails the read: they are read again."""
        for _ in range(20):
            try:
                application = self.application()
                if application is None:
                    return None
                return next((w for w in application
                             if w is not None and w.getRoleName() == role and w.name == name),
                            None)
            except GLib.GError:
                time.sleep(0.05)
        raise AssertionError("the windows on the bus could not be read")

    def press(self, accessible):
        action = accessible.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        action.doAction(names.index("Press"))


class ProgressTest(ToolsAccessibilityTest):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="bviban-fifo-")
        self.addCleanup(shutil.rmtree, self.folder, ignore_errors=True)
        pipe = os.path.join(self.folder, "elenco.csv")
        os.mkfifo(pipe)
        self.feeder = Feeder(pipe)
        self.feeder.start()
        self.addCleanup(self.feeder.more.set)
        self.given = [pipe]
        super().setUp()

    def test_progress_names_the_list_and_counts_its_rows(self):
        dialog = wait_until(lambda: self.top_level("dialog", "Conversione dell'elenco"), 20,
                            "the progress dialog on the bus")
        self.assertIsNotNone(find(dialog, "label", "Elenco in conversione: elenco.csv"))

        def rows():
            for accessible in tree(dialog):
                match = re.fullmatch(r"Righe convertite: ([\d.]+) righe", accessible.name or "")
                if accessible.getRoleName() == "label" and match:
                    return int(match.group(1).replace(".", ""))
            return 0
        first = wait_until(rows, 20, "rows counted")
        self.assertGreater(first, 0)
        self.assertIsNotNone(find(dialog, "progress bar", "Avanzamento della conversione"))

        cancel = find(dialog, "push button", "Annulla la conversione")
        self.press(cancel)
        # The list goes on only once the cancel is asked for, as "Annullamento…" shows.
        wait_until(lambda: not cancel.getState().contains(pyatspi.STATE_ENABLED), 10,
                   "the cancel to be asked for")
        self.feeder.more.set()
        wait_until(lambda: self.top_level("dialog", "Conversione dell'elenco") is None, 30,
                   "the progress dialog to close")
        self.assertEqual(os.listdir(self.folder), ["elenco.csv"])


class AboutTest(ToolsAccessibilityTest):
    def test_libraries_versions_and_licence_texts(self):
        expected = []
        with open(LIBRARIES, encoding="utf-8") as f:
            for line in f:
                if line.strip() and not line.startswith("#"):
                    name, _, licence, text = line.strip().split("|")
                    expected.append((name, licence, text))

        self.desktop.key("alt+question", "i")
        about = wait_until(lambda: self.top_level("dialog", "Informazioni su Brivanta IBAN"), 20,
                           "the about dialog on the bus")
        names = [a.name for a in tree(about)]
        for text in ("Brivanta IBAN", "Quorvel by Brivanta, versione 1.0.0.25",
                     "Prodotto da Brivanta", "Sito di Brivanta: http://www.brivanta.example"):
            self.assertIn(text, names)
        table = find(about, "table", "Librerie usate").queryTable()
        rows = [[table.getAccessibleAt(row, column).name for column in range(3)]
                for row in range(table.nRows)]
        self.assertEqual([(name, licence) for name, _, licence in rows],
                         [(name, licence) for name, licence, _ in expected])
        for name, version, _ in rows:
            self.assertRegex(version, r"^\d+(\.\d+)+$", name)

        self.desktop.key("alt+l")
        licences = wait_until(lambda: self.top_level("dialog", "Licenze"), 20, "the licences")
        text = find(licences, "text", "Testo della licenza").queryText()
        for number, (name, _, file) in enumerate(expected):
            with open(os.path.join(os.path.dirname(LIBRARIES), "licenze", file),
                      encoding="utf-8") as f:
                start = f.read(200)
            wait_until(lambda: text.getText(0, 200) == start, 10, f"the licence of {name}")
            if number + 1 < len(expected):
                self.desktop.key("Down")
        self.desktop.key("Escape")
        wait_until(lambda: self.top_level("dialog", "Licenze") is None, 10, "licences closed")
        self.desktop.key("Escape")
        wait_until(lambda: self.top_level("dialog", "Informazioni su Brivanta IBAN") is None, 10,
                   "about closed")


if __name__ == "__main__":
    unittest.main()
