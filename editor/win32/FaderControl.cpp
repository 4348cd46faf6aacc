#include "FaderControl.h"

#include "ControlPaint.h"
#include "Readout.h"

FaderControl::FaderControl(HWND window, HBITMAP handleBitmap, HDC backgroundDC,
                           HBITMAP readoutBitmap, std::int32_t x, std::int32_t y,
                           std::int32_t readoutX, std::int32_t readoutY, const HFONT* font,
                           std::int32_t kind, float min, float max, float length,
                           std::int32_t width) noexcept
    : font_(font), readoutBitmap_(readoutBitmap), readoutX_(readoutX), readoutY_(readoutY),
      kind_(kind), track_(window, handleBitmap, backgroundDC, TrackAxis::vertical, kFaderGrip, x, y,
                          min, max, length, width) {
  draw();
}

void FaderControl::draw() noexcept {
  track_.drawHandle();
  drawReadout();
}

void FaderControl::drawReadout() noexcept {
  HWND window = track_.window();
  if (!readoutShown_ || !IsWindow(window)) {
    return;
  }
  HDC dc = GetDC(window);
  if (dc == nullptr) {
    return;
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, toColorRef(readoutColour(kind_, highlightMark_, highlightFlag_)));
  const HFONT font = font_ != nullptr ? *font_ : nullptr;
  const HGDIOBJ previousFont = font != nullptr ? SelectObject(dc, font) : nullptr;
  // The box's face covers the previous text.
  drawBitmap(dc, readoutBitmap_, readoutX_, readoutY_, 0, 0);
  ReadoutText text;
  formatReadout(kind_, track_.model().value(), text);
  RECT rect = toRect(readoutTextRect(kind_, readoutX_, readoutY_));
  DrawTextA(dc, text, -1, &rect, DT_CENTER);
  if (previousFont != nullptr) {
    SelectObject(dc, previousFont);
  }
  ReleaseDC(window, dc);
}

void FaderControl::setValue(float v) noexcept {
  if (track_.setValue(v)) {
    drawReadout();
  }
}

// The highlight only colours the read-out, so only the read-out is repainted.
void FaderControl::setHighlight(float mark, std::int32_t flag) noexcept {
  if (mark != highlightMark_) {
    highlightMark_ = mark;
    drawReadout();
  }
  if (flag != highlightFlag_) {
    highlightFlag_ = flag;
    drawReadout();
  }
}

// Hiding the handle leaves its picture on the screen; the editor shows the other fader on the
// same track at the same moment, whose paint restores the track.
void FaderControl::setFaderShown(std::int32_t shown) noexcept {
  if (track_.setShown(shown != 0)) {
    drawReadout();
  }
}

void FaderControl::setReadoutShown(std::int32_t shown) noexcept {
  if ((shown != 0) != readoutShown_) {
    readoutShown_ = shown != 0;
    draw();
  }
}

bool FaderControl::hitReadout(std::int32_t px, std::int32_t py) const noexcept {
  return readoutShown_ && readoutHit(readoutX_, readoutY_, px, py);
}

bool FaderControl::grabHandle(std::int32_t px, std::int32_t py) noexcept {
  const ControlResponse response = track_.grab(px, py);
  if (response.changed) {
    drawReadout();
  }
  return response.taken;
}

void FaderControl::dragTo(std::int32_t px, std::int32_t py) noexcept {
  if (track_.drag(px, py)) {
    drawReadout();
  }
}

bool FaderControl::stepToward(std::int32_t px, std::int32_t py, float step) noexcept {
  const ControlResponse response = track_.stepToward(px, py, step);
  if (response.changed) {
    drawReadout();
  }
  return response.taken;
}
