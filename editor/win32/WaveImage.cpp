#include "WaveImage.h"

#include "EditorResources.h"

namespace {

// The previous pen goes back into the DC, so that a pen replaced by the display settings is
// never selected when it is deleted.
void drawLine(HDC dc, HPEN pen, std::int32_t x, WaveSpan span) noexcept {
  if (dc == nullptr) {
    return;
  }
  const HGDIOBJ previous = SelectObject(dc, pen);
  MoveToEx(dc, x, span.top, nullptr);
  LineTo(dc, x, span.bottom);
  if (previous != nullptr) {
    SelectObject(dc, previous);
  }
}

} // namespace

void drawWaveColumn(EditorSession& session, std::int32_t x, const WaveEntry& entry,
                    std::int32_t zoom) noexcept {
  const WaveColumnRows rows = waveColumnRows(zoom, entry);
  drawLine(session.waveImageDC, session.inputPen, x, rows.input);
  drawLine(session.waveMaskDC, editorResources().blackPen, x, rows.input);
  drawLine(session.waveImageDC, session.compressedPen, x, rows.compressed);
  drawLine(session.waveImageDC, session.limitedPen, x, rows.limited);
}

void redrawWaveImage(EditorSession& session, const EditorState& state, std::int32_t zoom) noexcept {
  const EditorResources& shared = editorResources();
  fillRect(session.waveImageDC, waveRect, shared.blackBrush);
  fillRect(session.waveMaskDC, waveRect, shared.whiteBrush);
  // waveColumn is kept in 0..121 by whoever writes it; a stray value must not index past.
  const auto oldest = static_cast<std::size_t>(static_cast<std::uint8_t>(state.waveColumn));
  for (std::size_t k = 0; k < kWaveHistoryLength; ++k) {
    const WaveEntry& entry = state.waveHistory[(oldest + k) % kWaveHistoryLength];
    drawWaveColumn(session, static_cast<std::int32_t>(k + 1), entry, zoom);
  }
}
