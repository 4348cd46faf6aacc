// The mouse area of a switch.
#pragma once

#include <cstdint>

// True when (px, py) lies on the switch at (x, y), right and bottom edges included.
bool switchHit(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
               std::int32_t px, std::int32_t py) noexcept;
