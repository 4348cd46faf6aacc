"""The editor face (bitmap 153): everything that does not move."""

from PIL import ImageDraw

import geometry as g
import paint as p
import parts
import scales

CAPTION_FONT = ("Sans-Bold", 10)
TAG_FONT = ("SansNarrow-Bold", 9)

SWITCH_CAPTIONS = {
    "soft": ["Soft"],
    "normalize": ["Auto", "Normalize"],
    "dither": ["16 bit", "Dither"],
    "bypass": ["Bypass"],
}


def _caption(draw, cx, row, text, fill=p.CAPTION, font_spec=CAPTION_FONT, align="center"):
    p.text_mid(draw, cx, row, text, p.font(*font_spec), fill, align)


def _fader_track(draw, fader):
    """The groove the handle's mark travels in: rows y .. y + length - 1."""
    groove_w = 4 if fader.width >= 20 else 4
    gx = fader.x + (fader.width - groove_w) // 2
    top, bottom = fader.y - 3, fader.y + fader.length + 2
    draw.rectangle((gx, top, gx + groove_w - 1, bottom), fill=p.GROOVE)
    draw.line([(gx - 1, top), (gx - 1, bottom)], fill=p.ENGRAVE_DARK)
    draw.line([(gx + groove_w, top), (gx + groove_w, bottom)], fill=p.ENGRAVE_LIGHT)
    draw.line([(gx, bottom + 1), (gx + groove_w - 1, bottom + 1)], fill=p.ENGRAVE_LIGHT)


def _vslider_track(draw, s):
    gx = s.x + (s.width - 3) // 2
    top, bottom = s.y - 2, s.y + s.length + 1
    draw.rectangle((gx, top, gx + 2, bottom), fill=p.GROOVE)
    draw.line([(gx + 3, top), (gx + 3, bottom)], fill=p.ENGRAVE_LIGHT)


def _hslider_track(draw, s):
    gy = s.y + (s.height - 3) // 2
    left, right = s.x - 2, s.x + s.length + 1
    draw.rectangle((left, gy, right, gy + 2), fill=p.GROOVE)
    draw.line([(left, gy + 3), (right, gy + 3)], fill=p.ENGRAVE_LIGHT)


def _wave_display(draw):
    x, y, w, h = g.WAVE
    p.well(draw, (x, y, x + w - 1, y + h - 1), fill=(3, 5, 8))
    grid = (17, 23, 31)
    for k in range(1, 8):
        if k == 4:
            continue
        row = y + k * h // 8 - (1 if k < 4 else 0)
        for gx in range(x + 1, x + w - 1, 2):
            draw.point((gx, row), fill=grid)
    for k in range(1, 6):
        col = x + k * w // 6
        for gy in range(y + 1, y + h - 1, 2):
            draw.point((col, gy), fill=grid)
    # Full-scale zero line: rows 127 and 128 of the display straddle it.
    draw.line([(x, y + 127), (x + w - 1, y + 127)], fill=(28, 36, 46))
    draw.line([(x, y + 128), (x + w - 1, y + 128)], fill=(22, 28, 36))


def _meter_wells(img, draw):
    x, y, w, h = g.REDUCTION_METER
    p.well(draw, (x, y, x + w - 1, y + h - 1))
    img.paste(parts.reduction_bar(lit=False), (x, y))
    x, y, w, h = g.OUTPUT_METERS
    p.well(draw, (x, y, x + w - 1, y + h - 1))
    unlit = parts.output_bar(lit=False)
    img.paste(unlit, (x, y))
    img.paste(unlit, (x + g.OUTPUT_BAR_W + g.OUTPUT_BAR_GAP, y))


def _readouts(draw):
    for x, y in g.READOUTS.values():
        parts.draw_readout_box(draw, x, y)
    l, t, r, b = g.RMS_RECT
    draw.rectangle((l, t, r - 1, b - 1), fill=g.RMS_BACKGROUND)
    p.bevel(draw, (l - 1, t - 1, r, b), p.WELL_EDGE_DARK, p.WELL_EDGE_LIGHT, inset=True)


