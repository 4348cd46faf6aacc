// What the fader and the two sliders share: a track model placed in the editor window, and
// the painting of its handle. Every operation that changes the value repaints the handle and
// tells the owner, which repaints whatever else the value shows.
#pragma once

#include "TrackModel.h"
#include "TrackPaint.h"

#include <windows.h>

#include <cstdint>

class TrackControl {
public:
  TrackControl(HWND window, HBITMAP handleBitmap, HDC backgroundDC, TrackAxis axis, TrackGrip grip,
               std::int32_t x, std::int32_t y, float min, float max, float length,
               std::int32_t breadth) noexcept;

  TrackModel& model() noexcept { return model_; }
  const TrackModel& model() const noexcept { return model_; }
  HWND window() const noexcept { return window_; }

  // Places the handle and, when it lies on the track and the window is live, draws it first
  // and then restores the track strip from the background with the handle excluded from
  // clipping: the old handle disappears and no pixel of the new one flickers.
  void drawHandle() noexcept;

  // true when the value changed.
  bool setValue(float v) noexcept;
  // true when the handle was repainted: the value or its pixel changed.
  bool setRange(float newMin, float newMax) noexcept;
  bool setShown(bool shown) noexcept;

  // Mouse points in client coordinates, translated to the track's offsets.
  ControlResponse grab(std::int32_t px, std::int32_t py) noexcept;
  bool drag(std::int32_t px, std::int32_t py) noexcept;
  ControlResponse stepToward(std::int32_t px, std::int32_t py, float step) noexcept;

private:
  std::int32_t along(std::int32_t px, std::int32_t py) const noexcept;
  std::int32_t across(std::int32_t px, std::int32_t py) const noexcept;
  bool repaintIf(bool changed) noexcept;
  ControlResponse repaintIf(ControlResponse response) noexcept;

  HWND window_;
  HDC backgroundDC_;
  HBITMAP handleBitmap_;
  TrackAxis axis_;
  std::int32_t x_;
  std::int32_t y_;
  TrackModel model_;
};
