// A slider travelling left to right, painted straight into the editor window. UI thread only.
#pragma once

#include "TrackControl.h"

#include <windows.h>

#include <cstdint>

class HorizontalSlider {
public:
  // x: the column of min; y: the top of the handle row; breadth: the handle row's height.
  // Paints once.
  HorizontalSlider(HWND window, HBITMAP handleBitmap, HDC backgroundDC, std::int32_t x,
                   std::int32_t y, float min, float max, float length,
                   std::int32_t breadth) noexcept;

  void draw() noexcept;
  void setValue(float v) noexcept;
  float getValue() const noexcept { return track_.model().value(); }

  bool grabHandle(std::int32_t px, std::int32_t py) noexcept;
  void dragTo(std::int32_t px) noexcept;
  bool stepToward(std::int32_t px, std::int32_t py, float step) noexcept;

private:
  TrackControl track_;
};
