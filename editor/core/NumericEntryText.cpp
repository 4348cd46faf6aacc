#include "NumericEntryText.h"

#include "Conversions.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

bool isBlank(char c) noexcept {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) noexcept { return c >= '0' && c <= '9'; }

std::int32_t readoutKindOf(EntryUnit unit) noexcept {
  switch (unit) {
  case EntryUnit::Output:
    return kReadoutOutput;
  case EntryUnit::Release:
    return kReadoutRelease;
  case EntryUnit::Ratio:
    return kReadoutRatio;
  case EntryUnit::Threshold:
    break;
  }
  // Both threshold kinds read -steps/2 dB.
  return kReadoutCompThreshold;
}

} // namespace

void formatEntryText(EntryUnit unit, float faderValue, ReadoutText& text) noexcept {
  formatReadout(readoutKindOf(unit), faderValue, text);
}

double parseEntryNumber(const char* text, std::size_t length) noexcept {
  if (text == nullptr) {
    return 0.0;
  }
  std::size_t end = 0;
  while (end < length && text[end] != '\0') {
    ++end;
  }
  std::size_t i = 0;
  while (i < end && isBlank(text[i])) {
    ++i;
  }
  const bool negative = i < end && text[i] == '-';
  if (i < end && (text[i] == '-' || text[i] == '+')) {
    ++i;
  }
  // Only digits and one point go to from_chars: it would also take "inf", "nan" and
  // exponents, which are no decimal numbers here.
  const std::size_t first = i;
  std::size_t digits = 0;
  bool point = false;
  for (; i < end; ++i) {
    if (isDigit(text[i])) {
      ++digits;
    } else if (text[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0) {
    return 0.0;
  }
  double magnitude = 0.0;
  const std::from_chars_result parsed =
      std::from_chars(text + first, text + i, magnitude, std::chars_format::fixed);
  if (parsed.ec != std::errc{}) {
    return 0.0;
  }
  return negative ? -magnitude : magnitude;
}

float entryFaderValue(EntryUnit unit, double n) noexcept {
  double value = n;
  switch (unit) {
  case EntryUnit::Output:
    value = outputStepsOfDb(n);
    break;
  case EntryUnit::Release:
    break;
  case EntryUnit::Ratio:
    value = n * 2.0;
    break;
  case EntryUnit::Threshold:
    value = 2.0 * std::fabs(n);
    break;
  }
  // Only a text far longer than a box reads can leave the float range.
  constexpr double kLargest = std::numeric_limits<float>::max();
  return static_cast<float>(value > kLargest ? kLargest : (value < -kLargest ? -kLargest : value));
}
