// The vector stages the processor runs, for the widest vector unit that is present and
// allowed; chosen once when the library loads (and by tests through allowWideVectors). Each
// stage takes what it can in whole vectors from a chunk's first frame and returns how many
// frames it took; the passes (ChunkPasses.cpp) finish the rest frame by frame.
#pragma once

#include "ChunkPasses.h"
#include "LookAheadRamp.h"

struct VectorStages {
  // Inputs, peaks and extremes (readInputs); sets loud if a peak lies above the limit.
  int (*inputs)(const float* const in[2], int m, float limit, Chunk& c, bool& loud) noexcept;
  int (*noise)(const DrawTables& draws, std::uint32_t state, int m, Chunk& c) noexcept;
  // From a chunk whose first frame starts a sum lane; stops before a vector in which Auto
  // Normalize would lower the gain e.
  int (*outputs)(Chunk& c, int m, const OutputSettings& s, float e, float* const out[2],
                 float* const lanes[2]) noexcept;
  RampSweep rampSweep;
};

// Null in builds without vector stages: every stage then runs frame by frame.
const VectorStages* vectorStages() noexcept;

// Lets the stages use 256-bit vectors where the processor has them (the default) or keeps
// them to SSE2, so tests can hold both to the same bits. Not while a block runs. Returns
// whether wide vectors are now in use.
bool allowWideVectors(bool allow) noexcept;

// The tables of the two widths (null where the build has none).
extern const VectorStages* const kSse2Stages;
extern const VectorStages* const kAvx2Stages;
