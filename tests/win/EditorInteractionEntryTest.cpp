// Direct numeric input into the read-outs through real window messages: a click opens a box,
// typed keys and Enter or a click elsewhere commit it, the logo shows the Info box and F1 the
// help window. Needs a display (xvfb-run).
#include "EditorInteraction.h"

#include <atomic>
#include <functional>
#include <thread>

using namespace interaction;

namespace {

constexpr int kOutputBox = 397;
constexpr int kReleaseBox = 118;
constexpr int kRatioBox = 66;
constexpr int kThresholdBox = 14;

HWND findOwnDialog(const char* caption) {
  for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", caption); w != nullptr;
       w = FindWindowExA(nullptr, w, "#32770", caption)) {
    DWORD process = 0;
    GetWindowThreadProcessId(w, &process);
    if (process == GetCurrentProcessId()) {
      return w;
    }
  }
  return nullptr;
}

// Runs trigger, which may block in a modal message box, while a second thread answers the
// box with OK. True when a box with the caption was shown.
bool answeringMessageBox(const char* caption, const std::function<void()>& trigger) {
  std::atomic<bool> triggerReturned{false};
  std::atomic<bool> found{false};
  std::thread answerer([&] {
    const ULONGLONG deadline = GetTickCount64() + kDeadlineMs;
    while (GetTickCount64() < deadline) {
      const bool lastLook = triggerReturned.load();
      HWND box = findOwnDialog(caption);
      if (box != nullptr && IsWindowVisible(box)) {
        found = true;
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
        return;
      }
      if (lastLook) {
        return;
      }
      Sleep(10);
    }
  });
  trigger();
  triggerReturned = true;
  answerer.join();
  return found;
}

class EditorEntry : public EditorInteraction {
protected:
  // Opens the box by a click on the read-out and checks what it shows.
  HWND openBox(Spot readout, int boxX, const std::string& expectedText) {
    click(readout);
    HWND box = entryBox(boxX);
    EXPECT_NE(box, nullptr);
    if (box == nullptr) {
      return nullptr;
    }
    EXPECT_TRUE(IsWindowVisible(box));
    EXPECT_EQ(textOf(box), expectedText);
    DWORD first = 1;
    DWORD last = 0;
    SendMessageA(box, EM_GETSEL, reinterpret_cast<WPARAM>(&first), reinterpret_cast<LPARAM>(&last));
    EXPECT_EQ(first, 0u);
    EXPECT_EQ(last, expectedText.size()) << "the whole text is selected";
    EXPECT_EQ(GetFocus(), box);
    EXPECT_TRUE(reports().empty()) << "opening changes nothing";
    return box;
  }
};

TEST_F(EditorEntry, TheBoxesAreMultiLineEditsThatScrollSoThatEnterFits) {
  open();
  for (const int x : {kOutputBox, kReleaseBox, kRatioBox, kThresholdBox}) {
    HWND box = entryBox(x);
    ASSERT_NE(box, nullptr) << x;
    const auto style = static_cast<DWORD>(GetWindowLongA(box, GWL_STYLE));
    const DWORD expected = WS_CHILD | ES_CENTER | ES_MULTILINE | ES_AUTOVSCROLL;
    EXPECT_EQ(style & expected, expected) << x;
    EXPECT_FALSE(IsWindowVisible(box)) << "hidden while no entry is open";
  }
}

TEST_F(EditorEntry, EnterCommitsTheRatioInWholeSteps) {
  open({{kRatio, 20.0f}});
  HWND box = openBox(kRatioReadout, kRatioBox, "10.0 : 1");
  ASSERT_NE(box, nullptr);
  type(box, "3.3");
  EXPECT_EQ(textOf(box), "3.3");
  EXPECT_TRUE(reports().empty()) << "typing commits nothing";
  pressEnter(box);
  EXPECT_EQ(reports(), (Reports{{kRatio, 6.0f / 60}})) << "the fader's 6.6 is truncated";
  EXPECT_FALSE(IsWindowVisible(box));
  EXPECT_EQ(display(kRatio), "3.0 : 1");
}

TEST_F(EditorEntry, EitherSignOfAThresholdMeansDecibelsBelowFullScale) {
  open({{kThrLim, 10.0f}}); // the compressor threshold is at 20 steps
  click(kThresholdLabel);   // the limiter's read-out replaces the compressor's
  HWND box = openBox(kThresholdReadout, kThresholdBox, "-5.0 dB");
  ASSERT_NE(box, nullptr);
  type(box, "0.5");
  pressEnter(box);
  EXPECT_EQ(reports(), (Reports{{kThrLim, 1.0f / 48}}));

  click(kThresholdLabel);
  box = openBox(kThresholdReadout, kThresholdBox, "-10.0 dB");
  ASSERT_NE(box, nullptr);
  type(box, "-0.5");
  pressEnter(box);
  EXPECT_EQ(reports(), (Reports{{kThrComp, 1.0f / 72}}));
  EXPECT_EQ(display(kThrComp), "-0.5");
  EXPECT_EQ(display(kThrLim), "-0.5");
}

