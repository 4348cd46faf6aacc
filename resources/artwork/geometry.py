"""Where the editor puts things, and how values land on pixels.

The numbers mirror the editor's layout so that every scale tick sits on the row or column
the control's handle mark reaches for that value. Change them together with the editor.
"""

import math
import struct

FACE_W, FACE_H = 511, 283


class Control:
    """A travelling control: origin (x, y), breadth across the travel, value range, length."""

    def __init__(self, x, y, breadth, vmin, vmax, length):
        self.x, self.y, self.breadth = x, y, breadth
        self.vmin, self.vmax, self.length = vmin, vmax, length

    def offset(self, value):
        return offset(value, self.vmin, self.vmax, self.length)


class Fader(Control):
    """Vertical fader: x is the left edge of the handle column, y the row of min."""

    width = property(lambda self: self.breadth)

    @property
    def column(self):
        # The rectangle a handle paint restores from the face: (left, top, right, bottom) inclusive.
        return (self.x, self.y - 16, self.x + self.width - 1, self.y - 16 + self.length + 33)

    def row(self, value):
        return self.y + self.offset(value)


class VSlider(Fader):
    @property
    def column(self):
        return (self.x, self.y - 11, self.x + self.width - 1, self.y - 11 + self.length + 20)


class HSlider(Control):
    """Horizontal slider: x is the column of min, y the top of the handle row."""

    height = property(lambda self: self.breadth)

    @property
    def strip(self):
        return (self.x - 11, self.y, self.x - 11 + self.length + 20, self.y + self.height - 1)

    def col(self, value):
        return self.x + self.offset(value)


def f32(v):
    return struct.unpack("f", struct.pack("f", v))[0]


def offset(value, vmin, vmax, length):
    """Handle offset from the min end: the ratio in single precision, the product in double."""
    ratio = f32(f32(f32(value) - f32(vmin)) / f32(f32(vmax) - f32(vmin)))
    return int(ratio * (float(length) - 1.0))


THR_COMP = Fader(35, 66, 20, 1, 72, 155)
RATIO = Fader(78, 66, 20, 2, 60, 155)
RELEASE = Fader(127, 66, 20, 10, 999, 138)
OUTPUT = Fader(411, 103, 20, 0, 24000, 110)
THR_LIM = Fader(14, 66, 16, 0, 48, 93)
ZOOM = VSlider(304, 221, 13, 1, 20, 41)
LOOK_AHEAD = HSlider(86, 256, 13, 3, 999, 57)

# Handle bitmaps: the row (fader, vertical slider) or column (horizontal slider) of the
# bitmap that lands on the value's pixel.
FADER_HANDLE_H = 34
FADER_MARK = 16
SLIDER_HANDLE_L = 21
SLIDER_MARK = 11

READOUT_W, READOUT_H = 45, 15
READOUT_FACE_H = 12
READOUTS = {"threshold": (14, 13), "ratio": (66, 13), "release": (118, 13), "output": (398, 51)}
RMS_RECT = (398, 14, 444, 28)  # left, top, right, bottom (exclusive)
RMS_BACKGROUND = (154, 172, 194)

SWITCH_W, SWITCH_H = 44, 21
SWITCHES = {
    "soft": (354, 118),
    "normalize": (354, 144),
    "dither": (354, 170),
    "bypass": (354, 196),
}
AUTO_SWITCH = (124, 223, 26, 14)

WAVE = (175, 13, 122, 256)  # x, y, width, height
REDUCTION_METER = (328, 13, 13, 257)
OUTPUT_METERS = (460, 13, 31, 257)
OUTPUT_BAR_W = 15
OUTPUT_BAR_GAP = 1

THRESHOLD_CAPTION = (13, 35, 59, 43)  # inclusive click region
LOGO = (355, 239, 446, 266)
REDUCTION_CLICK = (328, 14, 341, 269)
OUTPUT_CLICK = (461, 14, 490, 269)

HIGHLIGHT_W, HIGHLIGHT_H = 44, 18
HIGHLIGHT_USED_W, HIGHLIGHT_USED_H = 42, 16


def reduction_pixels(db):
    return int(math.log10(10.0 ** (db / 20.0)) * 426.6666)


def reduction_row(db):
    """Window row of the reduction meter's peak-hold line for db of gain reduction."""
    return REDUCTION_METER[1] + max(0, min(256, reduction_pixels(db)))


def output_level(dbfs):
    return int(math.log10(10.0 ** (dbfs / 20.0) * 32768.0) * 213.33333 - 769.299)


def output_row(dbfs):
    """Window row of an output meter's peak-hold line for a peak of dbfs."""
    return 270 - max(0, min(256, output_level(dbfs)))


def output_bar_dbfs(bar_row):
    """Level (dBFS) at a row of the lit output bar, whose row 0 is window row 13."""
    return (270 - (bar_row + 13) - 193.997) / (213.33333 / 20.0)


def reduction_bar_db(bar_row):
    return bar_row / (426.6666 / 20.0)
