// A vertical fader with an optional numeric read-out box, painted straight into the editor
// window. The editor owns the window, DCs, bitmaps and font; the fader only borrows them.
// UI thread only.
#pragma once

#include "TrackControl.h"

#include <windows.h>

#include <cstdint>

class FaderControl {
public:
  // x: left edge of the handle column; y: the track row of min; width: the handle column's
  // width; font points at the editor's font handle, read at each paint. Paints once.
  FaderControl(HWND window, HBITMAP handleBitmap, HDC backgroundDC, HBITMAP readoutBitmap,
               std::int32_t x, std::int32_t y, std::int32_t readoutX, std::int32_t readoutY,
               const HFONT* font, std::int32_t kind, float min, float max, float length,
               std::int32_t width) noexcept;

  void draw() noexcept;
  void setValue(float v) noexcept;
  float getValue() const noexcept { return track_.model().value(); }
  void setHighlight(float mark, std::int32_t flag) noexcept;
  void setFaderShown(std::int32_t shown) noexcept;
  void setReadoutShown(std::int32_t shown) noexcept;
  std::int32_t isReadoutShown() const noexcept { return readoutShown_ ? 1 : 0; }

  bool hitReadout(std::int32_t px, std::int32_t py) const noexcept;
  bool grabHandle(std::int32_t px, std::int32_t py) noexcept;
  void dragTo(std::int32_t px, std::int32_t py) noexcept;
  bool stepToward(std::int32_t px, std::int32_t py, float step) noexcept;

private:
  void drawReadout() noexcept;

  const HFONT* font_;
  HBITMAP readoutBitmap_;
  std::int32_t readoutX_;
  std::int32_t readoutY_;
  std::int32_t kind_;
  float highlightMark_ = 0.0f;
  std::int32_t highlightFlag_ = 0;
  bool readoutShown_ = true;
  TrackControl track_;
};
