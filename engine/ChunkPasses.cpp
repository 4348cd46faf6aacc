#include "ChunkPasses.h"

#include "BlockSetup.h"
#include "DitherGenerator.h"
#include "DynamicsConstants.h"
#include "VectorStages.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Frame k draws 2k + 1 (left) and 2k + 2 (right) times from the state the chunk starts with.
constexpr DrawTables makeDrawTables() {
  DrawTables t{};
  std::uint32_t mul = 1u;
  std::uint32_t add = 0u;
  for (int j = 1; j <= 2 * kChunkFrames; ++j) {
    mul = mul * DitherGenerator::kMultiplier;
    add = add * DitherGenerator::kMultiplier + DitherGenerator::kIncrement;
    const auto ch = static_cast<std::size_t>((j - 1) % 2);
    const auto k = static_cast<std::size_t>((j - 1) / 2);
    t.mul[ch][k] = mul;
    t.add[ch][k] = add;
  }
  return t;
}

constexpr DrawTables kDraws = makeDrawTables();

float levelOf(std::uint32_t state) noexcept {
  const auto level = static_cast<std::int32_t>(DitherGenerator::value(state) % kDitherLevels);
  return static_cast<float>(level) * kDitherLevel;
}

// Copies count values from a ring of n slots starting at slot s, wrapping once if needed.
void copyFromRing(float* dst, const float* ring, int s, int n, int count) noexcept {
  const int first = count < n - s ? count : n - s;
  std::memcpy(dst, ring + s, static_cast<std::size_t>(first) * sizeof(float));
  std::memcpy(dst + first, ring, static_cast<std::size_t>(count - first) * sizeof(float));
}

void copyToRing(float* ring, const float* src, int s, int n, int count) noexcept {
  const int first = count < n - s ? count : n - s;
  std::memcpy(ring + s, src, static_cast<std::size_t>(first) * sizeof(float));
  std::memcpy(ring, src + first, static_cast<std::size_t>(count - first) * sizeof(float));
}

void fillRing(float* ring, float v, int s, int n, int count) noexcept {
  const int first = count < n - s ? count : n - s;
  std::fill(ring + s, ring + s + first, v);
  std::fill(ring, ring + (count - first), v);
}

// Index of the first frame whose value equals the chunk's extreme; the per-frame rules keep
// exactly that frame, since later equal values do not replace it.
int firstEqual(const float* v, int m, float x) noexcept {
  int k = 0;
  while (k < m - 1 && !(v[k] == x)) {
    ++k;
  }
  return k;
}

} // namespace

bool readInputs(const float* const in[2], int m, float limit, Chunk& c) noexcept {
  const VectorStages* stages = vectorStages();
  bool loud = false;
  int k = stages != nullptr ? stages->inputs(in, m, limit, c, loud) : 0;
  if (k == 0) {
    for (int ch = 0; ch < 2; ++ch) {
      c.hi[ch] = c.lo[ch] = finiteOrZero(in[ch][0]);
    }
  }
  for (; k < m; ++k) {
    float a[2];
    for (int ch = 0; ch < 2; ++ch) {
      const float x = finiteOrZero(in[ch][k]);
      c.x[ch][k] = x;
      c.hi[ch] = x > c.hi[ch] ? x : c.hi[ch];
      c.lo[ch] = x < c.lo[ch] ? x : c.lo[ch];
      a[ch] = std::fabs(x);
    }
    const float p = a[0] > a[1] ? a[0] : a[1];
    c.peak[k] = p;
    loud = loud || p > limit;
  }
  return loud;
}

std::uint32_t makeNoise(std::uint32_t state, int m, Chunk& c) noexcept {
  const VectorStages* stages = vectorStages();
  for (int k = stages != nullptr ? stages->noise(kDraws, state, m, c) : 0; k < m; ++k) {
    const auto i = static_cast<std::size_t>(k);
    for (std::size_t ch = 0; ch < 2; ++ch) {
      c.noise[ch][k] = levelOf(state * kDraws.mul[ch][i] + kDraws.add[ch][i]);
    }
  }
  const auto last = static_cast<std::size_t>(m - 1);
  return m > 0 ? state * kDraws.mul[1][last] + kDraws.add[1][last] : state;
}

