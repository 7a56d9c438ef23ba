"""The calculator as a person uses it: the first frame, a calculation typed with Enter, the
copy to the clipboard read by another program, the empty-field warning, refused pastes."""

import os
import shlex
import shutil
import tempfile
import unittest

import colours
import design
from desktop import DesktopTestCase, wait_until
from iban import expected_iban, is_valid_iban

WARNING_TITLE = "Quorvel"
# More dark pixels than a text caret can have: the caret is at most one field high.
CARET_INK = 25

# Published and real-looking Italian coordinates; the accounts are typed as people copy them
# from statements: short, in lower case, with letters and separators.
CALCULATIONS = [
    ("05428", "11101", "123456", "Return"),
    ("1234", "987", "ab-12 345", "space"),
    ("12345", "67890", "87", "Return"),
    ("12345", "67890", "102", "space"),
    ("03069", "09606", "cc/100.012x", "Return"),
    ("07601", "03200", "001012345678", "space"),
    ("2008", "1600", "Rag. 4-B", "Return"),
    ("1", "1", "x", "space"),
]


class MainWindowTest(DesktopTestCase):
    def click(self, rect, button=1):
        self.main.click(*design.centre(rect), button=button)

    def assert_field_colour(self, image, rect, expected, name):
        x, y, width, height = design.rect_px(rect)
        # The right half of a field: clear of its caret and of short texts.
        pixel = image.pixel(x + width - 6, y + height // 2)
        self.assertTrue(colours.near(pixel, expected), f"{name} shows {pixel}, not {expected}")

    def text_pixels(self, rect):
        return colours.count(self.main.grab(*design.inside(rect)), colours.is_dark)

    def copied(self, expected):
        self.click(design.COPY_IBAN)
        return wait_until(lambda: self.desktop.clipboard() == expected, 10,
                          f"{expected!r} on the clipboard")

    def highlighted(self):
        """The bank fields in yellow, when the others are white; None for any other mix."""
        frame = self.main.grab()
        fields = (("txtABI", design.TXT_ABI), ("txtCAB", design.TXT_CAB),
                  ("txtCC", design.TXT_CC))
        yellow = []
        for name, rect in fields:
            # Most of the field, whatever text it shows: the text is thin ink on the back colour.
            x, y, width, height = design.inside(rect)
            pixels = [frame.pixel(x + i, y + j) for i in range(width) for j in range(height)]
            if sum(colours.near(p, colours.YELLOW) for p in pixels) > len(pixels) // 2:
                yellow.append(name)
            elif sum(colours.near(p, colours.WHITE) for p in pixels) <= len(pixels) // 2:
                return None
        return yellow

    def close_warning(self, focused):
        """Closes the warning with Enter. The window manager activates the main window again,
        and the first empty field, which takes the focus, shows the highlight."""
        self.desktop.wait_for_window(WARNING_TITLE)
        self.desktop.key("Return")
        self.desktop.wait_until_gone(WARNING_TITLE)
        self.desktop.wait_until_active(self.main)
        wait_until(lambda: self.highlighted() == [focused], 5, f"{focused} alone in yellow "
                   f"(yellow now: {self.highlighted()})")

    def test_first_frame(self):
        self.assertEqual(self.main.title(), "Quorvel by Brivanta")
        # The menu bar spans the window's width above the designed area, which alone holds
        # the controls at the design's positions (all the checks below are relative to it).
        _, _, width, height = self.main.geometry()
        menu_height = self.main.origin[1]
        self.assertEqual(width, design.CLIENT_PX[0])
        self.assertTrue(15 <= menu_height <= 40, f"a menu bar {menu_height} pixels high")
        self.assertEqual(self.main.area()[2:], design.CLIENT_PX)
        titles = self.main.grab(0, -menu_height, width, menu_height)
        self.assertGreater(colours.count(titles, colours.is_dark), 40)
        frame = self.main.grab()
        self.assert_field_colour(frame, design.TXT_ABI, colours.YELLOW, "txtABI")
        self.assert_field_colour(frame, design.TXT_CAB, colours.WHITE, "txtCAB")
        self.assert_field_colour(frame, design.TXT_CC, colours.WHITE, "txtCC")
        self.assert_field_colour(frame, design.TXT_IBAN, colours.PEACH, "txtIBAN")
        # The black band at its left and right edges, beside the ticker's centred text.
        _, band_top, _, _ = design.rect_px(design.SHAPE1)
        record_top = design.rect_px(design.RECORD)[1]
        for x in (3, design.CLIENT_PX[0] - 4):
            for y in (band_top + 3, record_top - 3):
                self.assertEqual(frame.pixel(x, y), colours.BLACK, f"band at {x}, {y}")
        # The white boxes: the vendor box right of its texts, the banner box right of the banner.
        logo_x, logo_y, logo_w, logo_h = design.rect_px(design.BV_LOGO)
        self.assertEqual(frame.pixel(logo_x + logo_w - 6, logo_y + logo_h - 6), colours.WHITE)
        self.assertEqual(frame.pixel(design.CLIENT_PX[0] - 8, record_top + 5), colours.WHITE)
        disclaimer = self.main.grab(*design.rect_px(design.LABEL5))
        self.assertGreater(colours.count(disclaimer, colours.is_red), 300)
        # The focus is in txtABI: typed digits land there, and only there. An empty field may
        # show the blinking caret, a thin line far lighter in ink than five digits.
        for rect in (design.TXT_ABI, design.TXT_CAB, design.TXT_CC, design.TXT_IBAN):
            self.assertLess(self.text_pixels(rect), CARET_INK)
        self.desktop.type("12345")
        wait_until(lambda: self.text_pixels(design.TXT_ABI) > 4 * CARET_INK, 5,
                   "the digits in txtABI")
        for rect in (design.TXT_CAB, design.TXT_CC, design.TXT_IBAN):
            self.assertLess(self.text_pixels(rect), CARET_INK)

    def face_share(self, rect, colour):
        """The share of a button's face, inside its edges and outside its caption, that shows
        the colour exactly (within 3 per channel)."""
        image = self.main.grab(*design.inside(rect, margin=3))
        left, top, right, bottom = colours.ink_box(image, colours.is_dark)
        face = [p for x, y, p in image.pixels()
                if not (left - 2 <= x <= right + 2 and top - 2 <= y <= bottom + 2)]
        return sum(colours.near(p, colour, 3) for p in face) / len(face)

    def left_edge(self, rect):
        """The brightness of the button's left edge: the brightest of its three outer columns.
        A raised edge has a white line there, a sunken one only shadows."""
        x, y, _, height = design.rect_px(rect)
        image = self.main.grab(x, y + height // 2, 3, 1)
        return max(sum(image.pixel(i, 0)) / 3 for i in range(3))

    def test_graphical_buttons_show_their_back_colour(self):
        buttons = (("CalcolaIBAN", design.CALCOLA_IBAN, colours.LIGHT_GREEN),
                   ("SvuotaCampi", design.SVUOTA_CAMPI, colours.SALMON))
        for name, rect, colour in buttons:
            self.assertGreaterEqual(self.face_share(rect, colour), 0.8, f"{name}, first frame")
        for name, rect, colour in buttons:
            with self.subTest(button=name):
                self.main.mouse_move(*design.centre(rect))
                # Under the mouse: the face is not tinted, and the raised edge is light.
                wait_until(lambda: self.face_share(rect, colour) >= 0.8, 2, f"{name}'s face")
                self.assertGreater(self.left_edge(rect), 200)
                # Held down: the edge sinks into shadow and the face keeps its colour.
                self.desktop.xdotool("mousedown", "1")
                wait_until(lambda: self.left_edge(rect) < 200, 2, f"{name} to show pressed")
                self.assertGreaterEqual(self.face_share(rect, colour), 0.8, f"{name}, pressed")
                # Released away from the button: no click.
                self.main.mouse_move(2, 2)
                self.desktop.xdotool("mouseup", "1")
        self.assertIsNone(self.desktop.find_window(WARNING_TITLE))

    def test_calculations_typed_with_enter_and_copied(self):
        self.assertEqual(expected_iban("05428", "11101", "123456"), "IT60X0542811101000000123456")
        self.assertEqual(expected_iban("1234", "987", "ab-12 345"), "IT65D012340098700000AB12345")
        for abi, cab, account, press in CALCULATIONS:
            with self.subTest(abi=abi, cab=cab, account=account, press=press):
                expected = expected_iban(abi, cab, account)
                self.assertTrue(is_valid_iban(expected))
                self.click(design.SVUOTA_CAMPI)
                self.click(design.TXT_ABI)
                self.calculate(abi, cab, account, press)
                self.copied(expected)
                # Copying twice gives the same text.
                self.copied(expected)

    def test_empty_fields_warn_and_focus_the_first_empty_one(self):
        self.click(design.CALCOLA_IBAN)
        self.close_warning("txtABI")
        # The focus is back in txtABI: the whole calculation can be typed from there.
        self.calculate("12345", "67890", "87", "space")
        self.copied("IT98F1234567890000000000087")

        self.click(design.SVUOTA_CAMPI)
        self.click(design.TXT_ABI)
        self.calculate("12345", "67890", "", "space")
        self.close_warning("txtCC")
        # Only the account was missing: the focus is in txtCC.
        self.desktop.type("102")
        self.desktop.key("Return", "space")
        self.copied("IT97J1234567890000000000102")

    def test_pasted_over_wide_account_is_refused(self):
        # Thirteen letters, also after more signs than a line edit holds by default: cut there,
        # the account would be signs only and give an IBAN.
        for pasted in ("ABCDEFGHIJKLM", "-" * 40000 + "ABCDEFGHIJKLM"):
            with self.subTest(length=len(pasted)):
                self.click(design.SVUOTA_CAMPI)
                self.click(design.TXT_ABI)
                self.desktop.set_clipboard(pasted)
                self.desktop.type("12345")
                self.desktop.key("Return")
                self.desktop.type("67890")
                self.desktop.key("Return", "ctrl+v")
                wait_until(lambda: self.text_pixels(design.TXT_CC) > 8 * CARET_INK, 5,
                           "the pasted account")
                self.click(design.CALCOLA_IBAN)
                self.close_warning("txtCC")
                # Nothing was computed: the copy empties the clipboard.
                self.copied("")

    def test_ctrl_v_is_refused_in_the_bank_codes(self):
        self.desktop.set_clipboard("99999")
        self.desktop.key("ctrl+v")
        self.desktop.type("12345")
        self.desktop.key("Return", "ctrl+v")
        self.desktop.type("67890")
        self.desktop.key("Return")
        self.desktop.type("87")
        self.desktop.key("Return", "space")
        self.copied("IT98F1234567890000000000087")

    def test_pasted_letters_in_abi_are_refused(self):
        self.desktop.set_clipboard(" 12a45 ")
        # The context menu's "Incolla" (Paste, in Qt's Italian) brings text that no key rule sees.
        self.click(design.TXT_ABI, button=3)
        self.desktop.key("i")
        wait_until(lambda: self.text_pixels(design.TXT_ABI) > 2 * CARET_INK, 5,
                   "the pasted text in txtABI")
        self.desktop.key("Return")
        self.desktop.type("67890")
        self.desktop.key("Return")
        self.desktop.type("87")
        self.desktop.key("Return", "space")
        self.close_warning("txtABI")
        self.copied("")


class MenuBarTest(DesktopTestCase):
    """The menu bar from the keyboard alone: Alt and an access key open a menu, a letter or the
    arrows and Enter choose an entry. The desktop's opener only notes what it is given."""

    exited = False

    def setUp(self):
        folder = tempfile.mkdtemp(prefix="bviban-opener-")
        self.addCleanup(shutil.rmtree, folder, ignore_errors=True)
        self.opened = os.path.join(folder, "opened")
        scripts = {
            "xdg-open": f'printf "%s\\n" "$@" >> {shlex.quote(self.opened)}',
            # Every type has a program, as on a desktop with a browser.
            "xdg-mime": "echo navigatore.desktop",
        }
        for name, line in scripts.items():
            with open(os.path.join(folder, name), "w", encoding="utf-8") as f:
                f.write(f"#!/bin/sh\n{line}\n")
            os.chmod(os.path.join(folder, name), 0o755)
        self.environment = {"PATH": folder + os.pathsep + os.environ["PATH"]}
        super().setUp()

    def iban_ink(self):
        return colours.count(self.main.grab(*design.inside(design.TXT_IBAN)), colours.is_blue)

    def test_tools_and_calculator_from_the_menus(self):
        expected = expected_iban("1234", "987", "ab-12 345")
        self.type_codes("1234", "987", "ab-12 345")
        self.desktop.key("alt+s", "c")
        wait_until(lambda: self.iban_ink() > 50, 5, "the IBAN")
        # "Copia IBAN" has no access key of its own: two steps down from the first entry.
        self.desktop.key("alt+s", "Down", "Down", "Return")
        wait_until(lambda: self.desktop.clipboard() == expected, 10, f"{expected} copied")
        self.desktop.key("alt+s", "Return")
        verify = self.desktop.wait_for_window("Verifica IBAN")
        self.desktop.key("Escape")
        self.desktop.wait_until_gone("Verifica IBAN")
        self.desktop.wait_until_active(self.main)
        # "Svuota tutto" shares its access key with "Verifica un IBAN…": V moves on to it.
        self.desktop.key("alt+s", "v", "Return")
        wait_until(lambda: self.iban_ink() == 0, 5, "the IBAN field to empty")
        self.assertFalse(verify.exists())

        self.desktop.key("alt+f", "c")
        self.desktop.wait_for_window("Converti un elenco")
        self.desktop.key("Escape")
        self.desktop.wait_until_gone("Converti un elenco")
        self.desktop.wait_until_active(self.main)

    def test_help_and_about(self):
        self.desktop.key("F1")
        wait_until(lambda: os.path.exists(self.opened), 10, "the help page handed to the opener")
        with open(self.opened, encoding="utf-8") as f:
            page = f.read().strip()
        self.assertTrue(page.endswith(os.path.join("help", "guida.html")), page)
        with open(page, encoding="utf-8") as f:
            self.assertIn("<h2 id=\"elenchi\">Convertire un elenco</h2>", f.read())

        self.desktop.key("alt+question", "i")
        about = self.desktop.wait_for_window("Informazioni su Brivanta IBAN")
        self.desktop.wait_until_active(about)
        self.desktop.key("alt+l")
        licences = self.desktop.wait_for_window("Licenze")
        self.desktop.wait_until_active(licences)
        self.desktop.key("Escape")
        self.desktop.wait_until_gone("Licenze")
        self.desktop.key("Escape")
        self.desktop.wait_until_gone("Informazioni su Brivanta IBAN")
        self.desktop.wait_until_active(self.main)

    def test_exit_from_the_file_menu(self):
        self.desktop.key("alt+f", "e")
        self.assertEqual(self.desktop.program.wait(timeout=30), 0, self.desktop.output())
        self.exited = True

    def tearDown(self):
        if not self.exited:
            super().tearDown()


if __name__ == "__main__":
    unittest.main()
