// A block's working copy of the display feed: plain floats the processor updates per frame,
// loaded from and stored to the shared WavePeakFeed once per block. Index 0 is the left
// channel, 1 the right.
#pragma once

#include "WavePeakFeed.h"

struct FeedValues {
  // One extreme of one channel: the sample, and the gains stored with its frame.
  struct Extreme {
    float value = 0.0f;
    float totalGain = 0.0f;
    float compGain = 0.0f;
  };
  Extreme max[2];
  Extreme min[2];

  static FeedValues loadFrom(const WavePeakFeed& f) noexcept {
    FeedValues v;
    forEachField(v, f, [](float& mine, const RelaxedAtomic<float>& shared) { mine = shared; });
    return v;
  }

  void storeTo(WavePeakFeed& f) const noexcept {
    forEachField(*this, f, [](const float& mine, RelaxedAtomic<float>& shared) { shared = mine; });
  }

  // Strict tests: an equal later sample keeps the earlier one's gains.
  void update(const float in[2], float totalGain, float compGain) noexcept {
    for (int ch = 0; ch < 2; ++ch) {
      if (in[ch] > max[ch].value) {
        max[ch] = {in[ch], totalGain, compGain};
      }
      if (in[ch] < min[ch].value) {
        min[ch] = {in[ch], totalGain, compGain};
      }
    }
  }

private:
  // Each value with the shared member it mirrors.
  template <class Self, class Feed, class Visit>
  static void forEachField(Self& self, Feed& f, Visit visit) noexcept {
    using Member = RelaxedAtomic<float> WavePeakFeed::*;
    struct Fields {
      Member value, totalGain, compGain;
    };
    static constexpr Fields kMax[2] = {
        {&WavePeakFeed::maxL, &WavePeakFeed::totalGainAtMaxL, &WavePeakFeed::compGainAtMaxL},
        {&WavePeakFeed::maxR, &WavePeakFeed::totalGainAtMaxR, &WavePeakFeed::compGainAtMaxR}};
    static constexpr Fields kMin[2] = {
        {&WavePeakFeed::minL, &WavePeakFeed::totalGainAtMinL, &WavePeakFeed::compGainAtMinL},
        {&WavePeakFeed::minR, &WavePeakFeed::totalGainAtMinR, &WavePeakFeed::compGainAtMinR}};
    auto both = [&](auto& e, const Fields& fields) {
      visit(e.value, f.*fields.value);
      visit(e.totalGain, f.*fields.totalGain);
      visit(e.compGain, f.*fields.compGain);
    };
    for (int ch = 0; ch < 2; ++ch) {
      both(self.max[ch], kMax[ch]);
      both(self.min[ch], kMin[ch]);
    }
  }
};
