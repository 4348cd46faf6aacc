#include "HighlightTables.h"

namespace {

bool insideMask(std::int32_t x, std::int32_t y) noexcept {
  return x >= 0 && x < HighlightTables::kMaskWidth && y >= 0 && y < HighlightTables::kMaskHeight;
}

std::size_t maskIndex(std::int32_t x, std::int32_t y) noexcept {
  return static_cast<std::size_t>(x * HighlightTables::kMaskHeight + y);
}

} // namespace

void HighlightTables::setMask(std::int32_t x, std::int32_t y, std::uint8_t m) noexcept {
  if (!insideMask(x, y)) {
    return;
  }
  add_[maskIndex(x, y)] = static_cast<float>(m);
  keep_[maskIndex(x, y)] = static_cast<float>(255 - m) / 255.0f;
}

std::uint32_t HighlightTables::blend(std::uint32_t colour, std::int32_t x,
                                     std::int32_t y) const noexcept {
  if (!insideMask(x, y)) {
    return colour;
  }
  const float add = add_[maskIndex(x, y)];
  const float keep = keep_[maskIndex(x, y)];
  std::uint32_t result = 0;
  for (unsigned shift = 0; shift < 24; shift += 8) {
    const auto component = static_cast<float>((colour >> shift) & 0xFFu);
    // The largest result is 255 + rounding, so the int conversion is always defined.
    const auto blended =
        static_cast<std::uint32_t>(static_cast<std::int32_t>(component * keep + add));
    result |= (blended & 0xFFu) << shift;
  }
  return result;
}
