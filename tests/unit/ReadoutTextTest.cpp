#include "Readout.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <string>

namespace {

std::string readout(std::int32_t kind, float value) {
  ReadoutText text;
  std::memset(text, '#', sizeof text);
  formatReadout(kind, value, text);
  EXPECT_NE(std::memchr(text, '\0', sizeof text), nullptr);
  return text;
}

TEST(ReadoutTextKinds, EachKindScalesAndLabelsItsNumber) {
  EXPECT_EQ(readout(kReadoutCompThreshold, 72.0f), "-36.0 dB");
  EXPECT_EQ(readout(kReadoutCompThreshold, 1.0f), "-0.5 dB");
  EXPECT_EQ(readout(kReadoutRatio, 60.0f), "30.0 : 1");
  EXPECT_EQ(readout(kReadoutRatio, 2.0f), "1.0 : 1");
  EXPECT_EQ(readout(kReadoutRelease, 250.0f), "250 ms");
  EXPECT_EQ(readout(kReadoutOutput, 0.0f), "24.00 dB");
  EXPECT_EQ(readout(kReadoutOutput, 24000.0f), "0.00 dB");
  EXPECT_EQ(readout(kReadoutOutput, 20000.0f), "4.00 dB");
  EXPECT_EQ(readout(kReadoutLimThreshold, 48.0f), "-24.0 dB");
}

TEST(ReadoutTextKinds, NegativeZeroKeepsItsSign) {
  EXPECT_EQ(readout(kReadoutLimThreshold, 0.0f), "-0.0 dB");
  EXPECT_EQ(readout(kReadoutCompThreshold, 0.0f), "-0.0 dB");
}

TEST(ReadoutTextWidth, ShortReleaseTimesArePaddedToThreeDigits) {
  EXPECT_EQ(readout(kReadoutRelease, 10.0f), " 10 ms");
  EXPECT_EQ(readout(kReadoutRelease, 999.0f), "999 ms");
  EXPECT_EQ(readout(kReadoutRelease, 99.4f), " 99 ms");
}

TEST(ReadoutTextBounds, HugeNumbersAreCutInsideTheBuffer) {
  const std::string text = readout(kReadoutOutput, -1e30f);
  EXPECT_EQ(text.size(), static_cast<std::size_t>(kReadoutTextCapacity - 1));
  EXPECT_EQ(text.find_first_not_of("0123456789"), std::string::npos);
  EXPECT_EQ(readout(0, 5.0f), "");
  EXPECT_EQ(readout(6, 5.0f), "");
}

TEST(ReadoutTextLocale, DecimalPointUnderACommaLocale) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous != nullptr ? previous : "C";
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr &&
      std::setlocale(LC_NUMERIC, "fr_FR.UTF-8") == nullptr) {
    GTEST_SKIP() << "no comma locale installed";
  }
  EXPECT_EQ(readout(kReadoutOutput, 12340.0f), "11.66 dB");
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(ReadoutColour, ReleaseTurnsBlueOnlyForAutoReleaseExactlyOne) {
  EXPECT_EQ(readoutColour(kReadoutRelease, 1.0f, 0), kReadoutLightBlue);
  EXPECT_EQ(readoutColour(kReadoutRelease, 0.99999f, 0), kReadoutWhite);
  EXPECT_EQ(readoutColour(kReadoutRelease, 0.0f, 1), kReadoutWhite);
}

TEST(ReadoutColour, OutputTurnsBlueForAnyNonZeroFlag) {
  EXPECT_EQ(readoutColour(kReadoutOutput, 1.0f, 0), kReadoutWhite);
  EXPECT_EQ(readoutColour(kReadoutOutput, 0.0f, 1), kReadoutLightBlue);
  EXPECT_EQ(readoutColour(kReadoutOutput, 0.0f, -7), kReadoutLightBlue);
}

TEST(ReadoutColour, LimiterRedCompressorAndRatioWhite) {
  EXPECT_EQ(readoutColour(kReadoutLimThreshold, 0.0f, 0), kReadoutLightRed);
  EXPECT_EQ(readoutColour(kReadoutCompThreshold, 1.0f, 1), kReadoutWhite);
  EXPECT_EQ(readoutColour(kReadoutRatio, 1.0f, 1), kReadoutWhite);
}

TEST(ReadoutArea, FortyFiveColumnsAndFifteenRows) {
  int hits = 0;
  for (int py = 0; py < 40; ++py) {
    for (int px = 0; px < 80; ++px) {
      hits += readoutHit(14, 13, px, py) ? 1 : 0;
    }
  }
  EXPECT_EQ(hits, 45 * 15);
  EXPECT_TRUE(readoutHit(14, 13, 14, 13));
  EXPECT_TRUE(readoutHit(14, 13, 14 + 44, 13 + 14));
  EXPECT_FALSE(readoutHit(14, 13, 14 + 45, 13));
  EXPECT_FALSE(readoutHit(14, 13, 14, 13 + 15));
  EXPECT_FALSE(readoutHit(14, 13, 13, 13));
  EXPECT_FALSE(readoutHit(14, 13, 14, 12));
}

TEST(ReadoutArea, TextRectangleShiftsRightForOutput) {
  EXPECT_EQ(readoutTextRect(kReadoutRatio, 66, 13), (PixelRect{67, 14, 111, 27}));
  EXPECT_EQ(readoutTextRect(kReadoutOutput, 398, 51), (PixelRect{400, 52, 443, 65}));
}

} // namespace
