// The numbers the dynamics processor's curves are made of, each named once.
#pragma once

constexpr float kLogScale = 32.768f; // release steps scale with log10(1 + 32.768 x peak)
constexpr float kCompReleaseScale = 0.6542339f;
constexpr float kStepFloor = 0.0000425f;    // (1 + target) x this keeps every release moving
constexpr float kStepSlope = 0.000085f;     // the increment shrinks by this x gain
constexpr float kStalledDelta = 0.000001f;  // below this a release counts as stalled...
constexpr float kStalledStep = 0.0001f;     // ...and goes on at this pace
constexpr float kAutoReleaseDivisor = 5.0f; // A = sr / 5
constexpr float kAutoReleaseOffset = 0.95f; // R = A / target - 0.95 A
constexpr float kLimReleaseDivisor = 152.85052f;
constexpr float kDitherLevel = 0.0000001194f; // one of 512 noise levels
constexpr float kDitherOffset = 0.000022885f;
constexpr unsigned kDitherLevels = 512;

// Guards for values no editor produces.
constexpr float kFallbackSampleRate = 44100.0f;
constexpr float kMinSampleRate = 1000.0f;
constexpr float kMinThreshold = 0.000001f; // -120 dB: keeps log10(1 + 32.768 x peak) above 0
