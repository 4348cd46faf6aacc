// What the dynamics processor carries from one block to the next: the look-ahead rings and the
// compressor and limiter followers. Owned and written by the audio thread only.
#pragma once

#include "EngineConstants.h"

#include <array>
#include <cstdint>

struct DynamicsState {
  using Ring = std::array<float, kLookAheadSlots>;

  Ring delayInL{};
  Ring delayInR{};
  Ring delayGain{};
  std::int32_t delayPos = 0;
  float compGain = 1.0f;
  float compStep = 0.1f;
  float compDelta = 0.0f;
  float limGain = 1.0f;
  float limStep = 0.1f;
  float limDelta = 0.0f;

  DynamicsState() noexcept { clearRings(); }

  // Silence with no reduction in every slot; positions and followers stay.
  void clearRings() noexcept {
    delayInL.fill(0.0f);
    delayInR.fill(0.0f);
    delayGain.fill(1.0f);
  }

  // A position written from outside that does not name a slot restarts at the first one.
  void keepPositionInRing() noexcept {
    if (delayPos < 0 || delayPos >= kLookAheadSlots) {
      delayPos = 0;
    }
  }
};
