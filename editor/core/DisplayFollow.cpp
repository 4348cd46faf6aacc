#include "DisplayFollow.h"

#include "BlockSetup.h"

#include <cmath>

namespace {

constexpr float kUnityOutputSteps = 24000.0f;
constexpr float kOutputStepsPerDecade = 20000.0f;
constexpr float kMsPerSecond = 1000.0f;

} // namespace

float autoReleaseReadoutMs(std::int32_t releaseSamples, float sampleRate) noexcept {
  return static_cast<float>(releaseSamples) / (usableSampleRate(sampleRate) / kMsPerSecond);
}

std::int32_t outputStepsForGain(float outputGain) noexcept {
  return truncateToInt32(kUnityOutputSteps - kOutputStepsPerDecade * std::log10(outputGain));
}
