// Writing texts into host buffers and formatting numbers like printf, whatever the locale.
#include "HostText.h"
#include "PluginHarness.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <locale>
#include <string>

namespace {

std::string printfFixed(double value, int width, int precision) {
  char text[64];
  std::snprintf(text, sizeof text, "%*.*f", width, precision, value);
  return text;
}

std::string formatted(double value, int width, int precision, std::size_t capacity = 64) {
  char text[64];
  std::memset(text, 'x', sizeof text);
  formatFixed(text, capacity, value, width, precision);
  return text;
}

// Sets a locale whose decimal separator is a comma for the life of the object.
class CommaLocale {
public:
  CommaLocale() {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8"}) {
      if (std::setlocale(LC_ALL, name) != nullptr) {
        char probe[16];
        std::snprintf(probe, sizeof probe, "%.1f", 1.5);
        if (std::strcmp(probe, "1,5") == 0) {
          active_ = true;
          previous_ = previous;
          try {
            std::locale::global(std::locale(name));
          } catch (...) {
            // The C locale alone already decides what printf writes.
          }
          return;
        }
      }
    }
    std::setlocale(LC_ALL, previous.c_str());
  }
  ~CommaLocale() {
    if (active_) {
      std::locale::global(std::locale::classic());
      std::setlocale(LC_ALL, previous_.c_str());
    }
  }
  bool active() const { return active_; }

private:
  bool active_ = false;
  std::string previous_;
};

} // namespace

TEST(HostText, CopiesAtMostCapacityLessOneAndTerminates) {
  char text[8];
  std::memset(text, 'x', sizeof text);
  EXPECT_TRUE(writeHostText(text, "abcdefghij", 5));
  EXPECT_STREQ(text, "abcd");
  EXPECT_EQ(text[5], 'x');
  EXPECT_TRUE(writeHostText(text, "abcd", 5));
  EXPECT_STREQ(text, "abcd");
  EXPECT_TRUE(writeHostText(text, nullptr, 5));
  EXPECT_STREQ(text, "");
  EXPECT_TRUE(writeHostText(text, "abc", 1));
  EXPECT_STREQ(text, "");
  std::memset(text, 'x', sizeof text);
  EXPECT_FALSE(writeHostText(text, "abc", 0));
  EXPECT_EQ(text[0], 'x');
  EXPECT_FALSE(writeHostText(nullptr, "abc", 5));
}

TEST(HostText, FormatsLikePrintfInTheCLocale) {
  const int formats[][2] = {{2, 1}, {2, 2}, {3, 0}, {2, 0}};
  for (const auto& f : formats) {
    for (int s = -40000; s <= 40000; s += 7) {
      for (double value : {s * 0.5, s / 1000.0, s / 100.0, s / 4.0}) {
        ASSERT_EQ(formatted(value, f[0], f[1]), printfFixed(value, f[0], f[1]))
            << value << " as %" << f[0] << '.' << f[1] << 'f';
      }
    }
  }
  // Ties go to the even neighbour, as printf does with the exact binary value.
  EXPECT_EQ(formatted(0.5, 2, 0), " 0");
  EXPECT_EQ(formatted(2.5, 2, 0), " 2");
  EXPECT_EQ(formatted(9.99, 2, 0), "10");
  EXPECT_EQ(formatted(-0.25, 2, 1), printfFixed(-0.25, 2, 1));
  EXPECT_EQ(formatted(2147507.648, 2, 2), "2147507.65");
}

TEST(HostText, FormattedTextIsCutToTheCapacity) {
  EXPECT_EQ(formatted(-2147459.648, 2, 2, 6), "-2147");
  EXPECT_EQ(formatted(1.5, 6, 1, 4), "   ");
  char text[4] = {'x', 'x', 'x', 'x'};
  EXPECT_FALSE(formatFixed(nullptr, 4, 1.0, 2, 1));
  EXPECT_FALSE(formatFixed(text, 0, 1.0, 2, 1));
  EXPECT_EQ(text[0], 'x');
}

TEST(HostText, DisplayTextsUseADecimalPointInACommaLocale) {
  const CommaLocale comma;
  if (!comma.active()) {
    GTEST_SKIP() << "no locale with a decimal comma is installed (Debian package locales-all)";
  }
  Plugin plugin;
  ASSERT_TRUE(plugin);
  plugin.dispatch(effSetProgram, 0, 4);
  EXPECT_EQ(plugin.display(kThrComp), "-20.5");
  EXPECT_EQ(plugin.display(kOutput), "16.50");
  EXPECT_EQ(plugin.display(kRatio), "6.0 : 1");
  EXPECT_EQ(plugin.display(kThrLim), "-16.5");
  for (VstInt32 p = 0; p < 9; ++p) {
    plugin.dispatch(effSetProgram, 0, p);
    for (VstInt32 i = 0; i < 13; ++i) {
      EXPECT_EQ(plugin.display(i).find(','), std::string::npos)
          << "program " << p << " parameter " << i;
    }
  }
  EXPECT_EQ(formatted(1234.5, 2, 1), "1234.5");
}