void delayInputs(DynamicsState& st, int n, int r0, int w0, int m, Chunk& c) noexcept {
  float* const rings[2] = {st.delayInL.data(), st.delayInR.data()};
  for (int ch = 0; ch < 2; ++ch) {
    float* ring = rings[ch];
    if (r0 >= n) {
      c.d[ch][0] = ring[r0];
      ring[w0] = c.x[ch][0];
      continue;
    }
    // Frame k reads what frame k - (n - 1) stored: from the ring before the chunk, or from the
    // chunk itself once it has run that far.
    const int lag = n - 1;
    const int fromRing = m < lag ? m : lag;
    copyFromRing(c.d[ch], ring, r0, n, fromRing);
    for (int k = fromRing; k < m; ++k) {
      c.d[ch][k] = c.x[ch][k - lag];
    }
    // Only the last n frames survive in the ring.
    const int first = m > n ? m - n : 0;
    copyToRing(ring, c.x[ch] + first, (w0 + first) % n, n, m - first);
  }
}

void updateFeed(FeedValues& f, int m, bool unitGains, const Chunk& c) noexcept {
  for (int ch = 0; ch < 2; ++ch) {
    for (const bool above : {true, false}) {
      FeedValues::Extreme& e = above ? f.max[ch] : f.min[ch];
      const float chunkValue = above ? c.hi[ch] : c.lo[ch];
      if (above ? chunkValue > e.value : chunkValue < e.value) {
        const int k = firstEqual(c.x[ch], m, chunkValue);
        e = {c.x[ch][k], unitGains ? 1.0f : c.gain[k], unitGains ? 1.0f : c.cg[k]};
      }
    }
  }
}

void unitGains(Chunk& c, int m, float* ringG, int n, int r, int w) noexcept {
  // Frame k reads what frame k - (n - 1) stored: the ring's gain before the chunk, or 1.
  const int lag = n - 1;
  const int fromRing = m < lag ? m : lag;
  copyFromRing(c.o, ringG, r, n, fromRing);
  std::fill(c.o + fromRing, c.o + m, 1.0f);
  const int first = m > n ? m - n : 0;
  fillRing(ringG, 1.0f, (w + first) % n, n, m - first);
}

void writeOutputs(Chunk& c, int m, const OutputSettings& s, float& e, bool& lowered,
                  float* const out[2], const OutputSums& sums) noexcept {
  const VectorStages* stages = vectorStages();
  // The vectors' lanes take the frames their partial sums own, in order, when the chunk starts
  // a lane.
  int k = 0;
  if (stages != nullptr && sums.firstLane == 0) {
    k = stages->outputs(c, m, s, e, out, sums.lanes);
  }
  // Output gain, dither and Auto Normalize frame by frame, exactly as the per-frame rules say.
  for (; k < m; ++k) {
    float d[2];
    float y[2];
    for (int ch = 0; ch < 2; ++ch) {
      d[ch] = c.o[k] * c.d[ch][k];
      y[ch] = s.dither ? c.noise[ch][k] + d[ch] * e - kDitherOffset : d[ch] * e;
    }
    if (s.normalize) {
      const float a0 = std::fabs(d[0]);
      const float a1 = std::fabs(d[1]);
      const float p = (a0 > a1 ? a0 : a1) * e;
      if (p > s.ceiling) {
        const float f = s.ceiling / p;
        e = e * f;
        y[0] = y[0] * f;
        y[1] = y[1] * f;
        lowered = true;
      }
    }
    const int lane = (sums.firstLane + k) % kSumLanes;
    for (int ch = 0; ch < 2; ++ch) {
      out[ch][k] = y[ch];
      sums.lanes[ch][lane] = sums.lanes[ch][lane] + y[ch] * y[ch];
    }
  }
}
