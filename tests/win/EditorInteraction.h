// What the interaction suites share: one host window per suite, an instance whose editor is
// opened after the host has set its values, real mouse and keyboard messages, and the
// automation the recording host saw. The geometry is the face's, written out here on purpose:
// the suites check the editor against it, not against the editor's own tables.
#pragma once

#include "EditorHarness.h"
#include "EngineConstants.h"
#include "ResourceIds.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace interaction {

using namespace editor_harness;

// A fader or slider of the face: the pixel of min along its track and the track's values.
struct TrackGeometry {
  int x; // handle column's left edge (fader, vertical slider) or the column of min
  int y; // row of min, or the top of the handle row (horizontal slider)
  float min;
  float max;
  float length;
  // The offset along the track where value's handle is painted.
  int offsetOf(float value) const {
    const float ratio = (value - min) / (max - min);
    return static_cast<int>(static_cast<double>(ratio) * (static_cast<double>(length) - 1.0));
  }
  // The whole steps a point at offset d sets.
  int stepsAt(int d) const {
    return static_cast<int>(static_cast<float>(d) / (length - 1.0f) * (max - min) + min);
  }
  // The first offset that sets steps.
  int offsetFor(int steps) const {
    for (int d = 0; d < static_cast<int>(length); ++d) {
      if (stepsAt(d) >= steps) {
        return d;
      }
    }
    return static_cast<int>(length) - 1;
  }
};

constexpr TrackGeometry kThrCompFader{35, 66, 1.0f, 72.0f, 155.0f};
constexpr TrackGeometry kRatioFader{78, 66, 2.0f, 60.0f, 155.0f};
constexpr TrackGeometry kOutputFader{411, 103, 0.0f, 24000.0f, 110.0f};
constexpr TrackGeometry kThrLimFader{14, 66, 0.0f, 48.0f, 93.0f};
constexpr TrackGeometry kLookAheadSlider{86, 256, 3.0f, 999.0f, 57.0f};

struct Spot {
  int x;
  int y;
};
// Read-outs (their boxes are 45 x 15) and other places of the face.
constexpr Spot kOutputReadout{420, 57};
constexpr Spot kReleaseReadout{140, 20};
constexpr Spot kRatioReadout{88, 20};
constexpr Spot kThresholdReadout{36, 20};
constexpr Spot kThresholdLabel{36, 39};
constexpr Spot kLogo{400, 252};
constexpr Spot kWaveDisplay{250, 120};

struct SwitchGeometry {
  int x;
  int y;
  int width;
  int height;
  int litBitmap;
};
constexpr SwitchGeometry kSoftSwitch{354, 118, 44, 21, IDB_SOFT_LIT};
constexpr SwitchGeometry kNormalizeSwitch{354, 144, 44, 21, IDB_NORMALIZE_LIT};
constexpr SwitchGeometry kDitherSwitch{354, 170, 44, 21, IDB_DITHER_LIT};
constexpr SwitchGeometry kBypassSwitch{354, 196, 44, 21, IDB_BYPASS_LIT};
constexpr SwitchGeometry kAutoSwitch{124, 223, 26, 14, IDB_AUTO_RELEASE_LIT};

struct Report {
  VstInt32 index;
  float value;
  bool operator==(const Report& other) const {
    return index == other.index && value == other.value;
  }
};
inline std::ostream& operator<<(std::ostream& os, const Report& r) {
  return os << '(' << r.index << ", " << r.value << ')';
}
using Reports = std::vector<Report>;

inline LPARAM pointParam(int x, int y) {
  return static_cast<LPARAM>(static_cast<DWORD>(static_cast<WORD>(x)) |
                             (static_cast<DWORD>(static_cast<WORD>(y)) << 16));
}

class EditorInteraction : public testing::Test {
protected:
  // One top-level window for the suite: without a window manager Wine waits for the X server
  // each time a top-level window goes.
  static void SetUpTestSuite() {
    library_ = new PluginLibrary;
    host_ = new HostWindow;
  }
  static void TearDownTestSuite() {
    delete host_;
    host_ = nullptr;
    delete library_;
    library_ = nullptr;
  }

