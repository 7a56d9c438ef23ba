"""The promotion panel as it looks over time: the ticker climbing and changing colour, the
banner blinking, and both clickable texts growing under the mouse."""

import unittest

import colours
import design
from desktop import DesktopTestCase, wait_until



def is_banner_ink(p):
    return colours.is_red(p) or colours.is_blue(p)


def underlined(image, box, predicate):
    """True when some row of the text's box is inked over most of the box's width."""
    left, top, right, bottom = box
    for y in range(top, bottom + 1):
        inked = sum(1 for x in range(left, right + 1) if predicate(image.pixel(x, y)))
        if inked >= 0.8 * (right - left + 1):
            return True
    return False


class PromotionTest(DesktopTestCase):
    def band(self):
        """The visible strip of the black band, between the notice above and the banner box."""
        top = design.px(design.LABEL6_BOTTOM)
        bottom = design.rect_px(design.RECORD)[1]
        return self.main.grab(0, top, design.CLIENT_PX[0], bottom - top)

    def banner(self):
        """The banner label and its shadow, with a few pixels around them."""
        x, y, width, height = design.rect_px(design.DILLO_AD_AMICO, design.record_origin())
        bottom = min(y + height + 4, design.CLIENT_PX[1])
        return self.main.grab(x - 4, y - 4, width + 8, bottom - (y - 4))

    def link(self):
        x, y, width, height = design.rect_px(design.BV_URL, design.bv_logo_origin())
        return self.main.grab(x, y, width, height)

    def test_ticker_climbs_and_changes_colour(self):
        seen = {"yellow": False, "cyan": False}
        tops = set()

        def both_colours_and_movement():
            strip = self.band()
            if colours.count(strip, colours.is_yellowish) > 50:
                seen["yellow"] = True
            if colours.count(strip, colours.is_cyanish) > 50:
                seen["cyan"] = True
            box = colours.ink_box(strip, lambda p: colours.is_yellowish(p) or colours.is_cyanish(p))
            if box is not None:
                tops.add(box[1])
            return seen["yellow"] and seen["cyan"] and len(tops) >= 3

        wait_until(both_colours_and_movement, 20,
                   f"the ticker in yellow and cyan at several heights ({seen}, tops {tops})",
                   interval=0)

    def test_banner_blinks(self):
        seen = set()

        def both_states():
            image = self.banner()
            red = colours.count(image, colours.is_red)
            blue = colours.count(image, colours.is_blue)
            shadow = colours.count(image, lambda p: colours.near(p, colours.GREY, 30))
            if red > 100 and blue == 0 and shadow > 50:
                seen.add("red with shadow")
            if blue > 100 and red == 0 and shadow < 10:
                seen.add("blue without shadow")
            return len(seen) == 2

        wait_until(both_states, 10, f"the banner's two states (seen: {seen})", interval=0.02)

    def test_banner_grows_under_the_mouse(self):
        resting = colours.ink_box(self.banner(), is_banner_ink)
        self.assertIsNotNone(resting)
        self.assertFalse(underlined(self.banner(), resting, is_banner_ink))
        self.main.mouse_move(*design.centre(design.DILLO_AD_AMICO, design.record_origin()))

        def enlarged():
            image = self.banner()
            box = colours.ink_box(image, is_banner_ink)
            return (box is not None and box[2] - box[0] > resting[2] - resting[0] + 10 and
                    underlined(image, box, is_banner_ink))

        wait_until(enlarged, 5, "the banner to grow and be underlined")
        # Over the white box around it, the banner rests again.
        record_x, record_y = design.record_origin()
        self.main.mouse_move(design.CLIENT_PX[0] - 12, record_y + 4)
        wait_until(lambda: colours.ink_box(self.banner(), is_banner_ink) == resting, 5,
                   "the banner to rest again")

    def test_link_grows_under_the_mouse(self):
        at_start = colours.ink_box(self.link(), colours.is_blue)
        self.assertIsNotNone(at_start)
        self.main.mouse_move(*design.centre(design.BV_URL, design.bv_logo_origin()))

        def enlarged():
            image = self.link()
            box = colours.ink_box(image, colours.is_blue)
            return (box is not None and box[2] - box[0] > at_start[2] - at_start[0] + 8 and
                    underlined(image, box, colours.is_blue) and box)

        hovered = wait_until(enlarged, 5, "the link to grow and be underlined")
        for neighbour in (design.BV_RECAPITI, None):
            with self.subTest(moved_onto=neighbour or "bvLOGO"):
                self.main.mouse_move(*design.centre(design.BV_URL, design.bv_logo_origin()))
                wait_until(lambda: colours.ink_box(self.link(), colours.is_blue) == hovered, 5,
                           "the link to grow again")
                if neighbour is None:
                    logo_x, logo_y, logo_width, _ = design.rect_px(design.BV_LOGO)
                    self.main.mouse_move(logo_x + logo_width - 8, logo_y + 6)
                else:
                    self.main.mouse_move(*design.centre(neighbour, design.bv_logo_origin()))

                def resting():
                    image = self.link()
                    box = colours.ink_box(image, colours.is_blue)
                    return (box is not None and box[2] - box[0] < hovered[2] - hovered[0] - 8
                            and not underlined(image, box, colours.is_blue))

                wait_until(resting, 5, "the link to rest again")


if __name__ == "__main__":
    unittest.main()
