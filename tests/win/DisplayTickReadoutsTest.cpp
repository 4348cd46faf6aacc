// The read-outs the display tick keeps up to date while a host plays audio through an open
// editor: the RMS level, the release length automatic release uses and the Output fader under
// Auto Normalize. Texts are compared with the same font drawn into a window of this program.
#include "DisplayTickHarness.h"
#include "Readout.h"
#include "ResourceIds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>

using namespace tick_harness;

namespace {

constexpr RECT kRmsRect{398, 14, 444, 28};
constexpr std::uint32_t kRmsBackground = RGB(154, 172, 194);
constexpr int kReleaseBoxX = 118;
constexpr int kReleaseBoxY = 13;
constexpr int kOutputBoxX = 398;
constexpr int kOutputBoxY = 51;
constexpr int kBoxWidth = 45;
constexpr int kBoxHeight = 12;
// Enough ticks to span several of the timer's control refreshes.
constexpr int kManyTicks = 3000;

// Draws texts the way the editor does, in a window of its own beside the host's.
class TextOracle {
public:
  TextOracle() {
    window_ = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 700, 0, 64, 32, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
    font_ = CreateFontA(14, 5, 0, 0, 0, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, "Arial");
    drainMessages();
  }
  ~TextOracle() {
    DestroyWindow(window_);
    DeleteObject(font_);
  }
  TextOracle(const TextOracle&) = delete;
  TextOracle& operator=(const TextOracle&) = delete;

  // text centred in textRect over a solid fill.
  Image onFill(int width, int height, COLORREF fill, const char* text, RECT textRect,
               COLORREF colour) const {
    HDC dc = GetDC(window_);
    HBRUSH brush = CreateSolidBrush(fill);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    return drawText(dc, width, height, text, textRect, colour);
  }
  // text centred in textRect over the read-out box face.
  Image onReadoutBox(const char* text, RECT textRect, COLORREF colour) const {
    HDC dc = GetDC(window_);
    HBITMAP box = LoadBitmapA(pluginModule(), MAKEINTRESOURCEA(IDB_READOUT));
    DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(box), 0, 0, 0, 0, 0,
               DST_BITMAP | DSS_NORMAL);
    DeleteObject(box);
    return drawText(dc, kBoxWidth, kBoxHeight, text, textRect, colour);
  }

private:
  Image drawText(HDC dc, int width, int height, const char* text, RECT textRect,
                 COLORREF colour) const {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    HGDIOBJ old = SelectObject(dc, font_);
    DrawTextA(dc, text, -1, &textRect, DT_CENTER);
    SelectObject(dc, old);
    Image image = readBitmap(dc, width, height);
    ReleaseDC(window_, dc);
    return image;
  }

  HWND window_ = nullptr;
  HFONT font_ = nullptr;
};

bool sameImage(const Image& shown, int x, int y, const Image& expected) {
  return sameBlock(shown, x, y, expected, 0, 0, expected.width, expected.height);
}

COLORREF toColorRef(Rgb c) { return RGB(c.r, c.g, c.b); }

// A read-out's text rectangle, relative to its box.
RECT boxTextRect(std::int32_t kind) {
  const PixelRect r = readoutTextRect(kind, 0, 0);
  return RECT{r.left, r.top, r.right, r.bottom};
}

class DisplayTickReadouts : public LiveEditor {
protected:
  Image rmsText(const char* text) const {
    const int w = kRmsRect.right - kRmsRect.left;
    const int h = kRmsRect.bottom - kRmsRect.top;
    return oracle.onFill(w, h, kRmsBackground, text, RECT{0, 0, w, h}, RGB(255, 255, 255));
  }
  // Whether the RMS read-out shows one of the texts.
  bool rmsShows(const Image& shown, std::initializer_list<const char*> texts) const {
    for (const char* text : texts) {
      if (sameImage(shown, kRmsRect.left, kRmsRect.top, rmsText(text))) {
        return true;
      }
    }
    return false;
  }
  Image readout(std::int32_t kind, float value, Rgb colour) const {
    ReadoutText text;
    formatReadout(kind, value, text);
    return oracle.onReadoutBox(text, boxTextRect(kind), toColorRef(colour));
  }

  TextOracle oracle;
};

TEST_F(DisplayTickReadouts, RmsShowsTheLevelOfEachTwelveTickPeriod) {
  // A full-scale square wave reads 3 dB above a full-scale sine.
  audio->play(Signal::Square, 1.0f);
  ASSERT_TRUE(tickUntil([&](const Image& shown) { return rmsShows(shown, {"3.0 dB"}); }, 40));
  audio->play(Signal::Sine, 1.0f);
  // The period that showed "3.0 dB" has just begun, so the next eleven ticks keep the text.
  for (int i = 0; i < 11; ++i) {
    tick();
    ASSERT_TRUE(rmsShows(captureWindow(editor), {"3.0 dB"})) << i;
  }
  EXPECT_TRUE(tickUntil(
      [&](const Image& shown) {
        return rmsShows(shown, {"0.0 dB", "-0.0 dB"});
      },
      25));
  audio->play(Signal::Silence, 0.0f);
  EXPECT_TRUE(tickUntil([&](const Image& shown) { return rmsShows(shown, {"-INF"}); }, 25));
}

