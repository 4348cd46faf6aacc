#include "DisplayTickState.h"

#include "MeterMath.h"

namespace {

// Counters in the effect are only ever written here, but a stray value (negative or past
// the end) must neither index outside the history nor make the period wrong.
std::int32_t wrapped(std::int32_t value, std::int32_t period) noexcept {
  const std::int32_t r = value % period;
  return r < 0 ? r + period : r;
}

PeakLine peakLine(std::int32_t mark) noexcept {
  return {peakMarkVisible(mark), mark - kMeterTopRow};
}

std::int16_t storedLevel(std::int32_t level) noexcept {
  return static_cast<std::int16_t>(level); // smoothMeterLevel keeps it within 0..257
}

} // namespace

bool advanceSlowTick(EditorState& state) noexcept {
  const std::int32_t count = wrapped(state.slowTickCount, kSlowTickPeriod);
  state.slowTickCount = static_cast<std::int8_t>((count + 1) % kSlowTickPeriod);
  return count == 0;
}

ReductionMeterFrame advanceReductionMeter(EditorState& state, std::int32_t reduction, bool bypassed,
                                          std::int32_t peakHoldTicks) noexcept {
  const std::int32_t target =
      reduction < 0 ? 0 : (reduction > kMeterMaxLevel ? kMeterMaxLevel : reduction);
  const std::int32_t level = smoothMeterLevel(state.reductionLevel, target, bypassed);
  state.reductionLevel = storedLevel(level);

  const PeakMark mark =
      holdReductionPeak(level, {state.reductionPeakMark, state.reductionHoldCount});
  state.reductionPeakMark = mark.mark;
  state.reductionHoldCount = nextHoldCount(mark.holdCount, peakHoldTicks);
  return {level, peakLine(mark.mark)};
}

OutputMeterFrame advanceOutputMeters(EditorState& state, const OutputMeterInput& input) noexcept {
  std::int32_t targetL = outputMeterLevel(input.peakL, input.outputGain);
  std::int32_t targetR = outputMeterLevel(input.peakR, input.outputGain);
  if (input.limitToCeiling) {
    targetL = limitToNormalizeCeiling(targetL);
    targetR = limitToNormalizeCeiling(targetR);
  }
  const std::int32_t levelL = smoothMeterLevel(state.vuLevelL, targetL, input.bypassed);
  const std::int32_t levelR = smoothMeterLevel(state.vuLevelR, targetR, input.bypassed);
  state.vuLevelL = storedLevel(levelL);
  state.vuLevelR = storedLevel(levelR);

  const PeakMark left = holdOutputPeak(levelL, {state.vuPeakMarkL, state.vuHoldCount});
  // The right mark sees the counter as the left one left it: a new left maximum restarts
  // the hold of both.
  const PeakMark right = holdOutputPeak(levelR, {state.vuPeakMarkR, left.holdCount});
  state.vuPeakMarkL = left.mark;
  state.vuPeakMarkR = right.mark;
  state.vuHoldCount = nextHoldCount(right.holdCount, input.peakHoldTicks);
  return {levelL,
          levelR,
          peakLine(left.mark),
          peakLine(right.mark),
          peakMarkAboveFullScale(left.mark),
          peakMarkAboveFullScale(right.mark)};
}

void advanceWaveHistory(EditorState& state, const WaveEntry& column, bool bypassed) noexcept {
  constexpr auto kLength = static_cast<std::int32_t>(kWaveHistoryLength);
  const std::int32_t index = wrapped(state.waveColumn, kLength);
  auto& entry = state.waveHistory[static_cast<std::size_t>(index)];
  for (std::size_t series = 0; series < entry.size(); ++series) {
    entry[series] = bypassed ? 0 : column[series];
  }
  state.waveColumn = static_cast<std::int8_t>((index + 1) % kLength);
}
