#include "FaderControl.h"

#include "ControlPaint.h"
#include "Readout.h"

FaderControl::FaderControl(HWND window, HBITMAP handleBitmap, HDC backgroundDC,
                           HBITMAP readoutBitmap, std::int32_t x, std::int32_t y,
                           std::int32_t readoutX, std::int32_t readoutY, const HFONT* font,
                           std::int32_t kind, float min, float max, float length,
                           std::int32_t width) noexcept
    : window_(window), backgroundDC_(backgroundDC), font_(font), handleBitmap_(handleBitmap),
      readoutBitmap_(readoutBitmap), x_(x), y_(y), readoutX_(readoutX), readoutY_(readoutY),
      kind_(kind), track_(kFaderGrip, min, max, length, width) {
  draw();
}

void FaderControl::draw() noexcept {
  drawHandle();
  drawReadout();
}

void FaderControl::drawHandle() noexcept {
  if (!track_.shown() || !track_.placeHandle()) {
    return;
  }
  paintTrackHandle(window_, backgroundDC_, handleBitmap_,
                   trackPaintRects(TrackAxis::vertical, kFaderGrip, x_, y_, track_.position(),
                                   track_.length(), track_.breadth()));
}

void FaderControl::drawReadout() noexcept {
  if (!readoutShown_ || !IsWindow(window_)) {
    return;
  }
  HDC dc = GetDC(window_);
  if (dc == nullptr) {
    return;
  }
  SetBkMode(dc, TRANSPARENT);
  const Rgb colour = readoutColour(kind_, highlightMark_, highlightFlag_);
  SetTextColor(dc, RGB(colour.r, colour.g, colour.b));
  const HFONT font = font_ != nullptr ? *font_ : nullptr;
  const HGDIOBJ previousFont = font != nullptr ? SelectObject(dc, font) : nullptr;
  // The box's face covers the previous text.
  drawBitmap(dc, readoutBitmap_, readoutX_, readoutY_, 0, 0);
  ReadoutText text;
  formatReadout(kind_, track_.value(), text);
  RECT rect = toRect(readoutTextRect(kind_, readoutX_, readoutY_));
  DrawTextA(dc, text, -1, &rect, DT_CENTER);
  if (previousFont != nullptr) {
    SelectObject(dc, previousFont);
  }
  ReleaseDC(window_, dc);
}

void FaderControl::setValue(float v) noexcept {
  if (track_.setValue(v)) {
    draw();
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

void FaderControl::setFaderShown(std::int32_t shown) noexcept {
  if (track_.setShown(shown != 0)) {
    draw();
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
  const ControlResponse response = track_.grab(pixelOffset(py, y_), pixelOffset(px, x_));
  if (response.changed) {
    draw();
  }
  return response.taken;
}

void FaderControl::dragTo(std::int32_t /*px*/, std::int32_t py) noexcept {
  if (track_.drag(pixelOffset(py, y_))) {
    draw();
  }
}

bool FaderControl::stepToward(std::int32_t px, std::int32_t py, float step) noexcept {
  const ControlResponse response =
      track_.stepToward(pixelOffset(py, y_), pixelOffset(px, x_), step);
  if (response.changed) {
    draw();
  }
  return response.taken;
}
