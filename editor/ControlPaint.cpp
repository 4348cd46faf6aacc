#include "ControlPaint.h"

RECT toRect(const PixelRect& rect) noexcept {
  return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

void drawBitmap(HDC dc, HBITMAP bitmap, int x, int y, int width, int height) noexcept {
  DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(bitmap), 0, x, y, width, height,
             DST_BITMAP | DSS_NORMAL);
}

void paintTrackHandle(HWND window, HDC backgroundDC, HBITMAP handleBitmap,
                      const TrackPaintRects& rects) noexcept {
  if (!IsWindow(window)) {
    return;
  }
  HDC dc = GetDC(window);
  if (dc == nullptr) {
    return;
  }
  const PixelRect& handle = rects.handle;
  const PixelRect& strip = rects.strip;
  drawBitmap(dc, handleBitmap, handle.left, handle.top, handle.right - handle.left,
             handle.bottom - handle.top);
  ExcludeClipRect(dc, handle.left, handle.top, handle.right, handle.bottom);
  BitBlt(dc, strip.left, strip.top, strip.right - strip.left, strip.bottom - strip.top,
         backgroundDC, strip.left, strip.top, SRCCOPY);
  SelectClipRgn(dc, nullptr);
  ReleaseDC(window, dc);
}
