// Row arithmetic of the wave display: one column per display tick, 256 rows, full scale
// 64 x zoom pixels from the centre line. Wave values are in 1/32768 of full scale.
#pragma once

#include <array>
#include <cstdint>

constexpr std::int32_t kWaveCentreRow = 128;
constexpr std::int32_t kWaveHalfHeight = 128;
constexpr std::int32_t kWaveBottomRow = kWaveCentreRow + kWaveHalfHeight;
// Far beyond what any zoom can show (512 x full scale), so clamping changes no visible row
// while zoom x value stays far inside 64 bits.
constexpr std::int32_t kWaveUnitLimit = 1 << 24;

// The six values of one column, in the order of the history series.
enum WaveSeries : std::size_t {
  kInputMax = 0,
  kInputMin,
  kLimitedMax,
  kLimitedMin,
  kCompressedMax,
  kCompressedMin,
  kWaveSeriesCount
};
using WaveEntry = std::array<std::int32_t, kWaveSeriesCount>;

// A vertical line from the maximum's row (top) to the minimum's row (bottom), window rows 0..256.
struct WaveSpan {
  std::int32_t top;
  std::int32_t bottom;
};

// The three lines of one column, in drawing order after the input (and its mask) line.
struct WaveColumnRows {
  WaveSpan input;
  WaveSpan compressed;
  WaveSpan limited;
};

// Both lines of a threshold (above and below the centre), shown only when inside the display.
struct ThresholdRows {
  bool shown;
  std::int32_t upper;
  std::int32_t lower;
};

// A feed value as truncate(value x 32768); NaN gives 0, huge values saturate at the limit.
std::int32_t waveUnits(float value) noexcept;
// Row of a maximum: 128 - min(zoom x value / 512, 128), kept inside 0..256.
std::int32_t waveMaxRow(std::int32_t zoom, std::int32_t value) noexcept;
// Row of a minimum: 128 - max(zoom x value / 512, -128), kept inside 0..256.
std::int32_t waveMinRow(std::int32_t zoom, std::int32_t value) noexcept;
// The line for an envelope with maximum hi and minimum lo.
WaveSpan waveSpan(std::int32_t zoom, std::int32_t hi, std::int32_t lo) noexcept;
// The input, compressed and limited lines of one history entry at the given zoom.
WaveColumnRows waveColumnRows(std::int32_t zoom, const WaveEntry& entry) noexcept;
// Compressor threshold lines: a = truncate(threshold x 64 x zoom - 1), rows 127 - a and 128 + a.
ThresholdRows compressorThresholdRows(float compThreshold, std::int32_t zoom) noexcept;
// Limiter threshold lines: a = truncate(threshold x 64 x zoom), rows 127 - a and 128 + a.
ThresholdRows limiterThresholdRows(float limThreshold, std::int32_t zoom) noexcept;
