#!/usr/bin/python3
"""Draws the four pictures of BVIBAN into resources/, and the application icon for the desktop's
icon theme into packaging/icons/.

Run from the repository root with Debian's Python and Pillow:

    sudo apt-get install python3-pil fonts-liberation
    /usr/bin/python3 scripts/draw_images.py

A developer tool, not part of the build: the pictures it writes are committed.

    app.ico    application icon: a Brivanta-blue bank card with chip, Italian flag and "IBAN",
               32x32, one BMP-style entry, 8 bits per pixel (256-colour palette) with AND mask
    hand.ico   mouse pointer: a pointing hand, index finger up, black outline and white fill,
               32x32, one BMP-style entry, 4 bits per pixel (16 colours) with AND mask;
               its hot spot is the fingertip, HAND_HOT_SPOT below
    badge.gif  record badge: a gold rosette with a star on two red ribbon tails, 50x49,
               GIF89a, one frame, 16-colour palette whose last entry is transparent
    logo.bmp   vendor logo: the Brivanta mark (a blue tile with a rising gold line), the name and
               a spaced tagline on white, 211x56, 24-bit uncompressed (BI_RGB)
    packaging/icons/bviban-N.png
               the application icon at the hicolor theme's sizes (16, 24, 32, 48, 64, 128 and
               256), RGBA: at 32 the pixels of app.ico, at the others the same parts drawn
               smooth and snapped to whole pixels; the 16-pixel icon leaves out the word

ICO and BMP are written byte by byte so that their layout is exactly the one above; Pillow
draws the shapes and the text and writes the GIF and the PNGs.
"""

import math
import os
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFont

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
RESOURCES = os.path.join(ROOT, "resources")
THEME_ICONS = os.path.join(ROOT, "packaging", "icons")
THEME_ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)
FONTS = "/usr/share/fonts/truetype/liberation"

# Brivanta's colours: a deep blue and a warm gold.
BLUE = (27, 79, 156)
BLUE_LIGHT = (58, 124, 214)
BLUE_DARK = (14, 44, 96)
NAVY = (9, 30, 66)
GOLD = (242, 178, 10)
GOLD_LIGHT = (255, 222, 110)
GOLD_DARK = (176, 118, 0)
GREY_TEXT = (110, 118, 130)
STRIPE_BROWN = (92, 64, 20)

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)


# ---------------------------------------------------------------------------------------------
# File writers


def bmp_info_header(width, height, bpp, image_size):
    """BITMAPINFOHEADER, uncompressed (BI_RGB), 72 dots per inch."""
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bpp, 0, image_size, 2835, 2835, 0, 0)


def pack_rows(rows, bpp):
    """Packs rows of palette indices (top row first) bottom-up, each padded to 32 bits."""
    out = bytearray()
    for row in reversed(rows):
        line = bytearray()
        if bpp == 8:
            line.extend(row)
        elif bpp == 4:
            for i in range(0, len(row), 2):
                line.append((row[i] << 4) | (row[i + 1] if i + 1 < len(row) else 0))
        elif bpp == 1:
            for i in range(0, len(row), 8):
                byte = 0
                for bit, v in enumerate(row[i:i + 8]):
                    byte |= (1 if v else 0) << (7 - bit)
                line.append(byte)
        while len(line) % 4:
            line.append(0)
        out.extend(line)
    return bytes(out)


def write_ico(path, indices, transparent, palette, bpp):
    """One BMP-style icon entry: header, palette, XOR pixels and AND mask.

    indices: rows of palette indices; transparent: rows of booleans (AND mask bit set);
    palette: exactly 2**bpp RGB triples. Transparent pixels carry index 0, which must be black,
    so that the screen shows through unchanged.
    """
    size = len(indices)
    assert len(palette) == 1 << bpp and palette[0] == BLACK
    pixels = [[0 if transparent[y][x] else indices[y][x] for x in range(size)] for y in range(size)]
    bitmaps = pack_rows(pixels, bpp) + pack_rows(transparent, 1)
    # The header's height counts both stacked images, colour above mask.
    image = (bmp_info_header(size, size * 2, bpp, len(bitmaps)) +
             b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette) + bitmaps)
    colour_count = 0 if bpp >= 8 else 1 << bpp
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, colour_count, 0, 1, bpp, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(directory + entry + image)


