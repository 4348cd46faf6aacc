#include "WaveColumn.h"

#include "FullScale.h"

namespace {

constexpr std::int64_t kZoomDivisor = 512;
constexpr float kThresholdPixelsPerZoom = 64.0f;

std::int32_t clampRow(std::int64_t row) noexcept {
  if (row < 0) {
    return 0;
  }
  return row > kWaveBottomRow ? kWaveBottomRow : static_cast<std::int32_t>(row);
}

// zoom x value / 512, truncating toward zero, with no overflow for any zoom the host can set.
std::int64_t zoomedPixels(std::int32_t zoom, std::int32_t value) noexcept {
  return std::int64_t{zoom} * value / kZoomDivisor;
}

ThresholdRows thresholdRows(float offset) noexcept {
  // Compared as a float first so that NaN, infinity or a huge zoom never reaches the conversion;
  // every offset let through puts both lines on the display.
  constexpr auto kLimit = static_cast<float>(kWaveHalfHeight);
  if (!(offset > -(kLimit + 1.0f) && offset < kLimit)) {
    return {false, 0, 0};
  }
  const auto a = static_cast<std::int32_t>(offset);
  return {true, kWaveCentreRow - 1 - a, kWaveCentreRow + a};
}

} // namespace

std::int32_t waveUnits(float value) noexcept {
  const float units = value * kFullScaleUnits;
  if (units != units) {
    return 0;
  }
  if (units >= static_cast<float>(kWaveUnitLimit)) {
    return kWaveUnitLimit;
  }
  if (units <= -static_cast<float>(kWaveUnitLimit)) {
    return -kWaveUnitLimit;
  }
  return static_cast<std::int32_t>(units);
}

std::int32_t waveMaxRow(std::int32_t zoom, std::int32_t value) noexcept {
  std::int64_t pixels = zoomedPixels(zoom, value);
  if (pixels > kWaveHalfHeight) {
    pixels = kWaveHalfHeight;
  }
  return clampRow(kWaveCentreRow - pixels);
}

std::int32_t waveMinRow(std::int32_t zoom, std::int32_t value) noexcept {
  std::int64_t pixels = zoomedPixels(zoom, value);
  if (pixels < -kWaveHalfHeight) {
    pixels = -kWaveHalfHeight;
  }
  return clampRow(kWaveCentreRow - pixels);
}

WaveSpan waveSpan(std::int32_t zoom, std::int32_t hi, std::int32_t lo) noexcept {
  return {waveMaxRow(zoom, hi), waveMinRow(zoom, lo)};
}

WaveColumnRows waveColumnRows(std::int32_t zoom, const WaveEntry& entry) noexcept {
  return {waveSpan(zoom, entry[kInputMax], entry[kInputMin]),
          waveSpan(zoom, entry[kCompressedMax], entry[kCompressedMin]),
          waveSpan(zoom, entry[kLimitedMax], entry[kLimitedMin])};
}

ThresholdRows compressorThresholdRows(float compThreshold, std::int32_t zoom) noexcept {
  return thresholdRows(compThreshold * kThresholdPixelsPerZoom * static_cast<float>(zoom) - 1.0f);
}

ThresholdRows limiterThresholdRows(float limThreshold, std::int32_t zoom) noexcept {
  return thresholdRows(limThreshold * kThresholdPixelsPerZoom * static_cast<float>(zoom));
}
