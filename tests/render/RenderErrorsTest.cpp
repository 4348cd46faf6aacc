// Every failure ends with exit status 2, one line naming the problem, and no output file:
// neither a new one nor a stray temporary, and an existing OUTPUT is left as it was.
#include "RenderHarness.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <ostream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kFloatWav = SF_FORMAT_WAV | SF_FORMAT_FLOAT;

struct Failure {
  const char* what;
  std::vector<std::string> options;
  const char* mentions; // the message names the culprit
};

void PrintTo(const Failure& f, std::ostream* os) { *os << f.what; }

class RenderErrors : public testing::TestWithParam<Failure> {};

void expectCleanFailure(const RunResult& run, const std::string& mentions) {
  EXPECT_EQ(run.status, 2);
  const auto errLines = lines(run.err);
  ASSERT_EQ(errLines.size(), 1u) << run.err;
  EXPECT_NE(errLines[0].find(mentions), std::string::npos) << errLines[0];
  EXPECT_EQ(run.out, "");
}

TEST_P(RenderErrors, EndWithOneLineAndNoOutput) {
  const Failure& f = GetParam();
  ScratchDir dir;
  writeSound(dir.file("in.wav"), testSound(2, 1000, 0.5f), kFloatWav);
  std::vector<std::string> args = f.options;
  args.push_back(dir.file("in.wav"));
  args.push_back(dir.file("out.wav"));
  expectCleanFailure(runRenderer(args), f.mentions);
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"in.wav"});
}

INSTANTIATE_TEST_SUITE_P(
    Settings, RenderErrors,
    testing::Values(Failure{"unknown parameter", {"--set", "Threshold=3"}, "Threshold"},
                    Failure{"unknown program", {"--program", "Mastering 9"}, "Mastering 9"},
                    Failure{"program out of range", {"--program", "9"}, "'9'"},
                    Failure{"negative program", {"--program", "-1"}, "'-1'"},
                    Failure{"value not a number", {"--set", "Ratio=abc"}, "abc"},
                    Failure{"value with a comma", {"--set", "Ratio=2,5"}, "2,5"},
                    Failure{"value not finite", {"--set", "Ratio=nan"}, "nan"},
                    Failure{"value beyond float", {"--set", "Ratio=1e39"}, "1e39"},
                    Failure{"value missing", {"--set", "Ratio="}, "Ratio"},
                    Failure{"value below range", {"--set", "ThrLim=-30"}, "-24.0 to 0.0 dB"},
                    Failure{"value above range", {"--set", "ThrLim=0.5"}, "-24.0 to 0.0 dB"},
                    Failure{"no equals sign", {"--set", "Ratio"}, "NAME=VALUE"},
                    Failure{"block of zero", {"--block", "0"}, "--block"},
                    Failure{"block not a number", {"--block", "5x"}, "5x"},
                    Failure{"unknown format", {"--format", "mp9"}, "mp9"},
                    Failure{"format refusing the rate", {"--format", "opus"}, "Opus"},
                    Failure{"unknown option", {"--gain", "3"}, "--gain"},
                    Failure{"plug-in missing", {"--plugin", "/nonexistent/x.so"}, "/nonexistent"},
                    Failure{"not a plug-in", {"--plugin", "libc.so.6"}, "VSTPluginMain"}),
    [](const testing::TestParamInfo<Failure>& param) {
      std::string name = param.param.what;
      for (auto& c : name) {
        c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
      }
      return name;
    });

TEST(RenderInputErrors, ThreeChannelFileIsRefused) {
  ScratchDir dir;
  writeSound(dir.file("in.wav"), testSound(3, 1000, 0.5f), kFloatWav);
  expectCleanFailure(runRenderer({dir.file("in.wav"), dir.file("out.wav")}), "3 channels");
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"in.wav"});
}

TEST(RenderInputErrors, MissingAndUnreadableInputsAreNamed) {
  ScratchDir dir;
  expectCleanFailure(runRenderer({dir.file("absent.wav"), dir.file("out.wav")}), "absent.wav");
  std::ofstream(dir.file("junk.wav")) << "this is no sound file";
  expectCleanFailure(runRenderer({dir.file("junk.wav"), dir.file("out.wav")}), "junk.wav");
  expectCleanFailure(runRenderer({dir.file(""), dir.file("out.wav")}), "directory");
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"junk.wav"});
}

TEST(RenderInputErrors, OutputThatIsTheInputIsNeverWritten) {
  ScratchDir dir;
  const Sound in = testSound(2, 1000, 0.5f);
  writeSound(dir.file("in.wav"), in, kFloatWav);
  ASSERT_EQ(link(dir.file("in.wav").c_str(), dir.file("hard.wav").c_str()), 0);
  ASSERT_EQ(symlink("in.wav", dir.file("soft.wav").c_str()), 0);
  for (const char* other : {"in.wav", "hard.wav", "soft.wav", "./in.wav"}) {
    expectCleanFailure(runRenderer({dir.file("in.wav"), dir.file(other)}), "input");
  }
  EXPECT_EQ(readSound(dir.file("in.wav")).samples, in.samples);
  EXPECT_EQ(dir.entries(), (std::vector<std::string>{"hard.wav", "in.wav", "soft.wav"}));
}

TEST(RenderInputErrors, FailedRunLeavesAnExistingOutputAlone) {
  ScratchDir dir;
  writeSound(dir.file("in.wav"), testSound(2, 1000, 0.5f), kFloatWav);
  std::ofstream(dir.file("out.wav")) << "previous result";
  expectCleanFailure(runRenderer({"--set", "Nope=1", dir.file("in.wav"), dir.file("out.wav")}),
                     "Nope");
  std::ifstream kept(dir.file("out.wav"));
  std::string text;
  std::getline(kept, text);
  EXPECT_EQ(text, "previous result");
}

TEST(RenderInputErrors, InterruptedRenderLeavesNoTemporaryFile) {
  ScratchDir dir;
  writeSound(dir.file("in.wav"), testSound(2, 1000, 0.5f), kFloatWav);
  ScratchDir logs;
  const pid_t pid = startRenderer(
      {"--plugin", delayPluginPath(), "--set", "Stall=1", dir.file("in.wav"), dir.file("out.wav")},
      logs.file("out"), logs.file("err"));
  ASSERT_GT(pid, 0);
  // The temporary file exists before the first block, which then waits for the signal.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (dir.entries().size() < 2 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ASSERT_EQ(dir.entries().size(), 2u) << "no temporary file appeared";
  EXPECT_EQ(dir.entries()[0].rfind(".out.wav.", 0), 0u) << dir.entries()[0];
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"in.wav"});
}

TEST(RenderInputErrors, MissingOutputDirectoryIsNamed) {
  ScratchDir dir;
  writeSound(dir.file("in.wav"), testSound(2, 1000, 0.5f), kFloatWav);
  expectCleanFailure(runRenderer({dir.file("in.wav"), dir.file("no/such/out.wav")}),
                     "no/such/out.wav");
}

} // namespace
