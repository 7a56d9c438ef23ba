"""Where things are on the main window: the design's twips (left, top, width, height),
relative to the client area of each control's container, and the pixel points derived from
them."""

TWIPS_PER_PIXEL = 15


def px(twips):
    return round(twips / TWIPS_PER_PIXEL)


# The designed client area of the main window, below its menu bar.
CLIENT = (6960, 4785)
CLIENT_PX = (px(CLIENT[0]), px(CLIENT[1]))

TXT_ABI = (120, 420, 795, 360)
TXT_CAB = (1020, 420, 795, 360)
TXT_CC = (1920, 420, 2355, 360)
TXT_IBAN = (120, 1200, 4155, 390)
CALCOLA_IBAN = (4440, 240, 1155, 615)
SVUOTA_CAMPI = (5700, 240, 1155, 615)
COPY_IBAN = (4440, 1140, 2415, 495)
LABEL5 = (120, 1740, 6675, 495)
BV_LOGO = (120, 2160, 6735, 915)
SHAPE1 = (0, 3570, 6945, 1635)
TXT_SPOT = (0, 3630, 6915, 255)
LABEL6_BOTTOM = 3585
RECORD = (-45, 3960, 7000, 1185)

# Children of the picture boxes, relative to their box's client area; the boxes' borders
# (Record sunken, two pixels; bvLOGO flat, one pixel) lie outside it.
RECORD_BORDER_PX = 2
BV_LOGO_BORDER_PX = 1
DILLO_AD_AMICO = (1035, 450, 5370, 240)
BV_URL = (3840, 570, 2415, 255)
BV_RECAPITI = (3840, 150, 1995, 405)

# The tell-a-friend window's client area, and its controls (the text boxes relative to their
# frame).
FRIEND_CLIENT = (5625, 3270)
FRAME1 = (90, 90, 5415, 870)
EMAIL_TO = (2430, 315, 2820, 360)
FRAME2 = (90, 1170, 5415, 1320)
NOME_FROM = (2430, 290, 2820, 360)
EMAIL_FROM = (2430, 810, 2820, 360)
INVIA_MAIL = (3915, 2655, 1590, 510)


def rect_px(rect, origin=(0, 0)):
    """A twips rectangle as pixels (x, y, width, height), moved by a container's pixel origin."""
    left, top, width, height = rect
    return px(left) + origin[0], px(top) + origin[1], px(width), px(height)


def centre(rect, origin=(0, 0)):
    x, y, width, height = rect_px(rect, origin)
    return x + width // 2, y + height // 2


def inside(rect, origin=(0, 0), margin=3):
    """The pixel rectangle shrunk by a margin, clear of borders and frames."""
    x, y, width, height = rect_px(rect, origin)
    return x + margin, y + margin, width - 2 * margin, height - 2 * margin


def record_origin():
    x, y, _, _ = rect_px(RECORD)
    return x + RECORD_BORDER_PX, y + RECORD_BORDER_PX


def bv_logo_origin():
    x, y, _, _ = rect_px(BV_LOGO)
    return x + BV_LOGO_BORDER_PX, y + BV_LOGO_BORDER_PX
