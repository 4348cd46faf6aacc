#include "SettingsText.h"

#include <gtest/gtest.h>

namespace {

DisplaySettings unusual() {
  DisplaySettings s;
  s.normalizeCeilingIndex = 3;
  s.peakHoldTicks = 240;
  s.colourScheme = kCustomScheme;
  s.waveColours = {{{1, 2, 3}, {40, 50, 60}, {70, 80, 90}, {100, 110, 120}, {255, 0, 254}}};
  s.zoomRange = 2;
  s.displaySpeed = 3;
  return s;
}

void expectSame(const DisplaySettings& a, const DisplaySettings& b) {
  EXPECT_EQ(a.normalizeCeilingIndex.load(), b.normalizeCeilingIndex.load());
  EXPECT_EQ(a.peakHoldTicks, b.peakHoldTicks);
  EXPECT_EQ(a.colourScheme, b.colourScheme);
  EXPECT_EQ(a.waveColours, b.waveColours);
  EXPECT_EQ(a.zoomRange, b.zoomRange);
  EXPECT_EQ(a.displaySpeed, b.displaySpeed);
}

TEST(SettingsText, RoundTripsEverySettingUnderTheRegistryNames) {
  const std::string text = formatSettingsText(unusual());
  EXPECT_EQ(text, "subAN 3\nsubPH 240\nsubCO 2\nsubWZ 2\nsubDS 3\n"
                  "subIPOPTR 1 2 3 40 50 60 70 80 90 100 110 120 255 0 254\n");
  DisplaySettings read;
  ASSERT_TRUE(parseSettingsText(text, read));
  expectSame(read, unusual());
}

TEST(SettingsText, GarbledOrPartialTextsChangeOnlyWhatTheyHold) {
  const DisplaySettings before = unusual();
  for (const char* bad :
       {"subDS x\n", "subDS 1 2\n", "nonsense 1\n", "subDS\n", "subDS 2.5\n", "subIPOPTR 1 2 3\n",
        "subIPOPTR 1 2 3 4 5 6 7 8 9 10 11 12 13 14 256\n", "subAN 1\n\x01\x02garbage"}) {
    DisplaySettings s = unusual();
    EXPECT_FALSE(parseSettingsText(bad, s)) << bad;
    expectSame(s, before);
  }
  DisplaySettings s = unusual();
  ASSERT_TRUE(parseSettingsText("\nsubDS 1\r\n", s));
  EXPECT_EQ(s.displaySpeed, 1);
  EXPECT_EQ(s.peakHoldTicks, 240);
  // A hold time the meters cannot divide by falls back to the default.
  ASSERT_TRUE(parseSettingsText("subPH 0\n", s));
  EXPECT_EQ(s.peakHoldTicks, kDefaultPeakHoldTicks);
}

} // namespace
