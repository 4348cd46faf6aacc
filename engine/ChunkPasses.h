// The passes of the optimised processor. A block is cut into chunks; each pass walks one
// chunk, and the only frame-to-frame dependency left (the gain followers) runs in a scalar
// pass of its own (GainPass.h). Each pass takes what it can in whole vectors (LaneStages.h)
// and finishes frame by frame; every frame gives the bits the per-frame rules give.
#pragma once

#include "DynamicsState.h"
#include "FeedValues.h"

#include <cstdint>

constexpr int kChunkFrames = 128;

// Left and right are index 0 and 1 wherever a pass walks both channels.
struct Chunk {
  alignas(16) float x[2][kChunkFrames]; // sanitised input
  alignas(16) float peak[kChunkFrames]; // larger magnitude of the two
  alignas(16) float o[kChunkFrames];    // gain read with the delayed frame
  alignas(16) float gain[kChunkFrames]; // total gain stored for the frame
  alignas(16) float cg[kChunkFrames];   // compressor gain after its release step
  alignas(16) float d[2][kChunkFrames]; // delayed input
  alignas(16) float noise[2][kChunkFrames];
  float hi[2], lo[2]; // extremes of x, as the strict tests see them
};

// The dither generator's state after frame k's draw for each channel is state * mul + add.
struct DrawTables {
  std::uint32_t mul[2][kChunkFrames];
  std::uint32_t add[2][kChunkFrames];
};

struct OutputSettings {
  bool dither;
  bool normalize;
  float ceiling;
};

// Copies m frames in, non-finite samples as 0, and finds their extremes; true if any peak lies
// above the limit.
bool readInputs(const float* const in[2], int m, float limit, Chunk& c) noexcept;

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
  float* lanes[2]; // the block's partial sums of squares (kSumLanes each)
  int firstLane;   // the lane of the chunk's first frame
};

// Output gain, dither and Auto Normalize for m frames, their squares added to the sums.
void writeOutputs(Chunk& c, int m, const OutputSettings& s, float& e, bool& lowered,
                  float* const out[2], const OutputSums& sums) noexcept;
