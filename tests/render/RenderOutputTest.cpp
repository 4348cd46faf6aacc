// What reaches the file: integers rounded to nearest in every container, clipping counted and
// reported, and levels measured on the file as written.
#include "RenderHarness.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <sstream>

namespace {

constexpr int kFloatWav = SF_FORMAT_WAV | SF_FORMAT_FLOAT;

// Renders in.wav (already in dir) with the options into name and returns what it wrote.
Sound renderTo(const ScratchDir& dir, std::vector<std::string> options, const std::string& name,
               RunResult* run = nullptr) {
  options.push_back(dir.file("in.wav"));
  options.push_back(dir.file(name));
  const RunResult result = runRenderer(options);
  EXPECT_EQ(result.status, 0) << result.err;
  if (run != nullptr) {
    *run = result;
  }
  return readSound(dir.file(name));
}

// The peak of samples in dBFS as the report prints it.
std::string decibels(const std::vector<float>& samples) {
  float peak = 0.0f;
  for (const float v : samples) {
    peak = std::max(peak, std::fabs(v));
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", 20.0 * std::log10(peak));
  return text;
}

TEST(RenderRounding, SixteenBitsAreRoundedToNearestInEveryContainer) {
  ScratchDir dir;
  writeSound(dir.file("in.wav"), testSound(2, 60000, 0.05f), kFloatWav);
  // Quiet enough for Init to leave alone; Output's +3.37 dB makes every sample fall between
  // 16-bit steps.
  const std::vector<std::string> gain = {"--program", "Init", "--set", "Output=3.37"};
  const Sound exact = renderTo(dir, gain, "exact.wav");
  const Sound wav =
      renderTo(dir, {"-b", "16", "--program", "Init", "--set", "Output=3.37"}, "a.wav");
  double sum = 0.0;
  for (std::size_t i = 0; i < exact.samples.size(); ++i) {
    const double error = (static_cast<double>(wav.samples[i]) - exact.samples[i]) * 32768.0;
    ASSERT_LE(std::fabs(error), 0.5) << "sample " << i;
    sum += error;
  }
  EXPECT_NEAR(sum / static_cast<double>(exact.samples.size()), 0.0, 0.01);
  for (const char* other : {"b.aiff", "c.flac"}) {
    const Sound same =
        renderTo(dir, {"--bits=16", "--program", "Init", "--set", "Output=3.37"}, other);
    EXPECT_EQ(same.format & SF_FORMAT_SUBMASK, SF_FORMAT_PCM_16) << other;
    EXPECT_EQ(same.samples, wav.samples) << other;
  }
}

TEST(RenderReport, ClippingIsCountedAndTheLevelsAreThoseOfTheFile) {
  ScratchDir dir;
  writeSound(dir.file("in.wav"), testSound(2, 30000, 0.9f), kFloatWav);
  const std::vector<std::string> loud = {"--program", "Init",  "--set",
                                         "ThrLim=0",  "--set", "Output=12"};
  const Sound unclipped = renderTo(dir, loud, "float.wav");
  long long expectedClips = 0;
  for (const float v : unclipped.samples) {
    const double q = std::nearbyint(static_cast<double>(v) * 32768.0);
    expectedClips += q > 32767.0 || q < -32768.0;
  }
  ASSERT_GT(expectedClips, 0);
  std::vector<std::string> sixteen = loud;
  sixteen.insert(sixteen.begin(), {"-b", "16"});
  RunResult run;
  const Sound written = renderTo(dir, sixteen, "out.wav", &run);
  const auto errLines = lines(run.err);
  ASSERT_EQ(errLines.size(), 1u) << run.err;
  EXPECT_NE(errLines[0].find(std::to_string(expectedClips) + " samples clipped"), std::string::npos)
      << errLines[0];
  EXPECT_NE(errLines[0].find("+" + decibels(unclipped.samples) + " dBFS"), std::string::npos)
      << "peak before clipping: " << errLines[0];

  // The output column of the report's sample peak row is the file's peak.
  std::string output;
  for (const auto& line : lines(run.out)) {
    std::istringstream words(line);
    std::string first, second, input;
    if (words >> first >> second >> input && first == "Sample" && second == "peak") {
      words >> output;
    }
  }
  EXPECT_EQ(output, decibels(written.samples)) << run.out;
  EXPECT_NE(lines(run.out).back().find("x real time"), std::string::npos) << run.out;
}

} // namespace
