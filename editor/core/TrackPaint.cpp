#include "TrackPaint.h"

#include "TrackModel.h"

namespace {

PixelRect orient(TrackAxis axis, std::int32_t alongStart, std::int32_t alongEnd,
                 std::int32_t acrossStart, std::int32_t acrossEnd) noexcept {
  if (axis == TrackAxis::vertical) {
    return {acrossStart, alongStart, acrossEnd, alongEnd};
  }
  return {alongStart, acrossStart, alongEnd, acrossEnd};
}

} // namespace

TrackPaintRects trackPaintRects(TrackAxis axis, const TrackGrip& grip, std::int32_t x,
                                std::int32_t y, std::int32_t position, float length,
                                std::int32_t breadth) noexcept {
  const std::int32_t origin = axis == TrackAxis::vertical ? y : x;
  const std::int32_t edge = axis == TrackAxis::vertical ? x : y;
  const std::int32_t handleStart = origin + position - grip.lead;
  const std::int32_t stripStart = origin - grip.lead;
  return {
      orient(axis, handleStart, handleStart + grip.span, edge, edge + breadth),
      orient(axis, stripStart, stripStart + trackPixels(length) + grip.span, edge, edge + breadth)};
}
