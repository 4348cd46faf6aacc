// Finds the input gain in front of a plug-in and the output trim after it that bring the
// output to a loudness target under a true-peak ceiling. The plug-in is a black box: each try
// renders the whole input at one input gain. The trim is a plain gain, so for a given render
// it is worked out rather than searched: the loudness moves by the trim exactly and so does
// the true peak. What is searched is the least input gain at which the output's true peak
// sits close enough to its loudness for the ceiling to allow the target.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

struct LoudnessGoal {
  std::optional<double> targetLufs; // unset: only hold the ceiling, with the trim alone
  double ceilingDbtp = -1.0;
  bool bestEffort = false; // an unreachable goal gives the closest result instead of an error
};

struct LoudnessOutcome {
  double inputGainDb = 0.0;
  double outputTrimDb = 0.0; // never above 0
  int tries = 0;             // full renders through the plug-in
  double loudnessLufs = 0.0; // of the delivered samples
  double truePeakDb = 0.0;
  bool reached = true;   // false only with best effort
  std::string shortfall; // why not, and how far off, when not reached
};

class LoudnessSearch {
public:
  static constexpr double kMaxInputGainDb = 24.0;
  static constexpr int kMaxTries = 8;

  // The plug-in's output for the whole input played through it at this input gain (dB).
  using Process = std::function<void(double inputGainDb, std::vector<float>& processed)>;
  // The samples exactly as the output file will hold them: the processed ones scaled by the
  // trim (dB), then converted to the output format.
  using Deliver = std::function<void(const std::vector<float>& processed, double trimDb,
                                     std::vector<float>& delivered)>;

  LoudnessSearch(int channels, int sampleRate, const LoudnessGoal& goal);

  // Leaves the samples to write in delivered. Throws RenderError, saying why, when the goal
  // cannot be met and best effort was not asked for.
  LoudnessOutcome run(const Process& process, const Deliver& deliver,
                      std::vector<float>& delivered) const;

private:
  struct Try;
  Try measure(double gainDb, const std::vector<float>& processed) const;
  std::string whyUnreachable(const Try& best) const;

  int channels_;
  int sampleRate_;
  LoudnessGoal goal_;
};
