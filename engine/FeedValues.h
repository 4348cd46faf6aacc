// A block's working copy of the display feed: plain floats the processor updates per frame,
// loaded from and stored to the shared WavePeakFeed once per block.
#pragma once

#include "WavePeakFeed.h"

struct FeedValues {
  float maxL = 0.0f, minL = 0.0f, maxR = 0.0f, minR = 0.0f;
  float totalGainAtMinL = 0.0f, totalGainAtMaxL = 0.0f;
  float totalGainAtMinR = 0.0f, totalGainAtMaxR = 0.0f;
  float compGainAtMinL = 0.0f, compGainAtMaxL = 0.0f;
  float compGainAtMinR = 0.0f, compGainAtMaxR = 0.0f;

  static FeedValues loadFrom(const WavePeakFeed& f) noexcept {
    return {f.maxL,
            f.minL,
            f.maxR,
            f.minR,
            f.totalGainAtMinL,
            f.totalGainAtMaxL,
            f.totalGainAtMinR,
            f.totalGainAtMaxR,
            f.compGainAtMinL,
            f.compGainAtMaxL,
            f.compGainAtMinR,
            f.compGainAtMaxR};
  }

  void storeTo(WavePeakFeed& f) const noexcept {
    f.maxL = maxL;
    f.minL = minL;
    f.maxR = maxR;
    f.minR = minR;
    f.totalGainAtMinL = totalGainAtMinL;
    f.totalGainAtMaxL = totalGainAtMaxL;
    f.totalGainAtMinR = totalGainAtMinR;
    f.totalGainAtMaxR = totalGainAtMaxR;
    f.compGainAtMinL = compGainAtMinL;
    f.compGainAtMaxL = compGainAtMaxL;
    f.compGainAtMinR = compGainAtMinR;
    f.compGainAtMaxR = compGainAtMaxR;
  }

  // Strict tests: an equal later sample keeps the earlier one's gains.
  void update(float inL, float inR, float totalGain, float compGain) noexcept {
    if (inL > maxL) {
      maxL = inL;
      totalGainAtMaxL = totalGain;
      compGainAtMaxL = compGain;
    }
    if (inL < minL) {
      minL = inL;
      totalGainAtMinL = totalGain;
      compGainAtMinL = compGain;
    }
    if (inR > maxR) {
      maxR = inR;
      totalGainAtMaxR = totalGain;
      compGainAtMaxR = compGain;
    }
    if (inR < minR) {
      minR = inR;
      totalGainAtMinR = totalGain;
      compGainAtMinR = compGain;
    }
  }
};
