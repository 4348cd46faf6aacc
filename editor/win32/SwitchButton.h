// An on/off switch: its lit bitmap when on, the background's unlit picture when off.
// UI thread only.
#pragma once

#include <windows.h>

#include <cstdint>

class SwitchButton {
public:
  // (x, y): top-left corner. Starts off and paints once.
  SwitchButton(HWND window, HBITMAP litBitmap, HDC backgroundDC, std::int32_t x, std::int32_t y,
               std::int32_t width, std::int32_t height) noexcept;

  void draw() noexcept;
  // Stores and repaints even when the state is unchanged.
  void setState(std::int32_t state) noexcept;
  std::int32_t getState() const noexcept { return state_; }
  // Right and bottom edges included: a w x h switch answers for (w + 1) x (h + 1) pixels.
  bool hitTest(std::int32_t px, std::int32_t py) const noexcept;

private:
  HWND window_;
  HDC backgroundDC_;
  HBITMAP litBitmap_;
  std::int32_t x_;
  std::int32_t y_;
  std::int32_t width_;
  std::int32_t height_;
  std::int32_t state_ = 0;
};
