#!/usr/bin/env python3
"""Renders the editor's sixteen bitmaps.

usage: draw.py OUTPUT_DIR [--preview PNG] [--ticks]
Writes bmpNNN_name.bmp (24-bit, bottom-up) into OUTPUT_DIR; --preview also writes a composite
of the face with handles, lit switches and meters at sample values; --ticks prints the rows
and columns the scale labels were placed at.
"""

import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import face  # noqa: E402
import geometry as g  # noqa: E402
import paint as p  # noqa: E402
import parts  # noqa: E402
import scales  # noqa: E402

LIT_SWITCHES = {"soft": 142, "normalize": 141, "dither": 140, "bypass": 103}
SWITCH_LIT_COLOUR = (58, 128, 236)
BYPASS_LIT_COLOUR = (214, 44, 36)

SIZES = {
    153: (511, 283), 142: (44, 21), 141: (44, 21), 140: (44, 21), 103: (44, 21),
    133: (26, 14), 125: (20, 34), 117: (20, 34), 132: (20, 34), 116: (16, 34),
    120: (45, 12), 129: (13, 21), 130: (21, 13), 127: (44, 18), 106: (15, 257),
    107: (13, 257),
}

NAMES = {
    153: "face", 142: "soft_lit", 141: "normalize_lit", 140: "dither_lit", 103: "bypass_lit",
    133: "auto_release_lit", 125: "handle_green", 117: "handle_blue", 132: "handle_grey",
    116: "handle_narrow_red", 120: "readout", 129: "zoom_handle", 130: "lookahead_handle",
    127: "highlight_mask", 106: "output_meter", 107: "reduction_meter",
}


def render():
    img, bare = face.draw_face()
    out = {153: img}
    for name, rid in LIT_SWITCHES.items():
        x, y = g.SWITCHES[name]
        tile = bare.crop((x, y, x + g.SWITCH_W, y + g.SWITCH_H))
        colour = BYPASS_LIT_COLOUR if name == "bypass" else SWITCH_LIT_COLOUR
        parts.draw_switch(tile, 0, 0, g.SWITCH_W, g.SWITCH_H, face.SWITCH_CAPTIONS[name], True,
                          colour)
        out[rid] = tile
    ax, ay, aw, ah = g.AUTO_SWITCH
    tile = bare.crop((ax, ay, ax + aw, ay + ah))
    parts.draw_switch(tile, 0, 0, aw, ah, ["Auto"], True, SWITCH_LIT_COLOUR, parts.AUTO_FONT)
    out[133] = tile
    out[125] = parts.fader_handle(20, p.ACCENT_GREEN)
    out[117] = parts.fader_handle(20, p.ACCENT_BLUE)
    out[132] = parts.fader_handle(20, (150, 154, 160), dim=0.72)
    out[116] = parts.fader_handle(16, p.ACCENT_RED)
    out[120] = parts.readout_face()
    out[129] = parts.vertical_slider_handle(g.ZOOM.width, (240, 244, 250))
    out[130] = parts.horizontal_slider_handle(g.LOOK_AHEAD.height, (240, 244, 250))
    out[127] = parts.highlight_mask()
    out[106] = parts.output_bar(lit=True)
    out[107] = parts.reduction_bar(lit=True)
    for rid, im in out.items():
        if im.size != SIZES[rid]:
            raise SystemExit("bitmap %d is %dx%d, expected %dx%d" % ((rid,) + im.size + SIZES[rid]))
    return out


def file_name(rid):
    return "bmp%d_%s.bmp" % (rid, NAMES[rid])


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("outdir")
    ap.add_argument("--preview")
    ap.add_argument("--ticks", action="store_true")
    args = ap.parse_args()
    bitmaps = render()
    os.makedirs(args.outdir, exist_ok=True)
    for rid, im in sorted(bitmaps.items()):
        path = os.path.join(args.outdir, file_name(rid))
        tmp = path + ".tmp"
        im.convert("RGB").save(tmp, "BMP")
        os.replace(tmp, path)
    if args.preview:
        import preview

        preview.compose(bitmaps).save(args.preview)
    if args.ticks:
        for name, rows in scales.tick_table():
            print("%-20s %s" % (name, ", ".join("%s@%d" % r for r in rows)))


if __name__ == "__main__":
    main()
