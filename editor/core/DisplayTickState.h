// How one display tick moves the display state kept in the effect: the slow-tick counter, the
// two meters with their peak-hold marks and the wave history. The painting follows from what
// these return; UI thread only.
#pragma once

#include "EditorState.h"
#include "WaveColumn.h"

#include <cstdint>

// Every twelfth tick updates the RMS and automatic release read-outs.
constexpr std::int32_t kSlowTickPeriod = 12;

// A peak-hold line: whether it is drawn, and its row in the meter's panel strip.
struct PeakLine {
  bool shown;
  std::int32_t row;
};

struct ReductionMeterFrame {
  std::int32_t level; // rows lit from the top
  PeakLine peak;
};

struct OutputMeterInput {
  float peakL; // output peak of each channel (the limited signal), before the output gain
  float peakR;
  float outputGain;
  bool limitToCeiling; // Auto Normalize on, or a ThrLim change under it just happened
  bool bypassed;
  std::int32_t peakHoldTicks;
};

struct OutputMeterFrame {
  std::int32_t levelL; // rows lit from the bottom
  std::int32_t levelR;
  PeakLine peakL;
  PeakLine peakR;
  bool redL; // the held level lies above full scale
  bool redR;
};

// True on the ticks that update the slow read-outs (count 0); moves the count on.
bool advanceSlowTick(EditorState& state) noexcept;

// Smooths the reduction (pixels) into reductionLevel and moves its peak-hold mark.
ReductionMeterFrame advanceReductionMeter(EditorState& state, std::int32_t reduction, bool bypassed,
                                          std::int32_t peakHoldTicks) noexcept;

// Smooths both output levels into vuLevelL/R and moves their marks, which share one counter.
OutputMeterFrame advanceOutputMeters(EditorState& state, const OutputMeterInput& input) noexcept;

// Stores the tick's column (zeros when bypassed) over the oldest entry and moves waveColumn on.
void advanceWaveHistory(EditorState& state, const WaveEntry& column, bool bypassed) noexcept;