def write_bmp24(path, image):
    """24-bit uncompressed BMP, bottom-up, rows padded to 32 bits."""
    width, height = image.size
    rgb = image.convert("RGB")
    stride = (width * 3 + 3) & ~3
    body = bytearray()
    for y in reversed(range(height)):
        line = bytearray()
        for x in range(width):
            r, g, b = rgb.getpixel((x, y))
            line.extend((b, g, r))
        line.extend(b"\0" * (stride - len(line)))
        body.extend(line)
    header = bmp_info_header(width, height, 24, len(body))
    offset = 14 + len(header)
    with open(path, "wb") as f:
        f.write(struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset) + header + body)


# ---------------------------------------------------------------------------------------------
# Drawing helpers


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def supersampled(size, factor, draw_fn, background):
    """Draws at factor times the size and scales down, for smooth edges."""
    big = Image.new("RGB", (size[0] * factor, size[1] * factor), background)
    draw_fn(ImageDraw.Draw(big), factor, big)
    return big.resize(size, Image.LANCZOS)


def coverage(size, factor, draw_fn):
    """Fraction of each pixel that a shape covers (0..255), drawn with draw_fn in white."""
    big = Image.new("L", (size[0] * factor, size[1] * factor), 0)
    draw_fn(ImageDraw.Draw(big), factor)
    return big.resize(size, Image.BOX)


def font(name, px):
    return ImageFont.truetype(os.path.join(FONTS, name), px)


# ---------------------------------------------------------------------------------------------
# Application icon


PIXEL_FONT = {
    "I": ["###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"],
    "B": ["###.", "#..#", "#..#", "###.", "#..#", "#..#", "###."],
    "A": [".##.", "#..#", "#..#", "####", "#..#", "#..#", "#..#"],
    "N": ["#...#", "##..#", "##..#", "#.#.#", "#..##", "#..##", "#...#"],
}


# The icon's parts, in the pixels of the 32x32 design (first and last pixel, inclusive).
BACK_CARD = (5, 2, 31, 21)
FRONT_CARD = (0, 9, 26, 29)
STRIPE = (5, 7)
CHIP = (3, 13, 9, 17)
CHIP_LINES = (6, 15)
FLAG = (15, 12, 25, 17)
FLAG_COLOURS = ((0, 146, 70), (244, 245, 240), (206, 43, 55))
IBAN_TEXT = (3, 20, 7)


def back_card_colour(x, y):
    return mix(GOLD_LIGHT, GOLD, (x - BACK_CARD[0] + y - BACK_CARD[1]) / 45)


def front_card_colour(x, y):
    return mix(BLUE_LIGHT, BLUE_DARK, (y - FRONT_CARD[1]) / 24 + x / 80)


def chip_colour(y):
    return mix(GOLD_LIGHT, GOLD, (y - CHIP[1]) / 4)


def text_pixels(text, left, top):
    """The pixels of a word in PIXEL_FONT, one column between letters."""
    pixels = set()
    for letter in text:
        glyph = PIXEL_FONT[letter]
        for y, line in enumerate(glyph):
            pixels.update((left + x, top + y) for x, c in enumerate(line) if c == "#")
        left += len(glyph[0]) + 1
    return pixels


def rounded_card(x0, y0, x1, y1, radius):
    """Pixels inside a card with cut corners, as a set of (x, y)."""
    inside = set()
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            dx = max(x0 + radius - x, x - (x1 - radius), 0)
            dy = max(y0 + radius - y, y - (y1 - radius), 0)
            if dx * dx + dy * dy <= radius * radius + 1:
                inside.add((x, y))
    return inside


def outline_of(shape):
    return {(x, y) for (x, y) in shape
            if any((x + dx, y + dy) not in shape for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))}


