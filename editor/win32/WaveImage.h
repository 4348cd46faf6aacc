// The wave display's off-screen images: the coloured envelopes on black (waveImageDC) and the
// input envelope's cut-out on white (waveMaskDC). UI thread only.
#pragma once

#include "EditorSession.h"
#include "EditorState.h"
#include "WaveColumn.h"

#include <cstdint>

// Draws one history entry at column x: the input line with inputPen and, into the mask, with
// the black pen; then the compressed and the limited lines (later lines cover earlier ones).
void drawWaveColumn(EditorSession& session, std::int32_t x, const WaveEntry& entry,
                    std::int32_t zoom) noexcept;

// Clears both images and draws the whole history, oldest entry at column 1; column 0 stays
// empty. The result reaches the screen with the next display tick.
void redrawWaveImage(EditorSession& session, const EditorState& state, std::int32_t zoom) noexcept;
