// Small GDI helpers the bitmap controls share.
#pragma once

#include "ControlConstants.h"
#include "PixelRect.h"

#include <windows.h>

#include <array>
#include <cstdint>

RECT toRect(const PixelRect& rect) noexcept;
COLORREF toColorRef(Rgb colour) noexcept;
// R, G, B in 0..255; only the low 8 bits of each are used.
COLORREF toColorRef(const std::array<std::int32_t, 3>& rgb) noexcept;

// Draws bitmap at (x, y); a size of 0 x 0 draws it in its own size.
void drawBitmap(HDC dc, HBITMAP bitmap, int x, int y, int width, int height) noexcept;
