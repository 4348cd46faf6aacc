// The pictures every editor of the process shares: the sixteen bitmaps decoded from the
// library and the highlight tables read from the mask. Created by the open that raises the
// editor count to 1, freed by the close that lowers it to 0. UI thread only.
#pragma once

#include "HighlightTables.h"
#include "PixelImage.h"

#include <cstdint>

struct FaceAssets {
  // The decoded bitmap of a resource id; an empty image for unknown ids.
  const PixelImage& bitmap(std::int32_t resourceId) const noexcept;
  const PixelImage& face() const noexcept;
  HighlightTables highlight;
};

// Counts one more open editor and answers the shared set (decoding it for the first).
const FaceAssets& acquireFaceAssets();
void releaseFaceAssets() noexcept;
// Open editors of the process (for the tests' leak checks).
std::int32_t openEditorCount() noexcept;