def app_icon_pixels():
    """The 32x32 application icon, pixel by pixel: {(x, y): colour}, absent pixels transparent."""
    pixels = {}

    back = rounded_card(*BACK_CARD, 3)
    front = rounded_card(*FRONT_CARD, 3)

    # The gold card behind, shaded from top-left to bottom-right.
    for (x, y) in back:
        pixels[(x, y)] = back_card_colour(x, y)
    for (x, y) in back:
        if STRIPE[0] <= y <= STRIPE[1]:
            pixels[(x, y)] = STRIPE_BROWN
    for p in outline_of(back):
        pixels[p] = GOLD_DARK

    # The blue card in front, lit from the top left.
    for (x, y) in front:
        pixels[(x, y)] = front_card_colour(x, y)
    for (x, y) in outline_of(front - outline_of(front)):
        if y == 10 or x == 1:
            pixels[(x, y)] = mix(pixels[(x, y)], WHITE, 0.3)
    for p in outline_of(front):
        pixels[p] = NAVY

    # Chip.
    chip = rounded_card(*CHIP, 1)
    for (x, y) in chip:
        pixels[(x, y)] = chip_colour(y)
    for (x, y) in chip:
        if y == CHIP_LINES[1] or x == CHIP_LINES[0]:
            pixels[(x, y)] = GOLD_DARK
    for p in outline_of(chip):
        pixels[p] = GOLD_DARK

    # Italian flag.
    left, top, right, bottom = FLAG
    for i, colour in enumerate(FLAG_COLOURS):
        for x in range(left + 1 + 3 * i, left + 4 + 3 * i):
            for y in range(top + 1, bottom):
                pixels[(x, y)] = colour
    for x in range(left, right + 1):
        pixels[(x, top)] = NAVY
        pixels[(x, bottom)] = NAVY
    for y in range(top, bottom + 1):
        pixels[(left, y)] = NAVY
        pixels[(right, y)] = NAVY

    # "IBAN" in white, with a dark shadow for contrast.
    text = text_pixels("IBAN", *IBAN_TEXT[:2])
    edge = outline_of(front)
    for (x, y) in text:
        shadow = (x + 1, y + 1)
        if shadow in front and shadow not in edge and shadow not in text:
            pixels[shadow] = mix(pixels[shadow], NAVY, 0.7)
    for p in text:
        pixels[p] = WHITE
    return pixels


def draw_app_icon():
    size = 32
    pixels = app_icon_pixels()
    colours = [BLACK] + sorted(set(pixels.values()) - {BLACK})
    assert len(colours) <= 256
    palette = colours + [BLACK] * (256 - len(colours))
    index = {c: i for i, c in enumerate(colours)}
    indices = [[index.get(pixels.get((x, y)), 0) for x in range(size)] for y in range(size)]
    transparent = [[(x, y) not in pixels for x in range(size)] for y in range(size)]
    write_ico(os.path.join(RESOURCES, "app.ico"), indices, transparent, palette, 8)


