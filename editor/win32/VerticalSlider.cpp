#include "VerticalSlider.h"

VerticalSlider::VerticalSlider(HWND window, HBITMAP handleBitmap, HDC backgroundDC, std::int32_t x,
                               std::int32_t y, float min, float max, float length,
                               std::int32_t breadth) noexcept
    : track_(window, handleBitmap, backgroundDC, TrackAxis::vertical, kSliderGrip, x, y, min, max,
             length, breadth) {
  draw();
}

void VerticalSlider::draw() noexcept { track_.drawHandle(); }

void VerticalSlider::setValue(float v) noexcept { track_.setValue(v); }

bool VerticalSlider::grabHandle(std::int32_t px, std::int32_t py) noexcept {
  return track_.grab(px, py).taken;
}

void VerticalSlider::dragTo(std::int32_t px, std::int32_t py) noexcept { track_.drag(px, py); }

bool VerticalSlider::stepToward(std::int32_t px, std::int32_t py, float step) noexcept {
  return track_.stepToward(px, py, step).taken;
}

// Repaints also when only the handle's pixel moves, so the handle never stands at a place
// that belongs to another value.
void VerticalSlider::setRange(float newMin, float newMax) noexcept {
  track_.setRange(newMin, newMax);
}
