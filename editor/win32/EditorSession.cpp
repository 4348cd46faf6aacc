#include "EditorSession.h"

#include "ControlPaint.h"
#include "EditorResources.h"
#include "GdiHandles.h"
#include "ModuleHandle.h"

#include <new>
#include <utility>

namespace {

template <typename Control, typename... Args>
std::unique_ptr<Control> makeControl(Args&&... args) noexcept {
  return std::unique_ptr<Control>(new (std::nothrow) Control(std::forward<Args>(args)...));
}

std::unique_ptr<FaderControl> makeFader(HWND window, const FaderLayout& l) noexcept {
  EditorResources& shared = editorResources();
  return makeControl<FaderControl>(window, shared.bitmap(l.handleBitmap), shared.backgroundDC,
                                   shared.bitmap(IDB_READOUT), l.x, l.y, l.readoutX, l.readoutY,
                                   &shared.editorFont, l.kind, l.min, l.max, l.length, l.width);
}

template <typename Slider>
std::unique_ptr<Slider> makeSlider(HWND window, const SliderLayout& l) noexcept {
  EditorResources& shared = editorResources();
  return makeControl<Slider>(window, shared.bitmap(l.handleBitmap), shared.backgroundDC, l.x, l.y,
                             l.min, l.max, l.length, l.breadth);
}

std::unique_ptr<SwitchButton> makeSwitch(HWND window, const SwitchLayout& l) noexcept {
  EditorResources& shared = editorResources();
  return makeControl<SwitchButton>(window, shared.bitmap(l.litBitmap), shared.backgroundDC, l.x,
                                   l.y, l.width, l.height);
}

HDC compatibleSurface(HDC windowDC, std::int32_t width, std::int32_t height,
                      HBITMAP& bitmap) noexcept {
  HDC dc = CreateCompatibleDC(windowDC);
  bitmap = CreateCompatibleBitmap(windowDC, width, height);
  if (dc != nullptr && bitmap != nullptr) {
    SelectObject(dc, bitmap);
  }
  return dc;
}

HWND createEntry(HWND parent, EntryPlace place, HFONT font) noexcept {
  // ES_AUTOVSCROLL: Wine clips the formatting rectangle to the 15-pixel client area, and a
  // multi-line EDIT that may not scroll then refuses Enter's line break, which commits the
  // entry. Windows takes the line break either way; the box looks the same on both.
  const DWORD style = WS_CHILD | WS_VISIBLE | ES_CENTER | ES_MULTILINE | ES_AUTOVSCROLL;
  HWND entry = CreateWindowExA(0, "EDIT", kEntryInitialText, style, place.x, place.y, kEntryWidth,
                               kEntryHeight, parent, nullptr,
                               static_cast<HINSTANCE>(moduleHandle()), nullptr);
  if (entry == nullptr) {
    return nullptr;
  }
  SendMessageA(entry, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  SendMessageA(entry, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
               MAKELPARAM(kEntryMargin, kEntryMargin));
  ShowWindow(entry, SW_HIDE);
  RECT format = toRect(kEntryFormatRect);
  SendMessageA(entry, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&format));
  return entry;
}

} // namespace

void EditorSession::setWavePens(const WaveColours& colours) noexcept {
  deleteWavePens();
  auto pen = [&](std::size_t i) { return CreatePen(PS_SOLID, 1, toColorRef(colours[i])); };
  inputPen = pen(0);
  compressedPen = pen(1);
  limitedPen = pen(2);
  compThresholdPen = pen(3);
  limThresholdPen = pen(4);
}

void EditorSession::deleteWavePens() noexcept {
  deleteGdiObject(inputPen);
  deleteGdiObject(limitedPen);
  deleteGdiObject(compThresholdPen);
  deleteGdiObject(limThresholdPen);
  deleteGdiObject(compressedPen);
}

void EditorSession::createSurfaces(HDC windowDC) noexcept {
  EditorResources& shared = editorResources();
  waveImageDC = compatibleSurface(windowDC, waveRect.right, waveRect.bottom, waveImageBitmap);
  fillRect(waveImageDC, waveRect, shared.blackBrush);

  panelDC = compatibleSurface(windowDC, kPanelWidth, kPanelHeight, panelBitmap);
  for (const PanelStrip& strip : kPanelStrips) {
    BitBlt(panelDC, strip.panelX, 0, strip.width, strip.height, shared.backgroundDC, strip.faceX,
           strip.faceY, SRCCOPY);
  }
  applyHighlight(panelDC);

  waveMaskDC = compatibleSurface(windowDC, waveRect.right, waveRect.bottom, waveMaskBitmap);
  fillRect(waveMaskDC, waveRect, shared.whiteBrush);
}

void EditorSession::deleteSurfaces() noexcept {
  deleteMemoryDC(waveImageDC);
  deleteMemoryDC(panelDC);
  deleteMemoryDC(waveMaskDC);
  deleteGdiObject(waveImageBitmap);
  deleteGdiObject(panelBitmap);
  deleteGdiObject(waveMaskBitmap);
}

void EditorSession::createControls() noexcept {
  thrCompFader = makeFader(window, kThrCompFaderLayout);
  ratioFader = makeFader(window, kRatioFaderLayout);
  releaseFader = makeFader(window, kReleaseFaderLayout);
  autoReleaseFader = makeFader(window, kAutoReleaseFaderLayout);
  if (autoReleaseFader) {
    autoReleaseFader->setReadoutShown(0);
  }
  zoomSlider = makeSlider<VerticalSlider>(window, kZoomSliderLayout);
  outputFader = makeFader(window, kOutputFaderLayout);
  thrLimFader = makeFader(window, kThrLimFaderLayout);
  if (thrLimFader) {
    thrLimFader->setReadoutShown(0);
  }
  lookAheadSlider = makeSlider<HorizontalSlider>(window, kLookAheadSliderLayout);
  softSwitch = makeSwitch(window, kSoftSwitchLayout);
  normalizeSwitch = makeSwitch(window, kNormalizeSwitchLayout);
  ditherSwitch = makeSwitch(window, kDitherSwitchLayout);
  bypassSwitch = makeSwitch(window, kBypassSwitchLayout);
  autoReleaseSwitch = makeSwitch(window, kAutoReleaseSwitchLayout);
}

void EditorSession::deleteControls() noexcept {
  thrCompFader.reset();
  ratioFader.reset();
  releaseFader.reset();
  autoReleaseFader.reset();
  zoomSlider.reset();
  outputFader.reset();
  thrLimFader.reset();
  lookAheadSlider.reset();
  softSwitch.reset();
  normalizeSwitch.reset();
  ditherSwitch.reset();
  bypassSwitch.reset();
  autoReleaseSwitch.reset();
}

void EditorSession::createEntries() noexcept {
  const HFONT font = editorResources().editorFont;
  outputEntry = createEntry(window, kOutputEntryPlace, font);
  releaseEntry = createEntry(window, kReleaseEntryPlace, font);
  ratioEntry = createEntry(window, kRatioEntryPlace, font);
  thresholdEntry = createEntry(window, kThresholdEntryPlace, font);
}

void EditorSession::destroyEntries() noexcept {
  destroyChildWindow(outputEntry);
  destroyChildWindow(releaseEntry);
  destroyChildWindow(ratioEntry);
  destroyChildWindow(thresholdEntry);
}
