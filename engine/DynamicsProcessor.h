// The dynamics processor: look-ahead delay, compressor, limiter, output gain, dither and Auto
// Normalize over one block of stereo audio. The plug-in, the renderer and the benchmarks all
// drive it through this interface; the plug-in only snapshots its parameters into it.
#pragma once

#include "BlockSettings.h"
#include "Conversions.h"
#include "DynamicsState.h"
#include "FeedValues.h"
#include "GainRuns.h"

class DynamicsProcessor {
public:
  // Audio thread. Allocates nothing, locks nothing, makes no system call. Inputs and outputs
  // may be the same buffers. Null buffers or sampleFrames < 0 change nothing (0 frames still
  // runs the block-end rules). Non-finite input samples are taken as silence.
  BlockResult process(const BlockSettings& settings, FeedValues& feed, const float* const* inputs,
                      float* const* outputs, std::int32_t sampleFrames) noexcept;

  // Not while process runs: back to the construction state, or silence in the rings only.
  DynamicsProcessor() noexcept = default;
  // A copy starts from the state written out whole: the runs belong to their own ring.
  DynamicsProcessor(const DynamicsProcessor& other) noexcept : state_(other.state()) {}
  DynamicsProcessor& operator=(const DynamicsProcessor& other) noexcept {
    if (this != &other) {
      runs_.drop();
      state_ = other.state();
    }
    return *this;
  }

  void reset() noexcept {
    runs_.drop();
    state_ = DynamicsState{};
  }
  void clearRings() noexcept {
    runs_.drop();
    state_.clearRings();
  }

  // Frames the output lags the input for a look-ahead value (what the host is told).
  static std::int32_t latency(float lookAheadValue) noexcept {
    return lookAheadLatency(lookAheadValue);
  }

  // Not while process runs: the state as the last block left it, and a state to go on from
  // (saved earlier; a ring position outside the ring restarts at its first slot).
  const DynamicsState& state() const noexcept {
    runs_.writeAll();
    return state_;
  }
  void restore(const DynamicsState& saved) noexcept {
    runs_.drop();
    state_ = saved;
  }

private:
  // Between blocks the look-ahead gains may stay partly in runs_ (GainRuns.h); state() writes
  // them into the ring for whoever reads it, and processing goes on as if it had not.
  mutable DynamicsState state_;
  mutable GainRuns runs_;
  int rampsHint_ = 0;
};
