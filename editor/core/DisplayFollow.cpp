#include "DisplayFollow.h"

#include "BlockSetup.h"
#include "Conversions.h"

float autoReleaseReadoutMs(std::int32_t releaseSamples, float sampleRate) noexcept {
  return samplesToMs(static_cast<float>(releaseSamples), usableSampleRate(sampleRate));
}
