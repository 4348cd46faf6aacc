// The wave display of an open editor while a host plays audio through it: envelopes in their
// colours, threshold lines, the glint, empty columns under Bypass and the redraw at a new zoom.
#include "DisplayTickHarness.h"
#include "HighlightTables.h"
#include "ResourceIds.h"

#include <gtest/gtest.h>

using namespace tick_harness;

namespace {

// The wave display on the face: 122 columns from x 175, 256 rows from y 13.
constexpr int kWaveX = 175;
constexpr int kWaveY = 13;
constexpr int kWaveColumns = 122;
constexpr int kNewestX = kWaveX + kWaveColumns - 1;

// The "Natural" scheme the fixture stores.
constexpr std::uint32_t kInput = 0x008C00;
constexpr std::uint32_t kCompressed = 0x00B400;
constexpr std::uint32_t kLimited = 0xC8DCFF;
constexpr std::uint32_t kCompThresholdLine = 0x00C800;
constexpr std::uint32_t kLimThresholdLine = 0xC80000;

// Compressor 2:1 from -6 dB with the hard curve, limiter at -10 dB: at zoom 2 a sine of 0.9
// spans rows 13..242, its compressed envelope (peak about 0.70) rows 39..216 and its limited
// one (peak 0.316) rows 88..167. The threshold lines lie at rows 64 and 191 (compressor) and
// 87 and 168 (limiter).
constexpr float kAmplitude = 0.9f;
constexpr int kInputTopRow = 13;
class DisplayTickWave : public LiveEditor {
protected:
  void SetUp() override {
    LiveEditor::SetUp();
    if (HasFatalFailure()) {
      return;
    }
    fx->setParameter(kRatio, 4.0f);
    fx->setParameter(kThrComp, 12.0f);
    fx->setParameter(kThrLim, 20.0f);
  }

  std::uint32_t wave(const Image& shown, int column, int row) const {
    return shown.at(kWaveX + column, kWaveY + row);
  }

  // Whether the column shows the three envelopes of the full-scale sine.
  bool showsEnvelopes(const Image& shown, int column) const {
    return wave(shown, column, 20) == kInput && wave(shown, column, 235) == kInput &&
           wave(shown, column, 50) == kCompressed && wave(shown, column, 210) == kCompressed &&
           wave(shown, column, 128) == kLimited && wave(shown, column, 100) == kLimited;
  }

