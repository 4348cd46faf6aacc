// The sixteen bitmap files of resources/bitmaps, compiled into the library.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

struct EmbeddedBitmap {
  std::int32_t resourceId;
  const std::uint8_t* data;
  std::size_t size;
};

inline constexpr std::size_t kEmbeddedBitmapCount = 16;
extern const std::array<EmbeddedBitmap, kEmbeddedBitmapCount> kEmbeddedBitmaps;
