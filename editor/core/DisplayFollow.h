// What the display tick passes on to two faders: the release length automatic release uses
// and the output gain Auto Normalize has lowered.
#pragma once

#include <cstdint>

// The Release read-out under automatic release: releaseSamples in milliseconds at the rate the
// processor uses, so a host's unusable rate never divides by zero.
float autoReleaseReadoutMs(std::int32_t releaseSamples, float sampleRate) noexcept;

// The Output steps of a gain: truncate(24000 - 20000 log10(gain)), saturating instead of
// overflowing: a gain of 0 gives the largest step count, a negative or NaN gain 0.
std::int32_t outputStepsForGain(float outputGain) noexcept;
