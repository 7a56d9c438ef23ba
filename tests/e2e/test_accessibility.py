"""The program as a screen reader sees it, over the real accessibility bus: run inside
dbus-run-session, with at-spi2-core's bus launcher started here and the program told to talk
to it (QT_LINUX_ACCESSIBILITY_ALWAYS_ON). Read with pyatspi, as Orca reads it; the keys are
typed with xdotool."""

import os
import shutil
import socket
import subprocess
import tempfile
import unittest

import pyatspi
from gi.repository import GLib

from desktop import DesktopTestCase, wait_until
from iban import expected_iban

BUS_LAUNCHER = os.environ.get("BVIBAN_AT_SPI_BUS_LAUNCHER", "/usr/libexec/at-spi-bus-launcher")
DIALOG_TITLE = "Quorvel è COMODO ed è GRATIS: dillo a un Amico!"
BANNER = "Dillo a un AMICO. Fai scaricare Quorvel anche a lui: CLICCA QUI"

# Every control of the main window that a screen reader lists: role and name.
MAIN_WINDOW = [
    ("frame", "Quorvel by Brivanta"),
    ("menu bar", "Barra dei menu"),
    ("popup menu", "File"),
    ("menu item", "Converti un elenco…"),
    ("popup menu", "Strumenti"),
    ("menu item", "Verifica un IBAN…"),
    ("popup menu", "Aiuto"),
    ("menu item", "Informazioni su Brivanta IBAN…"),
    ("text", "ABI"),
    ("text", "CAB"),
    ("text", "Numero di conto corrente"),
    ("text", "Codice IBAN"),
    ("push button", "Calcola IBAN"),
    ("push button", "Svuota tutto"),
    ("push button", "Copia negli appunti di Windows"),
    ("label", "ABI"),
    ("label", "CAB"),
    ("label", "NR. CONTO CORRENTE"),
    ("label", "Codice IBAN"),
    ("label", "Solo le Banche possono rilasciare i codici IBAN, pertanto, l'utilizzo del "
              "presente software è da intendersi esclusivamente a scopo di controllo e/o "
              "didattico."),
    ("label", "Quorvel è gratuito: puoi copiarlo e regalarlo a chi vuoi."),
    ("filler", "Brivanta"),
    ("link", "http://www.brivanta.example"),
    ("label", "Via dei Mille, 42\r\n40121 Bologna (BO)"),
    ("filler", "Traguardo dei download"),
    ("label", "il 18 luglio 2008 «Quorvel» ha raggiunto quota 20.000 DOWNLOAD !"),
    ("link", BANNER),
    ("label", "Ombra dell'invito"),
    ("separator", "Linea di separazione"),
    ("filler", "Fascia nera"),
    ("filler", "Fondo"),
]

DIALOG = [
    ("dialog", DIALOG_TITLE),
    ("panel", "E-Mail del tuo AMICO"),
    ("label", "Indirizzo e-mail del tuo AMICO:"),
    ("text", "Indirizzo e-mail del tuo AMICO"),
    ("panel", "I TUOI DATI"),
    ("label", "Il tuo nome (ad es. PAOLO):"),
    ("text", "Il tuo nome"),
    ("label", "Il tuo indirizzo email:"),
    ("text", "Il tuo indirizzo email"),
    ("push button", "Invia messaggio"),
]

bus_launcher = None
bus_folder = None


