// The context menu's display settings, kept in each effect instance and stored per user.
#pragma once

#include "RelaxedAtomic.h"

#include <array>
#include <cstdint>

constexpr int kWaveColourCount = 5;
// input, compressed, limited, compressor threshold, limiter threshold; each R, G, B (0..255)
using WaveColours = std::array<std::array<std::int32_t, 3>, kWaveColourCount>;

enum ColourScheme : std::int32_t { kNaturalScheme = 0, kIcyScheme = 1, kCustomScheme = 2 };

constexpr WaveColours kNaturalColours = {
    {{0, 140, 0}, {0, 180, 0}, {200, 220, 255}, {0, 200, 0}, {200, 0, 0}}};
constexpr WaveColours kIcyColours = {
    {{108, 116, 188}, {148, 156, 218}, {200, 220, 255}, {0, 200, 0}, {200, 0, 0}}};

constexpr std::int32_t kDefaultPeakHoldTicks = 32;

// The meters count ticks modulo the hold time, so only a positive one can be used.
constexpr bool usablePeakHoldTicks(std::int32_t ticks) noexcept { return ticks > 0; }

struct DisplaySettings {
  // Read by the audio thread (Auto Normalize ceiling), hence shared.
  RelaxedAtomic<std::int32_t> normalizeCeilingIndex{0};
  std::int32_t peakHoldTicks = kDefaultPeakHoldTicks;
  // The colours start as the Natural ones the editor's pens are created with; applying the
  // settings at editor open gives them the scheme's colours.
  std::int32_t colourScheme = kIcyScheme;
  WaveColours waveColours = kNaturalColours;
  std::int32_t zoomRange = 1;
  std::int32_t displaySpeed = 2; // the id of the editor timer that drives the display tick
};
