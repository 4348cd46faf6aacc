// Paints the gain-reduction meter and the two output meters into the panel, from what the
// display tick made of the display state. Each meter is drawn through a clipping region that
// stays on the panel; the tick clears it before copying the panel to the window.
// UI thread only.
#pragma once

#include "DisplayTickState.h"

#include <windows.h>

// Lit from the top down over frame.level rows, with the reduction's peak-hold line.
void paintReductionMeter(HDC panel, const ReductionMeterFrame& frame) noexcept;
// Lit from the bottom up, with a green peak-hold line, or red above full scale.
void paintOutputMeters(HDC panel, const OutputMeterFrame& frame) noexcept;
