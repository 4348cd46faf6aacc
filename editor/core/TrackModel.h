// The state and arithmetic of a travelling control (fader or slider), without any drawing:
// the Win32 classes ask it what to do and paint when it says something visible changed.
#pragma once

#include "ControlConstants.h"

#include <cstdint>

// Offset of value along a track of the given length: min at 0, max at truncate(length - 1).
// Sets onTrack to whether the handle lies on the track (0 <= offset <= length); an empty or
// inverted range puts every value at 0, a NaN value off the track.
std::int32_t trackOffset(float value, float min, float max, float length, bool& onTrack) noexcept;

// The value at offset d along the track, unclamped. A track shorter than two pixels maps every
// offset to min.
float trackValueAt(std::int32_t d, float min, float max, float length) noexcept;

// truncate(length) as a pixel count; 0 for a negative or NaN length.
std::int32_t trackPixels(float length) noexcept;

// p - origin, saturated to the int32 range, so that no point can overflow an offset.
std::int32_t pixelOffset(std::int32_t p, std::int32_t origin) noexcept;

struct ControlResponse {
  bool taken;   // the control took the mouse event
  bool changed; // the stored value changed, so the handle must be repainted
};

class TrackModel {
public:
  TrackModel(TrackGrip grip, float min, float max, float length, std::int32_t breadth) noexcept;

  float value() const noexcept { return value_; }
  float min() const noexcept { return min_; }
  float max() const noexcept { return max_; }
  float length() const noexcept { return length_; }
  std::int32_t breadth() const noexcept { return breadth_; }
  const TrackGrip& grip() const noexcept { return grip_; }
  bool shown() const noexcept { return shown_; }
  // Offset of the handle as last placed (placeHandle), which is where it was painted.
  std::int32_t position() const noexcept { return position_; }

  // Clamps v into min..max and stores it; true when the stored value changed. NaN is
  // refused, so the value always lies in min..max.
  bool setValue(float v) noexcept;
  // Stores the range and clamps the value into it; true when the handle must be repainted,
  // that is when the value or its pixel changed.
  bool setRange(float newMin, float newMax) noexcept;
  // True when the flag changed.
  bool setShown(bool shown) noexcept;

  // Recomputes position from the value; true when the handle lies on the track.
  bool placeHandle() noexcept;

  // d is the point's offset along the track from the min pixel, e across it from the
  // control's edge.
  ControlResponse grab(std::int32_t d, std::int32_t e) noexcept;
  // true when the value changed.
  bool drag(std::int32_t d) noexcept;
  ControlResponse stepToward(std::int32_t d, std::int32_t e, float step) noexcept;

private:
  bool onHandle(std::int32_t d) const noexcept;
  bool across(std::int32_t e) const noexcept;

  TrackGrip grip_;
  float min_;
  float max_;
  float length_;
  float value_;
  std::int32_t breadth_;
  bool shown_ = true;
  std::int32_t position_ = 0;
};
