// The RMS read-out's text: the louder channel's RMS level in dB of a full-scale sine.
#pragma once

#include <cstddef>
#include <cstdint>

// The display tick shows "-INF" below -99.9 dB, the paint routine only below -99.999 dB.
enum class RmsFloor { Tick, Paint };

// Room for the longest text any float sums can give ("-99.9 dB" or "388.0 dB") and its zero.
constexpr std::size_t kRmsTextCapacity = 16;

// The level v = 20 log10(sqrt(m / n) x 32768) - 87.298 of the larger sum m over n frames; NaN
// when it cannot be computed (no frames, a zero, negative or non-finite sum).
float rmsLevel(float sumL, float sumR, std::int32_t count) noexcept;
// Writes "-INF" or "%2.1f" of the level followed by " dB", with a decimal point in any locale.
void formatRmsReadout(float sumL, float sumR, std::int32_t count, RmsFloor floor, char* text,
                      std::size_t capacity) noexcept;
