// The renderer with its default plug-in, Zembrac, as the demo and the README use it.
#include "RenderHarness.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>

namespace {

constexpr int kFloatWav = SF_FORMAT_WAV | SF_FORMAT_FLOAT;

TEST(ZembracList, ShowsIdentityAllParametersAndAllPrograms) {
  const RunResult run = runRenderer({"--list"});
  ASSERT_EQ(run.status, 0) << run.err;
  for (const char* text : {"Zembrac", "HalvaroWeb", "2800", "Mastering", "'HaZm'", "2 in, 2 out",
                           "Latency     439 samples", "-36.0 to 0.0 dB in steps of 0.5",
                           "0 to 10 ms in steps of 1", "Off or On"}) {
    EXPECT_NE(run.out.find(text), std::string::npos) << text << " in\n" << run.out;
  }
  const char* names[] = {"Soft",    "Normalize", "Dither",   "Bypass", "ThrComp",
                         "Output",  "Release",   "Ratio",    "Zoom",   "---",
                         "AutoRel", "ThrLim",    "LookAhead"};
  const char* programs[] = {"Init",     "Mastering 1", "Mastering 2", "Mastering 3", "Mastering 4",
                            "Violator", "User 1",      "User 2",      "User 3"};
  const auto all = lines(run.out);
  auto rowFor = [&](int index, const std::string& name) {
    const std::string start = std::to_string(index) + "  " + name;
    return std::count_if(all.begin(), all.end(), [&](const std::string& line) {
      return line.find(start) != std::string::npos;
    });
  };
  for (int i = 0; i < 13; ++i) {
    EXPECT_GE(rowFor(i, names[i]), 1) << names[i];
  }
  for (int i = 0; i < 9; ++i) {
    EXPECT_GE(rowFor(i, programs[i]), 1) << programs[i];
  }
}

TEST(ZembracList, ShowsTheStateAfterProgramAndSettings) {
  const RunResult run = runRenderer({"--list", "--program", "Violator", "--set", "LookAhead=5"});
  ASSERT_EQ(run.status, 0) << run.err;
  // 5 ms, 500 hundredths of a millisecond: 220 slots, 219 frames of latency.
  EXPECT_NE(run.out.find("Latency     219 samples"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("-24.0"), std::string::npos) << "Violator's ThrLim:\n" << run.out;
}

// "Init" with the signal well below both thresholds and no dither: what comes out is what
// went in, once the renderer has taken the look-ahead delay off.
TEST(ZembracRender, QuietSignalThroughInitComesBackIdentical) {
  ScratchDir dir;
  const Sound in = testSound(2, 30000, 0.1f);
  writeSound(dir.file("in.wav"), in, kFloatWav);
  const RunResult run = runRenderer({"--program", "Init", dir.file("in.wav"), dir.file("out.wav")});
  ASSERT_EQ(run.status, 0) << run.err;
  const Sound out = readSound(dir.file("out.wav"));
  ASSERT_EQ(out.frames(), in.frames());
  ASSERT_EQ(out.channels, 2);
  long long mismatches = 0;
  for (std::size_t i = 0; i < in.samples.size(); ++i) {
    mismatches += out.samples[i] != in.samples[i];
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_NE(run.out.find("Latency 439 samples"), std::string::npos) << run.out;
}

TEST(ZembracRender, MonoInMonoOutSameLength) {
  ScratchDir dir;
  writeSound(dir.file("in.flac"), testSound(1, 20000, 0.8f), SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
  const RunResult run =
      runRenderer({"--program", "Mastering 1", dir.file("in.flac"), dir.file("out.flac")});
  ASSERT_EQ(run.status, 0) << run.err;
  const Sound out = readSound(dir.file("out.flac"));
  EXPECT_EQ(out.channels, 1);
  EXPECT_EQ(out.frames(), 20000);
  EXPECT_EQ(out.format, SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
}

TEST(ZembracRender, FormatFollowsTheOptionThenTheExtensionThenTheInput) {
  ScratchDir dir;
  const Sound in = testSound(2, 8000, 0.1f);
  writeSound(dir.file("in.wav"), in, kFloatWav);
  struct Case {
    std::vector<std::string> options;
    const char* output;
    int format;
  };
  const Case cases[] = {
      {{"--format", "flac"}, "a.out", SF_FORMAT_FLAC | SF_FORMAT_PCM_24}, // float: 24-bit FLAC
      {{}, "b.aiff", SF_FORMAT_AIFF | SF_FORMAT_FLOAT},                   // subtype kept
      {{}, "c", kFloatWav},                                               // as the input
      {{"--format", "WAV"}, "d.flac", kFloatWav},                         // option wins
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.options;
    args.push_back(dir.file("in.wav"));
    args.push_back(dir.file(c.output));
    const RunResult run = runRenderer(args);
    ASSERT_EQ(run.status, 0) << c.output << ": " << run.err;
    const Sound out = readSound(dir.file(c.output));
    EXPECT_EQ(out.format, c.format) << c.output;
    EXPECT_EQ(out.frames(), in.frames()) << c.output;
  }
}

TEST(ZembracRender, SummaryMeasuresBothFilesWithDecimalPointsInAnyLocale) {
  ScratchDir dir;
  // A square wave at half scale peaks at -6.02 dBFS.
  Sound in;
  in.channels = 2;
  for (int i = 0; i < 44100; ++i) {
    const float v = (i / 50) % 2 == 0 ? 0.5f : -0.5f;
    in.samples.push_back(v);
    in.samples.push_back(v);
  }
  writeSound(dir.file("in.wav"), in, kFloatWav);
  const RunResult run = runRenderer({"--program", "Init", dir.file("in.wav"), dir.file("o.wav")},
                                    {"LC_ALL=de_DE.UTF-8", "LANG=de_DE.UTF-8"});
  ASSERT_EQ(run.status, 0) << run.err;
  bool found = false;
  for (const auto& line : lines(run.out)) {
    if (line.find("Sample peak") != std::string::npos) {
      found = true;
      EXPECT_NE(line.find("-6.02"), std::string::npos) << line;
    }
  }
  EXPECT_TRUE(found) << run.out;
  EXPECT_NE(run.out.find("x real time"), std::string::npos) << run.out;
}

TEST(ZembracRender, WithoutLevelsTheSummaryOmitsThemAndTheAudioIsTheSame) {
  ScratchDir dir;
  writeSound(dir.file("in.wav"), testSound(2, 20000, 0.9f), kFloatWav);
  const RunResult measured =
      runRenderer({"--program", "Mastering 1", dir.file("in.wav"), dir.file("a.wav")});
  const RunResult quick = runRenderer(
      {"--no-levels", "--program", "Mastering 1", dir.file("in.wav"), dir.file("b.wav")});
  ASSERT_EQ(measured.status, 0) << measured.err;
  ASSERT_EQ(quick.status, 0) << quick.err;
  EXPECT_NE(measured.out.find("Loudness"), std::string::npos);
  EXPECT_EQ(quick.out.find("Loudness"), std::string::npos) << quick.out;
  EXPECT_EQ(readSound(dir.file("a.wav")).samples, readSound(dir.file("b.wav")).samples);
}

TEST(ZembracRender, QuietSaysNothingAndProgressShowsTheTimes) {
  ScratchDir dir;
  writeSound(dir.file("in.wav"), testSound(2, 20000, 0.5f), kFloatWav);
  const RunResult quiet = runRenderer({"-q", dir.file("in.wav"), dir.file("a.wav")});
  EXPECT_EQ(quiet.status, 0);
  EXPECT_EQ(quiet.out + quiet.err, "");
  const RunResult shown =
      runRenderer({"--progress", "--set", "ThrLim=-3.2", dir.file("in.wav"), dir.file("b.wav")});
  EXPECT_NE(shown.err.find("elapsed"), std::string::npos) << shown.err;
  EXPECT_NE(shown.err.find("note"), std::string::npos) << shown.err;
}

} // namespace