def _captions(draw):
    l, t, r, b = g.THRESHOLD_CAPTION
    _caption(draw, (l + r) / 2.0, (t + b) / 2.0, "Threshold")
    row = (t + b) / 2.0
    for name, text in (("ratio", "Ratio"), ("release", "Release")):
        x, _ = g.READOUTS[name]
        _caption(draw, x + (g.READOUT_W - 1) / 2.0, row, text)
    _caption(draw, (g.RMS_RECT[0] + g.RMS_RECT[2] - 1) / 2.0, row, "RMS")
    ox, oy = g.READOUTS["output"]
    _caption(draw, ox + (g.READOUT_W - 1) / 2.0, oy + g.READOUT_H + 8, "Output")

    lim_bottom = g.THR_LIM.column[3]
    _caption(draw, g.THR_LIM.x + (g.THR_LIM.width - 1) / 2.0, lim_bottom + 7, "LIM",
             p.LIMIT_TEXT, TAG_FONT)
    comp_bottom = g.THR_COMP.column[3]
    _caption(draw, g.THR_COMP.x + (g.THR_COMP.width - 1) / 2.0, comp_bottom + 7, "COMP",
             p.COMP_TEXT, TAG_FONT)

    z = g.ZOOM
    gap_mid = (g.WAVE[0] + g.WAVE[2] + g.REDUCTION_METER[0] - 1) / 2.0
    _caption(draw, gap_mid, z.column[1] - 7, "Zoom")
    la = g.LOOK_AHEAD
    mid = la.y + (la.height - 1) / 2.0
    _caption(draw, la.strip[0] - 3, mid, "LookAhead", align="right")
    _caption(draw, la.strip[2] + 4, mid, "ms", p.LABEL, scales.NUMBER_FONT, align="left")

    rx, ry, rw, rh = g.REDUCTION_METER
    below = ry + rh + 6
    _caption(draw, rx + (rw - 1) / 2.0, below, "GR", p.LABEL, TAG_FONT)
    mx, _, _, _ = g.OUTPUT_METERS
    bar = g.OUTPUT_BAR_W
    _caption(draw, mx + (bar - 1) / 2.0, below, "L", p.LABEL, TAG_FONT)
    _caption(draw, mx + bar + g.OUTPUT_BAR_GAP + (bar - 1) / 2.0, below, "R", p.LABEL, TAG_FONT)


def _logo(img, draw):
    l, t, r, b = g.LOGO
    name = p.font("Sans-BoldItalic", 19)
    cx = (l + r) / 2.0
    p.text_mid(draw, cx + 1, t + 8, "Zembrac", name, (20, 24, 30), "center")
    p.text_mid(draw, cx, t + 7, "Zembrac", name, (236, 240, 246), "center")
    tag = p.font("SansNarrow-Regular", 9)
    p.text_mid(draw, cx, b - 4, "peak compressor / limiter", tag, p.ACCENT_BLUE, "center")


def _switch_panel(draw):
    """An engraved frame that groups the four switches."""
    xs = [x for x, _ in g.SWITCHES.values()]
    ys = [y for _, y in g.SWITCHES.values()]
    box = (min(xs) - 4, min(ys) - 5, max(xs) + g.SWITCH_W + 3, max(ys) + g.SWITCH_H + 4)
    l, t, r, b = box
    draw.rounded_rectangle((l + 1, t + 1, r + 1, b + 1), radius=4, outline=p.ENGRAVE_LIGHT)
    draw.rounded_rectangle(box, radius=4, outline=p.ENGRAVE_DARK)


def draw_face(switches=True):
    """Returns (face, face_without_switches); the lit switch images are cut from the latter
    so that their corners match the face exactly."""
    img = p.metal_face(g.FACE_W, g.FACE_H)
    draw = ImageDraw.Draw(img)
    p.bevel(draw, (0, 0, g.FACE_W - 1, g.FACE_H - 1), (14, 16, 20), (104, 114, 128))
    p.bevel(draw, (1, 1, g.FACE_W - 2, g.FACE_H - 2), p.ENGRAVE_DARK, p.ENGRAVE_LIGHT)

    _readouts(draw)
    _captions(draw)
    for fader in (g.THR_LIM, g.THR_COMP, g.RATIO, g.RELEASE, g.OUTPUT):
        _fader_track(draw, fader)
    _vslider_track(draw, g.ZOOM)
    _hslider_track(draw, g.LOOK_AHEAD)
    scales.draw_all(draw)
    _wave_display(draw)
    _meter_wells(img, draw)
    _logo(img, draw)

    _switch_panel(draw)
    bare = img.copy()
    if switches:
        for name, (x, y) in g.SWITCHES.items():
            parts.draw_switch(img, x, y, g.SWITCH_W, g.SWITCH_H, SWITCH_CAPTIONS[name], False,
                              None)
        ax, ay, aw, ah = g.AUTO_SWITCH
        parts.draw_switch(img, ax, ay, aw, ah, ["Auto"], False, None, parts.AUTO_FONT)
    return img, bare
