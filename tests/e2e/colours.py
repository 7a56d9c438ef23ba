"""Telling the design's colours apart on screenshots, with room for anti-aliasing."""


def near(pixel, colour, tolerance=24):
    return all(abs(a - b) <= tolerance for a, b in zip(pixel, colour))


YELLOW = (255, 255, 0)
CYAN = (0, 255, 255)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
PEACH = (255, 224, 192)
GREY = (128, 128, 128)
LIGHT_GREEN = (128, 255, 128)
SALMON = (255, 128, 128)


def is_green(p):
    return p[1] > 90 and p[0] < 70 and p[2] < 70


def is_red(p):
    return p[0] > 180 and p[1] < 110 and p[2] < 110


def is_blue(p):
    return p[2] > 180 and p[0] < 110 and p[1] < 110


def is_dark(p):
    return max(p) < 110


def is_yellowish(p):
    return p[0] > 150 and p[1] > 150 and p[2] < 100


def is_cyanish(p):
    return p[0] < 100 and p[1] > 150 and p[2] > 150


def count(image, predicate):
    return sum(1 for _, _, p in image.pixels() if predicate(p))


def ink_box(image, predicate):
    """(left, top, right, bottom) of the pixels matching predicate, or None."""
    xs, ys = [], []
    for x, y, p in image.pixels():
        if predicate(p):
            xs.append(x)
            ys.append(y)
    return (min(xs), min(ys), max(xs), max(ys)) if xs else None
