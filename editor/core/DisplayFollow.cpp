#include "DisplayFollow.h"

#include "ADelay.h"
#include "BlockSetup.h"
#include "Conversions.h"

float autoReleaseReadoutMs(std::int32_t releaseSamples, float sampleRate) noexcept {
  return samplesToMs(static_cast<float>(releaseSamples), usableSampleRate(sampleRate));
}

std::int32_t followNormalizedOutput(ADelay& effect) noexcept {
  const float gain = effect.outputGain;
  if (!effect.normalizeOn || gain == effect.shownOutputGain) {
    return -1;
  }
  const std::int32_t steps = outputStepsOfGain(gain);
  effect.outputSteps = steps;
  effect.shownOutputGain = gain;
  return steps;
}

MeterTick advanceMeters(ADelay& effect) noexcept {
  EditorState& state = effect.editorState;
  MeterTick tick{};
  tick.peaks = analysePeaks(effect.wavePeakFeed);
  tick.bypassed = effect.bypassOn;
  const std::int32_t peakHoldTicks = effect.displaySettings.peakHoldTicks;
  tick.reduction = advanceReductionMeter(state, tick.peaks.reduction, tick.bypassed, peakHoldTicks);
  const bool clampOnce = effect.meterClampOnce.exchange(false);
  const OutputMeterInput output{tick.peaks.outputPeakL, tick.peaks.outputPeakR,
                                effect.outputGain,      effect.normalizeOn || clampOnce,
                                tick.bypassed,          peakHoldTicks};
  tick.output = advanceOutputMeters(state, output);
  return tick;
}
