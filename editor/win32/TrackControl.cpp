#include "TrackControl.h"

#include "ControlPaint.h"

TrackControl::TrackControl(HWND window, HBITMAP handleBitmap, HDC backgroundDC, TrackAxis axis,
                           TrackGrip grip, std::int32_t x, std::int32_t y, float min, float max,
                           float length, std::int32_t breadth) noexcept
    : window_(window), backgroundDC_(backgroundDC), handleBitmap_(handleBitmap), axis_(axis), x_(x),
      y_(y), model_(grip, min, max, length, breadth) {}

void TrackControl::drawHandle() noexcept {
  if (!model_.shown() || !model_.placeHandle() || !IsWindow(window_)) {
    return;
  }
  HDC dc = GetDC(window_);
  if (dc == nullptr) {
    return;
  }
  const TrackPaintRects rects = trackPaintRects(axis_, model_.grip(), x_, y_, model_.position(),
                                                model_.length(), model_.breadth());
  const PixelRect& handle = rects.handle;
  const PixelRect& strip = rects.strip;
  drawBitmap(dc, handleBitmap_, handle.left, handle.top, handle.right - handle.left,
             handle.bottom - handle.top);
  ExcludeClipRect(dc, handle.left, handle.top, handle.right, handle.bottom);
  BitBlt(dc, strip.left, strip.top, strip.right - strip.left, strip.bottom - strip.top,
         backgroundDC_, strip.left, strip.top, SRCCOPY);
  SelectClipRgn(dc, nullptr);
  ReleaseDC(window_, dc);
}

std::int32_t TrackControl::along(std::int32_t px, std::int32_t py) const noexcept {
  return axis_ == TrackAxis::vertical ? pixelOffset(py, y_) : pixelOffset(px, x_);
}

std::int32_t TrackControl::across(std::int32_t px, std::int32_t py) const noexcept {
  return axis_ == TrackAxis::vertical ? pixelOffset(px, x_) : pixelOffset(py, y_);
}

bool TrackControl::repaintIf(bool changed) noexcept {
  if (changed) {
    drawHandle();
  }
  return changed;
}

ControlResponse TrackControl::repaintIf(ControlResponse response) noexcept {
  repaintIf(response.changed);
  return response;
}

bool TrackControl::setValue(float v) noexcept { return repaintIf(model_.setValue(v)); }

bool TrackControl::setRange(float newMin, float newMax) noexcept {
  return repaintIf(model_.setRange(newMin, newMax));
}

// Hiding paints nothing: the handle stays on the screen until something repaints the track.
bool TrackControl::setShown(bool shown) noexcept { return repaintIf(model_.setShown(shown)); }

ControlResponse TrackControl::grab(std::int32_t px, std::int32_t py) noexcept {
  return repaintIf(model_.grab(along(px, py), across(px, py)));
}

bool TrackControl::drag(std::int32_t px, std::int32_t py) noexcept {
  return repaintIf(model_.drag(along(px, py)));
}

ControlResponse TrackControl::stepToward(std::int32_t px, std::int32_t py, float step) noexcept {
  return repaintIf(model_.stepToward(along(px, py), across(px, py), step));
}
