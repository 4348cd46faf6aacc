// What one display tick makes of the display feed: the peaks of the louder channel for the wave
// column and the reduction meter, and both output peaks for the output meters.
#pragma once

#include "WaveColumn.h"
#include "WavePeakFeed.h"

#include <cstdint>

struct ChannelPeaks {
  float inputMax, inputMin;
  float limitedMax, limitedMin;
  float compressedMax, compressedMin;
  float inputPeak;  // the larger excursion of the input, positive
  float outputPeak; // the limited signal at that excursion, positive
};

struct TickPeaks {
  float outputPeakL, outputPeakR;
  std::int32_t reduction; // pixels of the louder channel, 0..256
  WaveEntry wave;         // the louder channel's six values in 1/32768 of full scale
};

// One channel's limited and compressed extremes and its input and output peaks.
ChannelPeaks channelPeaks(float max, float min, float totalGainAtMax, float totalGainAtMin,
                          float compGainAtMax, float compGainAtMin) noexcept;
// Reads the twelve feed values once each; the left channel is shown only when strictly louder.
TickPeaks analysePeaks(const WavePeakFeed& feed) noexcept;