def app_icon_png(size):
    """The application icon at `size` pixels, RGBA: the 32x32 design itself at 32, and the same
    cards, chip, flag and word drawn smooth at the theme's other sizes."""
    if size == 32:
        image = Image.new("RGBA", (size, size), (0, 0, 0, 0))
        for (x, y), colour in app_icon_pixels().items():
            image.putpixel((x, y), colour + (255,))
        return image

    factor = max(4, 1024 // size)
    n = size * factor
    k = n / 32
    # Outlines, chip lines and the flag's border: half a design pixel, never under one pixel.
    w = max(factor, round(k / 2))
    canvas = Image.new("RGBA", (n, n), (0, 0, 0, 0))

    def mask(draw_fn):
        m = Image.new("L", (n, n), 0)
        draw_fn(ImageDraw.Draw(m))
        return m

    def snap(v):
        """A design coordinate on the canvas, on a whole pixel of the icon: sharp edges."""
        return round(v * size / 32) * factor

    def area(box, inset=0):
        """The design-pixel box (inclusive) in canvas pixels, shrunk by inset."""
        x0, y0, x1, y1 = box
        return (snap(x0) + inset, snap(y0) + inset, snap(x1 + 1) - 1 - inset,
                snap(y1 + 1) - 1 - inset)

    def card(box, radius, inset=0):
        return mask(lambda d: d.rounded_rectangle(area(box, inset), radius=radius * k - inset,
                                                  fill=255))

    def shading(colour_at):
        """A fill that takes colour_at(x, y) at the centre of each design pixel, smooth between."""
        samples = Image.new("RGB", (64, 64))
        for j in range(64):
            for i in range(64):
                samples.putpixel((i, j), colour_at(i / 2 - 0.25, j / 2 - 0.25))
        return samples.resize((n, n), Image.BILINEAR).convert("RGBA")

    def paint(fill, where, strength=1.0):
        if strength < 1:
            where = where.point(lambda v: round(v * strength))
        canvas.paste(fill if isinstance(fill, Image.Image) else fill + (255,), (0, 0), where)

    def rim(box, radius, colour):
        outer, inner = card(box, radius), card(box, radius, w)
        paint(colour, ImageChops.subtract(outer, inner))

    # The gold card behind, with its magnetic stripe.
    back = card(BACK_CARD, 3.5)
    paint(shading(back_card_colour), back)
    stripe = mask(lambda d: d.rectangle((0, snap(STRIPE[0]), n, snap(STRIPE[1] + 1) - 1),
                                        fill=255))
    paint(STRIPE_BROWN, ImageChops.multiply(back, stripe))
    rim(BACK_CARD, 3.5, GOLD_DARK)

    # The blue card in front, lit from the top left.
    front = card(FRONT_CARD, 3.5)
    paint(shading(front_card_colour), front)
    lit = card(FRONT_CARD, 3.5, w)
    paint(WHITE, ImageChops.subtract(lit, ImageChops.offset(lit, w, w)), 0.3)
    rim(FRONT_CARD, 3.5, NAVY)

    # Chip, with its contact lines.
    chip = card(CHIP, 1.5)
    paint(shading(lambda x, y: chip_colour(y)), chip)
    column, row = CHIP_LINES
    across, down = snap(column + 0.5) - w // 2, snap(row + 0.5) - w // 2
    lines = mask(lambda d: (d.rectangle((across, 0, across + w - 1, n), fill=255),
                            d.rectangle((0, down, n, down + w - 1), fill=255)))
    paint(GOLD_DARK, ImageChops.multiply(chip, lines))
    rim(CHIP, 1.5, GOLD_DARK)

    # Italian flag in a navy border.
    x0, y0, x1, y1 = area(FLAG)
    paint(NAVY, mask(lambda d: d.rectangle((x0, y0, x1, y1), fill=255)))
    third = (x1 + 1 - x0 - 2 * w) / 3
    for i, colour in enumerate(FLAG_COLOURS):
        left = x0 + w + i * third
        paint(colour, mask(lambda d: d.rectangle((round(left), y0 + w, round(left + third) - 1,
                                                 y1 - w), fill=255)))

    # "IBAN" in white over a navy shadow, as tall as the pixel font's capitals and kept as far
    # from the card's right edge as from its left. Under 24 pixels the word would be a smudge
    # four pixels high, so the smallest icon leaves it out.
    if size >= 24:
        left, top, height = IBAN_TEXT
        right = FRONT_CARD[2] + 1 - (left - FRONT_CARD[0])
        word = Image.new("L", (1800, 500), 0)
        ImageDraw.Draw(word).text((20, 20), "IBAN", font=font("LiberationSans-Bold.ttf", 400),
                                  fill=255)
        word = word.crop(word.getbbox())
        tall = snap(top + height) - snap(top)
        wide = min(round(word.width * tall / word.height), snap(right) - snap(left))
        text = Image.new("L", (n, n), 0)
        text.paste(word.resize((wide, tall), Image.LANCZOS), (snap(left), snap(top)))
        shadow = ImageChops.multiply(ImageChops.offset(text, w, w), card(FRONT_CARD, 3.5, w))
        paint(NAVY, shadow, 0.7)
        paint(WHITE, text)

    return canvas.convert("RGBa").resize((size, size), Image.BOX).convert("RGBA")


def draw_theme_icons():
    for size in THEME_ICON_SIZES:
        app_icon_png(size).save(os.path.join(THEME_ICONS, f"bviban-{size}.png"), optimize=True)


# ---------------------------------------------------------------------------------------------
# Hand pointer

# "#" outline, "o" fill, "." transparent. The fingertip is the top row of the index finger.
HAND = [
    "......##...........",
    ".....#oo#..........",
    ".....#oo#..........",
    ".....#oo#..........",
    ".....#oo#..........",
    ".....#oo###........",
    ".....#oo#oo###.....",
    ".....#oo#oo#oo##...",
    ".....#oo#oo#oo#o#..",
    ".##..#oo#oo#oo#oo#.",
    "#oo#.#oooooooooooo#",
    "#ooo##oooooooooooo#",
    ".#oo#ooooooooooooo#",
    ".#oooooooooooooooo#",
    "..#ooooooooooooooo#",
    "..#oooooooooooooo#.",
    "...#ooooooooooooo#.",
    "...#oooooooooooo#..",
    "....#ooooooooooo#..",
    "....#ooooooooooo#..",
    "....#############..",
]
HAND_HOT_SPOT = (6, 0)

# The standard 16-colour palette; the pointer uses its black and white.
VGA_PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def draw_hand():
    size = 32
    codes = {"#": 0, "o": 15}
    indices = [[0] * size for _ in range(size)]
    transparent = [[True] * size for _ in range(size)]
    for y, line in enumerate(HAND):
        for x, c in enumerate(line):
            if c != ".":
                indices[y][x] = codes[c]
                transparent[y][x] = False
    hx, hy = HAND_HOT_SPOT
    assert HAND[hy][hx] == "#" and all(c == "." for row in HAND[:hy] for c in row)
    write_ico(os.path.join(RESOURCES, "hand.ico"), indices, transparent, VGA_PALETTE, 4)


# ---------------------------------------------------------------------------------------------
# Record badge

RED = (206, 32, 41)
RED_DARK = (138, 16, 24)


def star(cx, cy, outer, inner, points=5):
    corners = []
    for i in range(points * 2):
        r = outer if i % 2 == 0 else inner
        a = -math.pi / 2 + i * math.pi / points
        corners.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return corners


def scallops(cx, cy, radius, bumps, bump_radius):
    """The outline of a rosette: a disc with round bumps all round it."""
    circles = [(cx, cy, radius)]
    for i in range(bumps):
        a = 2 * math.pi * i / bumps
        circles.append((cx + radius * math.cos(a), cy + radius * math.sin(a), bump_radius))
    return circles


def draw_badge():
    size = (50, 49)
    factor = 8
    cx, cy = 25, 19.5

    def tails(d, k, colour, shade):
        for side in (-1, 1):
            top = [(cx + side * 3, cy), (cx + side * 13, cy + 4)]
            foot = [(cx + side * 20, 47.5), (cx + side * 14.5, 42.5), (cx + side * 9, 48.5)]
            shape = [(x * k, y * k) for x, y in top[::side] + foot[::side]]
            d.polygon(shape, fill=colour)
            if shade:
                inner = [(cx + side * 9.5, cy + 2), (cx + side * 13, cy + 4),
                         (cx + side * 20, 47.5), (cx + side * 16.5, 45.5)]
                d.polygon([(x * k, y * k) for x, y in inner], fill=RED_DARK)

    def rosette(d, k, grow, colour):
        for (x, y, r) in scallops(cx, cy, 15.5, 18, 2.6):
            r += grow
            d.ellipse(((x - r) * k, (y - r) * k, (x + r) * k, (y + r) * k), fill=colour)

    def disc(d, k, r, colour):
        d.ellipse(((cx - r) * k, (cy - r) * k, (cx + r) * k, (cy + r) * k), fill=colour)

    def paint(d, k, big):
        tails(d, k, RED, True)
        rosette(d, k, 0, GOLD_DARK)
        rosette(d, k, -1.1, GOLD)
        disc(d, k, 12.5, GOLD_DARK)
        disc(d, k, 11.5, GOLD_LIGHT)
        disc(d, k, 10.3, GOLD)
        d.polygon([(x * k, (y + 0.8) * k) for x, y in star(cx, cy, 8.2, 3.4)], fill=GOLD_DARK)
        d.polygon([(x * k, y * k) for x, y in star(cx, cy, 8.2, 3.4)], fill=WHITE)

    def silhouette(d, k):
        tails(d, k, 255, False)
        rosette(d, k, 0, 255)

    colour = supersampled(size, factor, paint, WHITE)
    covered = coverage(size, factor, silhouette)

    # The badge sits on white, so edge pixels are blended with white and faint ones left out.
    opaque = [[covered.getpixel((x, y)) >= 64 for x in range(size[0])] for y in range(size[1])]
    # Fifteen colours: the badge's own and their blends with each other and with white.
    colours = [WHITE, GOLD_LIGHT, GOLD, GOLD_DARK, mix(GOLD, GOLD_DARK, 0.5),
               mix(GOLD, WHITE, 0.5), mix(GOLD_DARK, WHITE, 0.35), mix(GOLD_DARK, WHITE, 0.7),
               RED, RED_DARK, mix(RED, RED_DARK, 0.5), mix(RED, WHITE, 0.45),
               mix(RED_DARK, WHITE, 0.45), mix(RED, GOLD_DARK, 0.5), mix(GOLD, WHITE, 0.78)]
    palette = [v for c in colours for v in c] + list(WHITE)
    transparent_index = 15
    palette_image = Image.new("P", (1, 1))
    palette_image.putpalette(palette)
    quantized = colour.quantize(palette=palette_image, dither=Image.Dither.NONE)
    gif = Image.new("P", size, transparent_index)
    gif.putpalette(palette)
    for y in range(size[1]):
        for x in range(size[0]):
            if opaque[y][x]:
                gif.putpixel((x, y), quantized.getpixel((x, y)))
    gif.save(os.path.join(RESOURCES, "badge.gif"), format="GIF", transparency=transparent_index,
             optimize=False)


# ---------------------------------------------------------------------------------------------
# Vendor logo


def draw_logo():
    size = (211, 56)
    factor = 8

    def mark(d, k, big):
        # Brivanta's mark: a blue tile with a gold line rising to the top right.
        tile = (5 * k, 6 * k, 49 * k, 50 * k)
        gradient = Image.new("RGB", big.size, WHITE)
        g = ImageDraw.Draw(gradient)
        for y in range(tile[1], tile[3] + 1):
            g.line((tile[0], y, tile[2], y), fill=mix(BLUE_LIGHT, BLUE_DARK,
                                                      (y - tile[1]) / (tile[3] - tile[1])))
        mask = Image.new("L", big.size, 0)
        ImageDraw.Draw(mask).rounded_rectangle(tile, radius=9 * k, fill=255)
        big.paste(gradient, (0, 0), mask)
        d.line([(13 * k, 41 * k), (24 * k, 30 * k), (30 * k, 35 * k), (42 * k, 17 * k)],
               fill=GOLD, width=round(4.2 * k), joint="curve")
        r = 3.2 * k
        d.ellipse((42 * k - r, 17 * k - r, 42 * k + r, 17 * k + r), fill=GOLD)

    image = supersampled(size, factor, mark, WHITE)
    d = ImageDraw.Draw(image)
    name_font = font("LiberationSans-Bold.ttf", 36)
    d.text((57, 2), "Brivanta", font=name_font, fill=NAVY)

    # The tagline is spaced out to the width of the name.
    tag_font = font("LiberationSans-Regular.ttf", 10)
    tagline = "SOFTWARE \u00b7 ITALIA"
    left, right = 58, 57 + name_font.getbbox("Brivanta")[2]
    widths = [tag_font.getlength(c) for c in tagline]
    gap = (right - left - sum(widths)) / (len(tagline) - 1)
    x = left
    for c, w in zip(tagline, widths):
        d.text((round(x), 39), c, font=tag_font, fill=GREY_TEXT)
        x += w + gap
    write_bmp24(os.path.join(RESOURCES, "logo.bmp"), image)


def main():
    draw_app_icon()
    draw_theme_icons()
    draw_hand()
    draw_badge()
    draw_logo()


if __name__ == "__main__":
    sys.exit(main())
