#include "TrackModel.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The Ratio fader: 2..60 over 155 rows, handle column 20 wide.
TrackModel ratioFader() { return TrackModel(kFaderGrip, 2.0f, 60.0f, 155.0f, 20); }

// A fader whose handle was painted at offset 77 (value 31).
TrackModel placedAtMiddle() {
  TrackModel fader = ratioFader();
  fader.setValue(31.0f);
  fader.placeHandle();
  return fader;
}

TEST(FaderTrackSetValue, EqualValuesReportNoChangeSoNothingRepaints) {
  TrackModel fader = ratioFader();
  EXPECT_FALSE(fader.setValue(2.0f)); // starts at min
  EXPECT_TRUE(fader.setValue(30.0f));
  EXPECT_FALSE(fader.setValue(30.0f));
}

TEST(FaderTrackSetValue, ClampsIntoTheRangeAndRefusesNaN) {
  TrackModel fader = ratioFader();
  EXPECT_TRUE(fader.setValue(1000.0f));
  EXPECT_EQ(fader.value(), 60.0f);
  EXPECT_FALSE(fader.setValue(61.0f)); // clamps to the stored max
  EXPECT_TRUE(fader.setValue(-5.0f));
  EXPECT_EQ(fader.value(), 2.0f);
  EXPECT_FALSE(fader.setValue(std::nanf("")));
  EXPECT_EQ(fader.value(), 2.0f);
  EXPECT_TRUE(fader.setValue(INFINITY));
  EXPECT_EQ(fader.value(), 60.0f);
}

TEST(FaderTrackGrab, SixteenRowsFromTheHandleGrabsSeventeenDoesNot) {
  TrackModel fader = placedAtMiddle();
  ASSERT_EQ(fader.position(), 77);
  EXPECT_TRUE(fader.grab(77 - 16, 5).taken);
  fader = placedAtMiddle();
  EXPECT_TRUE(fader.grab(77 + 16, 5).taken);
  fader = placedAtMiddle();
  EXPECT_FALSE(fader.grab(77 - 17, 5).taken);
  EXPECT_FALSE(fader.grab(77 + 17, 5).taken);
  EXPECT_EQ(fader.value(), 31.0f);
}

TEST(FaderTrackGrab, ClickMovesTheValueToTheClickedRow) {
  TrackModel fader = placedAtMiddle();
  const ControlResponse response = fader.grab(90, 0);
  EXPECT_TRUE(response.taken);
  EXPECT_TRUE(response.changed);
  EXPECT_FLOAT_EQ(fader.value(), 90.0f / 154.0f * 58.0f + 2.0f);
  // Grabbing at the row the value already maps to is taken without a change.
  EXPECT_EQ(fader.grab(90, 0).changed, false);
}

TEST(FaderTrackGrab, OnlyTheHandleColumnAnswers) {
  TrackModel fader = placedAtMiddle();
  EXPECT_FALSE(fader.grab(77, -1).taken);
  EXPECT_FALSE(fader.grab(77, 20).taken);
  EXPECT_TRUE(fader.grab(77, 19).taken);
  EXPECT_TRUE(fader.grab(77, 0).taken);
}

TEST(FaderTrackGrab, HiddenFaderIgnoresTheMouse) {
  TrackModel fader = placedAtMiddle();
  EXPECT_TRUE(fader.setShown(false));
  EXPECT_FALSE(fader.setShown(false));
  EXPECT_FALSE(fader.grab(77, 5).taken);
  EXPECT_FALSE(fader.stepToward(0, 5, 1.0f).taken);
  EXPECT_FALSE(fader.drag(0));
  EXPECT_EQ(fader.value(), 31.0f);
}

TEST(FaderTrackDrag, BeyondEitherEndPinsTheValue) {
  TrackModel fader = placedAtMiddle();
  EXPECT_TRUE(fader.drag(-400));
  EXPECT_EQ(fader.value(), 2.0f);
  EXPECT_TRUE(fader.drag(154 + 400));
  EXPECT_EQ(fader.value(), 60.0f);
  EXPECT_FALSE(fader.drag(154));
}

TEST(FaderTrackStep, SeventeenRowsAwayIsAFineTuningClickSixteenIsTheHandle) {
  TrackModel fader = placedAtMiddle();
  EXPECT_FALSE(fader.stepToward(77 + 16, 5, 1.0f).taken);
  EXPECT_FALSE(fader.stepToward(77 - 16, 5, 1.0f).taken);
  EXPECT_TRUE(fader.stepToward(77 + 17, 5, 1.0f).taken);
  EXPECT_EQ(fader.value(), 32.0f);
  EXPECT_TRUE(fader.stepToward(77 - 17, 5, 1.0f).taken);
  EXPECT_EQ(fader.value(), 31.0f);
}

TEST(FaderTrackStep, AcceptedFromFifteenAboveTheTrackToLengthPlusFourteen) {
  TrackModel fader = placedAtMiddle();
  EXPECT_FALSE(fader.stepToward(-16, 5, 1.0f).taken);
  EXPECT_TRUE(fader.stepToward(-15, 5, 1.0f).taken);
  EXPECT_TRUE(fader.stepToward(155 + 14, 5, 1.0f).taken);
  EXPECT_FALSE(fader.stepToward(155 + 15, 5, 1.0f).taken);
  EXPECT_FALSE(fader.stepToward(0, 20, 1.0f).taken);
  EXPECT_FALSE(fader.stepToward(0, -1, 1.0f).taken);
}

TEST(FaderTrackStep, StepsStopAtTheEndsWithoutAChange) {
  // At max a click below the track's end still lies on a freshly painted handle, so the value
  // reaches max here without a repaint.
  TrackModel fader = placedAtMiddle();
  fader.setValue(60.0f);
  EXPECT_FALSE(fader.stepToward(154 + 14, 0, 1.0f).changed);
  const ControlResponse below = fader.stepToward(154 + 14, 0, 1.0f);
  EXPECT_TRUE(below.taken);
  EXPECT_FALSE(below.changed);
  EXPECT_EQ(fader.value(), 60.0f);

  TrackModel output(kFaderGrip, 0.0f, 24000.0f, 110.0f, 20);
  output.setValue(23995.0f);
  output.placeHandle();
  EXPECT_TRUE(output.stepToward(0, 0, 10.0f).changed);
  EXPECT_EQ(output.value(), 23985.0f);
  output.setValue(5.0f);
  output.placeHandle();
  EXPECT_TRUE(output.stepToward(109, 0, 10.0f).changed);
  EXPECT_EQ(output.value(), 15.0f);
  output.setValue(23995.0f);
  output.placeHandle();
  output.setValue(5.0f); // handle still painted near max: the click lies above it
  EXPECT_TRUE(output.stepToward(0, 0, 10.0f).changed);
  EXPECT_EQ(output.value(), 0.0f);
}

TEST(FaderTrackStep, TestsAgainstThePaintedHandleNotTheNewValue) {
  TrackModel fader = placedAtMiddle();
  fader.setValue(2.0f); // not painted yet: the handle is still drawn at 77
  EXPECT_FALSE(fader.stepToward(77, 5, 1.0f).taken);
  EXPECT_TRUE(fader.grab(77, 5).taken);
}

} // namespace