TEST_F(DisplayTickReadouts, PaintShowsTheTickedDisplayAndTheCurrentRms) {
  fx->setParameter(kThrLim, 12.0f);
  audio->play(Signal::Square, 1.0f);
  ticks(30);
  const Image ticked = captureWindow(editor);
  InvalidateRect(editor, nullptr, FALSE);
  UpdateWindow(editor);
  const Image painted = captureWindow(editor);
  // The animated areas come back from the panel exactly as the last tick left them.
  EXPECT_TRUE(sameBlock(painted, 175, 13, ticked, 175, 13, 122, 256));
  EXPECT_TRUE(sameBlock(painted, 328, 13, ticked, 328, 13, 13, 257));
  EXPECT_TRUE(sameBlock(painted, 460, 13, ticked, 460, 13, 31, 257));
  // A square wave limited to -6 dB reads -3 dB, from the sums since the last twelfth tick.
  EXPECT_TRUE(rmsShows(painted, {"-3.0 dB"}));
}

TEST_F(DisplayTickReadouts, ReleaseReadoutShowsTheAutomaticLength) {
  // Ratio 2:1 from -6 dB with the hard curve: a full-scale square wave keeps the compressor at
  // one target, from which automatic release takes its length.
  fx->setParameter(kRatio, 4.0f);
  fx->setParameter(kThrComp, 12.0f);
  fx->setParameter(kAutoRel, 1.0f);
  const float threshold = std::pow(10.0f, -12.0f / 40.0f);
  const float target = (1.0f - threshold) / 2.0f + threshold;
  const float a = kSampleRate / 5.0f;
  const float ms = std::trunc(a / target - 0.95f * a) / (kSampleRate / 1000.0f);
  ASSERT_GT(ms, 60.0f);
  ASSERT_LT(ms, 90.0f);
  const Image manual = readout(kReadoutRelease, 250.0f, kReadoutLightBlue);

  audio->play(Signal::Square, 1.0f);
  // Many ticks: the read-out turns light blue when the timer refreshes the controls.
  EXPECT_TRUE(tickUntil(
      [&](const Image& shown) {
        for (float candidate = std::floor(ms) - 1.0f; candidate <= std::floor(ms) + 2.0f;
             ++candidate) {
          if (sameImage(shown, kReleaseBoxX, kReleaseBoxY,
                        readout(kReadoutRelease, candidate, kReadoutLightBlue))) {
            return true;
          }
        }
        return false;
      },
      kManyTicks))
      << "expected about " << ms << " ms";
  EXPECT_FALSE(sameImage(captureWindow(editor), kReleaseBoxX, kReleaseBoxY, manual));
  // The host still sees the manual length.
  char text[32] = {};
  dispatch(fx->get(), effGetParamDisplay, kRelease, 0, text);
  EXPECT_NE(std::string(text).find("250"), std::string::npos) << text;
}

TEST_F(DisplayTickReadouts, OutputFaderFollowsAutoNormalizeWithoutTellingTheHost) {
  // Normalize raises the gain by 24 dB, then lowers it to keep a half-scale sine at 0 dBFS.
  fx->setParameter(kNormalize, 1.0f);
  audio->play(Signal::Sine, 0.5f);
  const int expected = static_cast<int>(24000.0 - 20000.0 * std::log10(2.0));
  int steps = -1;
  ASSERT_TRUE(tickUntil(
      [&](const Image&) {
        steps =
            static_cast<int>(std::lround(fx->get()->getParameter(fx->get(), kOutput) * 24000.0));
        return std::abs(steps - expected) <= 2;
      },
      40))
      << steps;
  const Image followed = readout(kReadoutOutput, static_cast<float>(steps), kReadoutLightBlue);
  EXPECT_TRUE(tickUntil(
      [&](const Image& shown) { return sameImage(shown, kOutputBoxX, kOutputBoxY, followed); },
      kManyTicks));
  for (const HostRequest& r : RecordingHost::instance().requests(audioMasterAutomate)) {
    EXPECT_NE(r.index, kOutput) << "the host is not told of the followed gain";
  }

  // The output peak sits at full scale, which Auto Normalize keeps one row under.
  const Image lit = resourceBitmap(IDB_OUTPUT_METER);
  const Image face = resourceBitmap(IDB_FACE);
  ticks(10);
  for (int i = 0; i < 20; ++i) {
    tick();
    const int level = outputLevel(meterRows(captureWindow(editor), kLeftOutputMeter, lit, face));
    EXPECT_GE(level, 190) << i;
    EXPECT_LE(level, 192) << i;
  }
}

} // namespace