  void SetUp() override {
    ASSERT_TRUE(library_->loaded()) << pluginPath();
    fx_ = std::make_unique<Instance>(*library_);
    ASSERT_NE(fx_->get(), nullptr);
  }
  void TearDown() override {
    if (fx_ && fx_->get() != nullptr) {
      fx_->closeEditor();
    }
    fx_.reset();
  }

  // The host sets natural values, then opens the editor; answers once the editor's controls
  // show the effect (the Soft switch, on in every test's start, lights with the first
  // refresh). The automation seen so far is forgotten.
  void open(std::initializer_list<std::pair<VstInt32, float>> hostValues = {}) {
    for (const auto& [index, value] : hostValues) {
      fx_->setParameter(index, value);
    }
    ASSERT_TRUE(fx_->openEditor(host_->handle()));
    editor_ = editorWindowOf(host_->handle());
    ASSERT_NE(editor_, nullptr);
    ASSERT_TRUE(pumpUntil([&] { return switchLit(kSoftSwitch); }))
        << "the controls never showed the effect";
    RecordingHost::instance().clear();
  }

  HWND editor() const { return editor_; }
  AEffect* effect() const { return fx_->get(); }

  void down(int x, int y, WPARAM keys = MK_LBUTTON) const {
    SendMessageA(editor_, WM_LBUTTONDOWN, keys, pointParam(x, y));
  }
  void move(int x, int y, WPARAM keys = MK_LBUTTON) const {
    SendMessageA(editor_, WM_MOUSEMOVE, keys, pointParam(x, y));
  }
  void up(int x, int y) const { SendMessageA(editor_, WM_LBUTTONUP, 0, pointParam(x, y)); }
  void click(int x, int y) const {
    down(x, y);
    up(x, y);
  }
  void click(Spot s) const { click(s.x, s.y); }

  // Automation of this instance since the last call.
  Reports reports() const {
    Reports seen;
    for (const HostRequest& r : RecordingHost::instance().requests(audioMasterAutomate)) {
      if (r.effect == fx_->get()) {
        seen.push_back({r.index, r.opt});
      }
    }
    RecordingHost::instance().clear();
    return seen;
  }

  float parameter(VstInt32 index) const { return effect()->getParameter(effect(), index); }
  std::string display(VstInt32 index) const {
    char text[64] = {};
    dispatch(effect(), effGetParamDisplay, index, 0, text);
    return text;
  }

  bool switchLit(const SwitchGeometry& s) const {
    const Image lit = resourceBitmap(s.litBitmap);
    return sameBlock(captureWindow(editor_), s.x, s.y, lit, 0, 0, s.width, s.height);
  }
  // Waits for the refresh that follows a parameter change to light or darken a switch.
  bool waitForSwitch(const SwitchGeometry& s, bool lit) const {
    return pumpUntil([&] { return switchLit(s) == lit; });
  }

  // The numeric-entry box at client position x of the editor (397 Output, 118 Release,
  // 66 Ratio, 14 threshold).
  HWND entryBox(int x) const {
    for (HWND box = FindWindowExA(editor_, nullptr, "Edit", nullptr); box != nullptr;
         box = FindWindowExA(editor_, box, "Edit", nullptr)) {
      RECT r{};
      GetWindowRect(box, &r);
      POINT corner{r.left, r.top};
      ScreenToClient(editor_, &corner);
      if (corner.x == x) {
        return box;
      }
    }
    return nullptr;
  }
  static std::string textOf(HWND window) {
    char text[64] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
  }
  // Keys typed into the focused box, as the keyboard delivers them.
  static void type(HWND box, const std::string& text) {
    for (const char c : text) {
      SendMessageA(box, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 1);
    }
  }
  static void pressEnter(HWND box) {
    SendMessageA(box, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    SendMessageA(box, WM_CHAR, '\r', 0x001C0001);
    SendMessageA(box, WM_KEYUP, VK_RETURN, static_cast<LPARAM>(0xC01C0001u));
  }

private:
  static inline PluginLibrary* library_ = nullptr;
  static inline HostWindow* host_ = nullptr;
  std::unique_ptr<Instance> fx_;
  HWND editor_ = nullptr;
};

} // namespace interaction
