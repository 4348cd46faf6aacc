// The numeric-entry boxes' texts: the opening text, reading the typed number back and what the
// number means in the fader's units.
#include "NumericEntryText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <string>

namespace {

double parse(const std::string& text) {
  // An exact-size heap copy without a terminator: reading past the text is an ASan error.
  const std::size_t n = text.size();
  std::unique_ptr<char[]> exact(new char[n == 0 ? 1 : n]);
  std::memcpy(exact.get(), text.data(), n);
  return parseEntryNumber(exact.get(), n);
}

std::string opening(EntryUnit unit, float faderValue) {
  ReadoutText text;
  std::memset(text, '#', sizeof text);
  formatEntryText(unit, faderValue, text);
  EXPECT_NE(std::memchr(text, '\0', sizeof text), nullptr);
  return text;
}

TEST(NumericEntryParse, TakesTheLeadingNumberAndIgnoresTheUnit) {
  EXPECT_DOUBLE_EQ(parse("3.3 : 1"), 3.3);
  EXPECT_DOUBLE_EQ(parse("-10.0 dB"), -10.0);
  EXPECT_DOUBLE_EQ(parse("250 ms"), 250.0);
  EXPECT_DOUBLE_EQ(parse("12\r\n"), 12.0);
  EXPECT_DOUBLE_EQ(parse("7dB"), 7.0);
}

TEST(NumericEntryParse, SkipsBlanksAndTakesASign) {
  EXPECT_DOUBLE_EQ(parse("  \t-0.5"), -0.5);
  EXPECT_DOUBLE_EQ(parse("+4.25"), 4.25);
  EXPECT_DOUBLE_EQ(parse(" 0.5"), 0.5);
  EXPECT_DOUBLE_EQ(parse("-.5"), -0.5);
  EXPECT_DOUBLE_EQ(parse("5."), 5.0);
}

TEST(NumericEntryParse, NoNumberReadsAsZero) {
  for (const char* text :
       {"", "dB", "-", "+", ".", "-.", "- 5", "--5", "\r\n", "inf", "nan", "infinity", "0x10"}) {
    const double n = parse(text);
    EXPECT_EQ(n, 0.0) << '"' << text << '"';
  }
}

TEST(NumericEntryParse, StopsAtTheFirstCharacterThatIsNoPartOfADecimalNumber) {
  EXPECT_DOUBLE_EQ(parse("1,5"), 1.0);
  EXPECT_DOUBLE_EQ(parse("1.5.7"), 1.5);
  EXPECT_DOUBLE_EQ(parse("2e3"), 2.0);
  EXPECT_DOUBLE_EQ(parse("3 4"), 3.0);
}

TEST(NumericEntryParse, ReadsNoMoreThanItIsGivenNorPastAZeroByte) {
  const char text[] = "1234567890123456789";
  EXPECT_DOUBLE_EQ(parseEntryNumber(text, kEntryReadLength), 123456789012345.0);
  EXPECT_DOUBLE_EQ(parseEntryNumber(text, 3), 123.0);
  EXPECT_DOUBLE_EQ(parseEntryNumber(text, 0), 0.0);
  const char stopped[] = {'4', '2', '\0', '7', '7'};
  EXPECT_DOUBLE_EQ(parseEntryNumber(stopped, sizeof stopped), 42.0);
  EXPECT_DOUBLE_EQ(parseEntryNumber(nullptr, 5), 0.0);
  EXPECT_DOUBLE_EQ(parse("999999999999999"), 999999999999999.0);
}

TEST(NumericEntryParse, UsesADecimalPointUnderACommaLocale) {
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  bool comma = false;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
    char probe[8];
    if (std::setlocale(LC_ALL, name) != nullptr &&
        std::snprintf(probe, sizeof probe, "%.1f", 1.5) > 0 && std::strcmp(probe, "1,5") == 0) {
      comma = true;
      break;
    }
  }
  const double point = parse("2.5 dB");
  const double withComma = parse("2,5 dB");
  ReadoutText text;
  formatEntryText(EntryUnit::Output, 21500.0f, text);
  std::setlocale(LC_ALL, previous.c_str());
  if (!comma) {
    GTEST_SKIP() << "no locale with a decimal comma is installed";
  }
  EXPECT_DOUBLE_EQ(point, 2.5);
  EXPECT_DOUBLE_EQ(withComma, 2.0);
  EXPECT_STREQ(text, "2.50 dB");
}

