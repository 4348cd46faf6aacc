// The command line, parsed without running anything.
#include "Options.h"
#include "RenderError.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

Options parse(std::vector<std::string> args) { return parseOptions(args); }

TEST(RenderOptions, ValuesGoWithSpaceOrEqualsAndSettingsKeepTheirOrder) {
  const Options o = parse({"--plugin=/x.so", "--program", "Mastering 1", "--set", "ThrLim=20",
                           "--set=Ratio = 6", "--block", "256", "--format=flac", "-b", "16",
                           "--set-raw", "3=0.5", "--quality=7", "-y", "-q", "in", "out"});
  EXPECT_EQ(o.pluginPath, "/x.so");
  EXPECT_EQ(o.program, "Mastering 1");
  ASSERT_EQ(o.settings.size(), 2u);
  EXPECT_EQ(o.settings[0].name, "ThrLim");
  EXPECT_EQ(o.settings[0].value, "20");
  EXPECT_EQ(o.settings[1].name, "Ratio");
  EXPECT_EQ(o.settings[1].value, "6");
  EXPECT_EQ(o.blockSize, 256);
  EXPECT_EQ(o.format, "flac");
  EXPECT_EQ(o.bits, "16");
  ASSERT_EQ(o.rawSettings.size(), 1u);
  EXPECT_EQ(o.rawSettings[0].index, 3);
  EXPECT_EQ(o.rawSettings[0].value, 0.5f);
  EXPECT_EQ(o.quality, 7.0);
  EXPECT_TRUE(o.overwrite && o.quiet);
  EXPECT_EQ(o.input, "in");
  EXPECT_EQ(o.output, "out");
}

TEST(RenderOptions, DoubleDashEndsOptionsForFileNamesThatLookLikeThem) {
  const Options o = parse({"--", "--in.wav", "-out.wav"});
  EXPECT_EQ(o.input, "--in.wav");
  EXPECT_EQ(o.output, "-out.wav");
}

TEST(RenderOptions, WrongCountsOfFilesAreRefused) {
  EXPECT_THROW(parse({}), RenderError);
  EXPECT_THROW(parse({"in"}), RenderError);
  EXPECT_THROW(parse({"a", "b", "c"}), RenderError);
  EXPECT_THROW(parse({"--list", "in"}), RenderError);
  EXPECT_NO_THROW(parse({"--list"}));
  EXPECT_TRUE(parse({"--help", "stray"}).help);
  EXPECT_TRUE(parse({"-V"}).version);
  const Options pipes = parse({"-", "-"});
  EXPECT_EQ(pipes.input, "-");
  EXPECT_EQ(pipes.output, "-");
}

TEST(RenderOptions, OptionMissingItsValueIsNamed) {
  try {
    parse({"in", "out", "--block"});
    FAIL() << "no error";
  } catch (const RenderError& e) {
    EXPECT_NE(std::string(e.what()).find("--block"), std::string::npos) << e.what();
  }
}

TEST(RenderOptions, BlockSizeStaysWithinItsRange) {
  EXPECT_EQ(parse({"--block", "1", "a", "b"}).blockSize, 1);
  EXPECT_EQ(parse({"--block", "65536", "a", "b"}).blockSize, 65536);
  for (const char* bad : {"0", "-5", "65537", "512.0", "", "99999999999999999999"}) {
    EXPECT_THROW(parse({"--block", bad, "a", "b"}), RenderError) << bad;
  }
  for (const char* bad : {"8", "20", "double", ""}) {
    EXPECT_THROW(parse({"--bits", bad, "a", "b"}), RenderError) << bad;
  }
  for (const char* bad : {"-1", "10.5", "high"}) {
    EXPECT_THROW(parse({"--quality", bad, "a", "b"}), RenderError) << bad;
  }
  for (const char* bad : {"x=1", "-1=0", "3", "3=nan"}) {
    EXPECT_THROW(parse({"--set-raw", bad, "a", "b"}), RenderError) << bad;
  }
}

TEST(RenderOptions, ProgressFollowsTheLastSwitch) {
  EXPECT_FALSE(parse({"a", "b"}).progress.has_value());
  EXPECT_EQ(parse({"--progress", "--no-progress", "a", "b"}).progress, false);
  EXPECT_EQ(parse({"--no-progress", "--progress", "a", "b"}).progress, true);
}

TEST(RenderNumbers, AcceptPlainDecimalAndExponentForms) {
  EXPECT_EQ(parseNumber("999"), 999.0);
  EXPECT_EQ(parseNumber("+0.25"), 0.25);
  EXPECT_EQ(parseNumber("-1.5e2"), -150.0);
  EXPECT_EQ(parseNumber(".5"), 0.5);
  for (const char* bad : {"", "+", "1.5x", "0x10", "inf", "-nan", "1e400", " 1", "1 "}) {
    EXPECT_FALSE(parseNumber(bad).has_value()) << bad;
  }
}

TEST(RenderNumbers, IgnoreTheProcessLocale) {
  const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr &&
      std::setlocale(LC_NUMERIC, "fr_FR.UTF-8") == nullptr) {
    GTEST_SKIP() << "no comma locale installed";
  }
  const auto point = parseNumber("0.75");
  const auto comma = parseNumber("0,75");
  std::setlocale(LC_NUMERIC, previous.c_str());
  EXPECT_EQ(point, 0.75);
  EXPECT_FALSE(comma.has_value());
}

TEST(RenderNumbers, TrimmedDropsBlanksAndTabsOnly) {
  EXPECT_EQ(trimmed("  Soft     "), "Soft");
  EXPECT_EQ(trimmed("\tUser 1\t"), "User 1");
  EXPECT_EQ(trimmed("   "), "");
}

} // namespace
