"""Checking an IBAN in its own window, end to end: a calculated IBAN, the IBAN field's context
menu, the "Verifica IBAN" window opened from it with that IBAN, valid in green; a mistyped IBAN
in red with its correction offered as a button; "Copia" read back by another program; Escape,
the one window again from the menu, and the calculator still at work beside it."""

import unittest

import design
from colours import count, is_blue, is_green, is_red
from desktop import DesktopTestCase, Window, wait_until

WINDOW_TITLE = "Verifica IBAN"
# Qt names its popup menus after the application, in _NET_WM_NAME only, which `xdotool search
# --name` does not read: the menu is found among all visible windows by the name they show.
MENU_TITLE = "BVIBAN"
CALCULATED = "IT60X0542811101000000123456"


class VerifyWindowTest(DesktopTestCase):
    def count(self, window, predicate):
        return count(window.grab(), predicate)

    def menu(self):
        for window_id in self.desktop.visible_windows(".*"):
            window = Window(self.desktop, window_id)
            if window.title() == MENU_TITLE:
                return window
        return None

    def open_from_menu(self):
        self.main.click(*design.centre(design.TXT_IBAN), button=3)
        wait_until(self.menu, 10, "the context menu")
        # "Verifica un IBAN…" comes after Qt's own entries, followed by "Converti un elenco…".
        self.desktop.key("Up", "Up", "Return")
        wait_until(lambda: self.menu() is None, 10, "the menu to close")
        window = self.desktop.wait_for_window(WINDOW_TITLE)
        self.desktop.wait_until_active(window)
        return window

    def test_open_check_correct_copy_close(self):
        self.calculate("5428", "11101", "123456", "space")

        window = self.open_from_menu()
        # The calculated IBAN is in the field, and valid: the verdict is green.
        wait_until(lambda: self.count(window, is_green) > 30, 10, "the green verdict")
        self.assertEqual(self.count(window, is_red), 0)

        # A mistyped IBAN, as pasted from a letter: red, with one correction offered.
        self.desktop.key("ctrl+a")
        self.desktop.type("iban: it60 x054 2811 1010 0000 0123 465")
        wait_until(lambda: self.count(window, is_red) > 30, 10, "the red verdict")
        self.assertEqual(self.count(window, is_green), 0)
        # The first suggestion follows the field: Tab, then Enter puts it in the field.
        self.desktop.key("Tab", "Return")
        wait_until(lambda: self.count(window, is_green) > 30, 10, "green again")

        # Copia, reached from the field once no suggestion is left.
        self.desktop.key("shift+Tab")
        self.desktop.key("ctrl+a")
        self.desktop.type("it60x0542811101000000123456")
        wait_until(lambda: self.count(window, is_green) > 30, 10, "the typed IBAN in green")
        self.desktop.key("Tab", "space")
        wait_until(lambda: self.desktop.clipboard() == CALCULATED, 10, "the copied IBAN")

        self.desktop.key("Escape")
        self.desktop.wait_until_gone(WINDOW_TITLE)
        self.desktop.wait_until_active(self.main)

        # The menu opens the one window again, once more with the calculator's IBAN.
        again = self.open_from_menu()
        self.assertEqual(self.desktop.visible_windows(WINDOW_TITLE), [again.id])
        wait_until(lambda: self.count(again, is_green) > 30, 10, "the green verdict again")

        # Modeless: with the window open, "Svuota tutto" empties the calculator's IBAN field.
        # The screen has no room beside the calculator: the window is moved off its fields, as
        # a user would drag it.
        _, _, _, height = again.geometry()
        screen_height = int(self.desktop.xdotool("getdisplaygeometry").split()[1])
        self.desktop.xdotool("windowmove", "--sync", again.id, "0", str(screen_height - height))
        iban_ink = lambda: count(self.main.grab(*design.inside(design.TXT_IBAN)), is_blue)
        # What the window covered is repainted after the move.
        wait_until(lambda: iban_ink() > 50, 10, "the calculator's IBAN in view")
        self.main.click(*design.centre(design.SVUOTA_CAMPI))
        wait_until(lambda: iban_ink() == 0, 10, "the calculator's IBAN field to empty")
        self.assertTrue(again.exists())


if __name__ == "__main__":
    unittest.main()
