// True peak of a stream, trusted to 0.1 dB up to 20 kHz at every sample rate: 4x polyphase
// interpolation finds the loud stretches, and each one that could hold the peak is searched on
// a 64-phase grid with a parabola through the best three points. The signal is taken as silent
// before the first and after the last sample, so the ringing at both ends is measured too.
#pragma once

#include <cstddef>
#include <vector>

class TruePeakMeter {
public:
  explicit TruePeakMeter(int channels);

  void add(const float* frames, std::size_t count); // interleaved
  // Linear, the largest of all channels. The first call ends the stream; later adds are ignored.
  double peak();

private:
  struct Channel {
    std::vector<float> samples; // history of the filter's span, then the block being measured
    double peak = 0.0;
  };

  void measure(Channel& channel, std::size_t intervals);
  double refine(const float* taps, double coarsePeak, int coarsePhase) const;

  std::vector<Channel> channels_;
  std::vector<float> coarse_; // per interval of one block: 3 interpolated phases, the loudest
  bool finished_ = false;
  double peak_ = 0.0;
};
