"""Scales beside the faders, sliders and meters.

Each tick is placed with the controls' own value-to-pixel rule, so the tick for a value is on
the row (or column) of the handle's mark when the control holds that value.
"""

import geometry as g
import paint as p

NUMBER_FONT = ("SansNarrow-Regular", 10)
UNIT_FONT = ("SansNarrow-Regular", 9)


def _label(v):
    return ("%g" % v).replace("-", "\u2212")


def _magnitude(v):
    return "%g" % abs(v)


def _frange(a, b, step):
    out, v = [], a
    while (step > 0 and v <= b + 1e-9) or (step < 0 and v >= b - 1e-9):
        out.append(round(v, 6))
        v += step
    return out


def fader_scales():
    """(name, fader, side, [(value in steps, label or None)]) for every fader."""
    # Thresholds are never above 0 dB: their scales print magnitudes under a "-dB" unit.
    lim = [(-2 * db, _magnitude(db) if db % 6 == 0 else None) for db in _frange(0, -24, -3)]
    comp = [(1, None)] + [(-2 * db, _magnitude(db) if db % 6 == 0 else None)
                          for db in _frange(-3, -36, -3)]
    ratio = [(2 * r, _label(r) if r == 1 or r % 5 == 0 else None)
             for r in [1, 2, 3, 4] + _frange(5, 30, 2.5)]
    release = [(10, "10")] + [(ms, _label(ms) if ms % 200 == 0 else None)
                              for ms in range(100, 901, 100)] + [(999, "999")]
    output = [(24000 - 1000 * db, _label(db) if db % 4 == 0 else None)
              for db in range(24, -1, -2)]
    return [
        ("ThrLim", g.THR_LIM, "left", "\u2212dB", lim),
        ("ThrComp", g.THR_COMP, "right", "\u2212dB", comp),
        ("Ratio", g.RATIO, "right", ": 1", ratio),
        ("Release", g.RELEASE, "right", "ms", release),
        ("Output", g.OUTPUT, "right", "dB", output),
    ]


def look_ahead_ticks():
    return [(max(g.LOOK_AHEAD.vmin, 100 * ms), str(ms) if ms % 2 == 0 else None)
            for ms in range(0, 11)]


def reduction_ticks():
    return [(db, str(db) if db <= 6 or db % 2 == 0 else None) for db in range(0, 13)]


def output_meter_ticks():
    ticks = []
    for db in range(5, -19, -1):
        label = None
        if db % 3 == 0:
            label = "+%d" % db if db > 0 else _label(db)
        ticks.append((db, label))
    return ticks


def _column_ticks(draw, fader, rows):
    """Ticks inside the handle column, on both sides of the groove: the handle covers them
    where it stands and the face shows them everywhere else."""
    w = fader.width
    inner_l, inner_r = (w - 4) // 2 - 2, (w - 4) // 2 + 5
    for row, label in rows:
        n = 4 if label is not None else 2
        draw.line([(fader.x + inner_l - n + 1, row), (fader.x + inner_l, row)], fill=p.TICK)
        draw.line([(fader.x + inner_r, row), (fader.x + inner_r + n - 1, row)], fill=p.TICK)


def _labels(draw, rows, x, align, fnt, colour=p.LABEL):
    for row, label in rows:
        if label is not None:
            p.text_mid(draw, x, row, label, fnt, colour, align)


def draw_all(draw):
    fnt = p.font(*NUMBER_FONT)
    unit_font = p.font(*UNIT_FONT)
    for _, fader, side, unit, ticks in fader_scales():
        rows = [(fader.row(v), lab) for v, lab in ticks]
        _column_ticks(draw, fader, rows)
        if side == "left":
            _labels(draw, rows, fader.x - 2, "right", fnt)
        else:
            # The unit heads the scale; the narrow scale at the face's edge has no room for it.
            x = fader.x + fader.width + 2
            _labels(draw, rows, x, "left", fnt)
            p.text_mid(draw, x, fader.y - 11, unit, unit_font, p.TICK, "left")

    z = g.ZOOM
    for k in range(5):
        row = z.y + k * (z.length - 1) // 4
        n = 3 if k % 2 == 0 else 2
        draw.line([(z.x + 4 - n, row), (z.x + 3, row)], fill=p.TICK)
        draw.line([(z.x + 9, row), (z.x + 8 + n, row)], fill=p.TICK)
    small = p.font("Sans-Bold", 9)
    p.text_mid(draw, z.x + z.width + 4, z.y, "\u2212", small, p.LABEL, "center")
    p.text_mid(draw, z.x + z.width + 4, z.y + z.length - 1, "+", small, p.LABEL, "center")

    la = g.LOOK_AHEAD
    bottom = la.y + la.height
    for v, lab in look_ahead_ticks():
        col = la.col(v)
        n = 3 if lab is not None else 2
        draw.line([(col, la.y + 9), (col, la.y + 8 + n)], fill=p.TICK)
        if lab is not None:
            p.text_mid(draw, col, bottom + 5, lab, fnt, p.LABEL, "center")

    rx, _, rw, _ = g.REDUCTION_METER
    rows = [(g.reduction_row(db), lab) for db, lab in reduction_ticks()]
    _meter_ticks(draw, rows, rx - 3)
    _labels(draw, rows, rx + rw + 3, "left", fnt)

    mx, _, mw, _ = g.OUTPUT_METERS
    rows = [(g.output_row(db), lab) for db, lab in output_meter_ticks()]
    _meter_ticks(draw, rows, mx - 3)
    _labels(draw, rows, mx + mw + 18, "right", fnt)


def _meter_ticks(draw, rows, right):
    for row, label in rows:
        n = 3 if label is not None else 1
        draw.line([(right - n + 1, row), (right, row)], fill=p.TICK)


def tick_table():
    """The derived rows and columns, for the record."""
    out = []
    for name, fader, _, _, ticks in fader_scales():
        out.append((name, [(lab, fader.row(v)) for v, lab in ticks if lab is not None]))
    out.append(("LookAhead (column)", [(lab, g.LOOK_AHEAD.col(v)) for v, lab in look_ahead_ticks()
                                       if lab is not None]))
    out.append(("Reduction meter", [(lab, g.reduction_row(db)) for db, lab in reduction_ticks()
                                    if lab is not None]))
    out.append(("Output meters", [(lab, g.output_row(db)) for db, lab in output_meter_ticks()
                                  if lab is not None]))
    return out
