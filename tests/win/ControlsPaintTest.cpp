// The control classes painting into a plain window over a memory background, read back with
// GetPixel. Needs a display (xvfb-run).
#include "FaderControl.h"
#include "SwitchButton.h"
#include "VerticalSlider.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace {

constexpr int kWidth = 511;
constexpr int kHeight = 283;
constexpr COLORREF kBackground = RGB(10, 20, 30);
constexpr COLORREF kHandle = RGB(200, 0, 0);
constexpr COLORREF kBox = RGB(0, 0, 90);
constexpr COLORREF kLit = RGB(0, 200, 0);
constexpr COLORREF kPaintedOver = RGB(250, 250, 0);

// The Ratio fader of the editor's layout.
constexpr int kFaderX = 78;
constexpr int kFaderY = 66;
constexpr int kReadoutX = 66;
constexpr int kReadoutY = 13;

HBITMAP solidBitmap(HDC screen, int width, int height, COLORREF colour) {
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  HBRUSH brush = CreateSolidBrush(colour);
  RECT all{0, 0, width, height};
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  SelectObject(dc, previous);
  DeleteDC(dc);
  return bitmap;
}

class ControlsPaint : public testing::Test {
protected:
  // One top-level parent for the suite: under Wine without a window manager, hiding or
  // destroying a top-level window waits two seconds for the X server. Each test paints into
  // its own child window, as the editor does.
  static void SetUpTestSuite() {
    WNDCLASSA cls{};
    cls.lpfnWndProc = DefWindowProcA;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.lpszClassName = kClassName;
    RegisterClassA(&cls);
    parent_ = CreateWindowExA(0, kClassName, "controls", WS_POPUP | WS_VISIBLE, 0, 0, kWidth,
                              kHeight, nullptr, nullptr, cls.hInstance, nullptr);
    pump();
  }

  static void TearDownTestSuite() {
    DestroyWindow(parent_);
    UnregisterClassA(kClassName, GetModuleHandleA(nullptr));
  }

  void SetUp() override {
    ASSERT_NE(parent_, nullptr);
    window_ = CreateWindowExA(0, kClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, kWidth, kHeight,
                              parent_, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window_, nullptr);
    pump();

    HDC screen = GetDC(nullptr);
    backgroundBitmap_ = solidBitmap(screen, kWidth, kHeight, kBackground);
    handleBitmap_ = solidBitmap(screen, 20, 34, kHandle);
    boxBitmap_ = solidBitmap(screen, 45, 12, kBox);
    litBitmap_ = solidBitmap(screen, 44, 21, kLit);
    backgroundDC_ = CreateCompatibleDC(screen);
    previousBackground_ = SelectObject(backgroundDC_, backgroundBitmap_);
    ReleaseDC(nullptr, screen);
    font_ = CreateFontA(14, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");

    HDC dc = GetDC(window_);
    BitBlt(dc, 0, 0, kWidth, kHeight, backgroundDC_, 0, 0, SRCCOPY);
    ReleaseDC(window_, dc);
  }

  void TearDown() override {
    if (window_ != nullptr && IsWindow(window_)) {
      DestroyWindow(window_);
    }
    SelectObject(backgroundDC_, previousBackground_);
    DeleteDC(backgroundDC_);
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(backgroundBitmap_),
                           static_cast<HGDIOBJ>(handleBitmap_), static_cast<HGDIOBJ>(boxBitmap_),
                           static_cast<HGDIOBJ>(litBitmap_), static_cast<HGDIOBJ>(font_)}) {
      DeleteObject(object);
    }
  }

  static void pump() {
    // Bounded: a message that keeps coming back must not hang the suite.
    MSG msg;
    for (int i = 0; i < 1000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
      DispatchMessageA(&msg);
    }
  }

  // The window's pixels, read in one copy: reading them one by one from the window DC costs a
  // round trip each under Wine.
  void snapshot() {
    HDC dc = GetDC(window_);
    HDC memory = CreateCompatibleDC(dc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, section);
    BitBlt(memory, 0, 0, kWidth, kHeight, dc, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* words = static_cast<const std::uint32_t*>(bits);
    pixels_.assign(words, words + kWidth * kHeight);
    SelectObject(memory, previous);
    DeleteObject(section);
    DeleteDC(memory);
    ReleaseDC(window_, dc);
  }

  // From the last snapshot; a DIB word is 0x00RRGGBB.
  COLORREF pixel(int x, int y) const {
    const std::uint32_t word = pixels_.at(static_cast<std::size_t>(y * kWidth + x));
    return RGB((word >> 16) & 0xff, (word >> 8) & 0xff, word & 0xff);
  }

  void paintOver(int left, int top, int right, int bottom) const {
    HDC dc = GetDC(window_);
    HBRUSH brush = CreateSolidBrush(kPaintedOver);
    RECT rect{left, top, right, bottom};
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
    ReleaseDC(window_, dc);
  }

  // Rows of column x (from top to bottom) that show the handle colour, as [first, last].
  std::pair<int, int> handleRows(int x, int top, int bottom) const {
    int first = -1;
    int last = -1;
    for (int y = top; y < bottom; ++y) {
      if (pixel(x, y) == kHandle) {
        if (first < 0) {
          first = y;
        }
        last = y;
      }
    }
    return {first, last};
  }

  int pixelsOf(COLORREF colour, int left, int top, int right, int bottom) const {
    int count = 0;
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) {
        count += pixel(x, y) == colour ? 1 : 0;
      }
    }
    return count;
  }

  FaderControl ratioFader() {
    return FaderControl(window_, handleBitmap_, backgroundDC_, boxBitmap_, kFaderX, kFaderY,
                        kReadoutX, kReadoutY, &font_, kReadoutRatio, 2.0f, 60.0f, 155.0f, 20);
  }

  static constexpr const char* kClassName = "ZembracControlsPaintTest";
  static inline HWND parent_ = nullptr;
  HWND window_ = nullptr;
  HDC backgroundDC_ = nullptr;
  HGDIOBJ previousBackground_ = nullptr;
  HBITMAP backgroundBitmap_ = nullptr;
  HBITMAP handleBitmap_ = nullptr;
  HBITMAP boxBitmap_ = nullptr;
  HBITMAP litBitmap_ = nullptr;
  HFONT font_ = nullptr;
  std::vector<std::uint32_t> pixels_;
};

