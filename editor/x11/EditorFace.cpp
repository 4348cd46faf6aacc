#include "ADelay.h"
#include "DisplayFollow.h"
#include "DisplayTickState.h"
#include "EditorConstants.h"
#include "EditorParts.h"
#include "FaceText.h"
#include "RmsReadout.h"
#include "WavePeakAnalysis.h"

#include <X11/Xutil.h>

namespace {

constexpr std::uint32_t kBlackPixel = 0x000000;
constexpr std::uint32_t kWhitePixel = 0xFFFFFF;
constexpr std::int32_t kNewestColumn = waveRect.right - 1;
constexpr std::int32_t kFirstShownColumn = waveRect.right - kWaveStrip.width;
constexpr std::int32_t kOutputMeterWidth = 15;
constexpr std::int32_t kLeftMeterX = kOutputStrip.panelX;
constexpr std::int32_t kRightMeterX = kOutputStrip.panelX + kOutputMeterWidth + 1;

std::unique_ptr<FaceTrack> makeFader(EditorSession& s, const FaderLayout& l) {
  auto fader =
      std::make_unique<FaceTrack>(s.canvas, s.assets->bitmap(l.handleBitmap), TrackAxis::vertical,
                                  kFaderGrip, l.x, l.y, l.min, l.max, l.length, l.width);
  fader->addReadout(s.assets->bitmap(IDB_READOUT), l.readoutX, l.readoutY, l.kind);
  fader->draw();
  return fader;
}

std::unique_ptr<FaceTrack> makeSlider(EditorSession& s, const SliderLayout& l, TrackAxis axis) {
  auto slider =
      std::make_unique<FaceTrack>(s.canvas, s.assets->bitmap(l.handleBitmap), axis, kSliderGrip,
                                  l.x, l.y, l.min, l.max, l.length, l.breadth);
  slider->draw();
  return slider;
}

std::unique_ptr<FaceSwitch> makeSwitch(EditorSession& s, const SwitchLayout& l) {
  auto button = std::make_unique<FaceSwitch>(s.canvas, s.assets->bitmap(l.litBitmap), l.x, l.y,
                                             l.width, l.height);
  button->draw();
  return button;
}

void applyHighlight(EditorSession& s) noexcept {
  for (std::int32_t x = 0; x < HighlightTables::kGlintWidth; ++x) {
    for (std::int32_t y = 0; y < HighlightTables::kGlintHeight; ++y) {
      s.panel.set(x, y, s.assets->highlight.blend(s.panel.at(x, y), x, y));
    }
  }
}

void copyPanelToFace(EditorSession& s) noexcept {
  for (const PanelStrip& strip : kPanelStrips) {
    blit(s.canvas.image, strip.faceX, strip.faceY, s.panel, strip.panelX, 0, strip.width,
         strip.height);
    s.canvas.touch(
        {strip.faceX, strip.faceY, strip.faceX + strip.width, strip.faceY + strip.height});
  }
}

void drawRmsText(EditorSession& s, const char* text) noexcept {
  fillRect(s.canvas.image, rmsRect, pixelOf(kRmsBackground));
  drawFaceText(s.canvas.image, rmsRect, text, kWhite, TextAlign::centre);
  s.canvas.touch(rmsRect);
}

void drawWaveColumn(EditorSession& s, std::int32_t x, const WaveEntry& entry,
                    std::int32_t zoom) noexcept {
  const WaveColumnRows rows = waveColumnRows(zoom, entry);
  auto line = [x](PixelImage& image, WaveSpan span, const std::array<std::int32_t, 3>& c) {
    drawLine(image, x, span.top, x, span.bottom,
             pixelOf(Rgb{static_cast<std::uint8_t>(c[0]), static_cast<std::uint8_t>(c[1]),
                         static_cast<std::uint8_t>(c[2])}));
  };
  line(s.waveImage, rows.input, s.penColours[0]);
  drawLine(s.waveMask, x, rows.input.top, x, rows.input.bottom, kBlackPixel);
  line(s.waveImage, rows.compressed, s.penColours[1]);
  line(s.waveImage, rows.limited, s.penColours[2]);
}

void drawThresholdLines(EditorSession& s, const ThresholdRows& rows,
                        const std::array<std::int32_t, 3>& c) noexcept {
  if (!rows.shown) {
    return;
  }
  const std::uint32_t colour =
      pixelOf(Rgb{static_cast<std::uint8_t>(c[0]), static_cast<std::uint8_t>(c[1]),
                  static_cast<std::uint8_t>(c[2])});
  for (std::int32_t y : {rows.upper, rows.lower}) {
    drawLine(s.panel, kWaveStrip.panelX, y, kWaveStrip.panelX + kWaveStrip.width, y, colour);
  }
}

void drawPeakLine(EditorSession& s, Rgb colour, std::int32_t x, std::int32_t width,
                  const PeakLine& line) noexcept {
  if (line.shown) {
    drawLine(s.panel, x, line.row, x + width, line.row, pixelOf(colour));
  }
}

void paintReductionMeter(EditorSession& s, const ReductionMeterFrame& frame) noexcept {
  const PanelStrip& strip = kReductionStrip;
  const std::int32_t h = frame.level;
  blit(s.panel, strip.panelX, h, s.assets->face(), strip.faceX, strip.faceY + h, strip.width,
       strip.height - h);
  drawPeakLine(s, kReductionPeakColour, strip.panelX, strip.width, frame.peak);
  // The lit bar from the top down over h rows.
  blit(s.panel, strip.panelX, 0, s.assets->bitmap(IDB_REDUCTION_METER), 0, 0, strip.width, h);
}

void paintOutputMeters(EditorSession& s, const OutputMeterFrame& frame) noexcept {
  const PanelStrip& strip = kOutputStrip;
  const std::int32_t lower = frame.levelL < frame.levelR ? frame.levelL : frame.levelR;
  blit(s.panel, strip.panelX, 0, s.assets->face(), strip.faceX, strip.faceY, strip.width,
       strip.height - lower);
  drawPeakLine(s, frame.redL ? kOutputPeakRed : kOutputPeakGreen, kLeftMeterX, kOutputMeterWidth,
               frame.peakL);
  drawPeakLine(s, frame.redR ? kOutputPeakRed : kOutputPeakGreen, kRightMeterX, kOutputMeterWidth,
               frame.peakR);
  // Each bar lit from the bottom up over its level.
  const PixelImage& lit = s.assets->bitmap(IDB_OUTPUT_METER);
  for (const auto& [x, level] :
       {std::pair{kLeftMeterX, frame.levelL}, std::pair{kRightMeterX, frame.levelR}}) {
    const std::int32_t top = strip.height - level;
    blit(s.panel, x, top, lit, 0, top, kOutputMeterWidth, level);
  }
}

void composeWaveDisplay(EditorSession& s, float compThreshold, float limThreshold,
                        std::int32_t zoom) noexcept {
  const PanelStrip& strip = kWaveStrip;
  blit(s.panel, strip.panelX, 0, s.assets->face(), strip.faceX, strip.faceY, strip.width,
       strip.height);
  blit(s.panel, strip.panelX, 0, s.waveMask, kFirstShownColumn, 0, strip.width, strip.height,
       RasterOp::andOp);
  blit(s.panel, strip.panelX, 0, s.waveImage, kFirstShownColumn, 0, strip.width, strip.height,
       RasterOp::orOp);
  drawThresholdLines(s, compressorThresholdRows(compThreshold, zoom), s.penColours[3]);
  drawThresholdLines(s, limiterThresholdRows(limThreshold, zoom), s.penColours[4]);
}

} // namespace

