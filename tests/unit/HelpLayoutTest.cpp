// The manual's layout: headings on the lines of their bands, blocks that do not run into each
// other, the texts the manual must carry, and the scroll arithmetic of the help window.
#include "HelpLayout.h"
#include "HelpTexts.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

std::vector<std::string> linesOf(const char* text) {
  std::vector<std::string> lines;
  const std::string s = text;
  for (std::size_t start = 0; start < s.size();) {
    const std::size_t end = s.find('\n', start);
    lines.push_back(s.substr(start, end - start));
    start = end == std::string::npos ? s.size() : end + 1;
  }
  return lines;
}

// Every line of the manual by its line number in the window.
std::map<int, std::string> manualLines() {
  std::map<int, std::string> lines;
  for (const HelpBlock& block : kHelpBlocks) {
    int n = block.firstLine;
    for (const std::string& line : linesOf(block.text)) {
      lines[n++] = line;
    }
  }
  return lines;
}

std::string manualText() {
  std::string all;
  for (const auto& [number, line] : manualLines()) {
    all += line + "\n";
  }
  return all;
}

} // namespace

TEST(HelpLayout, EveryBandLiesBehindItsHeading) {
  const char* const headings[] = {"1. Zembrac features",
                                  "Hints :",
                                  "2. Zembrac controls",
                                  "Threshold faders",
                                  "Ratio fader",
                                  "Release fader",
                                  "Reduction level display",
                                  "Soft switch",
                                  "Auto Normalize switch",
                                  "Final dither",
                                  "Bypass",
                                  "Output fader",
                                  "Output level display",
                                  "WaveDisplay",
                                  "LookAhead fader",
                                  "RMS Display",
                                  "3. How to use Zembrac ?"};
  static_assert(std::size(headings) == kHelpBands.size());
  const std::map<int, std::string> lines = manualLines();
  for (std::size_t i = 0; i < kHelpBands.size(); ++i) {
    const int line = kHelpBands[i].firstLine;
    ASSERT_TRUE(lines.count(line) != 0) << headings[i];
    EXPECT_EQ(lines.at(line), headings[i]) << "line " << line;
    if (kHelpBands[i].height == kHelpMainBandHeight) {
      // A main band reaches into the lines around its heading; they stay empty.
      EXPECT_TRUE(lines.count(line - 1) == 0 || lines.at(line - 1).empty()) << line - 1;
      EXPECT_TRUE(lines.count(line + 1) == 0 || lines.at(line + 1).empty()) << line + 1;
    }
  }
}

TEST(HelpLayout, BlocksStayInOrderAndInsideTheScrollRange) {
  for (std::size_t i = 0; i < kHelpBlocks.size(); ++i) {
    const int lines = static_cast<int>(linesOf(kHelpBlocks[i].text).size());
    const int end = i + 1 < kHelpBlocks.size() ? kHelpBlocks[i + 1].firstLine
                                               : kHelpLastFirstLine + 32; // 32 full lines show
    EXPECT_LE(kHelpBlocks[i].firstLine + lines, end) << "block " << i << " runs into the next";
  }
  EXPECT_EQ(kHelpBlocks[0].firstLine, 0);
  EXPECT_EQ(kHelpBlocks[1].firstLine, 32);
  EXPECT_EQ(kHelpBlocks[2].firstLine, 65);
  EXPECT_EQ(kHelpBlocks[3].firstLine, 96);
  EXPECT_EQ(kHelpBlocks[4].firstLine, 127);
}

TEST(HelpLayout, ManualCarriesTheHintsAndRulesUsersLookFor) {
  const std::string text = manualText();
  for (const char* phrase : {
           "\"slip through\"",
           "Click above or below a fader handle for fader fine tuning",
           "Click on a parameter display for direct numeric input",
           "Click on the meters to reset peak memory",
           "\"Threshold\"",
           "HKEY_CURRENT_USER\\Software\\HalvaroPlugIns\\Zembrac",
           "- Don't overcompress your mix !",
           "oo:1",
           "Follow the rule : Always Dither last !",
           "That's it !",
           "0, -0.01, -0.05 or -0.09 dBFS",
       }) {
    EXPECT_NE(text.find(phrase), std::string::npos) << phrase;
  }
  EXPECT_EQ(std::string(kHelpBlocks[0].text).rfind("\n1. Zembrac features\n", 0), 0u)
      << "the manual opens with an empty line and the first heading";
}

TEST(HelpLayout, InfoTextNamesVersionMakerAndInterface) {
  const std::string info = kInfoText;
  EXPECT_EQ(info.rfind("Zembrac version 2.75 x64", 0), 0u);
  const std::string firstLine = info.substr(0, info.find('\n'));
  EXPECT_NE(firstLine.find("HalvaroWeb"), std::string::npos);
  const std::string tail = "\n\nVST PlugIn Technology by Steinberg";
  ASSERT_GT(info.size(), tail.size());
  EXPECT_EQ(info.substr(info.size() - tail.size()), tail);
  EXPECT_STREQ(kInfoCaption, "Info");
}

TEST(HelpLayout, MainBandsRiseAboveTheirLineAndFollowTheScroll) {
  EXPECT_EQ(helpBandTop(HelpBand{14, kHelpSubBandHeight}, 0), 196);
  EXPECT_EQ(helpBandTop(HelpBand{14, kHelpSubBandHeight}, 10), 56);
  EXPECT_EQ(helpBandTop(HelpBand{1, kHelpMainBandHeight}, 0), 9);
  EXPECT_EQ(helpBandTop(HelpBand{127, kHelpMainBandHeight}, 121), 79);
  EXPECT_EQ(helpBandTop(HelpBand{1, kHelpMainBandHeight}, 121), -1685);
}

TEST(HelpScroll, MovesByLineAndPageAndStopsAtBothEnds) {
  using R = HelpScrollRequest;
  const auto target = [](R request, int first) {
    return helpScrollTarget(static_cast<int>(request), 0, first);
  };
  EXPECT_EQ(target(R::lineDown, 0), 1);
  EXPECT_EQ(target(R::lineUp, 1), 0);
  EXPECT_EQ(target(R::lineUp, 0), 0);
  EXPECT_EQ(target(R::lineDown, 121), 121);
  EXPECT_EQ(target(R::pageDown, 100), 108);
  EXPECT_EQ(target(R::pageDown, 118), 121);
  EXPECT_EQ(target(R::pageUp, 50), 42);
  EXPECT_EQ(target(R::pageUp, 5), 0);
  EXPECT_EQ(kHelpLastFirstLine, 121);
}

TEST(HelpScroll, ThumbTrackingFollowsTheThumbOtherRequestsDoNothing) {
  EXPECT_EQ(helpScrollTarget(static_cast<int>(HelpScrollRequest::thumbTrack), 60, 10), 60);
  EXPECT_EQ(helpScrollTarget(static_cast<int>(HelpScrollRequest::thumbTrack), 0, 77), 0);
  EXPECT_EQ(helpScrollTarget(static_cast<int>(HelpScrollRequest::thumbTrack), 154, 77), 121);
  EXPECT_EQ(helpScrollTarget(static_cast<int>(HelpScrollRequest::thumbPosition), 60, 10), 10);
  for (int other : {6, 7, 8, -1, 99}) { // top, bottom, end of scroll, nonsense
    EXPECT_EQ(helpScrollTarget(other, 60, 10), 10) << other;
  }
}
