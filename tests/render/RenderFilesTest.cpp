// How OUTPUT is treated: never replaced without -y, pipes, formats by name and extension,
// tags carried over, and inputs that end before their header says.
#include "RenderHarness.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <fstream>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kFloatWav = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
constexpr int kFlac16 = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;

mode_t modeOf(const std::string& path) {
  struct stat st {};
  stat(path.c_str(), &st);
  return st.st_mode & 07777;
}

TEST(RenderOverwrite, ExistingOutputIsKeptWithoutYesAndReplacedInPlaceWithIt) {
  ScratchDir dir;
  const Sound in = testSound(2, 2000, 0.1f);
  writeSound(dir.file("in.wav"), in, kFloatWav);
  std::ofstream(dir.file("target.wav")) << "previous result";
  chmod(dir.file("target.wav").c_str(), 0640);
  ASSERT_EQ(symlink("target.wav", dir.file("link.wav").c_str()), 0);
  for (const char* name : {"target.wav", "link.wav"}) {
    const RunResult refused = runRenderer({dir.file("in.wav"), dir.file(name)});
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("-y"), std::string::npos) << refused.err;
    EXPECT_EQ(fileBytes(dir.file("target.wav")), "previous result");
  }
  const RunResult replaced = runRenderer({"-y", dir.file("in.wav"), dir.file("link.wav")});
  ASSERT_EQ(replaced.status, 0) << replaced.err;
  struct stat link {};
  ASSERT_EQ(lstat(dir.file("link.wav").c_str(), &link), 0);
  EXPECT_TRUE(S_ISLNK(link.st_mode)) << "the link was replaced by a file";
  EXPECT_EQ(readSound(dir.file("target.wav")).frames(), in.frames());
  EXPECT_EQ(modeOf(dir.file("target.wav")), 0640u);
  EXPECT_EQ(dir.entries(), (std::vector<std::string>{"in.wav", "link.wav", "target.wav"}));
}

TEST(RenderPipes, StandardInputAndOutputCarryTheSameFileAsPaths) {
  ScratchDir dir;
  writeSound(dir.file("in.flac"), testSound(2, 20000, 0.8f), kFlac16);
  const RunResult byPath =
      runRenderer({"--program", "Mastering 1", dir.file("in.flac"), dir.file("a.flac")});
  ASSERT_EQ(byPath.status, 0) << byPath.err;
  const RunResult piped = runRenderer({"--program", "Mastering 1", "--format", "flac", "-", "-"},
                                      {}, dir.file("in.flac"));
  ASSERT_EQ(piped.status, 0) << piped.err;
  EXPECT_NE(piped.err.find("Sample peak"), std::string::npos) << "the report goes to stderr";
  std::ofstream(dir.file("b.flac"), std::ios::binary) << piped.out;
  const Sound a = readSound(dir.file("a.flac")), b = readSound(dir.file("b.flac"));
  EXPECT_EQ(b.format, kFlac16);
  EXPECT_EQ(a.samples, b.samples);
}

TEST(RenderFormats, ExtensionsNameTheFormatOrAreRefused) {
  ScratchDir dir;
  writeSound(dir.file("in.wav"), testSound(2, 48000, 0.5f, 48000), kFloatWav);
  const RunResult help = runRenderer({"--help"});
  for (const char* name : {"o.m4a", "o.mp4", "o.wma"}) {
    const RunResult run = runRenderer({dir.file("in.wav"), dir.file(name)});
    EXPECT_EQ(run.status, 2) << name;
    const std::string list = "wav, flac, aiff, caf, w64, rf64, au, ogg, opus, mp3";
    EXPECT_NE(run.err.find(list), std::string::npos) << run.err;
    EXPECT_NE(help.out.find(list), std::string::npos) << help.out;
  }
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"in.wav"});
  // Compressed formats come out as real files of their kind that decode to the same length.
  for (const auto& [name, format] : {std::pair{"o.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III},
                                     std::pair{"o.opus", SF_FORMAT_OGG | SF_FORMAT_OPUS}}) {
    const RunResult run = runRenderer({"--quality", "3", dir.file("in.wav"), dir.file(name)});
    ASSERT_EQ(run.status, 0) << run.err;
    const Sound out = readSound(dir.file(name));
    EXPECT_EQ(out.format, format) << name;
    EXPECT_EQ(out.frames(), 48000) << name;
  }
  EXPECT_EQ(runRenderer({"--quality", "3", dir.file("in.wav"), dir.file("q.flac")}).status, 2);
  EXPECT_EQ(runRenderer({"-b", "32", dir.file("in.wav"), dir.file("q.flac")}).status, 2);
}

TEST(RenderMetadata, TagsSurviveAndSoftwareNamesZembrac) {
  const SoundTags tags = {{SF_STR_TITLE, "Song"},       {SF_STR_ARTIST, "Band"},
                          {SF_STR_ALBUM, "Record"},     {SF_STR_DATE, "2024"},
                          {SF_STR_GENRE, "Rock"},       {SF_STR_TRACKNUMBER, "3"},
                          {SF_STR_COPYRIGHT, "(c) me"}, {SF_STR_COMMENT, "mastered"}};
  ScratchDir dir;
  Sound in = testSound(2, 4000, 0.5f);
  in.tags = tags;
  in.tags.emplace_back(SF_STR_LICENSE, "CC-BY");
  writeSound(dir.file("in.flac"), in, kFlac16);
  writeSound(dir.file("in.wav"), in, kFloatWav);
  for (const char* source : {"in.flac", "in.wav"}) {
    const std::string out = dir.file(std::string("from-") + source + ".flac");
    ASSERT_EQ(runRenderer({dir.file(source), out}).status, 0);
    const SoundTags held = readSound(dir.file(source)).tags; // what the source held
    ASSERT_GE(held.size(), tags.size()) << source;
    std::map<int, std::string> kept, expected(held.begin(), held.end());
    for (const auto& [id, text] : readSound(out).tags) {
      kept[id] = text;
    }
    const std::string software = kept[SF_STR_SOFTWARE];
    kept.erase(SF_STR_SOFTWARE);
    expected.erase(SF_STR_SOFTWARE);
    EXPECT_EQ(kept, expected) << source;
    EXPECT_EQ(software.rfind("Zembrac " ZEMBRAC_VERSION, 0), 0u) << software;
  }
}

TEST(RenderTruncation, InputShorterThanItsHeaderWarnsWithBothLengths) {
  ScratchDir dir;
  writeSound(dir.file("full.wav"), testSound(2, 10000, 0.5f), SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  writeSound(dir.file("full.flac"), testSound(2, 100000, 0.5f), kFlac16);
  for (const char* name : {"full.wav", "full.flac"}) {
    const std::string bytes = fileBytes(dir.file(name));
    std::ofstream(dir.file("cut"), std::ios::binary) << bytes.substr(0, bytes.size() / 3);
    const RunResult run =
        runRenderer({"--format", "wav", dir.file("cut"), dir.file("out.wav"), "-y"});
    ASSERT_EQ(run.status, 0) << run.err;
    const long long written = readSound(dir.file("out.wav")).frames();
    const std::string header = std::string(name) == "full.wav" ? "10000" : "100000";
    EXPECT_LT(written, std::stoll(header) / 2) << name;
    EXPECT_NE(run.err.find("(" + header + " frames)"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("(" + std::to_string(written) + " frames)"), std::string::npos)
        << run.err;
  }
}

} // namespace