void buildFace(EditorSession& s) {
  const PixelImage& face = s.assets->face();
  s.canvas.background = &face;
  s.canvas.image = face.empty() ? PixelImage(kEditorWidth, kEditorHeight) : face;
  s.canvas.touch({0, 0, kEditorWidth, kEditorHeight});
  s.waveImage = PixelImage(waveRect.right, waveRect.bottom, kBlackPixel);
  s.waveMask = PixelImage(waveRect.right, waveRect.bottom, kWhitePixel);
  s.panel = PixelImage(kPanelWidth, kPanelHeight);
  for (const PanelStrip& strip : kPanelStrips) {
    blit(s.panel, strip.panelX, 0, face, strip.faceX, strip.faceY, strip.width, strip.height);
  }
  applyHighlight(s);

  s.thrCompFader = makeFader(s, kThrCompFaderLayout);
  s.ratioFader = makeFader(s, kRatioFaderLayout);
  s.releaseFader = makeFader(s, kReleaseFaderLayout);
  s.autoReleaseFader = makeFader(s, kAutoReleaseFaderLayout);
  s.autoReleaseFader->setReadoutShown(false);
  s.zoomSlider = makeSlider(s, kZoomSliderLayout, TrackAxis::vertical);
  s.outputFader = makeFader(s, kOutputFaderLayout);
  s.thrLimFader = makeFader(s, kThrLimFaderLayout);
  s.thrLimFader->setReadoutShown(false);
  s.lookAheadSlider = makeSlider(s, kLookAheadSliderLayout, TrackAxis::horizontal);
  s.softSwitch = makeSwitch(s, kSoftSwitchLayout);
  s.normalizeSwitch = makeSwitch(s, kNormalizeSwitchLayout);
  s.ditherSwitch = makeSwitch(s, kDitherSwitchLayout);
  s.bypassSwitch = makeSwitch(s, kBypassSwitchLayout);
  s.autoReleaseSwitch = makeSwitch(s, kAutoReleaseSwitchLayout);
  s.entryMode = 0;
}

