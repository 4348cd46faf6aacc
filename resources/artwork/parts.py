"""The small bitmaps: handles, switches, read-out face, lit meter bars, highlight mask."""

import math

from PIL import Image, ImageDraw

import geometry as g
import paint as p

SWITCH_FONT = ("SansNarrow-Bold", 10)
AUTO_FONT = ("SansNarrow-Bold", 10)


def _cap_body(w, h, dim):
    """A brushed aluminium cap with a dark outline, lit from above."""
    img = Image.new("RGB", (w, h))
    d = ImageDraw.Draw(img)
    for y in range(h):
        t = y / (h - 1)
        c = p.mix((222, 226, 232), (132, 138, 148), t)
        d.line([(0, y), (w - 1, y)], fill=p.scale(c, dim))
    d.line([(1, 1), (w - 2, 1)], fill=p.scale((246, 248, 252), dim))
    d.line([(1, 1), (1, h - 2)], fill=p.scale((236, 240, 246), dim))
    d.line([(w - 2, 2), (w - 2, h - 2)], fill=p.scale((96, 102, 112), dim))
    d.line([(2, h - 2), (w - 2, h - 2)], fill=p.scale((86, 92, 100), dim))
    d.rectangle((0, 0, w - 1, h - 1), outline=(14, 16, 20))
    return img, d


def fader_handle(width, mark, dim=1.0):
    """Fader cap, 34 rows; the value's row is row 16, where the coloured mark lies."""
    h = g.FADER_HANDLE_H
    img, d = _cap_body(width, h, dim)
    m = g.FADER_MARK
    for y in range(3, h - 3):
        if abs(y - m) <= 4:
            continue
        # Grip ribs: a shadow line under a light one, every third row.
        if (y - m) % 3 == 0:
            d.line([(3, y), (width - 4, y)], fill=p.scale((104, 110, 120), dim))
        elif (y - m) % 3 == 1:
            d.line([(3, y), (width - 4, y)], fill=p.scale((238, 241, 246), dim))
    d.line([(1, m - 1), (width - 2, m - 1)], fill=p.scale(mark, 0.38))
    d.line([(1, m), (width - 2, m)], fill=mark)
    d.line([(1, m + 1), (width - 2, m + 1)], fill=p.scale(mark, 0.38))
    return img


def vertical_slider_handle(width, mark):
    img, d = _cap_body(width, g.SLIDER_HANDLE_L, 1.0)
    m = g.SLIDER_MARK
    d.line([(1, m - 1), (width - 2, m - 1)], fill=p.scale(mark, 0.38))
    d.line([(1, m), (width - 2, m)], fill=mark)
    d.line([(1, m + 1), (width - 2, m + 1)], fill=p.scale(mark, 0.38))
    for y in (m - 6, m - 4, m + 4, m + 6):
        d.line([(3, y), (width - 4, y)], fill=(110, 116, 126))
    return img


def horizontal_slider_handle(height, mark):
    img, d = _cap_body(g.SLIDER_HANDLE_L, height, 1.0)
    m = g.SLIDER_MARK
    d.line([(m - 1, 1), (m - 1, height - 2)], fill=p.scale(mark, 0.38))
    d.line([(m, 1), (m, height - 2)], fill=mark)
    d.line([(m + 1, 1), (m + 1, height - 2)], fill=p.scale(mark, 0.38))
    for x in (m - 6, m - 4, m + 4, m + 6):
        d.line([(x, 3), (x, height - 4)], fill=(110, 116, 126))
    return img


def draw_readout_box(draw, x, y):
    """The dark read-out box (45 x 15); its top 12 rows double as the read-out face."""
    w, h = g.READOUT_W, g.READOUT_H
    draw.rectangle((x, y, x + w - 1, y + h - 1), fill=p.READOUT_FILL)
    draw.line([(x + 1, y + 1), (x + w - 2, y + 1)], fill=(11, 14, 19))
    draw.line([(x, y), (x + w - 1, y)], fill=p.WELL_EDGE_DARK)
    draw.line([(x, y), (x, y + h - 1)], fill=p.WELL_EDGE_DARK)
    draw.line([(x + w - 1, y + 1), (x + w - 1, y + h - 1)], fill=p.WELL_EDGE_LIGHT)
    draw.line([(x + 1, y + h - 1), (x + w - 1, y + h - 1)], fill=p.WELL_EDGE_LIGHT)


def readout_face():
    img = Image.new("RGB", (g.READOUT_W, g.READOUT_H))
    draw_readout_box(ImageDraw.Draw(img), 0, 0)
    return img.crop((0, 0, g.READOUT_W, g.READOUT_FACE_H))


