// The numeric read-out box of a fader: its text, colour, text rectangle and mouse area.
#pragma once

#include "ControlConstants.h"
#include "PixelRect.h"

#include <cstdint>

using ReadoutText = char[kReadoutTextCapacity];

// The read-out of value in the given kind, number and unit, e.g. "-36.0 dB" for ThrComp 72.
// The text always ends with a zero within the buffer; an unknown kind gives an empty text.
void formatReadout(std::int32_t kind, float value, ReadoutText& text) noexcept;

// The Release kind turns light blue when highlightMark is exactly 1.0 (auto release), the
// Output kind when highlightFlag is set (Auto Normalize); the limiter threshold is always red.
Rgb readoutColour(std::int32_t kind, float highlightMark, std::int32_t highlightFlag) noexcept;

// The rectangle the text is centred in, for a box whose top-left corner is (x, y).
PixelRect readoutTextRect(std::int32_t kind, std::int32_t x, std::int32_t y) noexcept;

// True when (px, py) lies on the box at (x, y): 45 columns and 15 rows.
bool readoutHit(std::int32_t x, std::int32_t y, std::int32_t px, std::int32_t py) noexcept;