TEST_F(EditorEntry, ACommittedThresholdKeepsTheCoupling) {
  open({{kThrLim, 10.0f}});
  HWND box = openBox(kThresholdReadout, kThresholdBox, "-10.0 dB");
  ASSERT_NE(box, nullptr);
  type(box, "-2 dB");
  pressEnter(box);
  EXPECT_EQ(reports(), (Reports{{kThrComp, 4.0f / 72}, {kThrLim, 4.0f / 48}}));
}

TEST_F(EditorEntry, AClickElsewhereCommitsTheOpenEntry) {
  open();
  HWND box = openBox(kOutputReadout, kOutputBox, "0.00 dB");
  ASSERT_NE(box, nullptr);
  type(box, "6");
  click(kWaveDisplay);
  EXPECT_EQ(reports(), (Reports{{kOutput, 18000.0f / 24000}}));
  EXPECT_FALSE(IsWindowVisible(box));
  EXPECT_EQ(display(kOutput), "6.00");
}

TEST_F(EditorEntry, AClickOnAnotherReadoutCommitsTheOpenEntryAndOpensThatOne) {
  // Manual release: under auto release the read-out shows the computed release length.
  open({{kAutoRel, 0.0f}});
  HWND release = openBox(kReleaseReadout, kReleaseBox, "250 ms");
  ASSERT_NE(release, nullptr);
  type(release, "100");
  click(kRatioReadout);
  EXPECT_EQ(reports(), (Reports{{kRelease, 100.0f / 999}}));
  EXPECT_FALSE(IsWindowVisible(release));
  HWND ratio = entryBox(kRatioBox);
  ASSERT_NE(ratio, nullptr);
  EXPECT_TRUE(IsWindowVisible(ratio));
  EXPECT_EQ(textOf(ratio), "3.0 : 1");
  EXPECT_EQ(GetFocus(), ratio);
  type(ratio, "4");
  pressEnter(ratio);
  EXPECT_EQ(reports(), (Reports{{kRatio, 8.0f / 60}}));
}

TEST_F(EditorEntry, TextWithoutANumberCommitsZeroInTheBoxsUnits) {
  open({{kRatio, 20.0f}, {kOutput, 12000.0f}});
  struct Case {
    Spot readout;
    int box;
    Report expected;
  };
  const Case cases[] = {
      {kReleaseReadout, kReleaseBox, {kRelease, 10.0f / 999}}, // 0 ms, the lower limit
      {kRatioReadout, kRatioBox, {kRatio, 2.0f / 60}},         // 1 : 1
      {kOutputReadout, kOutputBox, {kOutput, 0.99999f}},       // 0 dB
      {kThresholdReadout, kThresholdBox, {kThrComp, 1.0f / 72}},
  };
  for (const Case& c : cases) {
    click(c.readout);
    HWND box = entryBox(c.box);
    ASSERT_NE(box, nullptr);
    type(box, "dB");
    pressEnter(box);
    EXPECT_EQ(reports(), (Reports{c.expected})) << c.box;
  }
}

TEST_F(EditorEntry, APastedTextOfThreeLinesWaitsForAClickElsewhere) {
  open({{kAutoRel, 0.0f}});
  HWND box = openBox(kReleaseReadout, kReleaseBox, "250 ms");
  ASSERT_NE(box, nullptr);
  SendMessageA(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("120\r\n5\r\n"));
  ASSERT_EQ(SendMessageA(box, EM_GETLINECOUNT, 0, 0), 3);
  pressEnter(box);
  EXPECT_TRUE(reports().empty());
  EXPECT_TRUE(IsWindowVisible(box));
  click(kWaveDisplay);
  EXPECT_EQ(reports(), (Reports{{kRelease, 120.0f / 999}}));
}

TEST_F(EditorEntry, TheLogoCommitsTheOpenEntryAndShowsTheInfoBox) {
  open();
  HWND box = openBox(kRatioReadout, kRatioBox, "3.0 : 1");
  ASSERT_NE(box, nullptr);
  type(box, "4");
  EXPECT_TRUE(answeringMessageBox("Info", [&] { click(kLogo); }));
  EXPECT_EQ(reports(), (Reports{{kRatio, 8.0f / 60}}));
  EXPECT_FALSE(IsWindowVisible(box));
  EXPECT_FALSE(answeringMessageBox("Info", [&] { click(kWaveDisplay); }));
}

TEST_F(EditorEntry, F1InTheEditorOrInABoxOpensTheHelpWindow) {
  open();
  HWND box = openBox(kOutputReadout, kOutputBox, "0.00 dB");
  ASSERT_NE(box, nullptr);
  ASSERT_EQ(FindWindowA("ZembracHelp", nullptr), nullptr);
  HELPINFO help{};
  help.cbSize = sizeof help;
  help.iContextType = HELPINFO_WINDOW;
  help.hItemHandle = box;
  // The box's default handling hands the request on to the editor.
  SendMessageA(box, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
  HWND shown = FindWindowA("ZembracHelp", nullptr);
  ASSERT_NE(shown, nullptr);
  SendMessageA(editor(), WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
  EXPECT_EQ(FindWindowA("ZembracHelp", nullptr), shown) << "the open help window comes back";
  EXPECT_TRUE(reports().empty());
}

} // namespace