def draw_switch(img, x, y, w, h, lines, lit, colour, font_spec=SWITCH_FONT):
    """A push button whose caption lights up with the button. lines: caption lines.
    Only the rounded button is painted, so the corners keep the face under them."""
    tile = Image.new("RGB", (w, h))
    d = ImageDraw.Draw(tile)
    for j in range(h):
        t = j / (h - 1)
        if lit:
            c = p.mix(p.mix(colour, (255, 255, 255), 0.28), p.scale(colour, 0.62), t)
        else:
            c = p.mix((84, 93, 106), (52, 58, 68), t)
        d.line([(0, j), (w - 1, j)], fill=c)
    fnt = p.font(*font_spec)
    pitch = 9
    first = (h - 1) / 2.0 - pitch * (len(lines) - 1) / 2.0
    ink = (255, 255, 255) if lit else (168, 178, 192)
    for i, line in enumerate(lines):
        row = first + i * pitch
        if lit:
            l, t, r, b = fnt.getbbox(line)
            pos = (round(w / 2.0 - (r - l) / 2.0 - l), round(row + 0.5 - (b - t) / 2.0 - t))
            p.glow_text(tile, pos, line, fnt, ink, p.mix(colour, (255, 255, 255), 0.5), radius=1.5)
        else:
            p.text_mid(d, (w - 1) / 2.0, row, line, fnt, ink, "center")
    d.rounded_rectangle((0, 0, w - 1, h - 1), radius=3, outline=(12, 14, 18))
    top = p.mix(colour, (255, 255, 255), 0.6) if lit else (116, 126, 140)
    d.line([(3, 1), (w - 4, 1)], fill=top)
    mask = Image.new("L", (w, h), 0)
    ImageDraw.Draw(mask).rounded_rectangle((0, 0, w - 1, h - 1), radius=3, fill=255)
    img.paste(tile, (x, y), mask)


def output_bar_colour(dbfs):
    if dbfs >= 0.0:
        return (236, 54, 42)
    if dbfs >= -3.0:
        return p.mix((246, 150, 40), (240, 84, 40), (dbfs + 3.0) / 3.0)
    if dbfs >= -9.0:
        return p.mix((98, 214, 76), (236, 214, 60), (dbfs + 9.0) / 6.0)
    return p.mix((30, 150, 70), (80, 206, 80), max(0.0, (dbfs + 18.0) / 9.0))


def reduction_bar_colour(db):
    return p.mix((150, 184, 255), (64, 88, 228), min(1.0, db / 12.0))


def _segment_shade(row, col, w):
    """LED segments three rows tall with a dark row between them, rounded across the bar."""
    across = 0.78 + 0.22 * math.sin(math.pi * (col + 0.5) / w)
    return across * (0.42 if row % 3 == 2 else 1.0)


def meter_bar(w, h, colour_of_row, lit):
    img = Image.new("RGB", (w, h))
    px = img.load()
    for y in range(h):
        c = colour_of_row(y)
        for x in range(w):
            k = _segment_shade(y, x, w)
            if lit:
                px[x, y] = p.scale(c, k)
            else:
                px[x, y] = p.mix(p.WELL, c, 0.13 * k)
    return img


def output_bar(lit=True):
    return meter_bar(g.OUTPUT_BAR_W, g.OUTPUT_METERS[3],
                     lambda y: output_bar_colour(g.output_bar_dbfs(y)), lit)


def reduction_bar(lit=True):
    return meter_bar(g.REDUCTION_METER[2], g.REDUCTION_METER[3],
                     lambda y: reduction_bar_colour(g.reduction_bar_db(y)), lit)


def highlight_mask():
    """A soft oval glint near the top-left corner; the red channel is the blend opacity."""
    img = Image.new("RGB", (g.HIGHLIGHT_W, g.HIGHLIGHT_H))
    px = img.load()
    cx, cy, rx, ry = 12.0, 3.0, 26.0, 10.0
    for y in range(g.HIGHLIGHT_H):
        for x in range(g.HIGHLIGHT_W):
            r = math.hypot((x - cx) / rx, (y - cy) / ry)
            m = 0.0
            if r < 1.0:
                m = 84.0 * (1.0 - r * r) ** 2
            # Fade to nothing before the edge of the part the editor reads (42 x 16).
            fade = min(1.0, (g.HIGHLIGHT_USED_W - 2 - x) / 6.0, (g.HIGHLIGHT_USED_H - 2 - y) / 4.0)
            m *= max(0.0, fade)
            v = int(round(m))
            px[x, y] = (v, v, v)
    return img
