// The vector stages the processor runs, for the widest vector unit that is present and
// allowed; chosen once when the library loads (and by tests through allowWideVectors).
#pragma once

#include "LookAheadRamp.h"

struct VectorStages {
  RampSweep rampSweep;
};

// Null in builds without vector stages: every stage then runs frame by frame.
const VectorStages* vectorStages() noexcept;

// Lets the stages use 256-bit vectors where the processor has them (the default) or keeps
// them to SSE2, so tests can hold both to the same bits. Not while a block runs. Returns
// whether wide vectors are now in use.
bool allowWideVectors(bool allow) noexcept;
bool wideVectorsInUse() noexcept;

// The tables of the two widths (null where the build has none).
extern const VectorStages* const kSse2Stages;
extern const VectorStages* const kAvx2Stages;
