// A slider travelling top to bottom, painted straight into the editor window. UI thread only.
#pragma once

#include "TrackControl.h"

#include <windows.h>

#include <cstdint>

class VerticalSlider {
public:
  // x: the left edge of the handle column; y: the row of min; breadth: the handle column's
  // width. Paints once.
  VerticalSlider(HWND window, HBITMAP handleBitmap, HDC backgroundDC, std::int32_t x,
                 std::int32_t y, float min, float max, float length, std::int32_t breadth) noexcept;

  void draw() noexcept;
  void setValue(float v) noexcept;
  float getValue() const noexcept { return track_.model().value(); }
  // Clamps the value into the new range and repaints when the handle's pixel changes.
  void setRange(float newMin, float newMax) noexcept;

  bool grabHandle(std::int32_t px, std::int32_t py) noexcept;
  void dragTo(std::int32_t px, std::int32_t py) noexcept;
  bool stepToward(std::int32_t px, std::int32_t py, float step) noexcept;

private:
  TrackControl track_;
};
