#include "MeterMath.h"

#include "FullScale.h"

#include <cmath>

namespace {

constexpr float kOutputPixelsPerDecade = 213.33333f;
constexpr float kOutputLevelOffset = 769.299f;
constexpr float kReductionPixelsPerDecade = 426.6666f;

// A pixel height from a float: NaN and anything below 0 show nothing, anything above (up to
// infinity) fills the meter; only then is the value converted, so it always fits.
std::int32_t meterPixels(float pixels) noexcept {
  if (!(pixels >= 0.0f)) {
    return 0;
  }
  if (pixels >= static_cast<float>(kMeterMaxLevel)) {
    return kMeterMaxLevel;
  }
  return static_cast<std::int32_t>(pixels);
}

} // namespace

std::int32_t outputMeterLevel(float outputPeak, float outputGain) noexcept {
  const float scaled = outputPeak * kFullScaleUnits * outputGain;
  return meterPixels(std::log10(scaled) * kOutputPixelsPerDecade - kOutputLevelOffset);
}

std::int32_t reductionPixels(float inputPeak, float outputPeak) noexcept {
  return meterPixels(std::log10(inputPeak / outputPeak) * kReductionPixelsPerDecade);
}

std::int32_t limitToNormalizeCeiling(std::int32_t level) noexcept {
  return level > kNormalizeMeterLimit ? kNormalizeMeterLimit : level;
}

std::int32_t smoothMeterLevel(std::int32_t current, std::int32_t target, bool bypassed) noexcept {
  std::int64_t next = current;
  if (target > current) {
    next = target;
  } else {
    next -= (std::int64_t{current} - target) / 2 + 1;
  }
  if (next < 0 || bypassed) {
    return 0;
  }
  return static_cast<std::int32_t>(next);
}

PeakMark holdReductionPeak(std::int32_t level, PeakMark current) noexcept {
  const std::int32_t row = level + kMeterTopRow;
  if (row > current.mark) {
    current = {row, 0};
  }
  if (current.holdCount == 0) {
    current.mark = row;
  }
  return current;
}

PeakMark holdOutputPeak(std::int32_t level, PeakMark current) noexcept {
  const std::int32_t row = kMeterBottomRow - level;
  if (row < current.mark) {
    current = {row, 0};
  }
  if (current.holdCount == 0) {
    current.mark = row;
  }
  return current;
}

std::int32_t nextHoldCount(std::int32_t holdCount, std::int32_t peakHoldTicks) noexcept {
  if (peakHoldTicks <= 0) {
    return 0;
  }
  const std::int64_t next = (std::int64_t{holdCount} + 1) % peakHoldTicks;
  return static_cast<std::int32_t>(next < 0 ? next + peakHoldTicks : next);
}

bool peakMarkVisible(std::int32_t mark) noexcept {
  return mark > kMeterTopRow && mark < kMeterBottomRow;
}

bool peakMarkAboveFullScale(std::int32_t mark) noexcept { return mark < kFullScaleMarkRow; }
