// The numeric-entry boxes' texts: what a box shows when it opens, how the typed text is read
// back, and what the number means in its fader's units. Portable.
#pragma once

#include "Readout.h"

#include <cstddef>
#include <cstdint>

// What a box edits. The number typed is dB of gain (Output), milliseconds (Release), the
// ratio's first number (Ratio) or dB below full scale whatever its sign (Threshold).
enum class EntryUnit { Output, Release, Ratio, Threshold };

// Characters of a box's text that a commit reads.
inline constexpr std::size_t kEntryReadLength = 15;

// The text a box opens with for fader value v, the same the read-out shows: "0.00 dB",
// "250 ms", "3.0 : 1", "-10.0 dB".
void formatEntryText(EntryUnit unit, float faderValue, ReadoutText& text) noexcept;

// The leading decimal number of text: blanks, an optional sign, digits with an optional
// decimal point (a point whatever the locale). What follows, such as the unit, is ignored; no
// number reads as 0. Reads at most length characters and stops at a zero byte.
double parseEntryNumber(const char* text, std::size_t length) noexcept;

// The fader value the number n means; the fader clamps it into its range.
float entryFaderValue(EntryUnit unit, double n) noexcept;
