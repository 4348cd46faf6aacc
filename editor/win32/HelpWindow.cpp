#include "HelpWindow.h"

#include "ADelay.h"
#include "HelpLayout.h"
#include "HelpTexts.h"
#include "ModuleHandle.h"

#include <mutex>

namespace {

constexpr char kHelpClassName[] = "ZembracHelp";
constexpr char kHelpTitle[] = "Zembrac Help";
constexpr DWORD kHelpStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VSCROLL;
constexpr COLORREF kSubBandColour = RGB(240, 240, 240);
constexpr COLORREF kMainBandColour = RGB(220, 242, 255);

// Drawing objects and the window class of every help window in the process. Effects may be
// created on several threads at once, so the count is guarded; the handles change only when
// the count passes between 0 and 1, never while a help window of a living effect uses them.
struct SharedHelpResources {
  int helpWindowCount = 0;
  HBRUSH whiteBrush = nullptr;
  HBRUSH subBandBrush = nullptr;
  HBRUSH mainBandBrush = nullptr;
  HFONT font = nullptr;
};

std::mutex sharedMutex;
SharedHelpResources shared;

HINSTANCE moduleInstance() noexcept { return static_cast<HINSTANCE>(moduleHandle()); }

// The same face as the editor's own font.
HFONT createHelpFont() noexcept {
  return CreateFontA(14, 5, 0, 0, 0, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, "Arial");
}

} // namespace

HelpWindow::HelpWindow() noexcept {
  const std::lock_guard<std::mutex> lock(sharedMutex);
  if (++shared.helpWindowCount != 1) {
    return;
  }
  shared.whiteBrush = CreateSolidBrush(RGB(255, 255, 255));
  shared.subBandBrush = CreateSolidBrush(kSubBandColour);
  shared.mainBandBrush = CreateSolidBrush(kMainBandColour);
  shared.font = createHelpFont();
  WNDCLASSA windowClass{};
  windowClass.style = 0;
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = moduleInstance();
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hIcon = LoadIconA(nullptr, IDI_QUESTION);
  windowClass.hbrBackground = shared.whiteBrush;
  windowClass.lpszClassName = kHelpClassName;
  RegisterClassA(&windowClass);
}

HelpWindow::~HelpWindow() {
  if (window_ != nullptr && IsWindow(window_) && !DestroyWindow(window_)) {
    // The window lives on a thread other than the one destroying the effect: detach it from
    // this object and let it close on its own thread.
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    PostMessageA(window_, WM_CLOSE, 0, 0);
  }
  window_ = nullptr;
  const std::lock_guard<std::mutex> lock(sharedMutex);
  if (--shared.helpWindowCount != 0) {
    return;
  }
  UnregisterClassA(kHelpClassName, moduleInstance());
  DeleteObject(shared.font);
  DeleteObject(shared.mainBandBrush);
  DeleteObject(shared.subBandBrush);
  DeleteObject(shared.whiteBrush);
  shared = SharedHelpResources{};
}

void HelpWindow::show(HWND editorWindow) noexcept {
  if (window_ != nullptr && IsWindow(window_)) {
    ShowWindow(window_, SW_RESTORE);
    SetActiveWindow(window_);
    return;
  }
  firstLine_ = 0;
  // A non-child window with the editor as parent is owned by the editor's top-level window.
  HWND created = CreateWindowExA(WS_EX_APPWINDOW, kHelpClassName, kHelpTitle, kHelpStyle,
                                 CW_USEDEFAULT, CW_USEDEFAULT, kHelpWindowWidth, kHelpWindowHeight,
                                 editorWindow, nullptr, moduleInstance(), this);
  if (created == nullptr) {
    return;
  }
  scrollInfo_ = SCROLLINFO{};
  scrollInfo_.cbSize = sizeof scrollInfo_;
  scrollInfo_.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  scrollInfo_.nMin = 0;
  scrollInfo_.nMax = kHelpScrollMax;
  scrollInfo_.nPage = kHelpPageLines;
  scrollInfo_.nPos = 0;
  SetScrollInfo(created, SB_VERT, &scrollInfo_, TRUE);
  window_ = created;
}

LRESULT CALLBACK HelpWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // The object is attached while the window is being created, so every message finds it.
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<HelpWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self != nullptr) {
    switch (message) {
    case WM_PAINT:
      self->paint(window);
      return 0;
    case WM_VSCROLL:
      self->scroll(window, wParam);
      return 0;
    case WM_NCDESTROY:
      // Forget the handle at once: the system may hand the same value to another window.
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      if (self->window_ == window) {
        self->window_ = nullptr;
      }
      break;
    default:
      break;
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void HelpWindow::paint(HWND window) noexcept {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (dc == nullptr) {
    return;
  }
  RECT client;
  GetClientRect(window, &client);
  IntersectClipRect(dc, client.left, client.top, client.right, client.bottom);
  HGDIOBJ previousFont = SelectObject(dc, shared.font);
  SetBkMode(dc, TRANSPARENT);
  FillRect(dc, &client, shared.whiteBrush);

  for (const HelpBand& band : kHelpBands) {
    const int top = client.top + helpBandTop(band, firstLine_);
    RECT area{client.left, top, client.right, top + band.height};
    FillRect(dc, &area,
             band.height == kHelpMainBandHeight ? shared.mainBandBrush : shared.subBandBrush);
  }

  SetTextColor(dc, RGB(0, 0, 0));
  for (const HelpBlock& block : kHelpBlocks) {
    RECT area{client.left + kHelpTextMargin,
              client.top + (block.firstLine - firstLine_) * kHelpLineHeight,
              client.right - kHelpTextMargin, kHelpTextBottom};
    DrawTextA(dc, block.text, -1, &area, DT_WORDBREAK);
  }

  SelectObject(dc, previousFont);
  EndPaint(window, &ps);
}

void HelpWindow::scroll(HWND window, WPARAM request) noexcept {
  const int next = helpScrollTarget(static_cast<int>(LOWORD(request)),
                                    static_cast<int>(HIWORD(request)), firstLine_);
  if (next == firstLine_) {
    return;
  }
  const int moved = next - firstLine_;
  firstLine_ = next;
  ScrollWindowEx(window, 0, -moved * kHelpLineHeight, nullptr, nullptr, nullptr, nullptr,
                 SW_INVALIDATE);
  scrollInfo_.fMask = SIF_POS;
  scrollInfo_.nPos = firstLine_;
  SetScrollInfo(window, SB_VERT, &scrollInfo_, TRUE);
  InvalidateRect(window, nullptr, FALSE);
}

void showHelpWindow(ADelay& effect, HWND editorWindow) noexcept {
  if (effect.helpWindow != nullptr) {
    effect.helpWindow->show(editorWindow);
  }
}

void showInfoBox(HWND owner, ADelay& /*effect*/) noexcept {
  MessageBoxA(owner, kInfoText, kInfoCaption, MB_OK | MB_ICONINFORMATION);
}
