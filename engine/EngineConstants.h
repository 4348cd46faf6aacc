// Numbers the engine's behaviour is defined by, each named once.
#pragma once

#include "VstAbi.h"

#include <cstdint>

constexpr VstInt32 kNumPrograms = 9;
constexpr VstInt32 kNumParams = 13;
constexpr VstInt32 kVendorVersion = 2800;
constexpr VstInt32 kUniqueId = fourCharCode('H', 'a', 'Z', 'm');
constexpr const char* kEffectName = "Zembrac";
constexpr const char* kVendorName = "HalvaroWeb";

enum ParameterIndex : VstInt32 {
  kSoft = 0,
  kNormalize,
  kDither,
  kBypass,
  kThrComp,
  kOutput,
  kRelease,
  kRatio,
  kZoom,
  kGainMemo,
  kAutoRel,
  kThrLim,
  kLookAhead,
};

// Largest look-ahead (hundredths of a millisecond) and the ring it needs: 1000 / 2.266.
constexpr float kLookAheadMax = 1000.0f;
constexpr float kLookAheadDivisor = 2.266f;
constexpr int kLookAheadSlots = 441;

// Step parameters never report exactly 1.0, so a value read back is always taken as normalized.
constexpr float kNormalizedMax = 0.99999f;

constexpr float kNormalizeFullGain = 15.84931f; // +24 dB
constexpr int kNormalizeCeilingCount = 4;
constexpr float kNormalizeCeilings[kNormalizeCeilingCount] = {0.99995f, 0.9988f, 0.9895f, 0.9941f};

constexpr float ceilingFactor(std::int32_t index) noexcept {
  return index >= 1 && index <= 3 ? kNormalizeCeilings[index] : kNormalizeCeilings[0];
}
