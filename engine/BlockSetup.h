// The constants of one block, derived from its settings. This is also where values no editor
// produces (ratios below 1:1, a zero release, a broken sample rate) are made safe, so that
// every processing path sees the same sane numbers.
#pragma once

#include "BlockSettings.h"

#include <cmath>
#include <cstdint>

struct BlockSetup {
  std::int32_t slots;   // N, ring length in use
  float compThreshold;  // Tc
  float ratio;          // G, at least 1
  float knee;           // k of the soft curve
  bool soft;            // soft curve in use
  std::int32_t release; // R
  bool autoRelease;
  float autoScale;    // A = sr / 5
  float limRelease;   // L = sr / 152.85052
  float limThreshold; // Tl
  float outputGain;   // e
  float ceiling;      // Q
  bool normalize;     // Normalize on or a ThrLim link pending
  bool dither;

  static BlockSetup from(const BlockSettings& s) noexcept;
};

// The sample rate the processor works with: the host's when it is a usable number.
float usableSampleRate(float sampleRate) noexcept;

// truncate(), saturating at the int32 limits instead of being undefined.
std::int32_t truncateToInt32(float v) noexcept;

// Release length in frames as the release-step formula uses it; never zero or negative.
inline float releaseFrames(std::int32_t r) noexcept { return static_cast<float>(r < 1 ? 1 : r); }

// The block's sums of squares are kept in this many interleaved partial sums (frame i of the
// block goes to partial i mod 4) and added pairwise at the end: a fixed order both processing
// paths share, and one a vector unit can follow.
constexpr int kSumLanes = 4;
inline float combineLanes(const float* lanes) noexcept {
  return (lanes[0] + lanes[1]) + (lanes[2] + lanes[3]);
}

// Non-finite samples enter the processor as silence, so they cannot reach its state.
inline float finiteOrZero(float x) noexcept {
  constexpr float kLargest = 3.40282347e38f;
  return std::fabs(x) <= kLargest ? x : 0.0f;
}

// What a block does before its frames, the same for every processing path: unusable buffers
// (null pointers) leave everything alone, and sampleFrames below 0 counts as 0. False when the
// buffers are unusable.
bool startBlock(const float* const* inputs, float* const* outputs, std::int32_t sampleFrames,
                std::int32_t& frames) noexcept;
