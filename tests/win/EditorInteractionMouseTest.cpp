// The editor under the mouse, through real window messages: drags with the threshold
// couplings, fine tuning beside a handle and the switches, each change reported to the host
// once with its index and normalized value. Needs a display (xvfb-run).
#include "EditorInteraction.h"

using namespace interaction;

namespace {

class EditorMouse : public EditorInteraction {};

TEST_F(EditorMouse, DraggingTheCompressorThresholdAboveTheLimiterRaisesTheLimiter) {
  open({{kThrComp, 60.0f}, {kThrLim, 48.0f}});
  const int x = kThrCompFader.x + 10;
  const int grabbed = kThrCompFader.offsetOf(60.0f);
  down(x, kThrCompFader.y + grabbed);
  const auto grabbedSteps = static_cast<float>(kThrCompFader.stepsAt(grabbed));
  EXPECT_EQ(reports(), (Reports{{kThrComp, grabbedSteps / 72}}))
      << "a grab sets the clicked pixel's value; the limiter lies above it";
  move(x, kThrCompFader.y + kThrCompFader.offsetFor(40));
  up(x, kThrCompFader.y + kThrCompFader.offsetFor(40));
  EXPECT_EQ(reports(), (Reports{{kThrComp, 40.0f / 72}, {kThrLim, 40.0f / 48}}));
  EXPECT_EQ(display(kThrLim), "-20.0");
  EXPECT_EQ(display(kThrComp), "-20.0");
}

TEST_F(EditorMouse, DraggingTheLimiterBelowTheCompressorPushesTheCompressorDown) {
  open({{kThrLim, 10.0f}}); // the compressor threshold is at 20 steps
  const int x = kThrLimFader.x + 6;
  const int grabbed = kThrLimFader.offsetOf(10.0f);
  down(x, kThrLimFader.y + grabbed);
  EXPECT_EQ(reports(),
            (Reports{{kThrLim, static_cast<float>(kThrLimFader.stepsAt(grabbed)) / 48}}));
  move(x, kThrLimFader.y + kThrLimFader.offsetFor(44));
  up(x, kThrLimFader.y + kThrLimFader.offsetFor(44));
  EXPECT_EQ(reports(), (Reports{{kThrLim, 44.0f / 48}, {kThrComp, 44.0f / 72}}));
  EXPECT_FLOAT_EQ(parameter(kThrComp), 44.0f / 72);
}

TEST_F(EditorMouse, ADragGoesOnOutsideTheWindowAndStopsAtTheTrackEnds) {
  open({{kRatio, 30.0f}});
  const int x = kRatioFader.x + 10;
  down(x, kRatioFader.y + kRatioFader.offsetOf(30.0f));
  reports();
  // Above the window: y is negative, not a large unsigned number.
  move(-300, -20);
  EXPECT_EQ(reports(), (Reports{{kRatio, 2.0f / 60}}));
  move(600, 400);
  EXPECT_EQ(reports(), (Reports{{kRatio, 0.99999f}}));
  up(600, 400);
  EXPECT_EQ(display(kRatio), "30.0 : 1");
}

TEST_F(EditorMouse, OnlyTheLeftButtonAloneDragsAndReleasingItEndsTheDrag) {
  open();
  const int x = kRatioFader.x + 10;
  down(x, kRatioFader.y + kRatioFader.offsetOf(6.0f));
  reports();
  const int to = kRatioFader.y + kRatioFader.offsetFor(40);
  move(x, to, MK_LBUTTON | MK_SHIFT);
  move(x, to, MK_LBUTTON | MK_CONTROL);
  move(x, to, MK_LBUTTON | MK_RBUTTON);
  move(x, to, 0);
  EXPECT_TRUE(reports().empty());
  move(x, to, MK_LBUTTON);
  EXPECT_EQ(reports(), (Reports{{kRatio, 40.0f / 60}}));
  up(x, to);
  move(x, kRatioFader.y, MK_LBUTTON);
  EXPECT_TRUE(reports().empty()) << "no drag after the button went up";
}

TEST_F(EditorMouse, AClickBesideAHandleMovesItOneStepTowardTheClick) {
  open(); // Output at 24000 steps, LookAhead at 999, the compressor threshold at 20
  click(kOutputFader.x + 5, kOutputFader.y + kOutputFader.offsetOf(24000.0f) - 40);
  EXPECT_EQ(reports(), (Reports{{kOutput, 23990.0f / 24000}}));
  click(kLookAheadSlider.x + 20, kLookAheadSlider.y + 6);
  EXPECT_EQ(reports(), (Reports{{kLookAhead, 979.0f / 1000}}));
  click(kThrCompFader.x + 10, kThrCompFader.y + kThrCompFader.offsetOf(20.0f) + 17);
  EXPECT_EQ(reports(), (Reports{{kThrComp, 21.0f / 72}}));
  EXPECT_EQ(display(kOutput), "0.01");
  // Neither beside a handle nor on one: nothing changes.
  click(kOutputFader.x + 5, kOutputFader.y - 16);
  click(kOutputFader.x - 1, kOutputFader.y + 20);
  EXPECT_TRUE(reports().empty());
}

TEST_F(EditorMouse, SwitchesTurnToTheOppositeOfWhatTheyShow) {
  open();                                        // Soft and Auto on, Dither and Bypass off
  click(kSoftSwitch.x + 44, kSoftSwitch.y + 21); // the bottom-right corner belongs to it
  EXPECT_EQ(reports(), (Reports{{kSoft, 0.0f}}));
  EXPECT_TRUE(waitForSwitch(kSoftSwitch, false));

  click(kDitherSwitch.x + 5, kDitherSwitch.y + 5);
  EXPECT_EQ(reports(), (Reports{{kDither, 1.0f}}));
  ASSERT_TRUE(waitForSwitch(kDitherSwitch, true));
  click(kDitherSwitch.x + 5, kDitherSwitch.y + 5);
  EXPECT_EQ(reports(), (Reports{{kDither, 0.0f}}));

  click(kBypassSwitch.x + 20, kBypassSwitch.y + 10);
  EXPECT_EQ(reports(), (Reports{{kBypass, 1.0f}}));
  EXPECT_TRUE(waitForSwitch(kBypassSwitch, true));
  EXPECT_FLOAT_EQ(parameter(kBypass), 1.0f);

  click(kAutoSwitch.x + 3, kAutoSwitch.y + 3);
  EXPECT_EQ(reports(), (Reports{{kAutoRel, 0.0f}, {kRelease, 250.0f / 999}}))
      << "switching Auto off brings the manual release back";
  EXPECT_TRUE(waitForSwitch(kAutoSwitch, false));
}

TEST_F(EditorMouse, AutoNormalizeOffHandsTheReachedGainToTheOutputFader) {
  open({{kNormalize, 1.0f}, {kOutput, 4000.0f}}); // an output gain of 10.0 (+20 dB)
  ASSERT_TRUE(waitForSwitch(kNormalizeSwitch, true));
  click(kNormalizeSwitch.x + 10, kNormalizeSwitch.y + 10);
  EXPECT_EQ(reports(), (Reports{{kNormalize, 0.0f}, {kOutput, 4000.0f / 24000}}));
  EXPECT_EQ(display(kOutput), "20.00");
  ASSERT_TRUE(waitForSwitch(kNormalizeSwitch, false));

  click(kNormalizeSwitch.x + 10, kNormalizeSwitch.y + 10);
  EXPECT_EQ(reports(), (Reports{{kNormalize, 1.0f}, {kGainMemo, 15.84931f}}))
      << "switching it on keeps the full gain in parameter 9";
}

} // namespace
