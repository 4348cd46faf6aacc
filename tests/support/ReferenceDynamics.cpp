#include "ReferenceDynamics.h"

#include "BlockSetup.h"
#include "Conversions.h"
#include "DitherGenerator.h"
#include "DynamicsConstants.h"
#include "FpGuard.h"

#include <cmath>

namespace {

std::int32_t wrap(std::int32_t i, std::int32_t n) noexcept { return ((i % n) + n) % n; }

float atMostOne(float g) noexcept { return g < 1.0f ? g : 1.0f; }

float larger(float a, float b) noexcept { return a > b ? a : b; }

// Bypass still runs every frame through the ring, unscaled, so the output keeps the latency the
// host compensates. The gain stored with a frame is the one that keeps it at the limiter
// threshold, for the frames still in the ring when Bypass goes off.
void bypassFrames(const BlockSetup& b, DynamicsState& st, const float* const* inputs,
                  float* const* outputs, std::int32_t frames) noexcept {
  const std::int32_t n = b.slots;
  for (std::int32_t i = 0; i < frames; ++i) {
    const float inL = finiteOrZero(inputs[0][i]);
    const float inR = finiteOrZero(inputs[1][i]);
    const auto w = static_cast<std::size_t>(wrap(st.delayPos + n - 1, n));
    const float peak = std::fabs(inL) > std::fabs(inR) ? std::fabs(inL) : std::fabs(inR);
    st.delayInL[w] = inL;
    st.delayInR[w] = inR;
    st.delayGain[w] = peak > b.limThreshold ? b.limThreshold / peak : 1.0f;
    const auto p = static_cast<std::size_t>(st.delayPos);
    outputs[0][i] = st.delayInL[p];
    outputs[1][i] = st.delayInR[p];
    st.delayPos = wrap(st.delayPos + 1, n);
  }
}

} // namespace

BlockResult ReferenceDynamics::process(const BlockSettings& settings, DynamicsState& st,
                                       FeedValues& feed, const float* const* inputs,
                                       float* const* outputs, std::int32_t sampleFrames) noexcept {
  std::int32_t frames = 0;
  if (!startBlock(inputs, outputs, sampleFrames, frames)) {
    return {};
  }
  st.keepPositionInRing();
  const BlockSetup b = BlockSetup::from(settings);
  if (settings.bypassOn) {
    bypassFrames(b, st, inputs, outputs, frames);
    return {};
  }
  FpGuard guard;
  const std::int32_t n = b.slots;
  auto& ringL = st.delayInL;
  auto& ringR = st.delayInR;
  auto& ringG = st.delayGain;
  BlockResult res;
  res.processed = true;
  float e = b.outputGain;
  std::int32_t release = b.release;
  std::uint32_t dither = DitherGenerator::threadState();
  float sumsL[kSumLanes] = {};
  float sumsR[kSumLanes] = {};

  for (std::int32_t i = 0; i < frames; ++i) {
    const float inL = finiteOrZero(inputs[0][i]);
    const float inR = finiteOrZero(inputs[1][i]);
    const auto w = static_cast<std::size_t>(wrap(st.delayPos + n - 1, n));
    float peak = std::fabs(inL) > std::fabs(inR) ? std::fabs(inL) : std::fabs(inR);

    if (peak > b.compThreshold) {
      const float over = peak - b.compThreshold;
      const float reduced = b.soft ? over / (b.knee * over + 1.0f) : over / b.ratio;
      const float target = (reduced + b.compThreshold) / peak;
      if (st.compGain > target) {
        if (b.autoRelease) {
          release = truncateToInt32(b.autoScale / target - kAutoReleaseOffset * b.autoScale);
          res.releaseComputed = true;
        }
        st.compGain = target;
        st.compStep = (1.0f - target) / (std::log10(1.0f + kLogScale * peak) *
                                         releaseFrames(release) * kCompReleaseScale) +
                      (1.0f + target) * kStepFloor;
      }
    }
    if (st.compGain < 1.0f) {
      st.compDelta = st.compStep - kStepSlope * st.compGain;
      st.compGain = atMostOne(st.compGain + st.compDelta);
      peak = peak * st.compGain;
    } else {
      st.compGain = 1.0f;
    }

    if (peak > b.limThreshold) {
      const float r = b.limThreshold / peak;
      if (st.limGain + st.limDelta > r) {
        st.limGain = r;
        st.limDelta = 0.0f;
        st.limStep = (1.0f - r) / (std::log10(1.0f + kLogScale * peak) * b.limRelease) +
                     (1.0f + r) * kStepFloor;
      }
    }
    if (st.limGain < 1.0f) {
      st.limGain = atMostOne(st.limGain + st.limDelta);
      st.limDelta = st.limStep - kStepSlope * st.limGain;
    } else {
      st.limGain = 1.0f;
    }

    ringG[w] = st.limGain * st.compGain;
    ringL[w] = inL;
    ringR[w] = inR;

    if (n > 1 &&
        ringG[static_cast<std::size_t>(wrap(static_cast<std::int32_t>(w) - 1, n))] > ringG[w]) {
      const float step = (1.0f - ringG[w]) / static_cast<float>(n - 1);
      float g = ringG[w] + step;
      for (std::int32_t j = 1; j <= n - 1; ++j) {
        const auto s = static_cast<std::size_t>(wrap(static_cast<std::int32_t>(w) - j, n));
        if (!(ringG[s] > g)) {
          break;
        }
        ringG[s] = g;
        g = g + step;
      }
    }

    const auto p = static_cast<std::size_t>(st.delayPos);
    const float o = ringG[p];
    const float dL = o * ringL[p];
    const float dR = o * ringR[p];

    const float in[2] = {inL, inR};
    feed.update(in, ringG[w], st.compGain);

    float yL;
    float yR;
    if (b.dither) {
      yL = static_cast<float>(DitherGenerator::draw(dither) % kDitherLevels) * kDitherLevel +
           dL * e - kDitherOffset;
      yR = static_cast<float>(DitherGenerator::draw(dither) % kDitherLevels) * kDitherLevel +
           dR * e - kDitherOffset;
    } else {
      yL = dL * e;
      yR = dR * e;
    }

    if (b.normalize) {
      const float pk = larger(std::fabs(dL), std::fabs(dR)) * e;
      if (pk > b.ceiling) {
        const float f = b.ceiling / pk;
        e = e * f;
        yL = yL * f;
        yR = yR * f;
        res.outputGainLowered = true;
      }
    }

    outputs[0][i] = yL;
    outputs[1][i] = yR;
    sumsL[i % kSumLanes] = sumsL[i % kSumLanes] + yL * yL;
    sumsR[i % kSumLanes] = sumsR[i % kSumLanes] + yR * yR;
    st.delayPos = wrap(st.delayPos + 1, n);
  }

  if (st.compDelta < kStalledDelta) {
    st.compStep = kStalledStep;
  }
  if (st.limDelta < kStalledDelta) {
    st.limStep = kStalledStep;
  }
  DitherGenerator::setThreadState(dither);
  res.sumL = combineLanes(sumsL);
  res.sumR = combineLanes(sumsR);
  res.outputGain = e;
  res.releaseSamples = release;
  return res;
}
