#include "ChunkPasses.h"

#include "BlockSetup.h"
#include "DitherGenerator.h"
#include "DynamicsConstants.h"
#include "WidePasses.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define ZEMBRAC_CHUNK_SSE2 1
#endif

namespace {

// State after j draws from s: s * mul + add (mod 2^32). Frame k draws 2k+1 (left) and 2k+2.
struct DrawTables {
  std::uint32_t mulL[kChunkFrames];
  std::uint32_t addL[kChunkFrames];
  std::uint32_t mulR[kChunkFrames];
  std::uint32_t addR[kChunkFrames];
};

constexpr DrawTables makeDrawTables() {
  DrawTables t{};
  std::uint32_t mul = 1u;
  std::uint32_t add = 0u;
  for (int j = 1; j <= 2 * kChunkFrames; ++j) {
    mul = mul * DitherGenerator::kMultiplier;
    add = add * DitherGenerator::kMultiplier + DitherGenerator::kIncrement;
    const auto k = static_cast<std::size_t>((j - 1) / 2);
    if (j % 2 == 1) {
      t.mulL[k] = mul;
      t.addL[k] = add;
    } else {
      t.mulR[k] = mul;
      t.addR[k] = add;
    }
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

float louder(float dL, float dR) noexcept {
  const float aL = std::fabs(dL);
  const float aR = std::fabs(dR);
  return aL > aR ? aL : aR;
}

// One frame of output gain, dither and Auto Normalize, exactly as the per-frame rules say.
void outputFrame(Chunk& c, int k, bool dither, bool normalize, float ceiling, float& e,
                 bool& lowered, float* outL, float* outR) noexcept {
  const float dL = c.o[k] * c.dL[k];
  const float dR = c.o[k] * c.dR[k];
  float yL = dither ? c.noiseL[k] + dL * e - kDitherOffset : dL * e;
  float yR = dither ? c.noiseR[k] + dR * e - kDitherOffset : dR * e;
  if (normalize) {
    const float p = louder(dL, dR) * e;
    if (p > ceiling) {
      const float f = ceiling / p;
      e = e * f;
      yL = yL * f;
      yR = yR * f;
      lowered = true;
    }
  }
  outL[k] = yL;
  outR[k] = yR;
  c.sqL[k] = yL * yL;
  c.sqR[k] = yR * yR;
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

#ifdef ZEMBRAC_CHUNK_SSE2
// The largest (or smallest) of four lanes, compared as the strict tests compare.
float horizontal(__m128 v, bool largest) noexcept {
  alignas(16) float x[4];
  _mm_store_ps(x, v);
  float r = x[0];
  for (int j = 1; j < 4; ++j) {
    r = largest ? (x[j] > r ? x[j] : r) : (x[j] < r ? x[j] : r);
  }
  return r;
}
#endif

} // namespace

bool readInputs(const float* inL, const float* inR, int m, float limit, Chunk& c) noexcept {
  int over = 0;
  int k = 0;
#ifdef ZEMBRAC_CHUNK_SSE2
  const __m128 magnitude = _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF));
  const __m128 largest = _mm_set1_ps(3.40282347e38f);
  const __m128 lim = _mm_set1_ps(limit);
  __m128 loud = _mm_setzero_ps();
  __m128 hiL = _mm_set1_ps(0.0f);
  __m128 loL = hiL;
  __m128 hiR = hiL;
  __m128 loR = hiL;
  if (m >= 4) {
    hiL = loL = _mm_and_ps(_mm_loadu_ps(inL),
                           _mm_cmple_ps(_mm_and_ps(_mm_loadu_ps(inL), magnitude), largest));
    hiR = loR = _mm_and_ps(_mm_loadu_ps(inR),
                           _mm_cmple_ps(_mm_and_ps(_mm_loadu_ps(inR), magnitude), largest));
  }
  for (; k + 4 <= m; k += 4) {
    const __m128 l = _mm_loadu_ps(inL + k);
    const __m128 r = _mm_loadu_ps(inR + k);
    const __m128 okL = _mm_cmple_ps(_mm_and_ps(l, magnitude), largest);
    const __m128 okR = _mm_cmple_ps(_mm_and_ps(r, magnitude), largest);
    const __m128 xl = _mm_and_ps(l, okL);
    const __m128 xr = _mm_and_ps(r, okR);
    _mm_store_ps(c.xL + k, xl);
    _mm_store_ps(c.xR + k, xr);
    hiL = _mm_max_ps(hiL, xl);
    loL = _mm_min_ps(loL, xl);
    hiR = _mm_max_ps(hiR, xr);
    loR = _mm_min_ps(loR, xr);
    // maxps(a, b) is exactly "a > b ? a : b"
    const __m128 p = _mm_max_ps(_mm_and_ps(xl, magnitude), _mm_and_ps(xr, magnitude));
    _mm_store_ps(c.peak + k, p);
    loud = _mm_or_ps(loud, _mm_cmpgt_ps(p, lim));
  }
  over = _mm_movemask_ps(loud);
  if (k > 0) {
    c.hiL = horizontal(hiL, true);
    c.loL = horizontal(loL, false);
    c.hiR = horizontal(hiR, true);
    c.loR = horizontal(loR, false);
  }
#endif
  if (k == 0) {
    c.hiL = c.loL = finiteOrZero(inL[0]);
    c.hiR = c.loR = finiteOrZero(inR[0]);
  }
  for (; k < m; ++k) {
    const float l = finiteOrZero(inL[k]);
    const float r = finiteOrZero(inR[k]);
    c.xL[k] = l;
    c.xR[k] = r;
    c.hiL = l > c.hiL ? l : c.hiL;
    c.loL = l < c.loL ? l : c.loL;
    c.hiR = r > c.hiR ? r : c.hiR;
    c.loR = r < c.loR ? r : c.loR;
    const float aL = std::fabs(l);
    const float aR = std::fabs(r);
    const float p = aL > aR ? aL : aR;
    c.peak[k] = p;
    over |= p > limit ? 1 : 0;
  }
  return over != 0;
}

std::uint32_t makeNoise(std::uint32_t state, int m, Chunk& c) noexcept {
  int k = 0;
  if (wideVectorsInUse()) {
    k = noiseWide(kDraws.mulL, kDraws.addL, kDraws.mulR, kDraws.addR, state, m, c);
  }
#ifdef ZEMBRAC_CHUNK_SSE2
  const __m128i s = _mm_set1_epi32(static_cast<int>(state));
  const __m128i mask = _mm_set1_epi32(static_cast<int>(kDitherLevels - 1));
  const __m128 level = _mm_set1_ps(kDitherLevel);
  auto levels = [&](const std::uint32_t* mul, const std::uint32_t* add) {
    const __m128i f = _mm_loadu_si128(reinterpret_cast<const __m128i*>(mul));
    // 32-bit products of the four lanes from two 64-bit multiplies (SSE2 has no pmulld)
    const __m128i even = _mm_mul_epu32(s, f);
    const __m128i odd = _mm_mul_epu32(s, _mm_srli_epi64(f, 32));
    const __m128i prod = _mm_unpacklo_epi32(_mm_shuffle_epi32(even, _MM_SHUFFLE(0, 0, 2, 0)),
                                            _mm_shuffle_epi32(odd, _MM_SHUFFLE(0, 0, 2, 0)));
    const __m128i next =
        _mm_add_epi32(prod, _mm_loadu_si128(reinterpret_cast<const __m128i*>(add)));
    const __m128i drawn = _mm_and_si128(_mm_srli_epi32(next, 16), mask);
    return _mm_mul_ps(_mm_cvtepi32_ps(drawn), level);
  };
  for (; k + 4 <= m; k += 4) {
    const auto i = static_cast<std::size_t>(k);
    _mm_store_ps(c.noiseL + k, levels(&kDraws.mulL[i], &kDraws.addL[i]));
    _mm_store_ps(c.noiseR + k, levels(&kDraws.mulR[i], &kDraws.addR[i]));
  }
#endif
  for (; k < m; ++k) {
    const auto i = static_cast<std::size_t>(k);
    c.noiseL[k] = levelOf(state * kDraws.mulL[i] + kDraws.addL[i]);
    c.noiseR[k] = levelOf(state * kDraws.mulR[i] + kDraws.addR[i]);
  }
  const auto i = static_cast<std::size_t>(m - 1);
  return m > 0 ? state * kDraws.mulR[i] + kDraws.addR[i] : state;
}

void delayInputs(DynamicsState& st, int n, int r0, int w0, int m, Chunk& c) noexcept {
  float* ringL = st.delayInL.data();
  float* ringR = st.delayInR.data();
  if (r0 >= n) {
    c.dL[0] = ringL[r0];
    c.dR[0] = ringR[r0];
    ringL[w0] = c.xL[0];
    ringR[w0] = c.xR[0];
    return;
  }
  // Frame k reads what frame k - (n - 1) stored: from the ring before the chunk, or from the
  // chunk itself once it has run that far.
  const int lag = n - 1;
  const int fromRing = m < lag ? m : lag;
  copyFromRing(c.dL, ringL, r0, n, fromRing);
  copyFromRing(c.dR, ringR, r0, n, fromRing);
  for (int k = fromRing; k < m; ++k) {
    c.dL[k] = c.xL[k - lag];
    c.dR[k] = c.xR[k - lag];
  }
  // Only the last n frames survive in the ring.
  const int first = m > n ? m - n : 0;
  const int slot = (w0 + first) % n;
  copyToRing(ringL, c.xL + first, slot, n, m - first);
  copyToRing(ringR, c.xR + first, slot, n, m - first);
}

void updateFeed(FeedValues& f, int m, bool unitGains, const Chunk& c) noexcept {
  struct Extreme {
    float chunkValue;
    const float* x;
    float& value;
    float& totalGain;
    float& compGain;
    bool above;
  };
  const Extreme all[] = {
      {c.hiL, c.xL, f.maxL, f.totalGainAtMaxL, f.compGainAtMaxL, true},
      {c.loL, c.xL, f.minL, f.totalGainAtMinL, f.compGainAtMinL, false},
      {c.hiR, c.xR, f.maxR, f.totalGainAtMaxR, f.compGainAtMaxR, true},
      {c.loR, c.xR, f.minR, f.totalGainAtMinR, f.compGainAtMinR, false},
  };
  for (const Extreme& x : all) {
    if (x.above ? x.chunkValue > x.value : x.chunkValue < x.value) {
      const int k = firstEqual(x.x, m, x.chunkValue);
      x.value = x.x[k];
      x.totalGain = unitGains ? 1.0f : c.gain[k];
      x.compGain = unitGains ? 1.0f : c.cg[k];
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

void writeOutputs(Chunk& c, int m, bool dither, bool normalize, float ceiling, float& e,
                  bool& lowered, float* outL, float* outR, const OutputSums& sums) noexcept {
  int k = 0;
  // Each lane takes the frames its partial sum owns, in order, when the chunk starts a lane.
  const bool laneAligned = sums.firstLane == 0;
  if (laneAligned && wideVectorsInUse()) {
    k = outputsWide(c, m, dither, normalize, ceiling, e, outL, outR, sums.lanesL, sums.lanesR);
  }
#ifdef ZEMBRAC_CHUNK_SSE2
  __m128 accL = _mm_loadu_ps(sums.lanesL);
  __m128 accR = _mm_loadu_ps(sums.lanesR);
  const __m128 magnitude = _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF));
  const __m128 gain = _mm_set1_ps(e);
  const __m128 q = _mm_set1_ps(ceiling);
  const __m128 offset = _mm_set1_ps(kDitherOffset);
  for (; laneAligned && k + 4 <= m; k += 4) {
    const __m128 o = _mm_load_ps(c.o + k);
    const __m128 dL = _mm_mul_ps(o, _mm_load_ps(c.dL + k));
    const __m128 dR = _mm_mul_ps(o, _mm_load_ps(c.dR + k));
    if (normalize) {
      const __m128 p =
          _mm_mul_ps(_mm_max_ps(_mm_and_ps(dL, magnitude), _mm_and_ps(dR, magnitude)), gain);
      if (_mm_movemask_ps(_mm_cmpgt_ps(p, q)) != 0) {
        break; // the gain changes within these frames: frame by frame from here
      }
    }
    __m128 yL = _mm_mul_ps(dL, gain);
    __m128 yR = _mm_mul_ps(dR, gain);
    if (dither) {
      yL = _mm_sub_ps(_mm_add_ps(_mm_load_ps(c.noiseL + k), yL), offset);
      yR = _mm_sub_ps(_mm_add_ps(_mm_load_ps(c.noiseR + k), yR), offset);
    }
    _mm_storeu_ps(outL + k, yL);
    _mm_storeu_ps(outR + k, yR);
    accL = _mm_add_ps(accL, _mm_mul_ps(yL, yL));
    accR = _mm_add_ps(accR, _mm_mul_ps(yR, yR));
  }
  _mm_storeu_ps(sums.lanesL, accL);
  _mm_storeu_ps(sums.lanesR, accR);
#endif
  for (; k < m; ++k) {
    outputFrame(c, k, dither, normalize, ceiling, e, lowered, outL, outR);
    const int lane = (sums.firstLane + k) % kSumLanes;
    sums.lanesL[lane] = sums.lanesL[lane] + c.sqL[k];
    sums.lanesR[lane] = sums.lanesR[lane] + c.sqR[k];
  }
}
