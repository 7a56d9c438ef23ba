"""Telling a friend, end to end: the banner opens the dialog, the user types the three fields,
Alt+I sends the invitation through the program's hidden browser to an HTTP server of the
suite's own (reached as the proxy named by http_proxy), and the thank-you box appears once the
server has answered; when it refuses, or cannot be reached, a warning says why and the dialog
keeps what was typed."""

import unittest

import colours
import design
from desktop import DesktopTestCase, wait_until
from invitation_server import InvitationServer

DIALOG_TITLE = "Quorvel è COMODO ed è GRATIS: dillo a un Amico!"
BOX_TITLE = "Brivanta IBAN"
REQUEST_PREFIX = "GET http://www.brivanta.example/quorvel_sendmail.asp?"


class InvitationTestCase(DesktopTestCase):
    """The program with the suite's server as its proxy, and the steps of an invitation; the
    scenarios follow."""

    def setUp(self):
        self.server = InvitationServer()
        self.environment = {"http_proxy": self.server.proxy}
        try:
            super().setUp()
        except BaseException:
            self.server.close()
            raise

    def tearDown(self):
        try:
            super().tearDown()
        finally:
            self.server.close()

    def open_dialog(self):
        self.main.click(*design.centre(design.DILLO_AD_AMICO, design.record_origin()))
        dialog = self.desktop.wait_for_window(DIALOG_TITLE)
        wait_until(lambda: self.field_colour(dialog, design.EMAIL_TO, design.FRAME1)
                   == colours.YELLOW, 5, "the friend's address field in yellow")
        return dialog

    @staticmethod
    def field_box(field, frame):
        return design.inside(field, design.rect_px(frame)[:2])

    def field_colour(self, dialog, field, frame):
        x, y, width, height = self.field_box(field, frame)
        return dialog.pixel(x + width - 3, y + height // 2)

    def ink(self, dialog, field, frame, predicate):
        return colours.count(dialog.grab(*self.field_box(field, frame)), predicate)

    def submit_and_thank(self, dialog, requests):
        self.desktop.key("alt+i")
        self.desktop.wait_for_window(BOX_TITLE)
        self.assertFalse(dialog.exists(), "the dialog hides before the thanks")
        wait_until(lambda: len(self.server.request_lines) == requests, 20,
                   "the invitation request at the server")
        # The browser ran hidden: the only windows are the main window and the thanks.
        titles = {self.desktop.xdotool("getwindowname", w).strip()
                  for w in self.desktop.visible_windows(".+")}
        self.assertEqual(titles, {"Quorvel by Brivanta", BOX_TITLE})
        self.desktop.key("Return")
        self.desktop.wait_until_gone(BOX_TITLE)
        self.assertIsNone(self.desktop.find_window(DIALOG_TITLE))
        return self.server.request_lines[-1]


class TellAFriendTest(InvitationTestCase):
    def test_invitation_reaches_the_server(self):
        dialog = self.open_dialog()
        main_x, main_y, main_width, main_height = self.main.geometry()
        x, y, width, height = dialog.geometry()
        self.assertEqual((width, height), tuple(design.px(v) for v in design.FRIEND_CLIENT))
        # Centred over the main window; Qt centres the dialog with its frame, so the client
        # area sits up to a title bar (20 pixels under openbox) higher.
        self.assertLessEqual(abs((x + width / 2) - (main_x + main_width / 2)), 10)
        self.assertLessEqual(abs((y + height / 2) - (main_y + main_height / 2)), 25)
        for field, frame in ((design.NOME_FROM, design.FRAME2),
                             (design.EMAIL_FROM, design.FRAME2)):
            self.assertEqual(self.field_colour(dialog, field, frame), colours.WHITE)

        # A malformed address is refused with everything kept, and the focus back in the field.
        self.desktop.type("amico.caro@example")
        wait_until(lambda: self.ink(dialog, design.EMAIL_TO, design.FRAME1, colours.is_red)
                   > 50, 5, "the friend's address in red")
        self.desktop.key("alt+i")
        self.desktop.wait_for_window(BOX_TITLE)
        self.desktop.key("Return")
        self.desktop.wait_until_gone(BOX_TITLE)
        self.assertTrue(dialog.exists())
        wait_until(lambda: self.field_colour(dialog, design.EMAIL_TO, design.FRAME1)
                   == colours.YELLOW, 5, "the friend's address field in yellow again")
        self.desktop.key("End")
        self.desktop.type(".org")

        self.desktop.key("Tab")
        wait_until(lambda: self.field_colour(dialog, design.NOME_FROM, design.FRAME2)
                   == colours.YELLOW, 5, "the name field in yellow")
        self.assertEqual(self.field_colour(dialog, design.EMAIL_TO, design.FRAME1), colours.WHITE)
        # Pasted: xdotool types a letter outside the keyboard map by remapping a key for a
        # moment, and a busy program may see the key after the map is restored.
        self.desktop.set_clipboard("Niccolò & Figli = #1+")
        self.desktop.key("ctrl+v")
        self.desktop.key("Tab")
        wait_until(lambda: self.field_colour(dialog, design.EMAIL_FROM, design.FRAME2)
                   == colours.YELLOW, 5, "the own address field in yellow")
        self.desktop.type(" io+test@example.it ")
        self.assertEqual(self.server.request_lines, [])

        request = self.submit_and_thank(dialog, 1)
        self.assertEqual(
            request,
            REQUEST_PREFIX + "MAIL_DEST=amico.caro%40example.org&MAIL_MIT=io%2Btest%40example.it"
            "&NomeAmico=Niccol%C3%B2%20%26%20Figli%20%3D%20%231%2B HTTP/1.1")

        # Opened again, the dialog starts empty; empty own name and address are sent empty.
        dialog = self.open_dialog()
        self.assertEqual(self.ink(dialog, design.EMAIL_TO, design.FRAME1, colours.is_red), 0)
        for field in (design.NOME_FROM, design.EMAIL_FROM):
            self.assertEqual(self.ink(dialog, field, design.FRAME2, colours.is_dark), 0)
        self.desktop.type("@x.it1")
        request = self.submit_and_thank(dialog, 2)
        self.assertEqual(request,
                         REQUEST_PREFIX + "MAIL_DEST=%40x.it1&MAIL_MIT=&NomeAmico= HTTP/1.1")

    def copied_from(self, dialog, field, frame):
        """The whole text of a field, as the user copies it with Ctrl+A and Ctrl+C."""
        self.desktop.set_clipboard("-")
        dialog.click(*design.centre(field, design.rect_px(frame)[:2]))
        self.desktop.key("ctrl+a", "ctrl+c")
        return wait_until(lambda: self.desktop.clipboard() != "-" and self.desktop.clipboard(),
                          10, "the field's text on the clipboard")

    def test_long_value_arrives_whole(self):
        dialog = self.open_dialog()
        address = "x@y.zz" + "a" * 99994
        self.desktop.set_clipboard(address)
        self.desktop.key("ctrl+v")
        request = self.submit_and_thank(dialog, 1)
        expected = (REQUEST_PREFIX + "MAIL_DEST=x%40y.zz" + "a" * 99994 +
                    "&MAIL_MIT=&NomeAmico= HTTP/1.1")
        self.assertTrue(request == expected,
                        f"the request line has {len(request)} characters, not {len(expected)}")

    def test_value_too_long_for_the_browser_is_kept_unsent(self):
        dialog = self.open_dialog()
        self.desktop.type("amico@example.org")
        self.desktop.key("Tab")
        # The request would exceed the 128 KiB that Linux passes in one argument of a program.
        name = "N" * 140000
        self.desktop.set_clipboard(name)
        self.desktop.key("ctrl+v", "alt+i")
        self.desktop.wait_for_window(BOX_TITLE)
        # The warning, not the thanks: the dialog stays behind it.
        self.assertTrue(dialog.exists())
        self.desktop.key("Return")
        self.desktop.wait_until_gone(BOX_TITLE)
        self.desktop.wait_until_active(dialog)
        self.assertEqual(self.copied_from(dialog, design.NOME_FROM, design.FRAME2), name)
        self.assertEqual(self.copied_from(dialog, design.EMAIL_TO, design.FRAME1),
                         "amico@example.org")
        self.assertEqual(self.server.request_lines, [])
        self.desktop.screen.request_close(int(dialog.id))
        self.desktop.wait_until_gone(DIALOG_TITLE)

    def test_unsent_invitation_keeps_everything(self):
        """The server refuses, then cannot be reached: each time a warning comes instead of the
        thanks (the accessibility suite reads its reason), and the dialog keeps the address."""
        dialog = self.open_dialog()
        self.desktop.type("amico@example.org")
        for case in ("the server refuses", "the host is unreachable"):
            with self.subTest(case):
                if case == "the server refuses":
                    self.server.status = 503
                else:
                    self.server.close()
                self.desktop.key("alt+i")
                self.desktop.wait_for_window(BOX_TITLE)
                self.assertTrue(dialog.exists(), "the dialog stays behind the warning")
                # The refused request reached the server; none reaches it once it is gone.
                self.assertEqual(len(self.server.request_lines), 1)
                self.desktop.key("Return")
                self.desktop.wait_until_gone(BOX_TITLE)
                self.desktop.wait_until_active(dialog)
                self.assertEqual(self.copied_from(dialog, design.EMAIL_TO, design.FRAME1),
                                 "amico@example.org")
        self.desktop.screen.request_close(int(dialog.id))
        self.desktop.wait_until_gone(DIALOG_TITLE)

    def test_empty_address_is_refused_and_nothing_sent(self):
        dialog = self.open_dialog()
        self.desktop.type("   ")
        self.desktop.key("alt+i")
        self.desktop.wait_for_window(BOX_TITLE)
        self.desktop.key("Return")
        self.desktop.wait_until_gone(BOX_TITLE)
        self.assertTrue(dialog.exists())
        # Enter in a field does not submit: the button is not the dialog's default. The letter
        # typed after it shows when the Enter has been handled.
        self.desktop.key("Return")
        self.desktop.type("x")
        wait_until(lambda: self.ink(dialog, design.EMAIL_TO, design.FRAME1, colours.is_red) > 5,
                   5, "the letter typed after Enter")
        self.assertIsNone(self.desktop.find_window(BOX_TITLE))
        self.assertTrue(dialog.exists())
        # The close box closes the dialog and sends nothing.
        self.desktop.screen.request_close(int(dialog.id))
        self.desktop.wait_until_gone(DIALOG_TITLE)
        self.assertEqual(self.server.request_lines, [])


if __name__ == "__main__":
    unittest.main()
