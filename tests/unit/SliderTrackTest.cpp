#include "TrackModel.h"
#include "TrackPaint.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The look-ahead slider: 3..999 over 57 columns, handle row 13 high.
TrackModel lookAhead() { return TrackModel(kSliderGrip, 3.0f, 999.0f, 57.0f, 13); }

// The zoom slider after the editor set the 1..20 range.
TrackModel zoom() { return TrackModel(kSliderGrip, 1.0f, 20.0f, 41.0f, 13); }

TEST(SliderTrackGrab, NinePixelsFromTheHandleGrabsTenDoesNot) {
  TrackModel slider = lookAhead();
  slider.placeHandle();
  EXPECT_FALSE(slider.grab(10, 0).taken);
  EXPECT_TRUE(slider.grab(9, 0).taken);
  EXPECT_FLOAT_EQ(slider.value(), 9.0f / 56.0f * 996.0f + 3.0f);
  EXPECT_FALSE(slider.grab(0, 13).taken); // one row below the handle
}

TEST(SliderTrackStep, MarginOfNineOnEitherEnd) {
  TrackModel slider = zoom();
  slider.setValue(10.0f);
  slider.placeHandle();
  ASSERT_EQ(slider.position(), 18);
  EXPECT_FALSE(slider.stepToward(-10, 0, 1.0f).taken);
  EXPECT_TRUE(slider.stepToward(-9, 0, 1.0f).taken);
  EXPECT_EQ(slider.value(), 9.0f);
  EXPECT_TRUE(slider.stepToward(41 + 8, 0, 1.0f).taken);
  EXPECT_FALSE(slider.stepToward(41 + 9, 0, 1.0f).taken);
  EXPECT_FALSE(slider.stepToward(18 + 9, 0, 1.0f).taken); // on the handle
  EXPECT_EQ(slider.value(), 10.0f);
}

TEST(SliderTrackStep, LookAheadStepsOfTwentyClampAtMin) {
  TrackModel slider = lookAhead();
  slider.setValue(15.0f);
  slider.placeHandle();
  slider.setValue(999.0f);
  slider.placeHandle();
  EXPECT_TRUE(slider.stepToward(0, 0, 20.0f).changed);
  EXPECT_EQ(slider.value(), 979.0f);
  slider.setValue(10.0f);
  EXPECT_TRUE(slider.stepToward(0, 0, 20.0f).changed);
  EXPECT_EQ(slider.value(), 3.0f);
}

TEST(SliderTrackRange, NewRangeClampsTheValue) {
  TrackModel slider = zoom();
  slider.setValue(15.0f);
  slider.placeHandle();
  EXPECT_TRUE(slider.setRange(1.0f, 10.0f));
  EXPECT_EQ(slider.value(), 10.0f);
  EXPECT_TRUE(slider.setRange(12.0f, 32.0f));
  EXPECT_EQ(slider.value(), 12.0f);
}

TEST(SliderTrackRange, RepaintsWhenOnlyTheHandlePixelMoves) {
  TrackModel slider = zoom();
  slider.setValue(8.0f);
  slider.placeHandle();
  const std::int32_t before = slider.position();
  EXPECT_TRUE(slider.setRange(2.0f, 32.0f)); // 8 stays, its pixel moves up
  EXPECT_EQ(slider.value(), 8.0f);
  slider.placeHandle();
  EXPECT_LT(slider.position(), before);
  EXPECT_FALSE(slider.setRange(2.0f, 32.0f));
  EXPECT_FALSE(slider.setRange(std::nanf(""), 32.0f));
  EXPECT_EQ(slider.min(), 2.0f);
}

TEST(SliderTrackPaint, HorizontalHandleAndStripAroundTheMinColumn) {
  const TrackPaintRects at3 =
      trackPaintRects(TrackAxis::horizontal, kSliderGrip, 86, 256, 0, 57.0f, 13);
  EXPECT_EQ(at3.handle, (PixelRect{75, 256, 96, 269}));
  EXPECT_EQ(at3.strip, (PixelRect{75, 256, 75 + 57 + 21, 269}));
  const TrackPaintRects atMax =
      trackPaintRects(TrackAxis::horizontal, kSliderGrip, 86, 256, 56, 57.0f, 13);
  // The strip covers the handle at either end.
  EXPECT_EQ(atMax.handle.right, atMax.strip.right - 1);
  EXPECT_EQ(at3.handle.left, at3.strip.left);
}

} // namespace
