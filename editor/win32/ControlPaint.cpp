#include "ControlPaint.h"

RECT toRect(const PixelRect& rect) noexcept {
  return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

COLORREF toColorRef(Rgb colour) noexcept { return RGB(colour.r, colour.g, colour.b); }

COLORREF toColorRef(const std::array<std::int32_t, 3>& rgb) noexcept {
  return RGB(static_cast<BYTE>(rgb[0]), static_cast<BYTE>(rgb[1]), static_cast<BYTE>(rgb[2]));
}

void drawBitmap(HDC dc, HBITMAP bitmap, int x, int y, int width, int height) noexcept {
  DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(bitmap), 0, x, y, width, height,
             DST_BITMAP | DSS_NORMAL);
}