// The column the fader restores: 16 rows above min to 18 rows below max.
constexpr int kColumnTop = kFaderY - 16;
constexpr int kColumnBottom = kFaderY - 16 + 155 + 34;

TEST_F(ControlsPaint, HandleStandsAtTheRowItsValueMapsTo) {
  FaderControl fader = ratioFader();
  snapshot();
  EXPECT_EQ(handleRows(kFaderX + 10, kColumnTop - 4, kColumnBottom + 4),
            std::make_pair(kFaderY - 16, kFaderY + 17));

  fader.setValue(60.0f);
  snapshot();
  EXPECT_EQ(handleRows(kFaderX + 10, kColumnTop - 4, kColumnBottom + 4),
            std::make_pair(kFaderY + 154 - 16, kFaderY + 154 + 17));

  fader.setValue(31.0f); // offset 77
  snapshot();
  EXPECT_EQ(handleRows(kFaderX + 10, kColumnTop - 4, kColumnBottom + 4),
            std::make_pair(kFaderY + 77 - 16, kFaderY + 77 + 17));
  // The old handles are gone and the new one is whole.
  EXPECT_EQ(pixelsOf(kHandle, 0, 0, kWidth, kHeight), 20 * 34);
}

TEST_F(ControlsPaint, DraggingRepaintsHandleAndReadout) {
  FaderControl fader = ratioFader();
  ASSERT_TRUE(fader.grabHandle(kFaderX + 5, kFaderY + 10));
  fader.dragTo(0, kFaderY + 100);
  snapshot();
  const int handleTop = handleRows(kFaderX + 10, kColumnTop, kColumnBottom).first;
  bool onTrack = false;
  EXPECT_EQ(handleTop, kFaderY + trackOffset(fader.getValue(), 2.0f, 60.0f, 155.0f, onTrack) - 16);
  EXPECT_GE(handleTop, kFaderY + 99 - 16);
}

