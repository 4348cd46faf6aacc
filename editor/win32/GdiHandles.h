// Releasing a GDI object or window exactly once: each helper clears the handle it frees, so a
// second release finds nothing to do.
#pragma once

#include <windows.h>

template <typename Handle> void deleteGdiObject(Handle& handle) noexcept {
  if (handle != nullptr) {
    DeleteObject(handle);
    handle = nullptr;
  }
}

inline void deleteMemoryDC(HDC& dc) noexcept {
  if (dc != nullptr) {
    DeleteDC(dc);
    dc = nullptr;
  }
}

inline void destroyChildWindow(HWND& window) noexcept {
  if (window != nullptr) {
    DestroyWindow(window);
    window = nullptr;
  }
}
