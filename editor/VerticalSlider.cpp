#include "VerticalSlider.h"

#include "ControlPaint.h"

VerticalSlider::VerticalSlider(HWND window, HBITMAP handleBitmap, HDC backgroundDC, std::int32_t x,
                               std::int32_t y, float min, float max, float length,
                               std::int32_t breadth) noexcept
    : window_(window), backgroundDC_(backgroundDC), handleBitmap_(handleBitmap), x_(x), y_(y),
      track_(kSliderGrip, min, max, length, breadth) {
  draw();
}

void VerticalSlider::draw() noexcept {
  if (!track_.shown() || !track_.placeHandle()) {
    return;
  }
  paintTrackHandle(window_, backgroundDC_, handleBitmap_,
                   trackPaintRects(TrackAxis::vertical, kSliderGrip, x_, y_, track_.position(),
                                   track_.length(), track_.breadth()));
}

void VerticalSlider::setValue(float v) noexcept {
  if (track_.setValue(v)) {
    draw();
  }
}

bool VerticalSlider::grabHandle(std::int32_t px, std::int32_t py) noexcept {
  const ControlResponse response = track_.grab(pixelOffset(py, y_), pixelOffset(px, x_));
  if (response.changed) {
    draw();
  }
  return response.taken;
}

void VerticalSlider::dragTo(std::int32_t /*px*/, std::int32_t py) noexcept {
  if (track_.drag(pixelOffset(py, y_))) {
    draw();
  }
}

bool VerticalSlider::stepToward(std::int32_t px, std::int32_t py, float step) noexcept {
  const ControlResponse response =
      track_.stepToward(pixelOffset(py, y_), pixelOffset(px, x_), step);
  if (response.changed) {
    draw();
  }
  return response.taken;
}

// Repaints also when only the handle's pixel moves, so the handle never stands at a place
// that belongs to another value.
void VerticalSlider::setRange(float newMin, float newMax) noexcept {
  if (track_.setRange(newMin, newMax)) {
    draw();
  }
}