  Image face = resourceBitmap(IDB_FACE);
};

TEST_F(DisplayTickWave, NewestColumnShowsTheThreeEnvelopesOverTheFace) {
  audio->play(Signal::Sine, kAmplitude);
  // The tick that takes the first peaks shows them at once.
  tick();
  const Image shown = captureWindow(editor);
  ASSERT_TRUE(showsEnvelopes(shown, kWaveColumns - 1));
  EXPECT_FALSE(showsEnvelopes(shown, kWaveColumns - 2));
  // Outside the input envelope the face shows through.
  for (int row : {0, kInputTopRow - 1, 243, 255}) {
    EXPECT_EQ(wave(shown, kWaveColumns - 1, row), face.at(kNewestX, kWaveY + row)) << row;
  }
  EXPECT_EQ(wave(shown, kWaveColumns - 1, kInputTopRow), kInput);
  EXPECT_EQ(wave(shown, kWaveColumns - 1, 242), kInput);
  // Columns the sine has not reached yet are still empty.
  EXPECT_EQ(shown.at(kWaveX + 60, kWaveY + 128), face.at(kWaveX + 60, kWaveY + 128));
}

TEST_F(DisplayTickWave, ThresholdLinesCrossTheWholeDisplay) {
  audio->play(Signal::Sine, kAmplitude);
  ticks(3);
  const Image shown = captureWindow(editor);
  for (int column : {0, 60, kWaveColumns - 1}) {
    EXPECT_EQ(wave(shown, column, 64), kCompThresholdLine) << column;
    EXPECT_EQ(wave(shown, column, 191), kCompThresholdLine) << column;
    EXPECT_EQ(wave(shown, column, 87), kLimThresholdLine) << column;
    EXPECT_EQ(wave(shown, column, 168), kLimThresholdLine) << column;
  }
  EXPECT_NE(wave(shown, 60, 63), kCompThresholdLine);
  EXPECT_NE(wave(shown, 60, 86), kLimThresholdLine);
}

TEST_F(DisplayTickWave, EnvelopesScrollLeftOneColumnPerTickAndTheCornerKeepsItsGlint) {
  audio->play(Signal::Sine, kAmplitude);
  ticks(kWaveColumns + 2);
  const Image shown = captureWindow(editor);
  for (int column = 0; column < kWaveColumns; ++column) {
    ASSERT_TRUE(showsEnvelopes(shown, column)) << column;
  }

  // Every tick composes the corner anew and lays the same reflection on it.
  const Image mask = resourceBitmap(IDB_HIGHLIGHT_MASK);
  HighlightTables glint;
  for (int x = 0; x < HighlightTables::kMaskWidth; ++x) {
    for (int y = 0; y < HighlightTables::kMaskHeight; ++y) {
      glint.setMask(x, y, static_cast<std::uint8_t>(mask.at(x, y) >> 16));
    }
  }
  auto blended = [&](std::uint32_t rgb, int x, int y) {
    const std::uint32_t bgr = ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16);
    const std::uint32_t out = glint.blend(bgr, x, y);
    return ((out & 0xFF) << 16) | (out & 0xFF00) | (out >> 16);
  };
  int brighter = 0;
  for (int x = 0; x < HighlightTables::kGlintWidth; ++x) {
    for (int y = 0; y < HighlightTables::kGlintHeight; ++y) {
      const std::uint32_t composed = y < kInputTopRow ? face.at(kWaveX + x, kWaveY + y) : kInput;
      ASSERT_EQ(wave(shown, x, y), blended(composed, x, y)) << x << "," << y;
      brighter += wave(shown, x, y) != composed ? 1 : 0;
    }
  }
  EXPECT_GT(brighter, 50) << "the mask lights the corner";
  EXPECT_EQ(wave(shown, HighlightTables::kGlintWidth, kInputTopRow), kInput);
  EXPECT_EQ(wave(shown, 5, HighlightTables::kGlintHeight), kInput);
}

TEST_F(DisplayTickWave, BypassScrollsInEmptyColumns) {
  audio->play(Signal::Sine, kAmplitude);
  ASSERT_TRUE(
      tickUntil([&](const Image& shown) { return showsEnvelopes(shown, kWaveColumns - 1); }, 20));
  fx->setParameter(kBypass, 1.0f);
  ticks(3);
  const Image shown = captureWindow(editor);
  for (int row = 0; row < 256; ++row) {
    if (row == 64 || row == 191 || row == 87 || row == 168) {
      continue;
    }
    ASSERT_EQ(wave(shown, kWaveColumns - 1, row), face.at(kNewestX, kWaveY + row)) << row;
  }
  // The last column before Bypass, moved on by the three empty ones.
  EXPECT_TRUE(showsEnvelopes(shown, kWaveColumns - 4));
}

TEST_F(DisplayTickWave, NewZoomRedrawsTheWholeHistory) {
  audio->play(Signal::Sine, kAmplitude);
  ticks(kWaveColumns);
  ASSERT_TRUE(showsEnvelopes(captureWindow(editor), 10));
  audio->play(Signal::Silence, 0.0f);
  // At zoom 4 the limited envelope of the old columns reaches row 48 (it was at 88) and the
  // compressed one fills the display edge to edge; columns of silence stay empty.
  fx->setParameter(kZoom, 4.0f);
  EXPECT_TRUE(tickUntil(
      [&](const Image& shown) {
        return wave(shown, 10, 50) == kLimited && wave(shown, 10, 20) == kCompressed;
      },
      50));
  ticks(2); // the first tick after the switch may still see the sine's last blocks
  const Image shown = captureWindow(editor);
  EXPECT_EQ(wave(shown, kWaveColumns - 1, 128), face.at(kNewestX, kWaveY + 128));
}

} // namespace
