// The editor's controls on X11: the same track models, read-out texts and hit tests as on
// Windows, painted into the face image that the window shows. Each operation that changes
// something visible paints at once, restoring the background from the face bitmap, and marks
// the face dirty; the editor sends dirty areas to the X server. UI thread only.
#pragma once

#include "PixelImage.h"
#include "Readout.h"
#include "TrackModel.h"
#include "TrackPaint.h"

#include <cstdint>

// The editor's face as the window shows it, and the area changed since it was last shown.
struct FaceCanvas {
  PixelImage image;
  const PixelImage* background = nullptr;
  PixelRect dirty{0, 0, 0, 0};
  void touch(const PixelRect& rect) noexcept;
  // Copies rect from the background.
  void restore(const PixelRect& rect) noexcept;
  // An image at (x, y) in its own size.
  void draw(const PixelImage& picture, std::int32_t x, std::int32_t y) noexcept;
};

// A fader (vertical, with an optional read-out box) or a slider (either axis).
class FaceTrack {
public:
  FaceTrack(FaceCanvas& canvas, const PixelImage& handle, TrackAxis axis, TrackGrip grip,
            std::int32_t x, std::int32_t y, float min, float max, float length,
            std::int32_t breadth) noexcept;
  // Gives a fader its read-out box (the readout image at (readoutX, readoutY), text of kind).
  void addReadout(const PixelImage& readout, std::int32_t readoutX, std::int32_t readoutY,
                  std::int32_t kind) noexcept;

  void draw() noexcept;
  float getValue() const noexcept { return model_.value(); }
  void setValue(float v) noexcept;
  void setRange(float newMin, float newMax) noexcept;
  void setHighlight(float mark, std::int32_t flag) noexcept;
  void setFaderShown(bool shown) noexcept;
  void setReadoutShown(bool shown) noexcept;
  bool isReadoutShown() const noexcept { return readoutShown_; }
  bool hitReadout(std::int32_t px, std::int32_t py) const noexcept;
  bool grabHandle(std::int32_t px, std::int32_t py) noexcept;
  void dragTo(std::int32_t px, std::int32_t py) noexcept;
  bool stepToward(std::int32_t px, std::int32_t py, float step) noexcept;

private:
  void drawHandle() noexcept;
  void drawReadout() noexcept;
  void repaintIf(bool changed) noexcept;
  std::int32_t along(std::int32_t px, std::int32_t py) const noexcept;
  std::int32_t across(std::int32_t px, std::int32_t py) const noexcept;

  FaceCanvas& canvas_;
  const PixelImage& handle_;
  const PixelImage* readout_ = nullptr;
  TrackAxis axis_;
  std::int32_t x_;
  std::int32_t y_;
  std::int32_t readoutX_ = 0;
  std::int32_t readoutY_ = 0;
  std::int32_t kind_ = 0;
  float highlightMark_ = 0.0f;
  std::int32_t highlightFlag_ = 0;
  bool readoutShown_ = false;
  TrackModel model_;
};

class FaceSwitch {
public:
  FaceSwitch(FaceCanvas& canvas, const PixelImage& lit, std::int32_t x, std::int32_t y,
             std::int32_t width, std::int32_t height) noexcept;
  void draw() noexcept;
  // Stores and paints, always.
  void setState(bool on) noexcept;
  bool state() const noexcept { return on_; }
  bool hitTest(std::int32_t px, std::int32_t py) const noexcept;

private:
  FaceCanvas& canvas_;
  const PixelImage& lit_;
  PixelRect rect_;
  bool on_ = false;
};
