// The same rules as ReferenceDynamics, arranged for speed: settings are template switches,
// state lives in locals for the whole block, ring indices wrap by comparison, the look-ahead
// ramp walks two straight runs, and a frame's two dither draws come from one state. Every
// operation keeps the reference's order, so the output is bit-identical.
#include "DynamicsProcessor.h"

#include "BlockSetup.h"
#include "DitherGenerator.h"
#include "DynamicsConstants.h"
#include "FpGuard.h"

#include <cmath>

namespace {

// Lowers the stored gains before slot w towards the new gain gw, oldest slot last.
void rampDown(float* gains, std::int32_t w, std::int32_t n, float gw) noexcept {
  const float step = (1.0f - gw) / static_cast<float>(n - 1);
  float g = gw + step;
  for (std::int32_t s = w - 1; s >= 0; --s) {
    if (!(gains[s] > g)) {
      return;
    }
    gains[s] = g;
    g = g + step;
  }
  for (std::int32_t s = n - 1; s > w; --s) {
    if (!(gains[s] > g)) {
      return;
    }
    gains[s] = g;
    g = g + step;
  }
}

struct BlockIo {
  const float* inL;
  const float* inR;
  float* outL;
  float* outR;
  std::int32_t frames;
};

template <bool Soft, bool AutoRelease, bool Dither, bool Normalize>
void runBlock(const BlockSetup& b, DynamicsState& st, FeedValues& feedOut, const BlockIo& io,
              std::uint32_t& ditherState, BlockResult& res) noexcept {
  const float tc = b.compThreshold;
  const float ratio = b.ratio;
  const float knee = b.knee;
  const float tl = b.limThreshold;
  const float limRelease = b.limRelease;
  const float autoScale = b.autoScale;
  const float ceiling = b.ceiling;
  const std::int32_t n = b.slots;

  float cg = st.compGain;
  float cs = st.compStep;
  float cd = st.compDelta;
  float lg = st.limGain;
  float ls = st.limStep;
  float ld = st.limDelta;
  float e = b.outputGain;
  std::int32_t release = b.release;
  bool releaseComputed = false;
  bool lowered = false;
  float sumL = 0.0f;
  float sumR = 0.0f;
  std::uint32_t dither = ditherState;
  FeedValues feed = feedOut;

  float* const ringG = st.delayGain.data();
  float* const ringL = st.delayInL.data();
  float* const ringR = st.delayInR.data();
  // r may lie past a ring that shrank since the last block; it wraps after the first frame.
  std::int32_t r = st.delayPos;
  std::int32_t w = (r + n - 1) % n;

  for (std::int32_t i = 0; i < io.frames; ++i) {
    const float xL = finiteOrZero(io.inL[i]);
    const float xR = finiteOrZero(io.inR[i]);
    const float aL = std::fabs(xL);
    const float aR = std::fabs(xR);
    float peak = aL > aR ? aL : aR;

    if (peak > tc) {
      const float over = peak - tc;
      const float reduced = Soft ? over / (knee * over + 1.0f) : over / ratio;
      const float target = (reduced + tc) / peak;
      if (cg > target) {
        if (AutoRelease) {
          release = truncateToInt32(autoScale / target - kAutoReleaseOffset * autoScale);
          releaseComputed = true;
        }
        cg = target;
        cs = (1.0f - target) /
                 (std::log10(1.0f + kLogScale * peak) * releaseFrames(release) * kCompReleaseScale) +
             (1.0f + target) * kStepFloor;
      }
    }
    if (cg < 1.0f) {
      cd = cs - kStepSlope * cg;
      const float next = cg + cd;
      cg = next < 1.0f ? next : 1.0f;
      peak = peak * cg;
    } else {
      cg = 1.0f;
    }

    if (peak > tl) {
      const float rl = tl / peak;
      if (lg + ld > rl) {
        lg = rl;
        ld = 0.0f;
        ls = (1.0f - rl) / (std::log10(1.0f + kLogScale * peak) * limRelease) + (1.0f + rl) * kStepFloor;
      }
    }
    if (lg < 1.0f) {
      const float next = lg + ld;
      lg = next < 1.0f ? next : 1.0f;
      ld = ls - kStepSlope * lg;
    } else {
      lg = 1.0f;
    }

    const float gain = lg * cg;
    ringG[w] = gain;
    ringL[w] = xL;
    ringR[w] = xR;
    if (n > 1 && ringG[w == 0 ? n - 1 : w - 1] > gain) {
      rampDown(ringG, w, n, gain);
    }

    const float o = ringG[r];
    const float dL = o * ringL[r];
    const float dR = o * ringR[r];
    feed.update(xL, xR, gain, cg);

    float yL;
    float yR;
    if (Dither) {
      const std::uint32_t first = DitherGenerator::advance(dither);
      dither = DitherGenerator::advanceTwice(dither);
      const auto levelL = static_cast<float>(DitherGenerator::value(first) % kDitherLevels);
      const auto levelR = static_cast<float>(DitherGenerator::value(dither) % kDitherLevels);
      yL = levelL * kDitherLevel + dL * e - kDitherOffset;
      yR = levelR * kDitherLevel + dR * e - kDitherOffset;
    } else {
      yL = dL * e;
      yR = dR * e;
    }
    if (Normalize) {
      const float mL = std::fabs(dL);
      const float mR = std::fabs(dR);
      const float pk = (mL > mR ? mL : mR) * e;
      if (pk > ceiling) {
        const float f = ceiling / pk;
        e = e * f;
        yL = yL * f;
        yR = yR * f;
        lowered = true;
      }
    }

    io.outL[i] = yL;
    io.outR[i] = yR;
    sumL = sumL + yL * yL;
    sumR = sumR + yR * yR;
    w = r < n ? r : r % n;
    r = w + 1 == n ? 0 : w + 1;
  }

  st.compGain = cg;
  st.compStep = cs;
  st.compDelta = cd;
  st.limGain = lg;
  st.limStep = ls;
  st.limDelta = ld;
  if (io.frames > 0) {
    st.delayPos = r;
  }
  feedOut = feed;
  ditherState = dither;
  res.outputGain = e;
  res.outputGainLowered = lowered;
  res.releaseSamples = release;
  res.releaseComputed = releaseComputed;
  res.sumL = sumL;
  res.sumR = sumR;
}

using BlockFn = void (*)(const BlockSetup&, DynamicsState&, FeedValues&, const BlockIo&,
                         std::uint32_t&, BlockResult&) noexcept;

template <bool Soft, bool AutoRelease, bool Dither>
BlockFn pick(bool normalize) noexcept {
  return normalize ? runBlock<Soft, AutoRelease, Dither, true> : runBlock<Soft, AutoRelease, Dither, false>;
}

template <bool Soft, bool AutoRelease>
BlockFn pick(bool dither, bool normalize) noexcept {
  return dither ? pick<Soft, AutoRelease, true>(normalize) : pick<Soft, AutoRelease, false>(normalize);
}

template <bool Soft>
BlockFn pick(bool autoRelease, bool dither, bool normalize) noexcept {
  return autoRelease ? pick<Soft, true>(dither, normalize) : pick<Soft, false>(dither, normalize);
}

BlockFn pick(const BlockSetup& b) noexcept {
  return b.soft ? pick<true>(b.autoRelease, b.dither, b.normalize)
                : pick<false>(b.autoRelease, b.dither, b.normalize);
}

} // namespace

BlockResult DynamicsProcessor::process(const BlockSettings& settings, FeedValues& feed,
                                       const float* const* inputs, float* const* outputs,
                                       std::int32_t sampleFrames) noexcept {
  std::int32_t frames = 0;
  if (!startBlock(settings, inputs, outputs, sampleFrames, frames)) {
    return {};
  }
  FpGuard guard;
  state.keepPositionInRing();
  const BlockSetup b = BlockSetup::from(settings);
  BlockResult res;
  res.processed = true;
  std::uint32_t dither = b.dither ? DitherGenerator::threadState() : 0u;
  const BlockIo io = frames > 0 ? BlockIo{inputs[0], inputs[1], outputs[0], outputs[1], frames}
                                : BlockIo{nullptr, nullptr, nullptr, nullptr, 0};
  pick(b)(b, state, feed, io, dither, res);
  if (state.compDelta < kStalledDelta) {
    state.compStep = kStalledStep;
  }
  if (state.limDelta < kStalledDelta) {
    state.limStep = kStalledStep;
  }
  if (b.dither) {
    DitherGenerator::setThreadState(dither);
  }
  return res;
}
