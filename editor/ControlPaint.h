// The GDI steps the bitmap controls share. Each gets the window's DC, draws and releases it;
// nothing is drawn unless the window is live.
#pragma once

#include "PixelRect.h"
#include "TrackPaint.h"

#include <windows.h>

RECT toRect(const PixelRect& rect) noexcept;

// Draws bitmap at (x, y); a size of 0 x 0 draws it in its own size.
void drawBitmap(HDC dc, HBITMAP bitmap, int x, int y, int width, int height) noexcept;

// Draws the handle first, then restores the track strip from the background with the handle
// excluded from clipping: the old handle disappears and no pixel of the new one flickers.
void paintTrackHandle(HWND window, HDC backgroundDC, HBITMAP handleBitmap,
                      const TrackPaintRects& rects) noexcept;
