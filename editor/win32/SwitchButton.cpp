#include "SwitchButton.h"

#include "ControlPaint.h"
#include "SwitchGeometry.h"

SwitchButton::SwitchButton(HWND window, HBITMAP litBitmap, HDC backgroundDC, std::int32_t x,
                           std::int32_t y, std::int32_t width, std::int32_t height) noexcept
    : window_(window), backgroundDC_(backgroundDC), litBitmap_(litBitmap), x_(x), y_(y),
      width_(width), height_(height) {
  draw();
}

void SwitchButton::draw() noexcept {
  if (!IsWindow(window_)) {
    return;
  }
  HDC dc = GetDC(window_);
  if (dc == nullptr) {
    return;
  }
  if (state_ != 0) {
    drawBitmap(dc, litBitmap_, x_, y_, width_, height_);
  } else {
    // The background carries the unlit picture of every switch.
    BitBlt(dc, x_, y_, width_, height_, backgroundDC_, x_, y_, SRCCOPY);
  }
  ReleaseDC(window_, dc);
}

void SwitchButton::setState(std::int32_t state) noexcept {
  state_ = state;
  draw();
}

bool SwitchButton::hitTest(std::int32_t px, std::int32_t py) const noexcept {
  return switchHit(x_, y_, width_, height_, px, py);
}
