#include "FaceAssets.h"

#include "EmbeddedBitmaps.h"
#include "ResourceIds.h"

#include <array>
#include <memory>

namespace {

struct SharedAssets {
  FaceAssets assets;
  std::array<PixelImage, kEmbeddedBitmapCount> images;
};

std::unique_ptr<SharedAssets> shared;
std::int32_t editorInstanceCount = 0;
const PixelImage kNoImage;

} // namespace

const PixelImage& FaceAssets::bitmap(std::int32_t resourceId) const noexcept {
  if (shared) {
    for (std::size_t i = 0; i < kEmbeddedBitmapCount; ++i) {
      if (kEmbeddedBitmaps[i].resourceId == resourceId) {
        return shared->images[i];
      }
    }
  }
  return kNoImage;
}

const PixelImage& FaceAssets::face() const noexcept { return bitmap(IDB_FACE); }

const FaceAssets& acquireFaceAssets() {
  if (editorInstanceCount++ == 0 || !shared) {
    shared = std::make_unique<SharedAssets>();
    for (std::size_t i = 0; i < kEmbeddedBitmapCount; ++i) {
      shared->images[i] = decodeBmp(kEmbeddedBitmaps[i].data, kEmbeddedBitmaps[i].size);
    }
    const PixelImage& mask = shared->assets.bitmap(IDB_HIGHLIGHT_MASK);
    for (std::int32_t x = 0; x < HighlightTables::kMaskWidth; ++x) {
      for (std::int32_t y = 0; y < HighlightTables::kMaskHeight; ++y) {
        shared->assets.highlight.setMask(x, y, static_cast<std::uint8_t>(mask.at(x, y) >> 16));
      }
    }
  }
  return shared->assets;
}

void releaseFaceAssets() noexcept {
  if (editorInstanceCount > 0 && --editorInstanceCount == 0) {
    shared.reset();
  }
}

std::int32_t openEditorCount() noexcept { return editorInstanceCount; }
