// An image of 0x00RRGGBB pixels, top row first, and the few raster operations the editor face
// is composed with. Portable: the X11 back end shows it, the tests compare it.
#pragma once

#include "ControlConstants.h"
#include "PixelRect.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct PixelImage {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint32_t> pixels;

  PixelImage() = default;
  PixelImage(std::int32_t w, std::int32_t h, std::uint32_t fill = 0);

  bool empty() const noexcept { return pixels.empty(); }
  std::uint32_t at(std::int32_t x, std::int32_t y) const noexcept;
  void set(std::int32_t x, std::int32_t y, std::uint32_t colour) noexcept;
};

constexpr std::uint32_t pixelOf(Rgb c) noexcept {
  return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | std::uint32_t{c.b};
}

// A 24-bit uncompressed BMP file (bottom-up or top-down); an empty image for anything else.
PixelImage decodeBmp(const std::uint8_t* data, std::size_t size);

enum class RasterOp { copy, andOp, orOp };

// Copies width x height pixels from (sx, sy) of src to (dx, dy) of dst, clipped to both images.
// src and dst may be the same image when rows do not overlap in the wrong direction (the wave
// scroll copies leftward, which is safe).
void blit(PixelImage& dst, std::int32_t dx, std::int32_t dy, const PixelImage& src, std::int32_t sx,
          std::int32_t sy, std::int32_t width, std::int32_t height,
          RasterOp op = RasterOp::copy) noexcept;
// The whole of src at (dx, dy), except the pixels inside `excluded` (dst coordinates).
void blitExcept(PixelImage& dst, std::int32_t dx, std::int32_t dy, const PixelImage& src,
                const PixelRect& excluded) noexcept;
void fillRect(PixelImage& dst, const PixelRect& rect, std::uint32_t colour) noexcept;
// A GDI line: from (x0, y0) up to but not including (x1, y1); horizontal or vertical only.
void drawLine(PixelImage& dst, std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
              std::uint32_t colour) noexcept;
