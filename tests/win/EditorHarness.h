// What the editor suites need to act as a host with a window: a parent window, a message pump
// that waits for a condition, pixel capture of the editor and the DLL's own bitmaps, and a
// count of the process's GDI objects.
#pragma once

#include "PluginLibrary.h"
#include "RecordingHost.h"

#include <windows.h>
#include <winternl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace editor_harness {

constexpr int kEditorWidth = 511;
constexpr int kEditorHeight = 283;
constexpr DWORD kDeadlineMs = 10000;

inline LRESULT CALLBACK hostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

// The top-level window a host gives the editor: a popup whose client area is exactly the
// editor's size.
class HostWindow {
public:
  explicit HostWindow(int x = 0, int y = 0) {
    static const ATOM atom = [] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = hostWindowProc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
      wc.lpszClassName = "ZembracTestHost";
      return RegisterClassA(&wc);
    }();
    (void)atom;
    window_ =
        CreateWindowExA(0, "ZembracTestHost", "host", WS_POPUP | WS_VISIBLE, x, y, kEditorWidth,
                        kEditorHeight, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  ~HostWindow() { destroy(); }
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  HWND handle() const { return window_; }
  void destroy() {
    if (window_ != nullptr && IsWindow(window_)) {
      DestroyWindow(window_);
    }
    window_ = nullptr;
  }

private:
  HWND window_ = nullptr;
};

// A host window that lives until the process ends, for tests that do not destroy their parent:
// under Xvfb, Wine takes 2 s to destroy any visible top-level window.
inline HWND persistentHost(int slot) {
  static std::unique_ptr<HostWindow> hosts[4];
  std::unique_ptr<HostWindow>& host = hosts[slot];
  if (!host) {
    host = std::make_unique<HostWindow>(slot * 520, 0);
  }
  return host->handle();
}

// Dispatches messages until done() holds or the deadline passes; answers done(). Many open
// editors can keep the queue from ever running dry, so the condition is also tested while
// messages are waiting.
inline bool pumpUntil(const std::function<bool()>& done, DWORD deadlineMs = kDeadlineMs) {
  constexpr ULONGLONG kCheckEveryMs = 20;
  const ULONGLONG end = GetTickCount64() + deadlineMs;
  for (;;) {
    MSG msg;
    const ULONGLONG drainStart = GetTickCount64();
    while (GetTickCount64() - drainStart < kCheckEveryMs &&
           PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (done()) {
      return true;
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= end) {
      return false;
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE,
                              static_cast<DWORD>(end - now < 50 ? end - now : 50), QS_ALLINPUT);
  }
}

// Lets everything already queued run (paints, posted messages).
inline void drainMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// 0x00RRGGBB pixels, row by row, top row first.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t at(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  }
};

inline Image readBitmap(HDC source, int width, int height, HBITMAP bitmap = nullptr) {
  Image image;
  image.width = width;
  image.height = height;
  image.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0u);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC memory = CreateCompatibleDC(source);
  HBITMAP target = bitmap != nullptr ? bitmap : CreateCompatibleBitmap(source, width, height);
  if (bitmap == nullptr) {
    HGDIOBJ old = SelectObject(memory, target);
    BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    SelectObject(memory, old);
  }
  GetDIBits(memory, target, 0, static_cast<UINT>(height), image.pixels.data(), &info,
            DIB_RGB_COLORS);
  if (bitmap == nullptr) {
    DeleteObject(target);
  }
  DeleteDC(memory);
  for (std::uint32_t& p : image.pixels) {
    p &= 0x00FFFFFFu;
  }
  return image;
}

// What the editor window shows now.
inline Image captureWindow(HWND window) {
  HDC dc = GetDC(window);
  Image image = readBitmap(dc, kEditorWidth, kEditorHeight);
  ReleaseDC(window, dc);
  return image;
}

inline HMODULE pluginModule() { return GetModuleHandleA(pluginPath().c_str()); }

// A bitmap resource of the DLL as the screen shows it.
inline Image resourceBitmap(int id) {
  HBITMAP bitmap = LoadBitmapA(pluginModule(), MAKEINTRESOURCEA(id));
  BITMAP info{};
  GetObjectA(bitmap, sizeof info, &info);
  HDC screen = GetDC(nullptr);
  Image image = readBitmap(screen, info.bmWidth, info.bmHeight, bitmap);
  ReleaseDC(nullptr, screen);
  DeleteObject(bitmap);
  return image;
}

// Whether the w x h block of `shown` at (x, y) equals `expected` at (ex, ey).
inline bool sameBlock(const Image& shown, int x, int y, const Image& expected, int ex, int ey,
                      int w, int h) {
  for (int dy = 0; dy < h; ++dy) {
    for (int dx = 0; dx < w; ++dx) {
      if (shown.at(x + dx, y + dy) != expected.at(ex + dx, ey + dy)) {
        return false;
      }
    }
  }
  return true;
}

inline HWND editorWindowOf(HWND parent) {
  return FindWindowExA(parent, nullptr, "Zembrac", nullptr);
}

inline bool editorClassRegistered() {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  return GetClassInfoExA(pluginModule(), "Zembrac", &wc) != 0;
}

// GDI objects of this process. Wine's GetGuiResources answers 0, so there the handle table
// that both systems map into the process is counted instead (Wine keeps it per process).
inline int gdiObjectCount() {
  const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (counted != 0) {
    return static_cast<int>(counted);
  }
  struct HandleEntry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint16_t unique;
    std::uint8_t type;
    std::uint8_t flags;
    std::uint64_t user;
  };
  static_assert(sizeof(HandleEntry) == 24, "64-bit GDI handle table entry");
  constexpr std::size_t kTableOffset = 0xF8; // PEB.GdiSharedHandleTable on x64
  constexpr int kTableSize = 0x10000;
  using QueryProcess = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<QueryProcess>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION basic{};
  if (query == nullptr ||
      query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) {
    return -1;
  }
  const auto* peb = reinterpret_cast<const unsigned char*>(basic.PebBaseAddress);
  const auto* table = *reinterpret_cast<HandleEntry* const*>(peb + kTableOffset);
  if (table == nullptr) {
    return -1;
  }
  int n = 0;
  for (int i = 0; i < kTableSize; ++i) {
    n += table[i].type != 0 ? 1 : 0;
  }
  return n;
}

// One plug-in instance, closed with effClose when it goes.
class Instance {
public:
  explicit Instance(const PluginLibrary& library)
      : effect_(library.create(RecordingHost::callback)) {
    if (effect_ != nullptr) {
      dispatch(effect_, effOpen);
    }
  }
  ~Instance() { close(); }
  Instance(const Instance&) = delete;
  Instance& operator=(const Instance&) = delete;

  AEffect* operator->() const { return effect_; }
  AEffect* get() const { return effect_; }
  bool openEditor(HWND parent) const { return dispatch(effect_, effEditOpen, 0, 0, parent) == 1; }
  void closeEditor() const { dispatch(effect_, effEditClose); }
  void setParameter(VstInt32 index, float value) const {
    effect_->setParameter(effect_, index, value);
  }
  void close() {
    if (effect_ != nullptr) {
      dispatch(effect_, effClose);
      effect_ = nullptr;
    }
  }

private:
  AEffect* effect_;
};

} // namespace editor_harness
