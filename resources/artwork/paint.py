"""Palette, fonts and the few drawing primitives every bitmap is made of."""

import os
import random

from PIL import Image, ImageDraw, ImageFont

FONT_DIR = os.environ.get("ZEMBRAC_FONT_DIR", "/usr/share/fonts/truetype/liberation")

# Dark blue-grey anodised metal, with blue, green and red accents.
METAL_TOP = (66, 75, 88)
METAL_BOTTOM = (46, 53, 64)
ENGRAVE_DARK = (26, 30, 37)
ENGRAVE_LIGHT = (92, 103, 118)
WELL = (10, 13, 17)
WELL_EDGE_DARK = (6, 8, 10)
WELL_EDGE_LIGHT = (96, 107, 122)
READOUT_FILL = (17, 22, 29)
CAPTION = (226, 232, 240)
LABEL = (178, 190, 204)
TICK = (132, 145, 161)
GROOVE = (8, 10, 13)
ACCENT_GREEN = (70, 214, 104)
ACCENT_BLUE = (88, 156, 255)
ACCENT_RED = (240, 72, 60)
LIMIT_TEXT = (255, 150, 140)
COMP_TEXT = (140, 230, 160)


def font(name, size):
    return ImageFont.truetype(os.path.join(FONT_DIR, "Liberation%s.ttf" % name), size)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def scale(c, k):
    return tuple(max(0, min(255, int(round(v * k)))) for v in c)


def metal_face(w, h, seed=7):
    """Vertical gradient with a faint horizontal brush grain."""
    img = Image.new("RGB", (w, h))
    px = img.load()
    rng = random.Random(seed)
    grain = [rng.uniform(-1.0, 1.0) for _ in range(h)]
    for y in range(h):
        base = mix(METAL_TOP, METAL_BOTTOM, y / (h - 1))
        g = grain[y] * 1.6
        for x in range(w):
            n = g + rng.uniform(-1.2, 1.2)
            px[x, y] = tuple(max(0, min(255, int(round(c + n)))) for c in base)
    return img


def bevel(draw, box, dark, light, inset=False):
    """A 1-pixel bevel around the inclusive box (l, t, r, b)."""
    l, t, r, b = box
    tl, br = (dark, light) if inset else (light, dark)
    draw.line([(l, b), (l, t), (r, t)], fill=tl)
    draw.line([(l + 1, b), (r, b), (r, t + 1)], fill=br)


def well(draw, box, fill=WELL):
    """A recessed area whose inside is the inclusive box; the bevel lies just outside it."""
    l, t, r, b = box
    draw.rectangle(box, fill=fill)
    bevel(draw, (l - 1, t - 1, r + 1, b + 1), WELL_EDGE_DARK, WELL_EDGE_LIGHT, inset=True)


def engraved_hline(draw, x0, x1, y):
    draw.line([(x0, y), (x1, y)], fill=ENGRAVE_DARK)
    draw.line([(x0, y + 1), (x1, y + 1)], fill=ENGRAVE_LIGHT)


def engraved_vline(draw, x, y0, y1):
    draw.line([(x, y0), (x, y1)], fill=ENGRAVE_DARK)
    draw.line([(x + 1, y0), (x + 1, y1)], fill=ENGRAVE_LIGHT)


def ink_box(fnt, text):
    return fnt.getbbox(text)


def text_mid(draw, x, row, text, fnt, fill, align="left"):
    """Draws text whose ink is centred vertically on the pixel row; x is the left edge, the
    centre or the right edge of the ink according to align."""
    l, t, r, b = ink_box(fnt, text)
    width = r - l
    top = row + 0.5 - (b - t) / 2.0
    if align == "center":
        left = x + 0.5 - width / 2.0
    elif align == "right":
        left = x + 1 - width
    else:
        left = x
    draw.text((round(left - l), round(top - t)), text, font=fnt, fill=fill)


def text_in_box(draw, box, text, fnt, fill):
    """Draws text centred (ink) in the inclusive box."""
    l, t, r, b = box
    text_mid(draw, (l + r) / 2.0, (t + b) / 2.0, text, fnt, fill, align="center")


def glow_text(img, pos, text, fnt, fill, glow, radius=2):
    """Text with a soft halo, used for lit captions."""
    from PIL import ImageFilter

    layer = Image.new("L", img.size, 0)
    ImageDraw.Draw(layer).text(pos, text, font=fnt, fill=255)
    halo = layer.filter(ImageFilter.GaussianBlur(radius))
    img.paste(Image.new("RGB", img.size, glow), (0, 0), halo.point(lambda v: v * 0.6))
    ImageDraw.Draw(img).text(pos, text, font=fnt, fill=fill)
