// The vector-friendly passes of the optimised processor. A block is cut into chunks; each pass
// walks one chunk, and the only frame-to-frame dependency left (the gain followers) runs in a
// scalar pass of its own (GainPass.h). Every pass gives the bits the per-frame rules give.
#pragma once

#include "DynamicsState.h"
#include "FeedValues.h"

#include <cstdint>

constexpr int kChunkFrames = 128;

struct Chunk {
  alignas(16) float xL[kChunkFrames]; // sanitised input
  alignas(16) float xR[kChunkFrames];
  alignas(16) float peak[kChunkFrames]; // larger magnitude of the two
  alignas(16) float o[kChunkFrames];    // gain read with the delayed frame
  alignas(16) float gain[kChunkFrames]; // total gain stored for the frame
  alignas(16) float cg[kChunkFrames];   // compressor gain after its release step
  alignas(16) float dL[kChunkFrames];   // delayed input
  alignas(16) float dR[kChunkFrames];
  alignas(16) float noiseL[kChunkFrames];
  alignas(16) float noiseR[kChunkFrames];
  alignas(16) float sqL[kChunkFrames]; // squared outputs of frames taken one by one
  alignas(16) float sqR[kChunkFrames];
  float hiL, loL, hiR, loR; // extremes of xL and xR, as the strict tests see them
};

// Copies m frames in, non-finite samples as 0, and finds their extremes; true if any peak lies
// above the limit.
bool readInputs(const float* inL, const float* inR, int m, float limit, Chunk& c) noexcept;

// The dither levels (already scaled) of m frames; returns the generator state after them.
std::uint32_t makeNoise(std::uint32_t state, int m, Chunk& c) noexcept;

// Delayed inputs for m frames whose first reads slot r0 and writes slot w0 of an n-slot ring,
// then the chunk's own inputs stored. A first frame reading outside the ring in use (r0 >= n,
// after the ring shrank) must come alone (m == 1).
void delayInputs(DynamicsState& st, int n, int r0, int w0, int m, Chunk& c) noexcept;

// The feed's strict extremes over m frames; unitGains when every frame had gains of 1.
void updateFeed(FeedValues& feed, int m, bool unitGains, const Chunk& c) noexcept;

// The gains of m frames that all store gain 1 and start no ramp (see GainPass).
void unitGains(Chunk& c, int m, float* ringG, int n, int r, int w) noexcept;

struct OutputSums {
  float* lanesL; // the block's partial sums of squares (kSumLanes each)
  float* lanesR;
  int firstLane; // the lane of the chunk's first frame
};

// Output gain, dither and Auto Normalize for m frames, their squares added to the sums.
void writeOutputs(Chunk& c, int m, bool dither, bool normalize, float ceiling, float& e,
                  bool& lowered, float* outL, float* outR, const OutputSums& sums) noexcept;
