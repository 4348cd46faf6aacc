#include "SwitchGeometry.h"

bool switchHit(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
               std::int32_t px, std::int32_t py) noexcept {
  const std::int64_t dx = std::int64_t{px} - x;
  const std::int64_t dy = std::int64_t{py} - y;
  return dy >= 0 && dy <= height && dx >= 0 && dx <= width;
}
