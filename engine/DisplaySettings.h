// The context menu's display settings, kept in each effect instance and stored per user.
#pragma once

#include "RelaxedAtomic.h"

#include <cstdint>

struct DisplaySettings {
  static constexpr int kColourCount = 5;

  // Read by the audio thread (Auto Normalize ceiling), hence shared.
  RelaxedAtomic<std::int32_t> normalizeCeilingIndex{0};
  std::int32_t peakHoldTicks = 32;
  std::int32_t colourScheme = 1;
  // input, compressed, limited, compressor threshold, limiter threshold; each R, G, B
  std::int32_t waveColours[kColourCount][3] = {
      {0, 140, 0}, {0, 180, 0}, {200, 220, 255}, {0, 200, 0}, {200, 0, 0}};
  std::int32_t zoomRange = 1;
  std::int32_t displaySpeed = 2;
};