void paintEditor(ADelay& effect, EditorSession& s) noexcept {
  blit(s.canvas.image, 0, 0, s.assets->face(), 0, 0, kEditorWidth, kEditorHeight);
  s.canvas.touch({0, 0, kEditorWidth, kEditorHeight});
  char rmsText[kRmsTextCapacity];
  formatRmsReadout(effect.rmsSumL, effect.rmsSumR, effect.rmsCount, RmsFloor::Paint, rmsText,
                   sizeof rmsText);
  drawRmsText(s, rmsText);
  copyPanelToFace(s);
  for (FaceTrack* track : {s.thrCompFader.get(), s.thrLimFader.get(), s.ratioFader.get(),
                           s.releaseFader.get(), s.autoReleaseFader.get(), s.zoomSlider.get(),
                           s.outputFader.get(), s.lookAheadSlider.get()}) {
    track->draw();
  }
  for (FaceSwitch* button : {s.softSwitch.get(), s.normalizeSwitch.get(), s.ditherSwitch.get(),
                             s.bypassSwitch.get(), s.autoReleaseSwitch.get()}) {
    button->draw();
  }
  drawEntryBox(s);
}

void redrawWaveImage(EditorSession& s, const EditorState& state, std::int32_t zoom) noexcept {
  fillRect(s.waveImage, waveRect, kBlackPixel);
  fillRect(s.waveMask, waveRect, kWhitePixel);
  const auto oldest = static_cast<std::size_t>(static_cast<std::uint8_t>(state.waveColumn));
  for (std::size_t k = 0; k < kWaveHistoryLength; ++k) {
    drawWaveColumn(s, static_cast<std::int32_t>(k + 1),
                   state.waveHistory[(oldest + k) % kWaveHistoryLength], zoom);
  }
}

void runDisplayTick(ADelay& effect, EditorSession& s) noexcept {
  EditorState& state = effect.editorState;
  const bool slowTick = advanceSlowTick(state);
  if (slowTick && effect.autoRelease == 1.0f) {
    s.releaseFader->setValue(autoReleaseReadoutMs(effect.releaseSamples, effect.getSampleRate()));
  }
  const std::int32_t normalizedSteps = followNormalizedOutput(effect);
  if (normalizedSteps >= 0) {
    s.outputFader->setValue(static_cast<float>(normalizedSteps));
  }
  if (slowTick) {
    char text[kRmsTextCapacity];
    formatRmsReadout(effect.rmsSumL.exchange(0.0f), effect.rmsSumR.exchange(0.0f),
                     effect.rmsCount.exchange(0), RmsFloor::Tick, text, sizeof text);
    drawRmsText(s, text);
  }

  const MeterTick meters = advanceMeters(effect);
  const TickPeaks& peaks = meters.peaks;
  const bool bypassed = meters.bypassed;
  paintReductionMeter(s, meters.reduction);
  paintOutputMeters(s, meters.output);

  const std::int32_t zoom = effect.zoomSteps;
  blit(s.waveImage, 0, 0, s.waveImage, 1, 0, kNewestColumn, waveRect.bottom);
  blit(s.waveMask, 0, 0, s.waveMask, 1, 0, kNewestColumn, waveRect.bottom);
  const PixelRect newest{kNewestColumn, 0, waveRect.right, waveRect.bottom};
  fillRect(s.waveImage, newest, kBlackPixel);
  fillRect(s.waveMask, newest, kWhitePixel);
  if (!bypassed) {
    drawWaveColumn(s, kNewestColumn, peaks.wave, zoom);
  }
  advanceWaveHistory(state, peaks.wave, bypassed);
  effect.wavePeakFeed.clear();

  composeWaveDisplay(s, effect.compThreshold, effect.limThreshold, zoom);
  applyHighlight(s);
  copyPanelToFace(s);
}

void showFace(EditorSession& s) noexcept {
  const PixelRect d = s.canvas.dirty;
  s.canvas.dirty = {0, 0, 0, 0};
  if (s.windowGone || s.display == nullptr || d.right <= d.left || d.bottom <= d.top) {
    return;
  }
  PixelImage& image = s.canvas.image;
  XImage* ximage =
      XCreateImage(s.display, DefaultVisual(s.display, DefaultScreen(s.display)), 24, ZPixmap, 0,
                   reinterpret_cast<char*>(image.pixels.data()), static_cast<unsigned>(image.width),
                   static_cast<unsigned>(image.height), 32, image.width * 4);
  if (ximage == nullptr) {
    return;
  }
  XPutImage(s.display, s.facePixmap, s.gc, ximage, d.left, d.top, d.left, d.top,
            static_cast<unsigned>(d.right - d.left), static_cast<unsigned>(d.bottom - d.top));
  ximage->data = nullptr; // the pixels belong to the canvas
  XDestroyImage(ximage);
  XClearArea(s.display, s.window, d.left, d.top, static_cast<unsigned>(d.right - d.left),
             static_cast<unsigned>(d.bottom - d.top), False);
  XFlush(s.display);
}
