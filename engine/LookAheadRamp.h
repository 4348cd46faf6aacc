// The look-ahead ramp without a chain of dependent additions.
//
// The rules build the ramp as g_1 = gw + step, g_(j+1) = g_j + step, each sum rounded to float.
// Inside one binade every float is a multiple of the same ulp u, and rounding g + step to that
// grid adds the same multiple of u whatever g is, except when step's remainder is exactly u/2:
// then the tie goes to the even multiple, and every result of such a tie is even, so from the
// second sum inside the binade on the increment is again the same. So once two sums in a row
// stayed in the binade of the value they started from, the values that follow are exactly
// z + k d (z the last sum, d its increment) for as long as they stay below the binade's top,
// and k d is exact there too. Those values are compared against the ring in one sweep; the
// sums at the binade edges are made one by one, as the rules make them.
#pragma once

#include <cstdint>
#include <cstring>

// Slots top, top - 1, ..., top - count + 1 take base + k d (k = 0, 1, ...) while they hold
// more than that; returns how many took it.
using RampSweep = int (*)(float* gains, int top, int count, float base, float d) noexcept;

inline int sweepFrameByFrame(float* gains, int top, int count, float base, float d) noexcept {
  for (int k = 0; k < count; ++k) {
    const float v = base + static_cast<float>(k) * d;
    if (!(gains[top - k] > v)) {
      return k;
    }
    gains[top - k] = v;
  }
  return count;
}

namespace ramp {

inline std::uint32_t bitsOf(float v) noexcept {
  std::uint32_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

// Values of the ramp j = first .. first + count - 1 into their slots, (w - j) mod n, through
// the sweep; returns how many took them.
inline int sweepSlots(RampSweep sweep, float* gains, int w, int n, int first, int count, float base,
                      float d) noexcept {
  int done = 0;
  if (first <= w) {
    // slots w - first down to 0
    const int here = count < w - first + 1 ? count : w - first + 1;
    done = sweep(gains, w - first, here, base, d);
    if (done < here || here == count) {
      return done;
    }
  }
  const int j = first + done;
  return done + sweep(gains, n + w - j, count - done, base + static_cast<float>(done) * d, d);
}

} // namespace ramp

// The ramp in runs of exact arithmetic sequences between binade edges, each compared against
// the ring in one sweep.
inline void rampInRuns(float* gains, std::int32_t w, std::int32_t n, float gw,
                       RampSweep sweep) noexcept {
  const float step = (1.0f - gw) / static_cast<float>(n - 1);
  auto take = [&](int j, float g) {
    const int s = j <= w ? w - j : n + w - j;
    if (!(gains[s] > g)) {
      return false;
    }
    gains[s] = g;
    return true;
  };
  float x = gw + step;
  int j = 1;
  while (j < n) {
    if (!take(j, x)) {
      return;
    }
    if (++j == n) {
      return;
    }
    const float y = x + step;
    if (!take(j, y)) {
      return;
    }
    if (++j == n) {
      return;
    }
    const float z = y + step;
    const std::uint32_t bx = ramp::bitsOf(x);
    const std::uint32_t by = ramp::bitsOf(y);
    const std::uint32_t bz = ramp::bitsOf(z);
    const std::uint32_t binade = bz >> 23;
    // Positive normal values of one binade only (the ramp never leaves them in practice).
    if (binade != bx >> 23 || binade != by >> 23 || binade < 1 || binade > 254) {
      x = z;
      continue;
    }
    // In ulps of the binade: the room up to its top, and the increment.
    const std::uint32_t room = (1u << 23) - (bz & 0x7FFFFFu);
    const std::uint32_t du = bz - by;
    const int remaining = n - j;
    const std::uint32_t fits =
        du == 0 ? static_cast<std::uint32_t>(remaining) : (room - 1) / du + 1;
    const int count =
        fits < static_cast<std::uint32_t>(remaining) ? static_cast<int>(fits) : remaining;
    const float d = z - y;
    const int done = ramp::sweepSlots(sweep, gains, w, n, j, count, z, d);
    if (done < count) {
      return;
    }
    j += count;
    x = (z + static_cast<float>(count - 1) * d) + step;
  }
}

// Lowers the stored gains before slot w towards the new gain gw, oldest slot last: slot
// (w - j) mod n takes g_j while it holds more, and the ramp stops at the first that does not.
// Returns 0 when it stopped at its first slot, 1 when it walked on one addition at a time, and
// 2 when it looked long and went in runs.
inline int rampDown(float* gains, std::int32_t w, std::int32_t n, float gw,
                    RampSweep sweep) noexcept {
  const float step = (1.0f - gw) / static_cast<float>(n - 1);
  // A ramp that will likely stop within its first few slots (the slot kShort back already holds
  // about what the ramp would bring) is cheaper as the rules' own chain of additions.
  constexpr int kShort = 16;
  const int probe = w >= kShort ? w - kShort : w - kShort + n;
  if (n <= kShort || !(gains[probe] > gw + static_cast<float>(kShort) * step)) {
    float g = gw + step;
    for (int j = 1; j < n; ++j) {
      const int s = j <= w ? w - j : n + w - j;
      if (!(gains[s] > g)) {
        return j > 1 ? 1 : 0;
      }
      gains[s] = g;
      g = g + step;
    }
    return 1;
  }
  rampInRuns(gains, w, n, gw, sweep);
  return 2;
}
