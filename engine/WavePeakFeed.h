// What the processor leaves for the editor between two display ticks.
#pragma once

#include "RelaxedAtomic.h"

#include <initializer_list>

struct WavePeakFeed {
  RelaxedAtomic<float> maxL, minL, maxR, minR;
  RelaxedAtomic<float> totalGainAtMinL, totalGainAtMaxL, totalGainAtMinR, totalGainAtMaxR;
  RelaxedAtomic<float> compGainAtMinL, compGainAtMaxL, compGainAtMinR, compGainAtMaxR;

  void clear() noexcept {
    for (RelaxedAtomic<float>* v :
         {&maxL, &minL, &maxR, &minR, &totalGainAtMinL, &totalGainAtMaxL, &totalGainAtMinR,
          &totalGainAtMaxR, &compGainAtMinL, &compGainAtMaxL, &compGainAtMinR, &compGainAtMaxR}) {
      v->store(0.0f);
    }
  }
};
