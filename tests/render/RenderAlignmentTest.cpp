// Latency removal and channel routing, checked exactly against a plug-in that delays by a
// known number of frames, scales by Gain and inverts the right side.
#include "RenderHarness.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <tuple>

namespace {

constexpr int kFloatWav = SF_FORMAT_WAV | SF_FORMAT_FLOAT;

// Renders in through the delay plug-in and returns what came out.
Sound renderDelay(const ScratchDir& dir, const Sound& in, std::vector<std::string> options) {
  writeSound(dir.file("in.wav"), in, kFloatWav);
  options.insert(options.begin(), {"--plugin", delayPluginPath()});
  options.push_back(dir.file("in.wav"));
  options.push_back(dir.file("out.wav"));
  const RunResult run = runRenderer(options);
  EXPECT_EQ(run.status, 0) << run.err;
  return readSound(dir.file("out.wav"));
}

void expectScaled(const Sound& in, const Sound& out, float gain) {
  ASSERT_EQ(out.channels, in.channels);
  ASSERT_EQ(out.frames(), in.frames());
  for (long long i = 0; i < in.frames(); ++i) {
    for (int c = 0; c < in.channels; ++c) {
      const float sign = c == 0 ? 1.0f : -1.0f;
      ASSERT_EQ(out.at(i, c), sign * gain * in.at(i, c)) << "frame " << i << " channel " << c;
    }
  }
}

class RenderAlignment : public testing::TestWithParam<std::tuple<int, int, long long>> {};

TEST_P(RenderAlignment, OutputLinesUpWithInputWhateverBlockAndLatency) {
  const auto [block, delay, frames] = GetParam();
  ScratchDir dir;
  const Sound in = testSound(2, frames, 0.5f);
  const Sound out = renderDelay(
      dir, in, {"--block", std::to_string(block), "--set", "Delay=" + std::to_string(delay)});
  expectScaled(in, out, 1.0f);
}

INSTANTIATE_TEST_SUITE_P(
    BlocksAndDelays, RenderAlignment,
    testing::Values(std::make_tuple(512, 0, 5000LL),     // no latency at all
                    std::make_tuple(512, 100, 5000LL),   // latency inside the first block
                    std::make_tuple(64, 1000, 5000LL),   // latency over many blocks
                    std::make_tuple(4096, 4095, 4097LL), // one frame past a block
                    std::make_tuple(1, 7, 300LL),        // one frame per call
                    std::make_tuple(512, 3000, 1200LL),  // file shorter than the latency
                    std::make_tuple(512, 100, 1LL)));    // a single frame

TEST(RenderRouting, MonoIsProcessedAsAnEqualPairAndWrittenBackAsMono) {
  ScratchDir dir;
  const Sound in = testSound(1, 3000, 0.5f);
  const Sound out = renderDelay(dir, in, {});
  // The left side comes back; the inverted right side would show as a sign flip.
  expectScaled(in, out, 1.0f);
}

TEST(RenderRouting, ProgramComesFirstAndSettingsOverrideItInOrder) {
  ScratchDir dir;
  const Sound in = testSound(2, 4000, 0.25f);
  // "Half Gain" sets gain 0.5 and delay 1000; the settings then win, the last one last,
  // wherever --program stands.
  const Sound out = renderDelay(
      dir, in,
      {"--set", "Gain=4", "--set", "gain=2", "--set", " Delay = 250", "--program", "half gain"});
  expectScaled(in, out, 2.0f);
}

TEST(RenderRouting, ProgramByNumberAppliesItsLatency) {
  ScratchDir dir;
  const Sound in = testSound(2, 4000, 0.25f);
  const Sound out = renderDelay(dir, in, {"--program", "1"});
  expectScaled(in, out, 0.5f);
}

TEST(RenderRouting, SummaryReportsTheLatencyItRemoved) {
  ScratchDir dir;
  writeSound(dir.file("in.wav"), testSound(2, 2000, 0.5f), kFloatWav);
  const RunResult run = runRenderer({"--plugin", delayPluginPath(), "--set", "Delay=321",
                                     dir.file("in.wav"), dir.file("out.wav")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Latency 321 samples"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Delay"), std::string::npos) << "settings are echoed: " << run.out;
}

} // namespace
