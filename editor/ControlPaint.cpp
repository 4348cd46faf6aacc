#include "ControlPaint.h"

RECT toRect(const PixelRect& rect) noexcept {
  return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

void drawBitmap(HDC dc, HBITMAP bitmap, int x, int y, int width, int height) noexcept {
  DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(bitmap), 0, x, y, width, height,
             DST_BITMAP | DSS_NORMAL);
}
