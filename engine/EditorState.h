// The editor's display state, kept in the effect so that meters and wave history continue
// where they stopped when the editor is closed and opened again. UI thread only.
#pragma once

#include <array>
#include <cstdint>

// One wave display column per display tick.
constexpr std::size_t kWaveHistoryLength = 122;
// Per column: input max, input min, limited max, limited min, compressed max, compressed min.
constexpr std::size_t kWaveHistorySeries = 6;

struct EditorState {
  // In 1/32768 of full scale, indexed [column][series].
  std::array<std::array<std::int32_t, kWaveHistorySeries>, kWaveHistoryLength> waveHistory{};
  std::int8_t waveColumn = 0; // next entry to write, which is the oldest
  std::int8_t slowTickCount = 0;
  std::int16_t vuLevelL = 256;
  std::int16_t vuLevelR = 256;
  std::int16_t reductionLevel = 257;
  std::int32_t vuPeakMarkL = 0;
  std::int32_t vuPeakMarkR = 0;
  std::int32_t reductionPeakMark = 270;
  std::int32_t vuHoldCount = 1;
  std::int32_t reductionHoldCount = 1;
};
