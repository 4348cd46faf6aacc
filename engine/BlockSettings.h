// The parameter values one block runs with (taken once at block set-up) and what the block
// hands back for the members the processor may change.
#pragma once

#include "EngineConstants.h"

#include <cstdint>

struct BlockSettings {
  float compThreshold = 1.0f;
  std::int32_t ratioSteps = 2;
  std::int32_t releaseSamples = 11025;
  float autoRelease = 0.0f;
  float limThreshold = 1.0f;
  float outputGain = 1.0f;
  float ceiling = kNormalizeCeilings[0];
  float lookAheadValue = 0.0f;
  float sampleRate = 44100.0f;
  bool softOn = true;
  bool normalizeOn = false;
  bool normalizeHold = false;
  bool ditherOn = false;
  bool bypassOn = false;
};

struct BlockResult {
  bool processed = false;          // false in Bypass, unusable buffers: nothing to write back
  float outputGain = 1.0f;         // the output gain at block end
  bool outputGainLowered = false;  // Auto Normalize lowered it during the block
  std::int32_t releaseSamples = 0; // the release length at block end
  bool releaseComputed = false;    // automatic release computed a new length
  float sumL = 0.0f;               // this block's sums of squared output samples
  float sumR = 0.0f;
};
