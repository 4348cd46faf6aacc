#include "TrackModel.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr double kInt32Limit = 2147483648.0;

} // namespace

std::int32_t trackOffset(float value, float min, float max, float length, bool& onTrack) noexcept {
  if (!(max > min)) {
    onTrack = !std::isnan(value) && length >= 0.0f;
    return 0;
  }
  const float ratio = (value - min) / (max - min);
  const double offset = static_cast<double>(ratio) * (static_cast<double>(length) - 1.0);
  // Anything in (-1, 0) truncates to 0 and is still on the track.
  if (!(offset > -1.0 && offset < kInt32Limit)) {
    onTrack = false;
    return 0;
  }
  const auto position = static_cast<std::int32_t>(offset);
  onTrack = position >= 0 && static_cast<double>(position) <= static_cast<double>(length);
  return position;
}

float trackValueAt(std::int32_t d, float min, float max, float length) noexcept {
  const float span = length - 1.0f;
  if (!(span > 0.0f)) {
    return min;
  }
  return static_cast<float>(d) / span * (max - min) + min;
}

std::int32_t trackPixels(float length) noexcept {
  if (!(length >= 0.0f)) {
    return 0;
  }
  if (static_cast<double>(length) >= kInt32Limit) {
    return INT32_MAX;
  }
  return static_cast<std::int32_t>(length);
}

std::int32_t pixelOffset(std::int32_t p, std::int32_t origin) noexcept {
  const std::int64_t offset = std::int64_t{p} - origin;
  if (offset > INT32_MAX) {
    return INT32_MAX;
  }
  if (offset < INT32_MIN) {
    return INT32_MIN;
  }
  return static_cast<std::int32_t>(offset);
}

TrackModel::TrackModel(TrackGrip grip, float min, float max, float length,
                       std::int32_t breadth) noexcept
    : grip_(grip), min_(min), max_(max), length_(length), value_(min), breadth_(breadth) {}

bool TrackModel::setValue(float v) noexcept {
  if (std::isnan(v)) {
    return false;
  }
  if (v < min_) {
    v = min_;
  }
  if (v > max_) {
    v = max_;
  }
  if (v == value_) {
    return false;
  }
  value_ = v;
  return true;
}

bool TrackModel::setRange(float newMin, float newMax) noexcept {
  if (std::isnan(newMin) || std::isnan(newMax)) {
    return false;
  }
  min_ = newMin;
  max_ = newMax;
  const bool valueChanged = setValue(value_);
  bool onTrack = false;
  const std::int32_t newPosition = trackOffset(value_, min_, max_, length_, onTrack);
  return valueChanged || newPosition != position_;
}

bool TrackModel::setShown(bool shown) noexcept {
  if (shown == shown_) {
    return false;
  }
  shown_ = shown;
  return true;
}

bool TrackModel::placeHandle() noexcept {
  bool onTrack = false;
  position_ = trackOffset(value_, min_, max_, length_, onTrack);
  return onTrack;
}

bool TrackModel::onHandle(std::int32_t d) const noexcept {
  const std::int64_t offset = std::int64_t{d} - position_;
  return offset >= -grip_.tolerance && offset <= grip_.tolerance;
}

bool TrackModel::across(std::int32_t e) const noexcept { return e >= 0 && e < breadth_; }

ControlResponse TrackModel::grab(std::int32_t d, std::int32_t e) noexcept {
  if (!shown_ || !onHandle(d) || !across(e)) {
    return {false, false};
  }
  return {true, setValue(trackValueAt(d, min_, max_, length_))};
}

bool TrackModel::drag(std::int32_t d) noexcept {
  return shown_ && setValue(trackValueAt(d, min_, max_, length_));
}

ControlResponse TrackModel::stepToward(std::int32_t d, std::int32_t e, float step) noexcept {
  if (!shown_ || onHandle(d)) {
    return {false, false};
  }
  const auto along = static_cast<float>(d);
  if (along < -grip_.margin || along >= length_ + grip_.margin || !across(e)) {
    return {false, false};
  }
  const float target = trackValueAt(d, min_, max_, length_);
  const bool changed = target - value_ < 0.0f ? setValue(value_ - step) : setValue(value_ + step);
  return {true, changed};
}
