// The per-frame rules, arranged for speed. A block runs in chunks: the inputs, the dither
// noise, the delayed inputs, the feed and the outputs go through straight vector loops
// (ChunkPasses, LaneStages); only the gain followers and the look-ahead ramp walk frame by
// frame (GainPass), and a quiet chunk with no reduction active skips even those. Every
// operation keeps the rules' order, so the output is bit-identical to the rules taken one
// frame after another (the tests keep such a plain version as their oracle).
#include "DynamicsProcessor.h"

#include "BlockSetup.h"
#include "ChunkPasses.h"
#include "DitherGenerator.h"
#include "DynamicsConstants.h"
#include "FpGuard.h"
#include "GainPass.h"

#include <cmath>

namespace {

struct BlockIo {
  const float* in[2];
  float* out[2];
  std::int32_t frames;
};

template <bool Soft, bool AutoRelease>
void runBlock(const BlockSetup& b, DynamicsState& st, GainRuns& runs, int& rampsHint,
              FeedValues& feed, const BlockIo& io, std::uint32_t& ditherState,
              BlockResult& res) noexcept {
  const std::int32_t n = b.slots;
  float* const ringG = st.delayGain.data();
  // r may lie past a ring that shrank since the last block; that first frame goes alone.
  std::int32_t r = st.delayPos;
  std::int32_t w = (r + n - 1) % n;
  GainPass<Soft, AutoRelease> gains(b, st);
  runs.attach(ringG, n, w);
  const float quiet = gains.quietLimit();
  float e = b.outputGain;
  bool lowered = false;
  std::uint32_t dither = ditherState;
  float lanes[2][kSumLanes] = {};
  const OutputSettings outputs{b.dither, b.normalize, b.ceiling};
  Chunk c;

  for (int at = 0; at < io.frames;) {
    int m = io.frames - at < kChunkFrames ? io.frames - at : kChunkFrames;
    if (r >= n) {
      m = 1;
    }
    const float* const in[2] = {io.in[0] + at, io.in[1] + at};
    float* const out[2] = {io.out[0] + at, io.out[1] + at};
    const bool loud = readInputs(in, m, quiet, c);
    if (b.dither) {
      dither = makeNoise(dither, m, c);
    }
    const std::int32_t r0 = r;
    const std::int32_t w0 = w;
    const bool unit = gains.run(c, m, ringG, runs, rampsHint, w, r, loud);
    delayInputs(st, n, r0, w0, m, c);
    updateFeed(feed, m, unit, c);
    writeOutputs(c, m, outputs, e, lowered, out, OutputSums{{lanes[0], lanes[1]}, at % kSumLanes});
    at += m;
  }

  gains.storeTo(st);
  if (io.frames > 0) {
    st.delayPos = r;
  }
  ditherState = dither;
  res.outputGain = e;
  res.outputGainLowered = lowered;
  res.releaseSamples = gains.release;
  res.releaseComputed = gains.releaseComputed;
  res.sumL = combineLanes(lanes[0]);
  res.sumR = combineLanes(lanes[1]);
}

// Bypass: each frame passes the ring unscaled, as in the reference, with the position kept as a
// running index instead of a modulo per frame.
void bypassBlock(const BlockSetup& b, DynamicsState& st, const BlockIo& io) noexcept {
  const std::int32_t n = b.slots;
  const float tl = b.limThreshold;
  float* const ringL = st.delayInL.data();
  float* const ringR = st.delayInR.data();
  float* const ringG = st.delayGain.data();
  std::int32_t r = st.delayPos;
  std::int32_t w = (r + n - 1) % n;
  for (std::int32_t i = 0; i < io.frames; ++i) {
    const float xL = finiteOrZero(io.in[0][i]);
    const float xR = finiteOrZero(io.in[1][i]);
    const float peak = std::fabs(xL) > std::fabs(xR) ? std::fabs(xL) : std::fabs(xR);
    ringL[w] = xL;
    ringR[w] = xR;
    ringG[w] = peak > tl ? tl / peak : 1.0f;
    io.out[0][i] = ringL[r];
    io.out[1][i] = ringR[r];
    // A position past a ring that shrank since the last block wraps on its first frame.
    w = r < n ? r : r % n;
    r = r + 1 < n ? r + 1 : (r + 1 == n ? 0 : (r + 1) % n);
  }
  if (io.frames > 0) {
    st.delayPos = r;
  }
}

using BlockFn = void (*)(const BlockSetup&, DynamicsState&, GainRuns&, int&, FeedValues&,
                         const BlockIo&, std::uint32_t&, BlockResult&) noexcept;

BlockFn pick(const BlockSetup& b) noexcept {
  if (b.soft) {
    return b.autoRelease ? runBlock<true, true> : runBlock<true, false>;
  }
  return b.autoRelease ? runBlock<false, true> : runBlock<false, false>;
}

} // namespace

BlockResult DynamicsProcessor::process(const BlockSettings& settings, FeedValues& feed,
                                       const float* const* inputs, float* const* outputs,
                                       std::int32_t sampleFrames) noexcept {
  std::int32_t frames = 0;
  if (!startBlock(inputs, outputs, sampleFrames, frames)) {
    return {};
  }
  state_.keepPositionInRing();
  const BlockIo io = frames > 0 ? BlockIo{{inputs[0], inputs[1]}, {outputs[0], outputs[1]}, frames}
                                : BlockIo{{nullptr, nullptr}, {nullptr, nullptr}, 0};
  const BlockSetup b = BlockSetup::from(settings);
  if (settings.bypassOn) {
    runs_.settle();
    bypassBlock(b, state_, io);
    return {};
  }
  FpGuard guard;
  BlockResult res;
  res.processed = true;
  std::uint32_t dither = b.dither ? DitherGenerator::threadState() : 0u;
  pick(b)(b, state_, runs_, rampsHint_, feed, io, dither, res);
  if (state_.compDelta < kStalledDelta) {
    state_.compStep = kStalledStep;
  }
  if (state_.limDelta < kStalledDelta) {
    state_.limStep = kStalledStep;
  }
  if (b.dither) {
    DitherGenerator::setThreadState(dither);
  }
  return res;
}
