// The wave display's per-tick drawing: one new column at the right edge of the wave images,
// and their composition with the background and the threshold lines in the panel.
// UI thread only.
#pragma once

#include "EditorSession.h"
#include "WaveColumn.h"

#include <cstdint>

// Moves both images one column left and draws the tick's column at the right edge; a
// bypassed tick leaves the new column empty.
void scrollWaveImage(EditorSession& session, const WaveEntry& column, bool bypassed,
                     std::int32_t zoom) noexcept;

// The panel's wave area: the background with the input envelope cut out (mask, AND), the
// coloured envelopes laid in (image, OR), then both thresholds' lines.
void composeWaveDisplay(EditorSession& session, float compThreshold, float limThreshold,
                        std::int32_t zoom) noexcept;
