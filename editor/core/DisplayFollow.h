// What the display tick passes on to the Release fader: the release length automatic release
// uses (the Output fader takes outputStepsOfGain, Conversions.h).
#pragma once

#include <cstdint>

// The Release read-out under automatic release: releaseSamples in milliseconds at the rate the
// processor uses, so a host's unusable rate never divides by zero.
float autoReleaseReadoutMs(std::int32_t releaseSamples, float sampleRate) noexcept;
