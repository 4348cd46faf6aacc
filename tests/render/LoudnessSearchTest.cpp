// The loudness search against stand-ins for a plug-in whose behaviour is known.
#include "LoudnessSearch.h"
#include "RenderError.h"
#include "TestSignals.h"
#include "TruePeakMeter.h"

#include <ebur128.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr int kRate = 44100;

std::vector<float> music() {
  const StereoSignal s = musicalSignal(8 * kRate);
  std::vector<float> x(2 * s.frames());
  for (std::size_t i = 0; i < s.frames(); ++i) {
    // Some 20 dB down, as an unmastered mix.
    x[2 * i] = 0.1f * s.left[i];
    x[2 * i + 1] = 0.1f * s.right[i];
  }
  return x;
}

double loudness(const std::vector<float>& x) {
  ebur128_state* st = ebur128_init(2, kRate, EBUR128_MODE_I);
  ebur128_add_frames_float(st, x.data(), x.size() / 2);
  double l = 0.0;
  ebur128_loudness_global(st, &l);
  ebur128_destroy(&st);
  return l;
}

double truePeakDb(const std::vector<float>& x) {
  TruePeakMeter m(2);
  m.add(x.data(), x.size() / 2);
  return 20 * std::log10(m.peak());
}

float dbToGain(double db) { return static_cast<float>(std::pow(10.0, db / 20)); }

// A soft clipper a little under full scale: it holds sample peaks, not true peaks.
LoudnessSearch::Process clipper(const std::vector<float>& input) {
  return [&input](double gainDb, std::vector<float>& out) {
    out.resize(input.size());
    for (std::size_t i = 0; i < input.size(); ++i) {
      out[i] = 0.95f * std::tanh(input[i] * dbToGain(gainDb) / 0.95f);
    }
  };
}

LoudnessSearch::Process unity(const std::vector<float>& input) {
  return [&input](double gainDb, std::vector<float>& out) {
    out = input;
    for (float& v : out) {
      v *= dbToGain(gainDb);
    }
  };
}

void trimOnly(const std::vector<float>& in, double trimDb, std::vector<float>& out) {
  out = in;
  for (float& v : out) {
    v *= dbToGain(trimDb);
  }
}

TEST(LoudnessSearch, ReachesTheTargetUnderTheCeilingWithTheGainsItReports) {
  const std::vector<float> input = music();
  for (const double target : {-14.0, -18.0}) {
    std::vector<float> out;
    const LoudnessOutcome o =
        LoudnessSearch(2, kRate, {target, -1.0, false}).run(clipper(input), trimOnly, out);
    EXPECT_TRUE(o.reached);
    EXPECT_NEAR(loudness(out), target, 0.05) << target;
    EXPECT_LE(truePeakDb(out), -1.0) << target;
    EXPECT_NEAR(o.loudnessLufs, loudness(out), 1e-9);
    EXPECT_LE(o.tries, 6) << target;
    EXPECT_GT(o.inputGainDb, 0.0);
    EXPECT_LE(o.outputTrimDb, 0.0);
    // The gains mean what they say: the clipper at that gain, then the trim.
    std::vector<float> again, trimmed;
    clipper(input)(o.inputGainDb, again);
    trimOnly(again, o.outputTrimDb, trimmed);
    EXPECT_EQ(trimmed, out);
  }
}

TEST(LoudnessSearch, SaysWhyAnUnreachableGoalIsAndBestEffortKeepsTheCeiling) {
  // Without a limiter the distance from true peak to loudness never shrinks.
  const std::vector<float> input = music();
  const double crest = truePeakDb(input) - loudness(input);
  ASSERT_GT(crest, 13.5);
  std::vector<float> out;
  try {
    LoudnessSearch(2, kRate, {-14.0, -1.0, false}).run(unity(input), trimOnly, out);
    FAIL() << "no error";
  } catch (const RenderError& e) {
    EXPECT_NE(std::string(e.what()).find("true peak"), std::string::npos) << e.what();
  }
  const LoudnessOutcome o =
      LoudnessSearch(2, kRate, {-14.0, -1.0, true}).run(unity(input), trimOnly, out);
  EXPECT_FALSE(o.reached);
  EXPECT_LE(o.tries, 6);
  EXPECT_LE(truePeakDb(out), -1.0);
  EXPECT_NEAR(loudness(out), -1.0 - crest, 0.05);
  EXPECT_NE(o.shortfall.find("LU from the target"), std::string::npos) << o.shortfall;
}

} // namespace
