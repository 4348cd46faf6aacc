// Where a travelling control paints: its handle, and the whole strip of background under its
// track that is restored around the handle.
#pragma once

#include "ControlConstants.h"
#include "PixelRect.h"

#include <cstdint>

enum class TrackAxis { vertical, horizontal };

struct TrackPaintRects {
  PixelRect handle;
  PixelRect strip;
};

// (x, y): for a vertical track the left edge and the row of min, for a horizontal one the
// column of min and the top edge. breadth is the handle's size across the track.
TrackPaintRects trackPaintRects(TrackAxis axis, const TrackGrip& grip, std::int32_t x,
                                std::int32_t y, std::int32_t position, float length,
                                std::int32_t breadth) noexcept;