TEST(NumericEntryOpening, ShowsTheValueWithItsUnit) {
  EXPECT_EQ(opening(EntryUnit::Output, 4000.0f), "20.00 dB");
  EXPECT_EQ(opening(EntryUnit::Release, 10.0f), " 10 ms");
  EXPECT_EQ(opening(EntryUnit::Ratio, 6.0f), "3.0 : 1");
  EXPECT_EQ(opening(EntryUnit::Threshold, 20.0f), "-10.0 dB");
  EXPECT_EQ(opening(EntryUnit::Threshold, 0.0f), "-0.0 dB");
}

TEST(NumericEntryOpening, TheOpeningTextReadsBackAsTheSameFaderValue) {
  struct Case {
    EntryUnit unit;
    float value;
  };
  for (const Case c : {Case{EntryUnit::Output, 16000.0f}, Case{EntryUnit::Output, 24000.0f},
                       Case{EntryUnit::Release, 600.0f}, Case{EntryUnit::Ratio, 20.0f},
                       Case{EntryUnit::Threshold, 41.0f}, Case{EntryUnit::Threshold, 1.0f}}) {
    ReadoutText text;
    formatEntryText(c.unit, c.value, text);
    EXPECT_FLOAT_EQ(entryFaderValue(c.unit, parseEntryNumber(text, kEntryReadLength)), c.value)
        << text;
  }
}

TEST(NumericEntryUnits, ConvertsTheNumberToFaderUnits) {
  EXPECT_FLOAT_EQ(entryFaderValue(EntryUnit::Output, 6.0), 18000.0f);
  EXPECT_FLOAT_EQ(entryFaderValue(EntryUnit::Output, 0.0), 24000.0f);
  EXPECT_FLOAT_EQ(entryFaderValue(EntryUnit::Output, 30.0), -6000.0f);
  EXPECT_FLOAT_EQ(entryFaderValue(EntryUnit::Output, 19.99), 4010.0f);
  EXPECT_FLOAT_EQ(entryFaderValue(EntryUnit::Release, 120.5), 120.5f);
  EXPECT_FLOAT_EQ(entryFaderValue(EntryUnit::Ratio, 3.3), 6.6f);
  EXPECT_FLOAT_EQ(entryFaderValue(EntryUnit::Ratio, 0.0), 0.0f);
}

TEST(NumericEntryUnits, AThresholdMeansDecibelsBelowFullScaleWhateverItsSign) {
  EXPECT_FLOAT_EQ(entryFaderValue(EntryUnit::Threshold, 10.0), 20.0f);
  EXPECT_FLOAT_EQ(entryFaderValue(EntryUnit::Threshold, -10.0), 20.0f);
  EXPECT_FLOAT_EQ(entryFaderValue(EntryUnit::Threshold, -0.5), 1.0f);
  EXPECT_FLOAT_EQ(entryFaderValue(EntryUnit::Threshold, 0.5), 1.0f);
  EXPECT_EQ(entryFaderValue(EntryUnit::Threshold, -0.0), 0.0f);
}

TEST(NumericEntryUnits, HugeNumbersStayFinite) {
  EXPECT_EQ(entryFaderValue(EntryUnit::Output, 1e300), -std::numeric_limits<float>::max());
  EXPECT_EQ(entryFaderValue(EntryUnit::Release, 1e300), std::numeric_limits<float>::max());
  EXPECT_EQ(entryFaderValue(EntryUnit::Threshold, -1e300), std::numeric_limits<float>::max());
}

} // namespace
