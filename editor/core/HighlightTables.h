// The glint laid over the wave display's top-left corner: a blend toward white whose opacity
// is the highlight mask's red component / 255. The mask is read once into two tables so that
// each display tick needs no second bitmap.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

class HighlightTables {
public:
  // Until a mask is read, every point keeps its colour.
  HighlightTables() noexcept { keep_.fill(1.0f); }

  static constexpr std::int32_t kMaskWidth = 44;
  static constexpr std::int32_t kMaskHeight = 18;
  // The part of the mask the glint uses, from the top-left corner.
  static constexpr std::int32_t kGlintWidth = 42;
  static constexpr std::int32_t kGlintHeight = 16;

  // m is the mask's red component at (x, y); points outside the mask are ignored.
  void setMask(std::int32_t x, std::int32_t y, std::uint8_t m) noexcept;
  // Each of the three 8-bit components of colour (0x00BBGGRR) becomes
  // truncate(component x keep + add), kept to its low 8 bits. Outside the mask: unchanged.
  std::uint32_t blend(std::uint32_t colour, std::int32_t x, std::int32_t y) const noexcept;

private:
  static constexpr std::size_t kSize = static_cast<std::size_t>(kMaskWidth * kMaskHeight);
  // Column-major: index x * 18 + y.
  std::array<float, kSize> add_{};
  std::array<float, kSize> keep_{};
};
