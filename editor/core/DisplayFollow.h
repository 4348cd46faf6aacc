// What the display tick passes on to the Release and Output faders from the processor's
// write-backs.
#pragma once

#include "DisplayTickState.h"
#include "WavePeakAnalysis.h"

#include <cstdint>

class ADelay;

// The Release read-out under automatic release: releaseSamples in milliseconds at the rate the
// processor uses, so a host's unusable rate never divides by zero.
float autoReleaseReadoutMs(std::int32_t releaseSamples, float sampleRate) noexcept;

// The Output steps of the gain Auto Normalize has lowered, stored in the effect (not reported to
// the host, not stored in the program) once per new gain; -1 when there is nothing new to show.
std::int32_t followNormalizedOutput(ADelay& effect) noexcept;

// The meters' part of a display tick, the same for every back end: the feed analysed, and both
// meters moved (the ThrLim link's clamp read and cleared on every tick, Normalize on or not).
// The feed stays for the wave display; the caller clears it.
struct MeterTick {
  TickPeaks peaks;
  bool bypassed;
  ReductionMeterFrame reduction;
  OutputMeterFrame output;
};
MeterTick advanceMeters(ADelay& effect) noexcept;
