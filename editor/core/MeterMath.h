// Pixel arithmetic of the output, reduction and peak-hold meters. Levels are meter heights in
// pixels (0..256); marks are window rows of the peak-hold lines.
#pragma once

#include <cstdint>

constexpr std::int32_t kMeterMaxLevel = 256;
// Auto Normalize keeps the output meters one pixel under a full-scale peak (193).
constexpr std::int32_t kNormalizeMeterLimit = 192;
// Window rows of the meters' first and last lines, which frame the visible peak-hold marks.
constexpr std::int32_t kMeterTopRow = 13;
constexpr std::int32_t kMeterBottomRow = 270;
// Output peak-hold marks above this row hold a level beyond full scale (drawn red).
constexpr std::int32_t kFullScaleMarkRow = 77;

// Output meter height for output peak o and output gain: 10.67 px/dB, 193 at full scale, 0..256.
std::int32_t outputMeterLevel(float outputPeak, float outputGain) noexcept;
// Gain reduction in pixels (21.33 px/dB, 128 for 6 dB), 0..256; silence or NaN gives 0.
std::int32_t reductionPixels(float inputPeak, float outputPeak) noexcept;
// An output level limited to what Auto Normalize (or meterClampOnce) lets the meters show.
std::int32_t limitToNormalizeCeiling(std::int32_t level) noexcept;
// One smoothing step: jump up at once, fall by half the gap plus one; 0 when bypassed.
std::int32_t smoothMeterLevel(std::int32_t current, std::int32_t target, bool bypassed) noexcept;

struct PeakMark {
  std::int32_t mark;      // window row of the peak-hold line
  std::int32_t holdCount; // ticks since the mark last moved to the level
};

// Reduction meter (lit from the top): the mark follows a deeper reduction or an expired hold.
PeakMark holdReductionPeak(std::int32_t level, PeakMark current) noexcept;
// Output meter (lit from the bottom): the mark follows a higher level or an expired hold.
PeakMark holdOutputPeak(std::int32_t level, PeakMark current) noexcept;
// The hold counter after a tick: counts 0..peakHoldTicks - 1; a non-positive length holds nothing.
std::int32_t nextHoldCount(std::int32_t holdCount, std::int32_t peakHoldTicks) noexcept;
// Whether a mark lies inside the meter and its line is drawn.
bool peakMarkVisible(std::int32_t mark) noexcept;
// Whether an output mark holds a level above full scale (red line instead of green).
bool peakMarkAboveFullScale(std::int32_t mark) noexcept;