TEST_F(ControlsPaint, ReadoutShowsTextOnTheBoxFace) {
  FaderControl fader = ratioFader();
  fader.setValue(60.0f);
  snapshot();
  EXPECT_EQ(pixel(kReadoutX, kReadoutY), kBox);
  EXPECT_EQ(pixel(kReadoutX + 44, kReadoutY + 11), kBox);
  const int face = pixelsOf(kBox, kReadoutX, kReadoutY, kReadoutX + 45, kReadoutY + 12);
  EXPECT_GT(face, 45 * 12 / 2);
  EXPECT_LT(face, 45 * 12) << "no text drawn";
  std::vector<std::uint32_t> at60 = pixels_;
  fader.setValue(2.0f);
  snapshot();
  EXPECT_NE(at60, pixels_) << "the text did not follow the value";
}

TEST_F(ControlsPaint, UnchangedValuePaintsNothing) {
  FaderControl fader = ratioFader();
  fader.setValue(31.0f);
  paintOver(0, 0, kWidth, kHeight);
  fader.setValue(31.0f);
  fader.setHighlight(0.0f, 0);
  fader.setFaderShown(1);
  fader.setReadoutShown(1);
  snapshot();
  EXPECT_EQ(pixelsOf(kPaintedOver, 0, 0, kWidth, kHeight), kWidth * kHeight);
  fader.setValue(100.0f); // clamps to 60: a change
  snapshot();
  EXPECT_EQ(pixel(kFaderX + 10, kFaderY + 77), kBackground);
  EXPECT_EQ(pixel(kFaderX + 10, kFaderY + 154), kHandle);
  EXPECT_NE(pixel(kReadoutX, kReadoutY), kPaintedOver);
}

TEST_F(ControlsPaint, HiddenHandleLeavesItsPictureAndIgnoresTheMouse) {
  FaderControl fader = ratioFader();
  fader.setFaderShown(0);
  EXPECT_FALSE(fader.grabHandle(kFaderX + 10, kFaderY));
  fader.setValue(60.0f);
  snapshot();
  EXPECT_EQ(pixel(kFaderX + 10, kFaderY), kHandle);
  EXPECT_EQ(pixel(kFaderX + 10, kFaderY + 154), kBackground);
  fader.setFaderShown(1);
  snapshot();
  EXPECT_EQ(pixel(kFaderX + 10, kFaderY), kBackground);
  EXPECT_EQ(pixel(kFaderX + 10, kFaderY + 154), kHandle);
}

TEST_F(ControlsPaint, SwitchShowsLitOrBackgroundAndAlwaysRepaints) {
  SwitchButton soft(window_, litBitmap_, backgroundDC_, 354, 118, 44, 21);
  soft.setState(1);
  snapshot();
  EXPECT_EQ(pixelsOf(kLit, 350, 114, 402, 143), 44 * 21);
  paintOver(350, 114, 402, 143);
  soft.setState(1);
  snapshot();
  EXPECT_EQ(pixelsOf(kLit, 350, 114, 402, 143), 44 * 21);
  soft.setState(0);
  snapshot();
  EXPECT_EQ(pixelsOf(kBackground, 354, 118, 398, 139), 44 * 21);
}

TEST_F(ControlsPaint, NewZoomRangeMovesTheHandleAtOnce) {
  VerticalSlider zoom(window_, handleBitmap_, backgroundDC_, 304, 221, 1.0f, 20.0f, 41.0f, 13);
  zoom.setValue(8.0f);
  snapshot();
  const int before = handleRows(310, 200, 275).first;
  zoom.setRange(2.0f, 32.0f);
  snapshot();
  const int after = handleRows(310, 200, 275).first;
  EXPECT_EQ(zoom.getValue(), 8.0f);
  EXPECT_LT(after, before);
  bool onTrack = false;
  EXPECT_EQ(after, 221 + trackOffset(8.0f, 2.0f, 32.0f, 41.0f, onTrack) - 11);
}

TEST_F(ControlsPaint, DestroyedWindowKeepsTheFieldsAndPaintsNothing) {
  FaderControl fader = ratioFader();
  SwitchButton soft(window_, litBitmap_, backgroundDC_, 354, 118, 44, 21);
  DestroyWindow(window_);
  fader.setValue(40.0f);
  fader.setReadoutShown(0);
  soft.setState(1);
  EXPECT_EQ(fader.getValue(), 40.0f);
  EXPECT_EQ(fader.isReadoutShown(), 0);
  EXPECT_EQ(soft.getState(), 1);
}

} // namespace
