// Everything the report and the plot say about one stream held in memory: peaks, the true
// peak (TruePeakMeter), loudness by ITU-R BS.1770 / EBU R128 through libebur128, and the
// curves over time.
#pragma once

#include <cstddef>
#include <vector>

struct LevelAnalysis {
  static constexpr double kEnvelopeSeconds = 0.01; // one envelope point per 10 ms
  static constexpr double kShortTermSeconds = 0.1; // one short-term value per 100 ms

  double samplePeakDb = 0.0;    // dBFS; -inf for silence
  double truePeakDb = 0.0;      // dBTP
  double loudnessLufs = 0.0;    // integrated; -inf when everything was gated away
  double loudnessRangeLu = 0.0; // LRA
  double maxShortTermLufs = 0.0;
  std::vector<float> envelope;  // sample peak of each 10 ms, linear, the louder channel
  std::vector<float> shortTerm; // LUFS of the 3 s ending at each 100 ms; -inf while silent
};

LevelAnalysis analyseLevels(const float* frames, std::size_t count, int channels, int sampleRate);

// Integrated loudness and true peak only, for the loudness search's tries.
struct LoudnessAndPeak {
  double loudnessLufs = 0.0;
  double truePeakDb = 0.0;
};
LoudnessAndPeak measureLoudnessAndPeak(const float* frames, std::size_t count, int channels,
                                       int sampleRate);

double toDb(double linear); // -inf for 0

// Output over input in dB for each 50 ms (from the two envelopes, which line up), NaN where
// the input is more than 40 dB below its peak and a ratio would measure noise.
std::vector<float> gainOverTime(const LevelAnalysis& input, const LevelAnalysis& output);
// The deepest dip of that gain below its highest value: how far the dynamics went down.
double largestGainReduction(const std::vector<float>& gain);
