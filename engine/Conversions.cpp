#include "Conversions.h"

#include "BlockSetup.h"
#include "EngineConstants.h"

#include <cmath>

namespace {
constexpr float kThresholdStepsPerDecade = 40.0f;
} // namespace

float outputGainOfSteps(std::int32_t steps) noexcept {
  return std::pow(10.0f, static_cast<float>(std::int64_t{kUnityOutputSteps} - steps) /
                             kOutputStepsPerDecade);
}

std::int32_t outputStepsOfGain(float gain) noexcept {
  return truncateToInt32(static_cast<float>(kUnityOutputSteps) -
                         kOutputStepsPerDecade * std::log10(gain));
}

float thresholdFactorOfSteps(std::int32_t steps) noexcept {
  return std::pow(10.0f, static_cast<float>(-steps) / kThresholdStepsPerDecade);
}

std::int32_t msToSamples(float sampleRate, float ms) noexcept {
  return truncateToInt32(sampleRate / kMsPerSecond * ms);
}

int lookAheadSlots(float lookAheadValue) noexcept {
  const std::int32_t n = truncateToInt32(lookAheadValue / kLookAheadDivisor);
  if (n < 1) {
    return 1;
  }
  return n > kLookAheadSlots ? kLookAheadSlots : n;
}
