// Shared by the processor and feed suites: a quiet effect instance, block runners, bit checks.
#pragma once

#include "ADelay.h"
#include "TestSignals.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

inline std::uint32_t bitsOf(float v) {
  std::uint32_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

inline bool sameBits(float a, float b) { return bitsOf(a) == bitsOf(b); }

// An instance with no host, parameters set by natural values.
class TestEffect {
public:
  TestEffect() : fx(nullptr) {}

  void set(VstInt32 index, float naturalValue) { fx.setParameter(index, naturalValue); }

  // Processes the signal in blocks of the given size; returns the output.
  StereoSignal run(const StereoSignal& in, std::size_t blockSize = 512) {
    StereoSignal out;
    out.left.assign(in.frames(), 0.0f);
    out.right.assign(in.frames(), 0.0f);
    for (std::size_t at = 0; at < in.frames(); at += blockSize) {
      const std::size_t n = std::min(blockSize, in.frames() - at);
      float* ins[2] = {const_cast<float*>(in.left.data() + at),
                       const_cast<float*>(in.right.data() + at)};
      float* outs[2] = {out.left.data() + at, out.right.data() + at};
      fx.processReplacing(ins, outs, static_cast<VstInt32>(n));
    }
    return out;
  }

  // A neutral start: Ratio 1:1, both thresholds at 0 dB, Normalize, Dither, Bypass off,
  // Output 0 dB, no look-ahead.
  void neutral() {
    set(kNormalize, 0.0f);
    set(kDither, 0.0f);
    set(kBypass, 0.0f);
    set(kRatio, 2.0f);
    set(kThrComp, 0.0f);
    set(kThrLim, 0.0f);
    set(kOutput, 24000.0f);
    set(kLookAhead, 0.0f);
  }

  ADelay fx;
};

// The whole processor state, bit for bit (every member is a 4-byte word, so no padding).
inline bool sameState(const DynamicsState& a, const DynamicsState& b) {
  static_assert(sizeof(DynamicsState) == (3 * kLookAheadSlots + 7) * 4, "no padding");
  return std::memcmp(&a, &b, sizeof a) == 0;
}

inline bool sameFeed(const FeedValues& a, const FeedValues& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

inline StereoSignal silence(std::size_t frames) {
  StereoSignal s;
  s.left.assign(frames, 0.0f);
  s.right.assign(frames, 0.0f);
  return s;
}

inline StereoSignal constantSignal(std::size_t frames, float left, float right) {
  StereoSignal s;
  s.left.assign(frames, left);
  s.right.assign(frames, right);
  return s;
}
