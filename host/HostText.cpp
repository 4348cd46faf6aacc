#include "HostText.h"

#include <charconv>
#include <cmath>
#include <cstring>

bool writeHostText(char* dst, const char* src, std::size_t capacity) noexcept {
  if (dst == nullptr || capacity == 0) {
    return false;
  }
  std::size_t n = 0;
  if (src != nullptr) {
    while (n + 1 < capacity && src[n] != '\0') {
      dst[n] = src[n];
      ++n;
    }
  }
  dst[n] = '\0';
  return true;
}

bool formatFixed(char* dst, std::size_t capacity, double value, int width, int precision) noexcept {
  char digits[64];
  std::to_chars_result r{};
  if (std::isfinite(value)) {
    r = std::to_chars(digits, digits + sizeof digits - 1, value, std::chars_format::fixed,
                      precision);
  } else {
    const char* word = std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
    r.ptr = digits + std::strlen(word);
    std::memcpy(digits, word, std::strlen(word));
    r.ec = std::errc{};
  }
  if (r.ec != std::errc{}) {
    return writeHostText(dst, "", capacity);
  }
  *r.ptr = '\0';
  const auto len = static_cast<std::size_t>(r.ptr - digits);
  char padded[96];
  std::size_t pad = width > 0 && static_cast<std::size_t>(width) > len
                        ? static_cast<std::size_t>(width) - len
                        : 0;
  std::memset(padded, ' ', pad);
  std::memcpy(padded + pad, digits, len + 1);
  return writeHostText(dst, padded, capacity);
}
