#include "PixelImage.h"

#include <algorithm>

namespace {

std::uint32_t readLe(const std::uint8_t* p, std::size_t bytes) noexcept {
  std::uint32_t v = 0;
  for (std::size_t i = bytes; i-- > 0;) {
    v = (v << 8) | p[i];
  }
  return v;
}

bool inside(const PixelImage& image, std::int32_t x, std::int32_t y) noexcept {
  return x >= 0 && y >= 0 && x < image.width && y < image.height;
}

std::size_t indexOf(const PixelImage& image, std::int32_t x, std::int32_t y) noexcept {
  return static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) +
         static_cast<std::size_t>(x);
}

} // namespace

PixelImage::PixelImage(std::int32_t w, std::int32_t h, std::uint32_t fill)
    : width(w > 0 ? w : 0), height(h > 0 ? h : 0),
      pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}

std::uint32_t PixelImage::at(std::int32_t x, std::int32_t y) const noexcept {
  return inside(*this, x, y) ? pixels[indexOf(*this, x, y)] : 0;
}

void PixelImage::set(std::int32_t x, std::int32_t y, std::uint32_t colour) noexcept {
  if (inside(*this, x, y)) {
    pixels[indexOf(*this, x, y)] = colour;
  }
}

PixelImage decodeBmp(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kFileHeader = 14;
  constexpr std::size_t kInfoHeader = 40;
  constexpr std::int32_t kMaxSide = 1 << 14;
  if (data == nullptr || size < kFileHeader + kInfoHeader || data[0] != 'B' || data[1] != 'M') {
    return {};
  }
  const std::uint32_t offset = readLe(data + 10, 4);
  const auto width = static_cast<std::int32_t>(readLe(data + 18, 4));
  const auto rawHeight = static_cast<std::int32_t>(readLe(data + 22, 4));
  const std::uint32_t bits = readLe(data + 28, 2);
  const std::uint32_t compression = readLe(data + 30, 4);
  const bool bottomUp = rawHeight > 0;
  const std::int32_t height = bottomUp ? rawHeight : -rawHeight;
  if (bits != 24 || compression != 0 || width <= 0 || height <= 0 || width > kMaxSide ||
      height > kMaxSide) {
    return {};
  }
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
  if (offset > size || (size - offset) / stride < static_cast<std::size_t>(height)) {
    return {};
  }
  PixelImage image(width, height);
  for (std::int32_t row = 0; row < height; ++row) {
    const std::int32_t y = bottomUp ? height - 1 - row : row;
    const std::uint8_t* p = data + offset + static_cast<std::size_t>(row) * stride;
    for (std::int32_t x = 0; x < width; ++x, p += 3) {
      image.set(x, y, pixelOf(Rgb{p[2], p[1], p[0]}));
    }
  }
  return image;
}

void blit(PixelImage& dst, std::int32_t dx, std::int32_t dy, const PixelImage& src, std::int32_t sx,
          std::int32_t sy, std::int32_t width, std::int32_t height, RasterOp op) noexcept {
  // Clip against the source and the destination alike.
  const std::int32_t left = std::max({0, -dx, -sx});
  const std::int32_t top = std::max({0, -dy, -sy});
  const std::int32_t right = std::min({width, dst.width - dx, src.width - sx});
  const std::int32_t bottom = std::min({height, dst.height - dy, src.height - sy});
  for (std::int32_t y = top; y < bottom; ++y) {
    for (std::int32_t x = left; x < right; ++x) {
      const std::uint32_t s = src.pixels[indexOf(src, sx + x, sy + y)];
      std::uint32_t& d = dst.pixels[indexOf(dst, dx + x, dy + y)];
      d = op == RasterOp::copy ? s : op == RasterOp::andOp ? (d & s) : (d | s);
    }
  }
}

void blitExcept(PixelImage& dst, std::int32_t dx, std::int32_t dy, const PixelImage& src,
                const PixelRect& excluded) noexcept {
  for (std::int32_t y = 0; y < src.height; ++y) {
    for (std::int32_t x = 0; x < src.width; ++x) {
      const std::int32_t px = dx + x;
      const std::int32_t py = dy + y;
      const bool out =
          px >= excluded.left && px < excluded.right && py >= excluded.top && py < excluded.bottom;
      if (!out) {
        dst.set(px, py, src.pixels[indexOf(src, x, y)]);
      }
    }
  }
}

void fillRect(PixelImage& dst, const PixelRect& rect, std::uint32_t colour) noexcept {
  for (std::int32_t y = std::max(rect.top, 0); y < std::min(rect.bottom, dst.height); ++y) {
    for (std::int32_t x = std::max(rect.left, 0); x < std::min(rect.right, dst.width); ++x) {
      dst.pixels[indexOf(dst, x, y)] = colour;
    }
  }
}

void drawLine(PixelImage& dst, std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
              std::uint32_t colour) noexcept {
  if (x0 == x1 && y0 == y1) {
    return;
  }
  if (y0 == y1) {
    fillRect(dst, {std::min(x0, x1 + 1), y0, std::max(x0 + 1, x1), y0 + 1}, colour);
  } else if (x0 == x1) {
    fillRect(dst, {x0, std::min(y0, y1 + 1), x0 + 1, std::max(y0 + 1, y1)}, colour);
  }
}
