// The dynamics processor: look-ahead delay, compressor, limiter, output gain, dither and Auto
// Normalize over one block of stereo audio. The plug-in, the renderer and the benchmarks all
// drive it through this interface; the plug-in only snapshots its parameters into it.
#pragma once

#include "BlockSettings.h"
#include "Conversions.h"
#include "DynamicsState.h"
#include "FeedValues.h"

class DynamicsProcessor {
public:
  // Audio thread. Allocates nothing, locks nothing, makes no system call. Inputs and outputs
  // may be the same buffers. Null buffers or sampleFrames < 0 change nothing (0 frames still
  // runs the block-end rules). Non-finite input samples are taken as silence.
  BlockResult process(const BlockSettings& settings, FeedValues& feed, const float* const* inputs,
                      float* const* outputs, std::int32_t sampleFrames) noexcept;

  // Not while process runs: back to the construction state, or silence in the rings only.
  void reset() noexcept { state_ = DynamicsState{}; }
  void clearRings() noexcept { state_.clearRings(); }

  // Frames the output lags the input for a look-ahead value (what the host is told).
  static std::int32_t latency(float lookAheadValue) noexcept {
    return lookAheadLatency(lookAheadValue);
  }

  // Not while process runs: the state as the last block left it, and a state to go on from
  // (saved earlier; a ring position outside the ring restarts at its first slot).
  const DynamicsState& state() const noexcept { return state_; }
  void restore(const DynamicsState& saved) noexcept { state_ = saved; }

private:
  DynamicsState state_;
};
