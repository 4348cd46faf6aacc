// zembrac-render's mastering runs as a user starts them: a loudness target under a ceiling,
// a batch with a broken file, and the report and plots checked against the files on disk.
#include "Options.h"
#include "RenderError.h"
#include "RenderHarness.h"
#include "TruePeakMeter.h"

#include <ebur128.h>
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <fstream>
#include <map>
#include <regex>

namespace {

constexpr int kWav16 = SF_FORMAT_WAV | SF_FORMAT_PCM_16;

double loudness(const Sound& s) {
  ebur128_state* st = ebur128_init(static_cast<unsigned>(s.channels),
                                   static_cast<unsigned long>(s.sampleRate), EBUR128_MODE_I);
  if (s.channels == 1) {
    ebur128_set_channel(st, 0, EBUR128_DUAL_MONO);
  }
  ebur128_add_frames_float(st, s.samples.data(), static_cast<std::size_t>(s.frames()));
  double l = 0.0;
  ebur128_loudness_global(st, &l);
  ebur128_destroy(&st);
  return l;
}

double truePeakDb(const Sound& s) {
  TruePeakMeter m(s.channels);
  m.add(s.samples.data(), static_cast<std::size_t>(s.frames()));
  return 20 * std::log10(m.peak());
}

// The numbers of one JSON record (one line of the report), by field name.
std::map<std::string, double> numbers(const std::string& line) {
  std::map<std::string, double> fields;
  const std::regex field("\"([a-z_]+)\": (-?[0-9.]+)");
  for (std::sregex_iterator it(line.begin(), line.end(), field), end; it != end; ++it) {
    fields[(*it)[1]] = std::stod((*it)[2]);
  }
  return fields;
}

// Width and height from a PNG's header chunk.
std::pair<int, int> pngSize(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  unsigned char h[24] = {};
  in.read(reinterpret_cast<char*>(h), sizeof h);
  const auto be = [&](int at) {
    return h[at] << 24 | h[at + 1] << 16 | h[at + 2] << 8 | h[at + 3];
  };
  return in && h[1] == 'P' && h[2] == 'N' && h[3] == 'G' ? std::pair{be(16), be(20)}
                                                         : std::pair{0, 0};
}

TEST(RenderMastering, BatchReachesTheTargetSurvivesABrokenFileAndReportsWhatItWrote) {
  ScratchDir dir;
  writeSound(dir.file("a.wav"), testSound(2, 4 * 44100, 0.1f), kWav16);
  writeSound(dir.file("b.wav"), testSound(1, 3 * 48000, 0.3f, 48000), kWav16);
  std::ofstream(dir.file("broken.wav")) << "not a sound file";
  const RunResult r = runRenderer({"--target-lufs", "-14", "-j", "2", "-o", dir.file("out"),
                                   "--report", dir.file("report.json"), "--plot", dir.file("plots"),
                                   dir.file("a.wav"), dir.file("broken.wav"), dir.file("b.wav")});
  EXPECT_EQ(r.status, 2) << r.err;
  EXPECT_NE(r.err.find("broken.wav"), std::string::npos) << r.err;

  std::ifstream report(dir.file("report.json"));
  std::vector<std::string> records;
  for (std::string line; std::getline(report, line);) {
    if (line.find("\"input\"") != std::string::npos) {
      records.push_back(line);
    }
  }
  ASSERT_EQ(records.size(), 3u);
  EXPECT_NE(records[1].find("\"status\": \"failed\""), std::string::npos) << records[1];
  EXPECT_FALSE(std::ifstream(dir.file("out/broken.wav")).good());
  for (const std::size_t i : {0u, 2u}) {
    const std::string name = i == 0 ? "a" : "b";
    const Sound out = readSound(dir.file("out/" + name + ".wav"));
    auto f = numbers(records[i]);
    EXPECT_EQ(out.format, kWav16);
    EXPECT_NEAR(loudness(out), -14.0, 0.1) << name;
    EXPECT_NEAR(f["output_loudness_lufs"], loudness(out), 0.005) << name;
    EXPECT_NEAR(f["output_true_peak_dbtp"], truePeakDb(out), 0.005) << name;
    EXPECT_LE(truePeakDb(out), -1.0) << name;
    const Sound in = readSound(dir.file(name + ".wav"));
    EXPECT_NEAR(f["input_loudness_lufs"], loudness(in), 0.005) << name;
    for (const char* key :
         {"input_sample_peak_dbfs", "input_loudness_range_lu", "output_max_short_term_lufs",
          "latency_samples", "max_gain_reduction_db", "clipped_samples", "seconds"}) {
      EXPECT_TRUE(f.count(key)) << key;
    }
    EXPECT_GE(f["tries"], 1);
    EXPECT_LE(f["tries"], 6);
    EXPECT_LE(f["output_trim_db"], 0.0);
    EXPECT_EQ(pngSize(dir.file("plots/" + name + ".png")), std::pair(1200, 900)) << name;
  }
}

TEST(RenderMastering, AnUnreachableTargetFailsUnlessBestEffortAndThenKeepsTheCeiling) {
  ScratchDir dir;
  writeSound(dir.file("in.wav"), testSound(2, 3 * 44100, 0.2f), kWav16);
  // The Init program's limiter holds sample peaks at -0.5 dBFS, far above -3 LUFS.
  const std::vector<std::string> args = {"--program",        "Init",
                                         "--target-lufs",    "-3",
                                         "--report",         dir.file("r.csv"),
                                         dir.file("in.wav"), dir.file("out.wav")};
  const RunResult refused = runRenderer(args);
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("cannot reach -3.0 LUFS"), std::string::npos) << refused.err;
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"in.wav"});

  std::vector<std::string> bestEffort = args;
  bestEffort.insert(bestEffort.begin(), "--best-effort");
  const RunResult r = runRenderer(bestEffort);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("LU from the target"), std::string::npos) << r.err;
  const Sound out = readSound(dir.file("out.wav"));
  EXPECT_LE(truePeakDb(out), -1.0);
  EXPECT_LT(loudness(out), -3.5);
  std::ifstream csv(dir.file("r.csv"));
  std::string header, row;
  std::getline(csv, header);
  std::getline(csv, row);
  EXPECT_EQ(std::count(header.begin(), header.end(), ','), std::count(row.begin(), row.end(), ','));
  EXPECT_NE(row.find(",best effort,"), std::string::npos) << row;
}

TEST(RenderMastering, OptionsTakeABatchAndCheckTheGoal) {
  const Options batch =
      parseOptions({"--target-lufs", "-14", "-o", "dir", "-j", "3", "a", "b", "c"});
  EXPECT_EQ(batch.inputs, (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(batch.truePeakDbtp, -1.0); // the ceiling a target brings
  EXPECT_EQ(batch.jobs, 3);
  EXPECT_FALSE(parseOptions({"--true-peak", "-2", "a", "b"}).targetLufs);
  const std::vector<std::vector<std::string>> refused = {
      {"--target-lufs", "5", "a", "b"},
      {"--true-peak", "1", "a", "b"},
      {"--best-effort", "a", "b"},
      {"-o", "dir"},
      {"-o", "dir", "-"},
      {"-j", "0", "-o", "dir", "a"},
      {"--report", "r.csv", "--no-levels", "a", "b"}};
  for (const auto& args : refused) {
    EXPECT_THROW(parseOptions(args), RenderError) << args[0];
  }
}

} // namespace
