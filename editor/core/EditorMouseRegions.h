// Where the editor's mouse messages land: the point a message carries and the fixed click
// regions of the face that are no controls. Client pixels of the editor window. Portable.
#pragma once

#include <cstdint>

struct MousePoint {
  std::int32_t x;
  std::int32_t y;
};

// The point of a mouse message's lParam: two signed 16-bit numbers, x in the low word, so a
// point left of or above the window is negative (as GET_X_LPARAM and GET_Y_LPARAM read it).
MousePoint mousePoint(std::intptr_t lParam) noexcept;

// A rectangle with both its right and its bottom edge included.
struct ClickRegion {
  std::int32_t left;
  std::int32_t top;
  std::int32_t right;
  std::int32_t bottom;
  constexpr bool contains(MousePoint p) const noexcept {
    return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
  }
};

// The "Threshold" caption swaps the two threshold read-outs.
inline constexpr ClickRegion kThresholdLabelRegion{13, 35, 59, 43};
// The logo shows the Info box.
inline constexpr ClickRegion kLogoRegion{355, 239, 446, 266};
// The meters: a click resets their peak memory.
inline constexpr ClickRegion kReductionMeterRegion{328, 14, 341, 269};
inline constexpr ClickRegion kOutputMetersRegion{461, 14, 490, 269};
