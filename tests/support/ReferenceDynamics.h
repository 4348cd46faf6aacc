// The processor's per-frame rules written plainly, one frame after another, with nothing
// hoisted or skipped. DynamicsProcessor must give the same bits for the same block sequence;
// tests and benchmarks hold it to that.
#pragma once

#include "BlockSettings.h"
#include "DynamicsState.h"
#include "FeedValues.h"

class ReferenceDynamics {
public:
  static BlockResult process(const BlockSettings& settings, DynamicsState& state, FeedValues& feed,
                             const float* const* inputs, float* const* outputs,
                             std::int32_t sampleFrames) noexcept;
};
