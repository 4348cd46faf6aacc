#include "Readout.h"

#include "Conversions.h"
#include "HostText.h"

#include <cstddef>
#include <cstring>

namespace {

struct ReadoutFormat {
  int width;
  int precision;
  const char* unit;
};

bool knownKind(std::int32_t kind) noexcept {
  return kind >= kReadoutCompThreshold && kind <= kReadoutLimThreshold;
}

// Indexed by kind - 1.
constexpr ReadoutFormat kFormats[] = {
    {2, 1, " dB"}, {2, 1, " : 1"}, {3, 0, " ms"}, {2, 2, " dB"}, {2, 1, " dB"}};

float readoutNumber(std::int32_t kind, float value) noexcept {
  switch (kind) {
  case kReadoutCompThreshold:
  case kReadoutLimThreshold:
    // Subtracting from -0.0 keeps the sign at 0 steps: the limiter at 0 reads "-0.0 dB".
    return (-0.0f - value) * 0.5f;
  case kReadoutRatio:
    return value * 0.5f;
  case kReadoutOutput:
    return outputDbOfSteps(value);
  default:
    return value;
  }
}

} // namespace

void formatReadout(std::int32_t kind, float value, ReadoutText& text) noexcept {
  text[0] = '\0';
  if (!knownKind(kind)) {
    return;
  }
  const ReadoutFormat& format = kFormats[kind - 1];
  formatFixed(text, sizeof text, static_cast<double>(readoutNumber(kind, value)), format.width,
              format.precision);
  const std::size_t used = std::strlen(text);
  writeHostText(text + used, format.unit, sizeof text - used);
}

Rgb readoutColour(std::int32_t kind, float highlightMark, std::int32_t highlightFlag) noexcept {
  switch (kind) {
  case kReadoutRelease:
    return highlightMark == 1.0f ? kReadoutLightBlue : kReadoutWhite;
  case kReadoutOutput:
    return highlightFlag != 0 ? kReadoutLightBlue : kReadoutWhite;
  case kReadoutLimThreshold:
    return kReadoutLightRed;
  default:
    return kReadoutWhite;
  }
}

PixelRect readoutTextRect(std::int32_t kind, std::int32_t x, std::int32_t y) noexcept {
  const std::int32_t inset = kind == kReadoutOutput ? kReadoutOutputTextInset : kReadoutTextInset;
  return {x + inset, y + kReadoutTextInset, x + kReadoutWidth, y + kReadoutTextBottom};
}

bool readoutHit(std::int32_t x, std::int32_t y, std::int32_t px, std::int32_t py) noexcept {
  const std::int64_t dx = std::int64_t{px} - x;
  const std::int64_t dy = std::int64_t{py} - y;
  return dx >= 0 && dx < kReadoutWidth && dy >= 0 && dy < kReadoutHitHeight;
}
