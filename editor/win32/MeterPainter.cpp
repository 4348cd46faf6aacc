#include "MeterPainter.h"

#include "ControlPaint.h"
#include "EditorResources.h"

namespace {

// The two output meters inside the output strip: 15 columns each, one column apart.
constexpr std::int32_t kOutputMeterWidth = 15;
constexpr std::int32_t kLeftMeterX = kOutputStrip.panelX;
constexpr std::int32_t kRightMeterX = kOutputStrip.panelX + kOutputMeterWidth + 1;

// From x for width columns (LineTo leaves out its end point).
void drawPeakLine(HDC panel, HPEN pen, std::int32_t x, std::int32_t width,
                  const PeakLine& line) noexcept {
  if (!line.shown) {
    return;
  }
  const HGDIOBJ previous = SelectObject(panel, pen);
  MoveToEx(panel, x, line.row, nullptr);
  LineTo(panel, x + width, line.row);
  if (previous != nullptr) {
    SelectObject(panel, previous);
  }
}

void drawLitOutputMeter(HDC panel, HBITMAP lit, std::int32_t x, std::int32_t level) noexcept {
  ExcludeClipRect(panel, x, 0, x + kOutputMeterWidth, kOutputStrip.height - level);
  drawBitmap(panel, lit, x, 0, 0, 0);
}

} // namespace

void paintReductionMeter(HDC panel, const ReductionMeterFrame& frame) noexcept {
  const EditorResources& shared = editorResources();
  const PanelStrip& strip = kReductionStrip;
  const std::int32_t h = frame.level;
  BitBlt(panel, strip.panelX, h, strip.width, strip.height - h, shared.backgroundDC, strip.faceX,
         strip.faceY + h, SRCCOPY);
  drawPeakLine(panel, shared.reductionPeakPen, strip.panelX, strip.width, frame.peak);
  ExcludeClipRect(panel, strip.panelX, h, strip.panelX + strip.width, strip.height);
  drawBitmap(panel, shared.bitmap(IDB_REDUCTION_METER), strip.panelX, 0, 0, 0);
}

void paintOutputMeters(HDC panel, const OutputMeterFrame& frame) noexcept {
  const EditorResources& shared = editorResources();
  const PanelStrip& strip = kOutputStrip;
  const std::int32_t lower = frame.levelL < frame.levelR ? frame.levelL : frame.levelR;
  BitBlt(panel, strip.panelX, 0, strip.width, strip.height - lower, shared.backgroundDC,
         strip.faceX, strip.faceY, SRCCOPY);
  auto pen = [&](bool red) { return red ? shared.outputPeakRedPen : shared.outputPeakGreenPen; };
  drawPeakLine(panel, pen(frame.redL), kLeftMeterX, kOutputMeterWidth, frame.peakL);
  drawPeakLine(panel, pen(frame.redR), kRightMeterX, kOutputMeterWidth, frame.peakR);
  const HBITMAP lit = shared.bitmap(IDB_OUTPUT_METER);
  drawLitOutputMeter(panel, lit, kLeftMeterX, frame.levelL);
  drawLitOutputMeter(panel, lit, kRightMeterX, frame.levelR);
}
