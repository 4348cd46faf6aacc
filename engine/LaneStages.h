// The processor's vector stages, each written once over a lane type L: a vector of
// L::kWidth floats (F) or 32-bit integers (I) with the handful of operations the stages need,
// and L::Sums, the block's kSumLanes partial sums of squares. StagesSse2.cpp and
// StagesAvx2.cpp instantiate them, the latter inside a region compiled for AVX2, so this
// header holds templates only (a plain inline function here would be compiled for two
// targets under one name), and the AVX2 file includes what this header includes first.
#pragma once

#include "BlockSetup.h"
#include "ChunkPasses.h"
#include "DynamicsConstants.h"
#include "LookAheadRamp.h"

#include <cstdint>

namespace lanes {

// The largest (or smallest) lane, compared as the strict tests compare.
template <class L> float extreme(typename L::F v, bool largest) noexcept {
  float x[L::kWidth];
  L::store(x, v);
  float r = x[0];
  for (int j = 1; j < L::kWidth; ++j) {
    r = largest ? (x[j] > r ? x[j] : r) : (x[j] < r ? x[j] : r);
  }
  return r;
}

// Non-finite samples fail the comparison and become 0.
template <class L> typename L::F sanitised(const float* p) noexcept {
  const typename L::F v = L::load(p);
  return L::keep(v, L::atMost(L::abs(v), L::set1(3.40282347e38f)));
}

template <class L>
int inputs(const float* const in[2], int m, float limit, Chunk& c, bool& loud) noexcept {
  using F = typename L::F;
  constexpr int kW = L::kWidth;
  if (m < kW) {
    return 0;
  }
  const F lim = L::set1(limit);
  F hi[2] = {sanitised<L>(in[0]), sanitised<L>(in[1])};
  F lo[2] = {hi[0], hi[1]};
  F over = L::set1(0.0f);
  int k = 0;
  for (; k + kW <= m; k += kW) {
    F a[2];
    for (int ch = 0; ch < 2; ++ch) {
      const F x = sanitised<L>(in[ch] + k);
      L::store(c.x[ch] + k, x);
      hi[ch] = L::max(hi[ch], x);
      lo[ch] = L::min(lo[ch], x);
      a[ch] = L::abs(x);
    }
    // max(a, b) is exactly "a > b ? a : b"
    const F p = L::max(a[0], a[1]);
    L::store(c.peak + k, p);
    over = L::either(over, L::greater(p, lim));
  }
  loud = L::moveMask(over) != 0;
  for (int ch = 0; ch < 2; ++ch) {
    c.hi[ch] = extreme<L>(hi[ch], true);
    c.lo[ch] = extreme<L>(lo[ch], false);
  }
  return k;
}

template <class L>
int noise(const DrawTables& draws, std::uint32_t state, int m, Chunk& c) noexcept {
  using I = typename L::I;
  constexpr int kW = L::kWidth;
  const I s = L::setInts(state);
  const I mask = L::setInts(kDitherLevels - 1);
  const typename L::F level = L::set1(kDitherLevel);
  int k = 0;
  for (; k + kW <= m; k += kW) {
    for (int ch = 0; ch < 2; ++ch) {
      const I next =
          L::addInts(L::mulInts(s, L::loadInts(draws.mul[ch] + k)), L::loadInts(draws.add[ch] + k));
      const I drawn = L::bothInts(L::shiftRight(next, 16), mask);
      L::store(c.noise[ch] + k, L::mul(L::toFloats(drawn), level));
    }
  }
  return k;
}

template <class L>
int outputs(Chunk& c, int m, const OutputSettings& s, float e, float* const out[2],
            float* const lanes[2]) noexcept {
  using F = typename L::F;
  constexpr int kW = L::kWidth;
  const F gain = L::set1(e);
  const F ceiling = L::set1(s.ceiling);
  const F offset = L::set1(kDitherOffset);
  typename L::Sums acc[2] = {L::loadSums(lanes[0]), L::loadSums(lanes[1])};
  int k = 0;
  for (; k + kW <= m; k += kW) {
    const F o = L::load(c.o + k);
    const F d[2] = {L::mul(o, L::load(c.d[0] + k)), L::mul(o, L::load(c.d[1] + k))};
    if (s.normalize) {
      const F p = L::mul(L::max(L::abs(d[0]), L::abs(d[1])), gain);
      if (L::moveMask(L::greater(p, ceiling)) != 0) {
        break; // the gain changes within these frames: frame by frame from here
      }
    }
    for (int ch = 0; ch < 2; ++ch) {
      F y = L::mul(d[ch], gain);
      if (s.dither) {
        y = L::sub(L::add(L::load(c.noise[ch] + k), y), offset);
      }
      L::store(out[ch] + k, y);
      acc[ch] = L::addSquares(acc[ch], L::mul(y, y));
    }
  }
  L::storeSums(lanes[0], acc[0]);
  L::storeSums(lanes[1], acc[1]);
  return k;
}

// Lanes (from the top one down) that pass the comparison before the first that fails.
template <class L> int passingFromTop(int mask) noexcept {
  const unsigned failing = ~static_cast<unsigned>(mask) & ((1u << L::kWidth) - 1u);
  return failing == 0 ? L::kWidth : L::kWidth - 32 + __builtin_clz(failing);
}

// The last block of a ramp: the slots of the lanes that pass from the top down take their
// values, the others keep theirs; returns how many took them.
template <class L> int sweepLast(float* p, typename L::F held, typename L::F v, int mask) noexcept {
  const int pass = passingFromTop<L>(mask);
  if (pass > 0) {
    L::store(p, L::select(L::lanesFrom(L::kWidth - pass), v, held));
  }
  return pass;
}

// The look-ahead ramp's sweep (see LookAheadRamp.h), W slots per vector with the lanes
// holding the slots in ascending order, so the ramp's values run down the lanes. Four vectors
// a round, each advanced by 4W d a round (exact, as every value the ramp uses is), so that no
// chain of additions sets the pace.
template <class L> int rampSweep(float* gains, int top, int count, float base, float d) noexcept {
  using F = typename L::F;
  constexpr int kW = L::kWidth;
  constexpr int kRound = 4;
  constexpr int kAll = (1 << kW) - 1;
  F v[kRound];
  v[0] = L::add(L::set1(base), L::mul(L::descending(), L::set1(d)));
  for (int i = 1; i < kRound; ++i) {
    v[i] = L::add(v[0], L::set1(static_cast<float>(i * kW) * d));
  }
  const F advance = L::set1(static_cast<float>(kRound * kW) * d);
  int at = 0;
  for (; at + kRound * kW <= count; at += kRound * kW) {
    float* p = gains + (top - at - kW + 1);
    F held[kRound];
    F pass = L::greater(held[0] = L::load(p), v[0]);
    for (int i = 1; i < kRound; ++i) {
      pass = L::both(pass, L::greater(held[i] = L::load(p - i * kW), v[i]));
    }
    if (L::moveMask(pass) != kAll) {
      for (int i = 0; i < kRound; ++i) {
        const int mask = L::moveMask(L::greater(held[i], v[i]));
        if (mask != kAll) {
          return at + i * kW + sweepLast<L>(p - i * kW, held[i], v[i], mask);
        }
        L::store(p - i * kW, v[i]);
      }
    }
    for (int i = 0; i < kRound; ++i) {
      L::store(p - i * kW, v[i]);
      v[i] = L::add(v[i], advance);
    }
  }
  int i = 0;
  for (; at + kW <= count; ++i, at += kW) {
    float* p = gains + (top - at - kW + 1);
    const F held = L::load(p);
    const int mask = L::moveMask(L::greater(held, v[i]));
    if (mask != kAll) {
      return at + sweepLast<L>(p, held, v[i], mask);
    }
    L::store(p, v[i]);
  }
  const int rest = count - at;
  if (rest > 0 && top - at - kW + 1 >= 0) {
    // The last few slots in the top lanes of one vector; the lanes below them (slots the ramp
    // does not reach here) count as refusing and keep what they hold.
    float* p = gains + (top - at - kW + 1);
    const F held = L::load(p);
    const int mask = L::moveMask(L::greater(held, v[i])) & ~((1 << (kW - rest)) - 1);
    return at + sweepLast<L>(p, held, v[i], mask);
  }
  return at + sweepFrameByFrame(gains, top - at, rest, base + static_cast<float>(at) * d, d);
}

} // namespace lanes
