#include "WavePeakAnalysis.h"

#include "MeterMath.h"

ChannelPeaks channelPeaks(float max, float min, float totalGainAtMax, float totalGainAtMin,
                          float compGainAtMax, float compGainAtMin) noexcept {
  ChannelPeaks p{};
  p.inputMax = max;
  p.inputMin = min;
  p.limitedMax = max * totalGainAtMax;
  p.limitedMin = min * totalGainAtMin;
  p.compressedMax = max * compGainAtMax;
  p.compressedMin = min * compGainAtMin;
  if (max > -min) {
    p.inputPeak = max;
    p.outputPeak = p.limitedMax;
  } else {
    p.inputPeak = -min;
    p.outputPeak = -p.limitedMin;
  }
  return p;
}

TickPeaks analysePeaks(const WavePeakFeed& feed) noexcept {
  const ChannelPeaks left =
      channelPeaks(feed.maxL, feed.minL, feed.totalGainAtMaxL, feed.totalGainAtMinL,
                   feed.compGainAtMaxL, feed.compGainAtMinL);
  const ChannelPeaks right =
      channelPeaks(feed.maxR, feed.minR, feed.totalGainAtMaxR, feed.totalGainAtMinR,
                   feed.compGainAtMaxR, feed.compGainAtMinR);
  const ChannelPeaks& shown = left.outputPeak > right.outputPeak ? left : right;

  TickPeaks t{};
  t.outputPeakL = left.outputPeak;
  t.outputPeakR = right.outputPeak;
  t.reduction = reductionPixels(shown.inputPeak, shown.outputPeak);
  t.wave[kInputMax] = waveUnits(shown.inputMax);
  t.wave[kInputMin] = waveUnits(shown.inputMin);
  t.wave[kLimitedMax] = waveUnits(shown.limitedMax);
  t.wave[kLimitedMin] = waveUnits(shown.limitedMin);
  t.wave[kCompressedMax] = waveUnits(shown.compressedMax);
  t.wave[kCompressedMin] = waveUnits(shown.compressedMin);
  return t;
}
