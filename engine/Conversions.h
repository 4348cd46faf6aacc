// The plug-in's unit conversions, each formula once. The engine, the editor and the renderer
// call these; none of them types a formula out again.
#pragma once

#include "VstAbi.h"

#include <cstdint>

constexpr float kMsPerSecond = 1000.0f;

// Output: 0 steps is +24 dB, 24000 steps 0 dB, 1000 steps a decibel.
constexpr std::int32_t kUnityOutputSteps = 24000;
constexpr float kOutputStepsPerDecade = 20000.0f;
constexpr float kOutputStepsPerDb = 1000.0f;

// 10^((24000 - steps) / 20000).
float outputGainOfSteps(std::int32_t steps) noexcept;
// truncate(24000 - 20000 log10(gain)), saturating instead of overflowing: a gain of 0 gives the
// largest step count, a negative or NaN gain 0.
std::int32_t outputStepsOfGain(float gain) noexcept;
// The decibels an Output step count shows, and back, in the caller's precision.
template <class T> constexpr T outputDbOfSteps(T steps) noexcept {
  return (static_cast<T>(kUnityOutputSteps) - steps) / static_cast<T>(kOutputStepsPerDb);
}
template <class T> constexpr T outputStepsOfDb(T db) noexcept {
  return static_cast<T>(kUnityOutputSteps) - db * static_cast<T>(kOutputStepsPerDb);
}

// Thresholds: each step is -0.5 dB, so the factor is 10^(-steps / 40); -steps gives its
// reciprocal, the gain that lifts the threshold back to full scale.
float thresholdFactorOfSteps(std::int32_t steps) noexcept;

// truncate(sampleRate / 1000 x ms).
std::int32_t msToSamples(float sampleRate, float ms) noexcept;
template <class T> constexpr T samplesToMs(T samples, T sampleRate) noexcept {
  return samples / (sampleRate / static_cast<T>(kMsPerSecond));
}

// N slots of the look-ahead ring in use (1..441) for a look-ahead in hundredths of a
// millisecond; the output is delayed by N - 1 frames. The same function sizes the ring and
// reports the latency, so the two cannot drift.
int lookAheadSlots(float lookAheadValue) noexcept;
inline VstInt32 lookAheadLatency(float lookAheadValue) noexcept {
  return lookAheadSlots(lookAheadValue) - 1;
}
