#include "HorizontalSlider.h"

#include "ControlPaint.h"

HorizontalSlider::HorizontalSlider(HWND window, HBITMAP handleBitmap, HDC backgroundDC,
                                   std::int32_t x, std::int32_t y, float min, float max,
                                   float length, std::int32_t breadth) noexcept
    : window_(window), backgroundDC_(backgroundDC), handleBitmap_(handleBitmap), x_(x), y_(y),
      track_(kSliderGrip, min, max, length, breadth) {
  draw();
}

void HorizontalSlider::draw() noexcept {
  if (!track_.shown() || !track_.placeHandle()) {
    return;
  }
  paintTrackHandle(window_, backgroundDC_, handleBitmap_,
                   trackPaintRects(TrackAxis::horizontal, kSliderGrip, x_, y_, track_.position(),
                                   track_.length(), track_.breadth()));
}

void HorizontalSlider::setValue(float v) noexcept {
  if (track_.setValue(v)) {
    draw();
  }
}

bool HorizontalSlider::grabHandle(std::int32_t px, std::int32_t py) noexcept {
  const ControlResponse response = track_.grab(pixelOffset(px, x_), pixelOffset(py, y_));
  if (response.changed) {
    draw();
  }
  return response.taken;
}

void HorizontalSlider::dragTo(std::int32_t px) noexcept {
  if (track_.drag(pixelOffset(px, x_))) {
    draw();
  }
}

bool HorizontalSlider::stepToward(std::int32_t px, std::int32_t py, float step) noexcept {
  const ControlResponse response =
      track_.stepToward(pixelOffset(px, x_), pixelOffset(py, y_), step);
  if (response.changed) {
    draw();
  }
  return response.taken;
}
