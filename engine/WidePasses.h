// 256-bit versions of the chunk passes' inner loops, for processors with AVX2 (asked once when
// the library loads). Each takes what it can in groups of eight frames and returns how many
// frames it took; the SSE2 and scalar loops finish the rest. Same operations, same bits.
#pragma once

#include "ChunkPasses.h"
#include "VectorStages.h"

#include <cstdint>

// Dither levels; mul/add give the generator state after each frame's draws from state.
int noiseWide(const std::uint32_t* mulL, const std::uint32_t* addL, const std::uint32_t* mulR,
              const std::uint32_t* addR, std::uint32_t state, int m, Chunk& c) noexcept;

// Outputs and their squares from the chunk's first frame (which starts a sum lane); stops
// before a group in which Auto Normalize would lower the gain.
int outputsWide(Chunk& c, int m, bool dither, bool normalize, float ceiling, float e, float* outL,
                float* outR, float* lanesL, float* lanesR) noexcept;
