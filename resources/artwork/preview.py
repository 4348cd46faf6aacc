"""A composite of the face as the editor would show it, to judge the artwork by eye.

It follows the editor's drawing rules (handle and read-out positions, meter clipping, wave
compositing, highlight blend) closely enough to check alignment; it is not the editor.
"""

import math

from PIL import Image, ImageChops, ImageDraw

import geometry as g
import paint as p

SAMPLE = {
    "ThrComp": 20, "Ratio": 6, "Release": 250, "Output": 21000, "ThrLim": 4, "Zoom": 2,
    "LookAhead": 999,
}


def _fader(img, handle, fader, value):
    pos = g.offset(value, fader.vmin, fader.vmax, fader.length)
    img.paste(handle, (fader.x, fader.y + pos - 16))


def _readout(img, face, x, y, text, colour=(255, 255, 255), left_shift=0):
    img.paste(face, (x, y))
    d = ImageDraw.Draw(img)
    fnt = p.font("SansNarrow-Regular", 12)
    l, t, r, b = fnt.getbbox(text)
    cx = x + 1 + left_shift + (44 - left_shift) / 2.0
    d.text((round(cx - (r - l) / 2.0 - l), y + 3), text, font=fnt, fill=colour)


def _wave(bitmaps, zoom):
    x0, y0, w, h = g.WAVE
    bg = bitmaps[153].crop((x0, y0, x0 + w, y0 + h))
    image = Image.new("RGB", (w, h), (0, 0, 0))
    mask = Image.new("RGB", (w, h), (255, 255, 255))
    di, dm = ImageDraw.Draw(image), ImageDraw.Draw(mask)
    comp_thr, lim_thr = 10.0 ** (-10.0 / 20.0), 10.0 ** (-2.0 / 20.0)

    def row_max(v):
        return 128 - min(int(zoom * v / 512), 128)

    def row_min(v):
        return 128 - max(int(zoom * v / 512), -128)

    for col in range(1, w):
        t = col / 9.0
        env = 0.45 * abs(math.sin(t * 0.7)) + 0.35 * abs(math.sin(t * 2.3 + 1.0)) ** 3
        peak = min(1.6, env * (1.0 + 0.25 * math.sin(col * 1.7)))
        comp = peak if peak < comp_thr else comp_thr * (peak / comp_thr) ** (1.0 / 3.0)
        lim = min(comp, lim_thr)
        for level, colour in ((peak, (108, 116, 188)), (comp, (148, 156, 218)),
                              (lim, (200, 220, 255))):
            hi, lo = int(level * 32768), int(-level * 0.93 * 32768)
            di.line([(col, row_max(hi)), (col, row_min(lo))], fill=colour)
            if colour == (108, 116, 188):
                dm.line([(col, row_max(hi)), (col, row_min(lo))], fill=(0, 0, 0))
    # SRCAND with the mask, then SRCPAINT with the image; adding is the same where they meet.
    panel = ImageChops.add(ImageChops.multiply(bg, mask), image)
    d = ImageDraw.Draw(panel)
    a = int(comp_thr * 64 * zoom - 1)
    if a <= 127:
        d.line([(0, 127 - a), (w, 127 - a)], fill=(0, 200, 0))
        d.line([(0, 128 + a), (w, 128 + a)], fill=(0, 200, 0))
    a = int(lim_thr * 64 * zoom)
    if a <= 127:
        d.line([(0, 127 - a), (w, 127 - a)], fill=(200, 0, 0))
        d.line([(0, 128 + a), (w, 128 + a)], fill=(200, 0, 0))
    mask_px, px = bitmaps[127].load(), panel.load()
    for x in range(g.HIGHLIGHT_USED_W):
        for y in range(g.HIGHLIGHT_USED_H):
            m = mask_px[x, y][0]
            px[x, y] = tuple(int(c * (255 - m) / 255 + m) & 255 for c in px[x, y])
    return panel


def compose(bitmaps, values=None):
    v = dict(SAMPLE, **(values or {}))
    img = bitmaps[153].copy()
    _fader(img, bitmaps[116], g.THR_LIM, v["ThrLim"])
    _fader(img, bitmaps[125], g.THR_COMP, v["ThrComp"])
    _fader(img, bitmaps[117], g.RATIO, v["Ratio"])
    _fader(img, bitmaps[117], g.RELEASE, v["Release"])
    _fader(img, bitmaps[117], g.OUTPUT, v["Output"])
    z = g.ZOOM
    img.paste(bitmaps[129], (z.x, z.y + g.offset(v["Zoom"], 1, 20, z.length) - 11))
    la = g.LOOK_AHEAD
    img.paste(bitmaps[130], (la.x + g.offset(v["LookAhead"], 3, 999, la.length) - 11, la.y))

    face = bitmaps[120]
    _readout(img, face, 14, 13, "%2.1f dB" % (-v["ThrComp"] * 0.5))
    _readout(img, face, 66, 13, "%2.1f : 1" % (v["Ratio"] * 0.5))
    _readout(img, face, 118, 13, "%3.0f ms" % v["Release"])
    _readout(img, face, 398, 51, "%2.2f dB" % ((24000 - v["Output"]) / 1000.0), left_shift=1)
    d = ImageDraw.Draw(img)
    l, t, r, b = g.RMS_RECT
    d.rectangle((l, t, r - 1, b - 1), fill=g.RMS_BACKGROUND)
    fnt = p.font("SansNarrow-Regular", 12)
    bl, bt, br, bb = fnt.getbbox("-9.4 dB")
    d.text((round((l + r) / 2.0 - (br - bl) / 2.0 - bl), t + 1), "-9.4 dB", font=fnt,
           fill=(255, 255, 255))

    img.paste(bitmaps[142], g.SWITCHES["soft"])
    img.paste(bitmaps[103], g.SWITCHES["bypass"])
    img.paste(bitmaps[133], g.AUTO_SWITCH[:2])

    rx, ry, _, _ = g.REDUCTION_METER
    h = g.reduction_pixels(4.0)
    img.paste(bitmaps[107].crop((0, 0, 13, h)), (rx, ry))
    d.line([(rx, ry + g.reduction_pixels(5.5)), (rx + 12, ry + g.reduction_pixels(5.5))],
           fill=(110, 131, 241))
    mx, my, _, _ = g.OUTPUT_METERS
    for i, db in enumerate((-1.5, -2.8)):
        level = g.output_level(db)
        top = 257 - level
        x = mx + i * 16
        img.paste(bitmaps[106].crop((0, top, 15, 257)), (x, my + top))
        mark = g.output_row(db + 1.2)
        d.line([(x, mark), (x + 14, mark)], fill=(200, 0, 0) if mark < 77 else (0, 160, 0))

    img.paste(_wave(bitmaps, v["Zoom"]), g.WAVE[:2])
    return img
