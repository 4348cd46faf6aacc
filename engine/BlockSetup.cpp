#include "BlockSetup.h"

#include "Conversions.h"
#include "DynamicsConstants.h"

#include <cmath>

namespace {

// Thresholds live in (0, 1]; anything else would turn the curves negative or divide by zero.
float usableThreshold(float t) noexcept {
  if (std::isnan(t) || t > 1.0f) {
    return 1.0f;
  }
  return t < kMinThreshold ? kMinThreshold : t;
}

// The processor only ever lowers the output gain; above +24 dB it has no meaning.
float usableOutputGain(float e) noexcept {
  if (std::isnan(e) || e < 0.0f) {
    return 1.0f;
  }
  return e > kNormalizeFullGain ? kNormalizeFullGain : e;
}

} // namespace

float usableSampleRate(float sampleRate) noexcept {
  if (!std::isfinite(sampleRate) || sampleRate <= 0.0f) {
    return kFallbackSampleRate;
  }
  return sampleRate < kMinSampleRate ? kMinSampleRate : sampleRate;
}

std::int32_t truncateToInt32(float v) noexcept {
  if (std::isnan(v)) {
    return 0;
  }
  if (v >= 2147483520.0f) {
    return 2147483647;
  }
  if (v <= -2147483648.0f) {
    return -2147483647 - 1;
  }
  return static_cast<std::int32_t>(v);
}

BlockSetup BlockSetup::from(const BlockSettings& s) noexcept {
  BlockSetup b{};
  b.slots = lookAheadSlots(s.lookAheadValue);
  b.compThreshold = usableThreshold(s.compThreshold);
  // Below 1:1 the curve would expand, or give a negative target; such ratios act as 1:1.
  const float g = static_cast<float>(s.ratioSteps) * 0.5f;
  b.ratio = g < 1.0f ? 1.0f : g;
  // With the threshold at full scale the soft knee has no width left: the hard curve applies.
  b.soft = s.softOn && b.compThreshold < 1.0f;
  b.knee = b.soft ? (b.ratio - 1.0f) / (1.0f - b.compThreshold) : 0.0f;
  b.release = s.releaseSamples;
  b.autoRelease = s.autoRelease == 1.0f;
  const float sr = usableSampleRate(s.sampleRate);
  b.autoScale = sr / kAutoReleaseDivisor;
  b.limRelease = sr / kLimReleaseDivisor;
  b.limThreshold = usableThreshold(s.limThreshold);
  b.outputGain = usableOutputGain(s.outputGain);
  b.ceiling = s.ceiling;
  b.normalize = s.normalizeOn || s.normalizeHold;
  b.dither = s.ditherOn;
  return b;
}

namespace {

bool usableBuffers(const float* const* inputs, float* const* outputs) noexcept {
  return inputs != nullptr && outputs != nullptr && inputs[0] != nullptr && inputs[1] != nullptr &&
         outputs[0] != nullptr && outputs[1] != nullptr;
}

} // namespace

bool startBlock(const float* const* inputs, float* const* outputs, std::int32_t sampleFrames,
                std::int32_t& frames) noexcept {
  frames = sampleFrames < 0 ? 0 : sampleFrames;
  return frames == 0 || usableBuffers(inputs, outputs);
}
