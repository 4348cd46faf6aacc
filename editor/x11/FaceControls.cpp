#include "FaceControls.h"

#include "FaceText.h"
#include "SwitchGeometry.h"

#include <algorithm>

void FaceCanvas::touch(const PixelRect& rect) noexcept {
  if (dirty.right <= dirty.left || dirty.bottom <= dirty.top) {
    dirty = rect;
    return;
  }
  dirty = {std::min(dirty.left, rect.left), std::min(dirty.top, rect.top),
           std::max(dirty.right, rect.right), std::max(dirty.bottom, rect.bottom)};
}

void FaceCanvas::restore(const PixelRect& rect) noexcept {
  if (background != nullptr) {
    blit(image, rect.left, rect.top, *background, rect.left, rect.top, rect.right - rect.left,
         rect.bottom - rect.top);
  }
  touch(rect);
}

void FaceCanvas::draw(const PixelImage& picture, std::int32_t x, std::int32_t y) noexcept {
  blit(image, x, y, picture, 0, 0, picture.width, picture.height);
  touch({x, y, x + picture.width, y + picture.height});
}

FaceTrack::FaceTrack(FaceCanvas& canvas, const PixelImage& handle, TrackAxis axis, TrackGrip grip,
                     std::int32_t x, std::int32_t y, float min, float max, float length,
                     std::int32_t breadth) noexcept
    : canvas_(canvas), handle_(handle), axis_(axis), x_(x), y_(y),
      model_(grip, min, max, length, breadth) {}

void FaceTrack::addReadout(const PixelImage& readout, std::int32_t readoutX, std::int32_t readoutY,
                           std::int32_t kind) noexcept {
  readout_ = &readout;
  readoutX_ = readoutX;
  readoutY_ = readoutY;
  kind_ = kind;
  readoutShown_ = true;
}

void FaceTrack::draw() noexcept {
  drawHandle();
  drawReadout();
}

// The new handle first, then the track strip around it: no pixel of the new handle is ever
// overwritten.
void FaceTrack::drawHandle() noexcept {
  if (!model_.shown() || !model_.placeHandle()) {
    return;
  }
  const TrackPaintRects rects = trackPaintRects(axis_, model_.grip(), x_, y_, model_.position(),
                                                model_.length(), model_.breadth());
  blit(canvas_.image, rects.handle.left, rects.handle.top, handle_, 0, 0,
       rects.handle.right - rects.handle.left, rects.handle.bottom - rects.handle.top);
  if (canvas_.background != nullptr) {
    PixelImage strip(rects.strip.right - rects.strip.left, rects.strip.bottom - rects.strip.top);
    blit(strip, 0, 0, *canvas_.background, rects.strip.left, rects.strip.top, strip.width,
         strip.height);
    blitExcept(canvas_.image, rects.strip.left, rects.strip.top, strip, rects.handle);
  }
  canvas_.touch(rects.strip);
  canvas_.touch(rects.handle);
}

void FaceTrack::drawReadout() noexcept {
  if (!readoutShown_ || readout_ == nullptr) {
    return;
  }
  canvas_.draw(*readout_, readoutX_, readoutY_);
  ReadoutText text;
  formatReadout(kind_, model_.value(), text);
  drawFaceText(canvas_.image, readoutTextRect(kind_, readoutX_, readoutY_), text,
               readoutColour(kind_, highlightMark_, highlightFlag_), TextAlign::centre);
}

void FaceTrack::repaintIf(bool changed) noexcept {
  if (changed) {
    draw();
  }
}

void FaceTrack::setValue(float v) noexcept { repaintIf(model_.setValue(v)); }

void FaceTrack::setRange(float newMin, float newMax) noexcept {
  repaintIf(model_.setRange(newMin, newMax));
}

void FaceTrack::setHighlight(float mark, std::int32_t flag) noexcept {
  const bool changed = mark != highlightMark_ || flag != highlightFlag_;
  highlightMark_ = mark;
  highlightFlag_ = flag;
  if (changed) {
    drawReadout();
  }
}

// Hiding the handle leaves its picture: the other fader on the same track paints over it.
void FaceTrack::setFaderShown(bool shown) noexcept {
  if (model_.setShown(shown)) {
    draw();
  }
}

void FaceTrack::setReadoutShown(bool shown) noexcept {
  if (shown != readoutShown_ && readout_ != nullptr) {
    readoutShown_ = shown;
    draw();
  }
}

bool FaceTrack::hitReadout(std::int32_t px, std::int32_t py) const noexcept {
  return readoutShown_ && readoutHit(readoutX_, readoutY_, px, py);
}

std::int32_t FaceTrack::along(std::int32_t px, std::int32_t py) const noexcept {
  return axis_ == TrackAxis::vertical ? pixelOffset(py, y_) : pixelOffset(px, x_);
}

std::int32_t FaceTrack::across(std::int32_t px, std::int32_t py) const noexcept {
  return axis_ == TrackAxis::vertical ? pixelOffset(px, x_) : pixelOffset(py, y_);
}

bool FaceTrack::grabHandle(std::int32_t px, std::int32_t py) noexcept {
  const ControlResponse r = model_.grab(along(px, py), across(px, py));
  repaintIf(r.changed);
  return r.taken;
}

void FaceTrack::dragTo(std::int32_t px, std::int32_t py) noexcept {
  repaintIf(model_.drag(along(px, py)));
}

bool FaceTrack::stepToward(std::int32_t px, std::int32_t py, float step) noexcept {
  const ControlResponse r = model_.stepToward(along(px, py), across(px, py), step);
  repaintIf(r.changed);
  return r.taken;
}

FaceSwitch::FaceSwitch(FaceCanvas& canvas, const PixelImage& lit, std::int32_t x, std::int32_t y,
                       std::int32_t width, std::int32_t height) noexcept
    : canvas_(canvas), lit_(lit), rect_{x, y, x + width, y + height} {}

void FaceSwitch::draw() noexcept {
  if (on_) {
    blit(canvas_.image, rect_.left, rect_.top, lit_, 0, 0, rect_.right - rect_.left,
         rect_.bottom - rect_.top);
    canvas_.touch(rect_);
  } else {
    canvas_.restore(rect_);
  }
}

void FaceSwitch::setState(bool on) noexcept {
  on_ = on;
  draw();
}

bool FaceSwitch::hitTest(std::int32_t px, std::int32_t py) const noexcept {
  return switchHit(rect_.left, rect_.top, rect_.right - rect_.left, rect_.bottom - rect_.top, px,
                   py);
}
