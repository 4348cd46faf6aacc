// What the open editor shows, read back from its window: handles at the rows their values map
// to, following host parameter changes within a timer tick, a full repaint, the glint on the
// wave display, and an editor that keeps drawing when another one closes.
#include "EditorHarness.h"
#include "EngineConstants.h"
#include "ResourceIds.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace editor_harness;

namespace {

// A travelling control as the face lays it out: the handle image starts `lead` pixels before
// the value's pixel along the track.
struct Track {
  int x;
  int y;
  float min;
  float max;
  float length;
  int handle;
  int width;
  int height;
  bool vertical;
  int lead;

  int offset(float v) const {
    const float ratio = (v - min) / (max - min);
    return static_cast<int>(static_cast<double>(ratio) * (static_cast<double>(length) - 1.0));
  }
  int left(float v) const { return vertical ? x : x + offset(v) - lead; }
  int top(float v) const { return vertical ? y + offset(v) - lead : y; }
};

constexpr Track kRatioFader{78, 66, 2.0f, 60.0f, 155.0f, IDB_HANDLE_BLUE, 20, 34, true, 16};
constexpr Track kReleaseFader{127, 66, 10.0f, 999.0f, 138.0f, IDB_HANDLE_BLUE, 20, 34, true, 16};
constexpr Track kAutoReleaseFader{127, 66, 10.0f, 999.0f, 138.0f, IDB_HANDLE_GREY,
                                  20,  34, true,  16};
constexpr Track kLookAheadSlider{86, 256, 3.0f,  999.0f, 57.0f, IDB_LOOKAHEAD_HANDLE,
                                 21, 13,  false, 11};

struct Switch {
  int x;
  int y;
  int width;
  int height;
  int lit;
};
constexpr Switch kBypassSwitch{354, 196, 44, 21, IDB_BYPASS_LIT};
constexpr Switch kAutoSwitch{124, 223, 26, 14, IDB_AUTO_RELEASE_LIT};

// The wave display's top-left corner on the face.
constexpr int kWaveX = 175;
constexpr int kWaveY = 13;
constexpr int kGlintWidth = 42;
constexpr int kGlintHeight = 16;

class EditorPaint : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(library.loaded()) << pluginPath();
    RecordingHost::instance().clear();
    face = resourceBitmap(IDB_FACE);
    ASSERT_EQ(face.width, kEditorWidth);
  }

  bool handleAt(HWND editor, const Track& t, float value) const {
    const Image handle = resourceBitmap(t.handle);
    return sameBlock(captureWindow(editor), t.left(value), t.top(value), handle, 0, 0, t.width,
                     t.height);
  }
  bool waitForHandle(HWND editor, const Track& t, float value) const {
    return pumpUntil([&] { return handleAt(editor, t, value); });
  }
  bool switchShows(HWND editor, const Switch& s, bool on) const {
    const Image shown = captureWindow(editor);
    if (on) {
      return sameBlock(shown, s.x, s.y, resourceBitmap(s.lit), 0, 0, s.width, s.height);
    }
    return sameBlock(shown, s.x, s.y, face, s.x, s.y, s.width, s.height);
  }
  // The face's top rows hold no control: a repaint must bring them back exactly.
  bool faceTopShown(HWND editor) const {
    return sameBlock(captureWindow(editor), 0, 0, face, 0, 0, kEditorWidth, 12);
  }

  PluginLibrary library;
  Image face;
};

void scribble(HWND editor) {
  HDC dc = GetDC(editor);
  RECT all{0, 0, kEditorWidth, kEditorHeight};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  ReleaseDC(editor, dc);
}

void repaint(HWND editor) {
  InvalidateRect(editor, nullptr, TRUE);
  UpdateWindow(editor);
}

} // namespace

TEST_F(EditorPaint, HandlesFollowTheHostWithinATimerTick) {
  Instance fx(library);
  fx.setParameter(kRatio, 30.0f);
  fx.setParameter(kLookAhead, 500.0f);
  const HWND host = persistentHost(0);
  ASSERT_TRUE(fx.openEditor(host));
  HWND editor = editorWindowOf(host);
  EXPECT_TRUE(waitForHandle(editor, kRatioFader, 30.0f));
  EXPECT_TRUE(waitForHandle(editor, kLookAheadSlider, 500.0f));
  EXPECT_TRUE(switchShows(editor, kBypassSwitch, false));

  fx.setParameter(kRatio, 50.0f);
  fx.setParameter(kBypass, 1.0f);
  EXPECT_TRUE(waitForHandle(editor, kRatioFader, 50.0f));
  EXPECT_TRUE(pumpUntil([&] { return switchShows(editor, kBypassSwitch, true); }));
  // The old handle's rows above the new handle show the empty track again.
  const Image shown = captureWindow(editor);
  const int oldTop = kRatioFader.top(30.0f);
  const int newTop = kRatioFader.top(50.0f);
  ASSERT_LT(oldTop + kRatioFader.height, newTop);
  EXPECT_TRUE(sameBlock(shown, kRatioFader.x, oldTop, face, kRatioFader.x, oldTop,
                        kRatioFader.width, kRatioFader.height));

  fx.setParameter(kBypass, 0.0f);
  EXPECT_TRUE(pumpUntil([&] { return switchShows(editor, kBypassSwitch, false); }));
  fx.closeEditor();
}

