#include "WavePainter.h"

#include "EditorResources.h"
#include "WaveImage.h"

namespace {

// The images keep one column more than the display shows: column 0, which the history redraw
// leaves empty, is scrolled out of sight; columns 1..122 are the 122 history entries.
constexpr std::int32_t kNewestColumn = waveRect.right - 1;
constexpr std::int32_t kFirstShownColumn = waveRect.right - kWaveStrip.width;
constexpr PixelRect kNewestColumnRect{kNewestColumn, 0, waveRect.right, waveRect.bottom};

void drawThresholdLines(HDC panel, HPEN pen, const ThresholdRows& rows) noexcept {
  if (!rows.shown) {
    return;
  }
  const HGDIOBJ previous = SelectObject(panel, pen);
  for (std::int32_t y : {rows.upper, rows.lower}) {
    MoveToEx(panel, kWaveStrip.panelX, y, nullptr);
    LineTo(panel, kWaveStrip.panelX + kWaveStrip.width, y);
  }
  if (previous != nullptr) {
    SelectObject(panel, previous);
  }
}

} // namespace

void scrollWaveImage(EditorSession& session, const WaveEntry& column, bool bypassed,
                     std::int32_t zoom) noexcept {
  const EditorResources& shared = editorResources();
  const std::int32_t height = waveRect.bottom;
  BitBlt(session.waveImageDC, 0, 0, kNewestColumn, height, session.waveImageDC, 1, 0, SRCCOPY);
  BitBlt(session.waveMaskDC, 0, 0, kNewestColumn, height, session.waveMaskDC, 1, 0, SRCCOPY);
  fillRect(session.waveImageDC, kNewestColumnRect, shared.blackBrush);
  fillRect(session.waveMaskDC, kNewestColumnRect, shared.whiteBrush);
  if (!bypassed) {
    drawWaveColumn(session, kNewestColumn, column, zoom);
  }
}

void composeWaveDisplay(EditorSession& session, float compThreshold, float limThreshold,
                        std::int32_t zoom) noexcept {
  const EditorResources& shared = editorResources();
  const PanelStrip& strip = kWaveStrip;
  HDC panel = session.panelDC;
  BitBlt(panel, strip.panelX, 0, strip.width, strip.height, shared.backgroundDC, strip.faceX,
         strip.faceY, SRCCOPY);
  BitBlt(panel, strip.panelX, 0, strip.width, strip.height, session.waveMaskDC, kFirstShownColumn,
         0, SRCAND);
  BitBlt(panel, strip.panelX, 0, strip.width, strip.height, session.waveImageDC, kFirstShownColumn,
         0, SRCPAINT);
  drawThresholdLines(panel, session.compThresholdPen, compressorThresholdRows(compThreshold, zoom));
  drawThresholdLines(panel, session.limThresholdPen, limiterThresholdRows(limThreshold, zoom));
}
