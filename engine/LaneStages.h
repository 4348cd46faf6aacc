// The processor's vector stages, each written once over a lane type L: a vector of
// L::kWidth floats with the handful of operations the stages need. StagesSse2.cpp and
// StagesAvx2.cpp instantiate them, the latter inside a region compiled for AVX2, so this
// header holds templates only (a plain inline function here would be compiled for two
// targets under one name).
#pragma once

#include "LookAheadRamp.h"

namespace lanes {

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
  for (int i = 0; at + kW <= count; ++i, at += kW) {
    float* p = gains + (top - at - kW + 1);
    const F held = L::load(p);
    const int mask = L::moveMask(L::greater(held, v[i]));
    if (mask != kAll) {
      return at + sweepLast<L>(p, held, v[i], mask);
    }
    L::store(p, v[i]);
  }
  return at + sweepFrameByFrame(gains, top - at, count - at, base + static_cast<float>(at) * d, d);
}

} // namespace lanes