TEST_F(EditorPaint, AutoReleaseSwapsTheReleaseHandles) {
  Instance fx(library);
  fx.setParameter(kRelease, 500.0f);
  fx.setParameter(kAutoRel, 1.0f);
  const HWND host = persistentHost(0);
  ASSERT_TRUE(fx.openEditor(host));
  HWND editor = editorWindowOf(host);
  EXPECT_TRUE(waitForHandle(editor, kAutoReleaseFader, 500.0f));
  EXPECT_TRUE(switchShows(editor, kAutoSwitch, true));

  fx.setParameter(kAutoRel, 0.0f);
  EXPECT_TRUE(waitForHandle(editor, kReleaseFader, 500.0f));
  EXPECT_TRUE(switchShows(editor, kAutoSwitch, false));
  fx.closeEditor();
}

TEST_F(EditorPaint, RepaintBringsBackTheFaceAndEveryControl) {
  Instance fx(library);
  fx.setParameter(kRatio, 30.0f);
  fx.setParameter(kBypass, 1.0f);
  const HWND host = persistentHost(0);
  ASSERT_TRUE(fx.openEditor(host));
  HWND editor = editorWindowOf(host);
  ASSERT_TRUE(waitForHandle(editor, kRatioFader, 30.0f));

  scribble(editor);
  ASSERT_FALSE(faceTopShown(editor));
  repaint(editor);
  EXPECT_TRUE(faceTopShown(editor));
  EXPECT_TRUE(handleAt(editor, kRatioFader, 30.0f));
  EXPECT_TRUE(switchShows(editor, kBypassSwitch, true));
  fx.closeEditor();
}

TEST_F(EditorPaint, SecondEditorKeepsDrawingWhenTheFirstCloses) {
  Instance a(library);
  Instance b(library);
  b.setParameter(kRatio, 40.0f);
  ASSERT_TRUE(a.openEditor(persistentHost(0)));
  ASSERT_TRUE(b.openEditor(persistentHost(1)));
  HWND editorB = editorWindowOf(persistentHost(1));
  ASSERT_TRUE(waitForHandle(editorB, kRatioFader, 40.0f));

  a.closeEditor();
  scribble(editorB);
  repaint(editorB);
  EXPECT_TRUE(faceTopShown(editorB)) << "the shared background went with the first close";
  EXPECT_TRUE(handleAt(editorB, kRatioFader, 40.0f));
  b.setParameter(kRatio, 20.0f);
  EXPECT_TRUE(waitForHandle(editorB, kRatioFader, 20.0f));
  b.closeEditor();
}

TEST_F(EditorPaint, ReopenedEditorShowsTheEffectsValues) {
  Instance fx(library);
  fx.setParameter(kRatio, 30.0f);
  const HWND host = persistentHost(0);
  ASSERT_TRUE(fx.openEditor(host));
  ASSERT_TRUE(waitForHandle(editorWindowOf(host), kRatioFader, 30.0f));
  fx.closeEditor();

  // Nothing changed in between: the new window must still be brought up to date.
  ASSERT_TRUE(fx.openEditor(host));
  EXPECT_TRUE(waitForHandle(editorWindowOf(host), kRatioFader, 30.0f));
  fx.closeEditor();
}

TEST_F(EditorPaint, WaveDisplayCornerCarriesTheGlint) {
  Instance fx(library);
  // Zoom and thresholds that keep both threshold lines far below the corner.
  fx.setParameter(kZoom, 2.0f);
  fx.setParameter(kThrComp, 40.0f);
  fx.setParameter(kThrLim, 40.0f);
  fx.setParameter(kRatio, 30.0f);
  const HWND host = persistentHost(0);
  ASSERT_TRUE(fx.openEditor(host));
  HWND editor = editorWindowOf(host);
  ASSERT_TRUE(waitForHandle(editor, kRatioFader, 30.0f));
  repaint(editor);

  const Image mask = resourceBitmap(IDB_HIGHLIGHT_MASK);
  const Image shown = captureWindow(editor);
  int lit = 0;
  for (int x = 0; x < kGlintWidth; ++x) {
    for (int y = 0; y < kGlintHeight; ++y) {
      const std::uint32_t m = (mask.at(x, y) >> 16) & 0xFFu; // red
      lit += m > 0 ? 1 : 0;
      const std::uint32_t under = face.at(kWaveX + x, kWaveY + y);
      std::uint32_t expected = 0;
      for (unsigned shift = 0; shift < 24; shift += 8) {
        const float c = static_cast<float>((under >> shift) & 0xFFu);
        const float keep = static_cast<float>(255u - m) / 255.0f;
        const auto v = static_cast<std::uint32_t>(c * keep + static_cast<float>(m)) & 0xFFu;
        expected |= v << shift;
      }
      ASSERT_EQ(shown.at(kWaveX + x, kWaveY + y), expected) << "at " << x << "," << y;
    }
  }
  EXPECT_GT(lit, 0) << "the mask lights nothing, so this test proves nothing";
  // Beside the glint the display shows the face.
  EXPECT_TRUE(sameBlock(shown, kWaveX + kGlintWidth, kWaveY, face, kWaveX + kGlintWidth, kWaveY, 40,
                        kGlintHeight));
  fx.closeEditor();
}
