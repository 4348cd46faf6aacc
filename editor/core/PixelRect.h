// A rectangle in client pixels, right and bottom exclusive (the Win32 RECT convention).
#pragma once

#include <cstdint>

struct PixelRect {
  std::int32_t left;
  std::int32_t top;
  std::int32_t right;
  std::int32_t bottom;
  friend constexpr bool operator==(const PixelRect& lhs, const PixelRect& rhs) {
    return lhs.left == rhs.left && lhs.top == rhs.top && lhs.right == rhs.right &&
           lhs.bottom == rhs.bottom;
  }
};
