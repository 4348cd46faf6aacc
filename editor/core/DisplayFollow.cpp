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
