#include "EditorResources.h"

#include "ControlPaint.h"
#include "EditorWindow.h"
#include "GdiHandles.h"
#include "ModuleHandle.h"

#include <commctrl.h>

namespace {

// In loading order.
constexpr std::int32_t kBitmapIds[kEditorBitmapCount] = {
    IDB_FACE,        IDB_NORMALIZE_LIT,  IDB_SOFT_LIT,          IDB_DITHER_LIT,
    IDB_BYPASS_LIT,  IDB_OUTPUT_METER,   IDB_REDUCTION_METER,   IDB_AUTO_RELEASE_LIT,
    IDB_HANDLE_BLUE, IDB_HANDLE_GREEN,   IDB_HANDLE_NARROW_RED, IDB_HANDLE_GREY,
    IDB_READOUT,     IDB_HIGHLIGHT_MASK, IDB_ZOOM_HANDLE,       IDB_LOOKAHEAD_HANDLE};

HINSTANCE moduleInstance() noexcept { return static_cast<HINSTANCE>(moduleHandle()); }

bool registerEditorClass() noexcept {
  WNDCLASSA wc{};
  wc.style = 0;
  wc.lpfnWndProc = editorWindowProc;
  wc.hInstance = moduleInstance();
  wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOWFRAME + 1));
  wc.lpszMenuName = nullptr;
  wc.lpszClassName = kEditorClassName;
  return RegisterClassA(&wc) != 0;
}

HDC screenCompatibleDC(HBITMAP bitmap) noexcept {
  HDC dc = CreateCompatibleDC(nullptr);
  if (dc != nullptr && bitmap != nullptr) {
    SelectObject(dc, bitmap);
  }
  return dc;
}

void readHighlightMask(EditorResources& shared) noexcept {
  for (std::int32_t x = 0; x < HighlightTables::kMaskWidth; ++x) {
    for (std::int32_t y = 0; y < HighlightTables::kMaskHeight; ++y) {
      const COLORREF pixel = GetPixel(shared.highlightMaskDC, x, y);
      // A mask that failed to load reads CLR_INVALID; it must not light the corner.
      const auto m = static_cast<std::uint8_t>(pixel == CLR_INVALID ? 0u : GetRValue(pixel));
      shared.highlight.setMask(x, y, m);
    }
  }
}

// Handles are recycled, so a table entry is only ours while it names a window of our class.
bool isEditorWindow(HWND window) noexcept {
  if (window == nullptr || !IsWindow(window)) {
    return false;
  }
  if (reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE)) != moduleInstance()) {
    return false;
  }
  char name[16] = {};
  return GetClassNameA(window, name, sizeof name) > 0 && lstrcmpA(name, kEditorClassName) == 0;
}

HPEN solidPen(Rgb colour) noexcept { return CreatePen(PS_SOLID, 1, toColorRef(colour)); }

} // namespace

EditorResources& editorResources() noexcept {
  static EditorResources shared;
  return shared;
}

HBITMAP EditorResources::bitmap(std::int32_t resourceId) const noexcept {
  for (std::size_t i = 0; i < kEditorBitmapCount; ++i) {
    if (kBitmapIds[i] == resourceId) {
      return bitmaps[i];
    }
  }
  return nullptr;
}

bool createSharedEditorResources() noexcept {
  EditorResources& shared = editorResources();
  InitCommonControls();
  if (!shared.classRegistered && !registerEditorClass()) {
    return false;
  }
  shared.classRegistered = true;
  for (std::size_t i = 0; i < kEditorBitmapCount; ++i) {
    shared.bitmaps[i] = LoadBitmapA(moduleInstance(), MAKEINTRESOURCEA(kBitmapIds[i]));
  }
  if (shared.bitmap(IDB_FACE) == nullptr) {
    MessageBoxA(nullptr, "Not enough memory !", "Error", MB_OK);
  }
  shared.backgroundDC = screenCompatibleDC(shared.bitmap(IDB_FACE));
  shared.highlightMaskDC = screenCompatibleDC(shared.bitmap(IDB_HIGHLIGHT_MASK));
  readHighlightMask(shared);
  shared.editorFont = CreateFontA(kEditorFontHeight, kEditorFontWidth, 0, 0, 0, FALSE, FALSE, FALSE,
                                  0, 0, 0, 0, 0, kEditorFontFace);
  shared.outputPeakRedPen = solidPen(kOutputPeakRed);
  shared.outputPeakGreenPen = solidPen(kOutputPeakGreen);
  shared.reductionPeakPen = solidPen(kReductionPeakColour);
  shared.blackPen = solidPen(kBlack);
  shared.whiteBrush = CreateSolidBrush(toColorRef(kWhite));
  shared.blackBrush = CreateSolidBrush(toColorRef(kBlack));
  shared.rmsBrush = CreateSolidBrush(toColorRef(kRmsBackground));
  return true;
}

void destroySharedEditorResources(HWND dying) noexcept {
  EditorResources& shared = editorResources();
  const auto top = static_cast<std::size_t>(shared.editorWindowTop);
  for (std::size_t i = 0; i <= top && i < kEditorWindowTableSize; ++i) {
    HWND window = shared.editorWindowTable[i];
    if (window != dying && isEditorWindow(window)) {
      DestroyWindow(window);
    }
  }
  shared.editorWindowTop = 0;
  deleteMemoryDC(shared.backgroundDC);
  deleteMemoryDC(shared.highlightMaskDC);
  for (HBITMAP& bitmap : shared.bitmaps) {
    deleteGdiObject(bitmap);
  }
  deleteGdiObject(shared.editorFont);
  deleteGdiObject(shared.whiteBrush);
  deleteGdiObject(shared.blackBrush);
  deleteGdiObject(shared.rmsBrush);
  deleteGdiObject(shared.outputPeakRedPen);
  deleteGdiObject(shared.outputPeakGreenPen);
  deleteGdiObject(shared.reductionPeakPen);
  deleteGdiObject(shared.blackPen);
  finishUnregisteringEditorClass();
}

void finishUnregisteringEditorClass() noexcept {
  EditorResources& shared = editorResources();
  if (shared.classRegistered && shared.editorInstanceCount == 0 &&
      UnregisterClassA(kEditorClassName, moduleInstance()) != 0) {
    shared.classRegistered = false;
  }
}

bool enterEditorWindow(HWND window) noexcept {
  EditorResources& shared = editorResources();
  for (std::size_t i = 0; i < kEditorWindowTableSize; ++i) {
    if (!isEditorWindow(shared.editorWindowTable[i])) {
      shared.editorWindowTable[i] = window;
      const auto index = static_cast<std::int32_t>(i);
      if (index > shared.editorWindowTop) {
        shared.editorWindowTop = index;
      }
      return true;
    }
  }
  return false;
}

void applyHighlight(HDC panel) noexcept {
  const HighlightTables& highlight = editorResources().highlight;
  for (std::int32_t x = 0; x < HighlightTables::kGlintWidth; ++x) {
    for (std::int32_t y = 0; y < HighlightTables::kGlintHeight; ++y) {
      const COLORREF pixel = GetPixel(panel, x, y);
      if (pixel != CLR_INVALID) {
        SetPixel(panel, x, y, highlight.blend(pixel, x, y));
      }
    }
  }
}

void fillRect(HDC dc, const PixelRect& rect, HBRUSH brush) noexcept {
  const RECT r = toRect(rect);
  FillRect(dc, &r, brush);
}
