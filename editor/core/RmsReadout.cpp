#include "RmsReadout.h"

#include "FullScale.h"
#include "HostText.h"

#include <cmath>
#include <cstring>

namespace {

// Puts a full-scale sine at 0 dB: 20 log10(32768 / sqrt 2).
constexpr float kSineOffset = 87.298f;
constexpr float kTickFloor = -99.9f;
constexpr float kPaintFloor = -99.999f;
constexpr const char* kSilenceText = "-INF";
constexpr const char* kUnitText = " dB";

} // namespace

float rmsLevel(float sumL, float sumR, std::int32_t count) noexcept {
  const float m = std::fmax(sumL, sumR); // a NaN channel leaves the other one shown
  if (count <= 0 || !(m > 0.0f) || !std::isfinite(m)) {
    return std::nanf("");
  }
  return 20.0f * std::log10(std::sqrt(m / static_cast<float>(count)) * kFullScaleUnits) -
         kSineOffset;
}

void formatRmsReadout(float sumL, float sumR, std::int32_t count, RmsFloor floor, char* text,
                      std::size_t capacity) noexcept {
  const float v = rmsLevel(sumL, sumR, count);
  const float limit = floor == RmsFloor::Tick ? kTickFloor : kPaintFloor;
  if (!(v >= limit) || !std::isfinite(v)) {
    writeHostText(text, kSilenceText, capacity);
    return;
  }
  char number[kRmsTextCapacity];
  formatFixed(number, sizeof number, static_cast<double>(v), 2, 1);
  char joined[kRmsTextCapacity + 4];
  const std::size_t n = std::strlen(number);
  std::memcpy(joined, number, n);
  std::memcpy(joined + n, kUnitText, std::strlen(kUnitText) + 1);
  writeHostText(text, joined, capacity);
}
