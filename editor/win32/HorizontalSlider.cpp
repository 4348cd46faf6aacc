#include "HorizontalSlider.h"

HorizontalSlider::HorizontalSlider(HWND window, HBITMAP handleBitmap, HDC backgroundDC,
                                   std::int32_t x, std::int32_t y, float min, float max,
                                   float length, std::int32_t breadth) noexcept
    : track_(window, handleBitmap, backgroundDC, TrackAxis::horizontal, kSliderGrip, x, y, min, max,
             length, breadth) {
  draw();
}

void HorizontalSlider::draw() noexcept { track_.drawHandle(); }

void HorizontalSlider::setValue(float v) noexcept { track_.setValue(v); }

bool HorizontalSlider::grabHandle(std::int32_t px, std::int32_t py) noexcept {
  return track_.grab(px, py).taken;
}

void HorizontalSlider::dragTo(std::int32_t px) noexcept { track_.drag(px, 0); }

bool HorizontalSlider::stepToward(std::int32_t px, std::int32_t py, float step) noexcept {
  return track_.stepToward(px, py, step).taken;
}