def setUpModule():
    global bus_launcher, bus_folder
    if "DBUS_SESSION_BUS_ADDRESS" not in os.environ:
        raise unittest.SkipTest("run inside dbus-run-session")
    # The bus's socket goes to the runtime folder, or else to ~/.cache/at-spi, where another
    # suite running at the same time would take it over: a folder of the suite's own.
    bus_folder = tempfile.mkdtemp(prefix="bviban-at-spi-")
    environment = {key: value for key, value in os.environ.items() if key != "DISPLAY"}
    environment["XDG_RUNTIME_DIR"] = bus_folder
    bus_launcher = subprocess.Popen([BUS_LAUNCHER, "--launch-immediately"], env=environment,
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def tearDownModule():
    if bus_launcher is not None:
        bus_launcher.terminate()
        bus_launcher.wait(timeout=10)
    shutil.rmtree(bus_folder, ignore_errors=True)


def tree(accessible):
    """The accessible and everything below it."""
    yield accessible
    for child in accessible:
        if child is not None:
            yield from tree(child)


def find(accessible, role, name):
    return next((a for a in tree(accessible) if a.getRoleName() == role and a.name == name),
                None)


def closed_port():
    """A port of the loopback interface where nothing listens: connections are refused."""
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class AccessibilityTest(DesktopTestCase):
    # The invitation goes to a proxy that refuses it: no server is reachable.
    environment = {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
                   "http_proxy": f"http://127.0.0.1:{closed_port()}"}

    def setUp(self):
        super().setUp()
        self.application = wait_until(self.find_application, 20,
                                      "the program on the accessibility bus")
        self.window = wait_until(lambda: self.top_level("frame"), 10, "the main window")

    def find_application(self):
        for application in pyatspi.Registry.getDesktop(0):
            if application is not None and \
                    application.get_process_id() == self.desktop.program.pid:
                return application
        return None

    def top_level(self, role):
        return next((w for w in self.application if w is not None and w.getRoleName() == role),
                    None)

    def assert_named(self, window, expected):
        present = {(a.getRoleName(), a.name) for a in tree(window)}
        for role, name in expected:
            self.assertIn((role, name), present)
        # Nothing is left without a name, but the menus' separators.
        unnamed = [a.getRoleName() for a in tree(window)
                   if not a.name and a.getRoleName() != "separator"]
        self.assertEqual(unnamed, [])

    def events_during(self, act, seconds):
        """The program's accessibility events while `act` runs and for `seconds` after: type,
        detail, and the role and name of the source as they were when the event came."""
        events = []

        def record(event):
            if event.host_application is None or \
                    event.host_application.get_process_id() != self.desktop.program.pid:
                return
            try:
                events.append((event.type, event.detail1, event.source.getRoleName(),
                               event.source.name))
            except Exception:  # the source may be gone already
                events.append((event.type, event.detail1, None, None))

        def run():
            act()
            return GLib.SOURCE_REMOVE

        kinds = ("object:state-changed:showing", "object:property-change:accessible-name",
                 "window:activate")
        pyatspi.Registry.registerEventListener(record, *kinds)
        GLib.timeout_add(100, run)
        GLib.timeout_add(int(seconds * 1000), pyatspi.Registry.stop)
        pyatspi.Registry.start()
        pyatspi.Registry.deregisterEventListener(record, *kinds)
        return events

    @staticmethod
    def announced(events):
        """What notifications said as they appeared."""
        return [name for kind, shown, role, name in events
                if kind == "object:state-changed:showing" and shown and role == "notification"]

    def press(self, accessible):
        action = accessible.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        self.assertIn("Press", names)
        action.doAction(names.index("Press"))

    def test_names_and_roles(self):
        self.assert_named(self.window, MAIN_WINDOW)
        # The third link is the ticker, named by the headline it shows.
        links = [a for a in tree(self.window) if a.getRoleName() == "link"]
        self.assertEqual(len(links), 3)
        # The fields say what they want; the result field reads back as text.
        self.assertIn("5 cifre", find(self.window, "text", "ABI").description)
        # The key rule counts every character of the account, signs and spaces too.
        account = find(self.window, "text", "Numero di conto corrente").description
        self.assertIn("12 caratteri, segni e spazi compresi", account)
        self.assertTrue(find(self.window, "text", "Codice IBAN").getState().contains(
            pyatspi.STATE_READ_ONLY))

    def test_calculation_pressed_read_back_and_announced(self):
        self.type_codes("1234", "987", "ab-12 345")
        events = self.events_during(
            lambda: self.press(find(self.window, "push button", "Calcola IBAN")), 2)
        iban = expected_iban("1234", "987", "ab-12 345")
        text = find(self.window, "text", "Codice IBAN").queryText()
        wait_until(lambda: text.getText(0, -1) == iban, 5, "the IBAN in the accessible text")
        # Heard wherever the focus is, in groups of four.
        grouped = " ".join(iban[i:i + 4] for i in range(0, len(iban), 4))
        self.assertEqual(self.announced(events), ["Codice IBAN: " + grouped])

        # A missing field: the warning comes as an alert, which screen readers read as it opens.
        events = self.events_during(
            lambda: (self.press(find(self.window, "push button", "Svuota tutto")),
                     self.press(find(self.window, "push button", "Calcola IBAN"))), 2)
        self.assertIn(("window:activate", 0, "alert", "Quorvel"), events)
        alert = wait_until(lambda: self.top_level("alert"), 10, "the warning on the bus")
        self.assertIsNotNone(find(alert, "label", "Compilare ABI, CAB e Nr. del CONTO."))
        self.assertEqual(self.announced(events), [])
        self.desktop.key("Return")
        self.desktop.wait_until_gone("Quorvel")

    def test_verification_read_with_captions_and_verdict_announced(self):
        self.desktop.key("ctrl+r")
        window = wait_until(lambda: next((w for w in self.application if w is not None and
                                          w.name == "Verifica IBAN"), None), 10,
                            "the verification window on the bus")
        # Typed up to one character short: still in progress, and nothing announced.
        events = self.events_during(lambda: self.desktop.type("IT60 X054 2811 1010 0000 0123 46"),
                                    2)
        self.assertEqual(self.announced(events), [])
        self.assertIsNotNone(find(window, "label", "Esito: …"))
        self.assertIsNotNone(find(window, "label", "Motivo: Manca ancora 1 carattere."))

        events = self.events_during(lambda: self.desktop.type("5"), 2)
        [verdict] = self.announced(events)
        self.assertTrue(verdict.startswith("Non valido: "), verdict)
        self.assertIn(("object:property-change:accessible-name", 0, "label",
                       "Esito: Non valido"), events)
        for role, name in (("label", "Esito: Non valido"),
                           ("label", "Motivo: " + verdict[len("Non valido: "):]),
                           ("label", "Paese: IT"),
                           ("label", "Cifre di controllo: 60"),
                           ("label", "CIN: X"),
                           ("label", "ABI: 05428"),
                           ("label", "CAB: 11101"),
                           ("label", "Conto: 000000123465"),
                           ("label", "Forma elettronica: IT60X0542811101000000123465"),
                           ("label", "Forma cartacea: IT60 X054 2811 1010 0000 0123 465"),
                           ("label", "Forma per campi: IT 60 X 05428 11101 000000123465"),
                           ("push button", "Usa il suggerimento IT60 X054 2811 1010 0000 0123 456")):
            with self.subTest(name):
                self.assertIsNotNone(find(window, role, name))
        # Copia says why it is disabled.
        copy = find(window, "push button", "Copia la forma elettronica")
        self.assertFalse(copy.getState().contains(pyatspi.STATE_ENABLED))
        self.assertIn("non è valido", copy.description)
        self.desktop.key("Escape")
        self.desktop.wait_until_gone("Verifica IBAN")

    def test_banner_opens_the_tell_a_friend_dialog(self):
        self.press(find(self.window, "link", BANNER))
        dialog = wait_until(lambda: self.top_level("dialog"), 10, "the dialog on the bus")
        self.assert_named(dialog, DIALOG)
        self.desktop.screen.request_close(int(self.desktop.wait_for_window(DIALOG_TITLE).id))
        self.desktop.wait_until_gone(DIALOG_TITLE)

    def test_unsent_invitation_says_why(self):
        self.press(find(self.window, "link", BANNER))
        dialog = wait_until(lambda: self.top_level("dialog"), 10, "the dialog on the bus")
        self.desktop.wait_until_active(self.desktop.wait_for_window(DIALOG_TITLE))
        self.desktop.type("amico@example.org")
        self.press(find(dialog, "push button", "Invia messaggio"))
        alert = wait_until(lambda: self.top_level("alert"), 30, "the warning on the bus")
        reason = next(a.name for a in tree(alert) if a.getRoleName() == "label" and a.name)
        self.assertEqual(reason, "Il messaggio NON è stato inviato: nessuna connessione con il "
                                 "sito di Brivanta. Controlla la connessione a Internet e riprova.")
        self.desktop.key("Return")
        self.desktop.wait_until_gone("Brivanta IBAN")
        self.desktop.screen.request_close(int(self.desktop.wait_for_window(DIALOG_TITLE).id))
        self.desktop.wait_until_gone(DIALOG_TITLE)

    def test_ticker_and_blink_raise_no_event_per_step(self):
        events = []

        def record(event):
            if event.host_application is not None and \
                    event.host_application.get_process_id() == self.desktop.program.pid:
                events.append(event.type)

        # Three blinks and some hundred steps of the ticker; a key typed at the start shows
        # that the listener hears the program.
        def type_a_digit():
            self.desktop.type("1")
            return GLib.SOURCE_REMOVE

        pyatspi.Registry.registerEventListener(record, "object", "window")
        GLib.timeout_add(100, type_a_digit)
        GLib.timeout_add(2600, pyatspi.Registry.stop)
        pyatspi.Registry.start()
        pyatspi.Registry.deregisterEventListener(record, "object", "window")

        self.assertIn("object:text-changed:insert", events)
        per_step = [e for e in events if e.startswith(("object:state-changed:showing",
                                                      "object:state-changed:visible",
                                                      "object:bounds-changed"))]
        self.assertEqual(per_step, [])
        # A new headline renames the ticker: once every few seconds at most.
        self.assertLessEqual(events.count("object:property-change:accessible-name"), 2)


if __name__ == "__main__":
    unittest.main()
