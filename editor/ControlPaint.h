// Small GDI helpers the bitmap controls share.
#pragma once

#include "PixelRect.h"

#include <windows.h>

RECT toRect(const PixelRect& rect) noexcept;

// Draws bitmap at (x, y); a size of 0 x 0 draws it in its own size.
void drawBitmap(HDC dc, HBITMAP bitmap, int x, int y, int width, int height) noexcept;
