// The Linux editor as a host sees it: the .so loaded with dlopen, the editor opened in a
// window of the test's own, real input sent through XTest, pixels read back from the server.
// gtest first: Xlib defines None and Bool as macros.
#include <gtest/gtest.h>

#include "EditorConstants.h"
#include "EditorMouseRegions.h"
#include "EngineConstants.h"
#include "HelpLayout.h"
#include "PixelImage.h"
#include "RecordingHost.h"
#include "TrackModel.h"
#include "VstAbi.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <cairo.h>
#include <dirent.h>
#include <dlfcn.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

const char* libraryPath = nullptr;

PixelImage loadBitmap(const std::string& name) {
  std::ifstream file(std::string(ZEMBRAC_BITMAPS) + "/" + name, std::ios::binary);
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                        std::istreambuf_iterator<char>());
  return decodeBmp(bytes.data(), bytes.size());
}

// The bitmap of a resource id: the files are named bmp<id>_<what>.bmp.
PixelImage loadBitmap(int id) {
  const std::string prefix = "bmp" + std::to_string(id) + "_";
  for (const auto& entry : std::filesystem::directory_iterator(ZEMBRAC_BITMAPS)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(prefix, 0) == 0) {
      return loadBitmap(name);
    }
  }
  return {};
}

int countOpenFiles() {
  int count = 0;
  if (DIR* dir = opendir("/proc/self/fd")) {
    while (readdir(dir) != nullptr) {
      ++count;
    }
    closedir(dir);
  }
  return count;
}

class Instance {
public:
  Instance() {
    handle_ = dlopen(libraryPath, RTLD_NOW | RTLD_LOCAL);
    auto main =
        reinterpret_cast<AEffect* (*)(audioMasterCallback)>(dlsym(handle_, "VSTPluginMain"));
    record = main != nullptr ? main(RecordingHost::callback) : nullptr;
  }
  ~Instance() {
    if (record != nullptr) {
      dispatch(effClose);
    }
    dlclose(handle_);
  }
  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                     void* ptr = nullptr) const {
    return record->dispatcher(record, opcode, index, value, ptr, 0.0f);
  }
  float get(VstInt32 index) const { return record->getParameter(record, index); }
  AEffect* record = nullptr;

private:
  void* handle_ = nullptr;
};

class EditorHost : public ::testing::Test {
protected:
  void SetUp() override {
    // A settings folder of the test's own: every test starts from the defaults.
    char folder[] = "/tmp/zembrac-x11-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    settingsHome = folder;
    setenv("XDG_CONFIG_HOME", folder, 1);
    display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    parent = newParent(40, 40);
    // The host's window holds the keyboard focus, as a host's plug-in window does.
    XSetInputFocus(display, parent, RevertToPointerRoot, CurrentTime);
    RecordingHost::instance().clear();
    ASSERT_NE(plugin.record, nullptr);
  }
  void TearDown() override {
    if (plugin.record != nullptr) {
      plugin.dispatch(effEditClose);
    }
    if (display != nullptr) {
      XCloseDisplay(display);
    }
    unsetenv("XDG_CONFIG_HOME");
    std::filesystem::remove_all(settingsHome);
  }

  Window newParent(int x, int y) {
    const int screen = DefaultScreen(display);
    Window w = XCreateSimpleWindow(display, RootWindow(display, screen), x, y, 560, 320, 0, 0,
                                   WhitePixel(display, screen));
    XMapWindow(display, w);
    XSync(display, False);
    return w;
  }
  bool open(const Instance& instance, Window into) {
    return instance.dispatch(effEditOpen, 0, 0,
                             reinterpret_cast<void*>(static_cast<std::uintptr_t>(into))) == 1;
  }
  // Idles the plug-in until the condition holds, as a host's idle timer would.
  bool idleUntil(const std::function<bool()>& condition, const Instance* other = nullptr) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
      plugin.dispatch(effEditIdle);
      if (other != nullptr) {
        other->dispatch(effEditIdle);
      }
      XSync(display, False);
      if (condition()) {
        return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  }
  void idleOnce() {
    idleUntil([] { return true; });
  }
  PixelImage grab(Window from, int left = 0, int top = 0, int width = kEditorWidth,
                  int height = kEditorHeight) {
    PixelImage image(width, height);
    XImage* x = XGetImage(display, from, left, top, static_cast<unsigned>(width),
                          static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (x == nullptr) {
      return {};
    }
    for (int y = 0; y < height; ++y) {
      for (int i = 0; i < width; ++i) {
        image.set(i, y, static_cast<std::uint32_t>(XGetPixel(x, i, y)) & 0xFFFFFFu);
      }
    }
    XDestroyImage(x);
    return image;
  }
  // The root coordinates of a point of a window (the editor's parent by default).
  std::pair<int, int> onScreen(int x, int y, Window in = 0) {
    int rx = 0;
    int ry = 0;
    Window child = 0;
    XTranslateCoordinates(display, in != 0 ? in : parent, DefaultRootWindow(display), x, y, &rx,
                          &ry, &child);
    return {rx, ry};
  }
  void moveTo(int x, int y, Window in = 0) {
    const auto [rx, ry] = onScreen(x, y, in);
    XTestFakeMotionEvent(display, -1, rx, ry, CurrentTime);
    XSync(display, False);
  }
  void button(unsigned which, bool down) {
    XTestFakeButtonEvent(display, which, down ? True : False, CurrentTime);
    XSync(display, False);
  }
  void click(int x, int y, unsigned which = 1, Window in = 0) {
    moveTo(x, y, in);
    button(which, true);
    button(which, false);
  }
  void key(const char* name) {
    const KeyCode code = XKeysymToKeycode(display, XStringToKeysym(name));
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    XSync(display, False);
  }
  void type(const char* keys) {
    for (const char* k = keys; *k != '\0'; ++k) {
      const char name[2] = {*k, '\0'};
      key(*k == '\n' ? "Return" : *k == '.' ? "period" : *k == '-' ? "minus" : name);
    }
  }
  // The top-level window with this title, or 0.
  Window findWindow(const char* name) {
    Window root = 0;
    Window parentOut = 0;
    Window* children = nullptr;
    unsigned count = 0;
    Window found = 0;
    XQueryTree(display, DefaultRootWindow(display), &root, &parentOut, &children, &count);
    for (unsigned i = 0; i < count; ++i) {
      char* title = nullptr;
      if (XFetchName(display, children[i], &title) != 0 && title != nullptr) {
        if (std::string(title) == name) {
          found = children[i];
        }
        XFree(title);
      }
    }
    XFree(children);
    return found;
  }
  bool windowNamed(const char* name) { return findWindow(name) != 0; }
  // Right after open every control stands at its minimum; the first timer tick brings them to
  // the effect's values. Program 0's Ratio handle then starts at row 60 (see the face test).
  bool waitForFirstRefresh() {
    const PixelImage handle = loadBitmap("bmp117_handle_blue.bmp");
    return idleUntil([&] { return grab(parent).at(88, 60 + 17) == handle.at(10, 17); });
  }
  std::size_t topLevelCount() {
    Window root = 0;
    Window parentOut = 0;
    Window* children = nullptr;
    unsigned count = 0;
    XQueryTree(display, DefaultRootWindow(display), &root, &parentOut, &children, &count);
    XFree(children);
    return count;
  }
  std::size_t automations() const {
    return RecordingHost::instance().requests(audioMasterAutomate).size();
  }

  // Presses the left button at one point and moves in four steps to another, idling between
  // as a host would; the button stays down.
  void leftDrag(int fromX, int fromY, int toX, int toY) {
    moveTo(fromX, fromY);
    button(1, true);
    for (int i = 1; i <= 4; ++i) {
      moveTo(fromX + (toX - fromX) * i / 4, fromY + (toY - fromY) * i / 4);
      plugin.dispatch(effEditIdle);
    }
  }
  // The context menu, opened with the right button at a fixed point of the face. Its rows are
  // 18 pixels high; a submenu opens 150 pixels to the right, level with its row.
  static constexpr int kMenuX = 250;
  static constexpr int kMenuY = 100;
  static constexpr int kMenuRow = 18;
  void openMenu() {
    click(kMenuX, kMenuY, 3);
    idleOnce();
  }
  // A row of the main menu, or with item >= 0 an item of the row's submenu.
  void chooseFromMenu(int row, int item = -1) {
    openMenu();
    if (item < 0) {
      click(kMenuX + 40, kMenuY + row * kMenuRow + kMenuRow / 2);
      return;
    }
    moveTo(kMenuX + 40, kMenuY + row * kMenuRow + kMenuRow / 2);
    idleOnce();
    click(kMenuX + 150 + 30, kMenuY + (row + item) * kMenuRow + kMenuRow / 2);
  }
  std::string settingsFile() const { return settingsHome + "/zembrac/settings"; }
  std::string storedSettings() const {
    std::stringstream text;
    text << std::ifstream(settingsFile()).rdbuf();
    return text.str();
  }
  bool stored(const std::string& line) const {
    return storedSettings().find(line + "\n") != std::string::npos;
  }
  void writeSettings(const char* text) const {
    std::filesystem::create_directories(settingsHome + "/zembrac");
    std::ofstream(settingsFile()) << text;
  }
  // One block of a full-scale stereo sine, as a host's audio thread would send it.
  void play() {
    constexpr int kFrames = 512;
    static float left[kFrames];
    static float right[kFrames];
    for (int i = 0; i < kFrames; ++i) {
      left[i] = right[i] = static_cast<float>(std::sin(phase));
      phase += 2.0 * 3.14159265358979 * 441.0 / 44100.0;
    }
    float* inputs[] = {left, right};
    static float outLeft[kFrames];
    static float outRight[kFrames];
    float* outputs[] = {outLeft, outRight};
    plugin.record->processReplacing(plugin.record, inputs, outputs, kFrames);
  }

  std::string settingsHome;
  double phase = 0.0;
  Display* display = nullptr;
  Window parent = 0;
  Instance plugin;
};

TEST_F(EditorHost, ShowsTheArtworkFaceWithHandlesWhereTheValuesAre) {
  EXPECT_EQ(plugin.record->flags & (effFlagsHasEditor | effFlagsCanReplacing), 0x11);
  ERect* rect = nullptr;
  ASSERT_EQ(plugin.dispatch(effEditGetRect, 0, 0, &rect), 1);
  EXPECT_EQ(rect->right - rect->left, 511);
  EXPECT_EQ(rect->bottom - rect->top, 283);
  ASSERT_TRUE(open(plugin, parent));
  // The first refresh comes with a timer tick: wait until the Ratio fader left its minimum.
  const PixelImage face = loadBitmap("bmp153_face.bmp");
  const PixelImage handle = loadBitmap("bmp117_handle_blue.bmp");
  // Program 0's ratio, 3.0 : 1, is 6 steps of 2..60 on a 155-pixel track: offset
  // truncate(4/58 x 154) = 10.
  const int handleTop = 66 + 10 - 16;
  PixelImage shown;
  const bool placed = idleUntil([&] {
    shown = grab(parent);
    return !shown.empty() && shown.at(78 + 10, handleTop + 17) == handle.at(10, 17) &&
           shown.at(78 + 10, 66 - 16 + 17) != handle.at(10, 17);
  });
  if (const char* path = std::getenv("ZEMBRAC_X11_SHOT")) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << shown.width << ' ' << shown.height << "\n255\n";
    for (std::uint32_t p : shown.pixels) {
      out.put(static_cast<char>(p >> 16)).put(static_cast<char>(p >> 8)).put(static_cast<char>(p));
    }
  }
  ASSERT_TRUE(placed);
  for (int y = 0; y < 34; ++y) {
    for (int x = 0; x < 20; ++x) {
      ASSERT_EQ(shown.at(78 + x, handleTop + y), handle.at(x, y)) << x << "," << y;
    }
  }
  // Everything that neither moves nor carries text is the artwork, pixel for pixel.
  const PixelRect moving[] = {{10, 10, 160, 240},   {60, 240, 170, 283}, {170, 10, 345, 275},
                              {350, 110, 400, 220}, {395, 10, 450, 240}, {455, 10, 495, 275},
                              {120, 220, 155, 240}};
  int compared = 0;
  for (int y = 0; y < kEditorHeight; ++y) {
    for (int x = 0; x < kEditorWidth; ++x) {
      bool skip = false;
      for (const PixelRect& r : moving) {
        skip = skip || (x >= r.left && x < r.right && y >= r.top && y < r.bottom);
      }
      if (!skip) {
        ASSERT_EQ(shown.at(x, y), face.at(x, y)) << x << "," << y;
        ++compared;
      }
    }
  }
  EXPECT_GT(compared, kEditorWidth * kEditorHeight / 5);
}

// The Windows editor's face under Wine, program 0 right after its first refresh
// (scripts/screenshot 0 tests/x11/dll-face.png 0), against this one: equal outside the
// text, which another font draws, and the animated areas, which depend on the display ticks.
TEST_F(EditorHost, MatchesTheWindowsFacePixelForPixelOutsideTextAndDisplays) {
  cairo_surface_t* png = cairo_image_surface_create_from_png(ZEMBRAC_DLL_FACE);
  ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
  ASSERT_EQ(cairo_image_surface_get_width(png), kEditorWidth);
  ASSERT_EQ(cairo_image_surface_get_height(png), kEditorHeight);
  const unsigned char* data = cairo_image_surface_get_data(png);
  const int stride = cairo_image_surface_get_stride(png);
  ASSERT_TRUE(open(plugin, parent));
  ASSERT_TRUE(waitForFirstRefresh());
  const PixelImage shown = grab(parent);
  const PixelRect excluded[] = {{14, 13, 60, 29},    {66, 13, 112, 29},  {118, 13, 164, 29},
                                {397, 50, 445, 67},  {397, 13, 445, 29}, {175, 13, 297, 269},
                                {328, 13, 341, 270}, {460, 13, 491, 270}};
  int differing = 0;
  int compared = 0;
  for (int y = 0; y < kEditorHeight; ++y) {
    for (int x = 0; x < kEditorWidth; ++x) {
      bool skip = false;
      for (const PixelRect& r : excluded) {
        skip = skip || (x >= r.left && x < r.right && y >= r.top && y < r.bottom);
      }
      if (skip) {
        continue;
      }
      std::uint32_t windows = 0;
      std::memcpy(&windows, data + y * stride + x * 4, sizeof windows);
      ++compared;
      if ((windows & 0xFFFFFFu) != shown.at(x, y)) {
        ADD_FAILURE_AT(__FILE__, __LINE__) << "differs at " << x << "," << y;
        if (++differing > 10) {
          break;
        }
      }
    }
  }
  cairo_surface_destroy(png);
  EXPECT_GT(compared, kEditorWidth * kEditorHeight / 2);
}

TEST_F(EditorHost, RealInputReachesTheEffectAndTheHost) {
  ASSERT_TRUE(open(plugin, parent));
  ASSERT_TRUE(waitForFirstRefresh());
  // Drag the Ratio fader's handle (6 steps at row 76) down by 77 rows: 77 / 154 x 58 + 2
  // = 31 steps, whatever the click on the handle set first.
  moveTo(88, 76);
  button(1, true);
  for (int y = 70; y <= 145; y += 15) {
    moveTo(88, y);
    plugin.dispatch(effEditIdle);
  }
  moveTo(88, 145);
  ASSERT_TRUE(idleUntil([&] { return std::abs(plugin.get(7) - 31.0f / 59.0f) < 0.01f; }));
  button(1, false);
  EXPECT_GE(automations(), 1u);
}

// Every read-out opens its entry; Enter, a click on another read-out and a click on the logo
// each commit it.
TEST_F(EditorHost, EveryReadoutTakesANumberAndEveryWayOfCommittingKeepsIt) {
  ASSERT_TRUE(open(plugin, parent));
  ASSERT_TRUE(waitForFirstRefresh());
  // The manual Release fader and its read-out take input only with Auto off.
  click(kAutoReleaseSwitchLayout.x + 5, kAutoReleaseSwitchLayout.y + 5);
  ASSERT_TRUE(idleUntil([&] { return plugin.get(kAutoRel) == 0.0f; }));
  auto entry = [&](const FaderLayout& fader, const char* keys) {
    click(fader.readoutX + kReadoutWidth / 2, fader.readoutY + kReadoutHitHeight / 2);
    idleOnce();
    type(keys);
  };
  auto holds = [&](VstInt32 index, float steps, float full) {
    return std::abs(plugin.get(index) - steps / full) < 1e-6f;
  };
  // 3 dB of gain is 21000 steps; the click on the Release read-out commits it.
  entry(kOutputFaderLayout, "3");
  entry(kReleaseFaderLayout, "100\n");
  EXPECT_TRUE(idleUntil([&] { return holds(kOutput, 21000, 24000) && holds(kRelease, 100, 999); }))
      << plugin.get(kOutput) << " " << plugin.get(kRelease);
  // -15 dB is 30 steps of the compressor threshold; after the caption's swap the same place
  // edits the limiter's, where 3 means -3 dB, 6 steps.
  entry(kThrCompFaderLayout, "-15\n");
  EXPECT_TRUE(idleUntil([&] { return holds(kThrComp, 30, 72); })) << plugin.get(kThrComp);
  click(30, 39);
  idleOnce();
  entry(kThrLimFaderLayout, "3\n");
  EXPECT_TRUE(idleUntil([&] { return holds(kThrLim, 6, 48); })) << plugin.get(kThrLim);
  // 5.7 : 1 is 11.4 steps, stored as 11; the click on the logo commits and opens the Info box.
  entry(kRatioFaderLayout, "5.7");
  click(400, 250);
  EXPECT_TRUE(idleUntil([&] { return holds(kRatio, 11, 60) && windowNamed("Info"); }))
      << plugin.get(kRatio);
}

// The faders follow the left button alone; a threshold dragged past the other takes it along.
TEST_F(EditorHost, EveryFaderDragsAndTheThresholdsStayInOrder) {
  struct Case {
    FaderLayout fader;
    VstInt32 index;
    float full;
    float to;
    VstInt32 coupled;
    float coupledFull;
  };
  // Program 0's limiter threshold (1 step) goes below its compressor threshold (20 steps),
  // then the compressor's above the limiter's.
  const Case cases[] = {{kReleaseFaderLayout, kRelease, 999, 500, -1, 0},
                        {kOutputFaderLayout, kOutput, 24000, 8000, -1, 0},
                        {kThrLimFaderLayout, kThrLim, 48, 30, kThrComp, 72},
                        {kThrCompFaderLayout, kThrComp, 72, 8, kThrLim, 48}};
  const PixelImage face = loadBitmap("bmp153_face.bmp");
  ASSERT_TRUE(open(plugin, parent));
  ASSERT_TRUE(waitForFirstRefresh());
  // Auto off shows the manual Release fader.
  const SwitchLayout& autoRelease = kAutoReleaseSwitchLayout;
  click(autoRelease.x + 5, autoRelease.y + 5);
  ASSERT_TRUE(idleUntil([&] {
    return grab(parent).at(autoRelease.x + 5, autoRelease.y + 5) ==
           face.at(autoRelease.x + 5, autoRelease.y + 5);
  }));
  for (const Case& c : cases) {
    const FaderLayout& f = c.fader;
    bool on = false;
    const int from =
        f.y + trackOffset(std::round(plugin.get(c.index) * c.full), f.min, f.max, f.length, on);
    const int to = f.y + trackOffset(c.to, f.min, f.max, f.length, on);
    // A coupled fader shows its new value at the next refresh.
    const PixelImage handle = loadBitmap(f.handleBitmap);
    ASSERT_TRUE(idleUntil([&] { return grab(parent).at(f.x + 10, from + 1) == handle.at(10, 17); }))
        << c.index;
    const auto steps = std::trunc(trackValueAt(to - f.y, f.min, f.max, f.length));
    leftDrag(f.x + f.width / 2, from, f.x + f.width / 2, to);
    EXPECT_TRUE(idleUntil([&] { return std::abs(plugin.get(c.index) - steps / c.full) < 1e-6f; }))
        << c.index << ": " << plugin.get(c.index) * c.full << " for " << steps;
    if (c.coupled >= 0) {
      EXPECT_FLOAT_EQ(plugin.get(c.coupled) * c.coupledFull, steps) << c.coupled;
    }
    // With Shift held the pointer moves on and the fader stays.
    const KeyCode shift = XKeysymToKeycode(display, XStringToKeysym("Shift_L"));
    XTestFakeKeyEvent(display, shift, True, CurrentTime);
    moveTo(f.x + f.width / 2, from);
    XTestFakeKeyEvent(display, shift, False, CurrentTime);
    button(1, false);
    idleOnce();
    EXPECT_NEAR(plugin.get(c.index), steps / c.full, 1e-6f) << c.index << " moved with Shift";
  }
}

// A switch shows its lit picture when on and the face beneath when off.
TEST_F(EditorHost, EachSwitchTurnsItsParameterOverTellsTheHostAndShowsIt) {
  struct Case {
    SwitchLayout place;
    VstInt32 parameter;
  };
  const Case cases[] = {{kSoftSwitchLayout, kSoft},
                        {kNormalizeSwitchLayout, kNormalize},
                        {kDitherSwitchLayout, kDither},
                        {kBypassSwitchLayout, kBypass},
                        {kAutoReleaseSwitchLayout, kAutoRel}};
  const PixelImage face = loadBitmap("bmp153_face.bmp");
  ASSERT_TRUE(open(plugin, parent));
  ASSERT_TRUE(waitForFirstRefresh());
  for (const Case& c : cases) {
    const float turned = plugin.get(c.parameter) > 0.5f ? 0.0f : 1.0f;
    const PixelImage lit = loadBitmap(c.place.litBitmap);
    RecordingHost::instance().clear();
    click(c.place.x + c.place.width / 2, c.place.y + c.place.height / 2);
    ASSERT_TRUE(idleUntil([&] { return plugin.get(c.parameter) == turned; })) << c.parameter;
    bool told = false;
    for (const HostRequest& r : RecordingHost::instance().requests(audioMasterAutomate)) {
      told = told || (r.index == c.parameter && r.opt == turned);
    }
    EXPECT_TRUE(told) << c.parameter;
    EXPECT_TRUE(idleUntil([&] {
      const PixelImage shown = grab(parent);
      for (int y = 0; y < c.place.height; ++y) {
        for (int x = 0; x < c.place.width; ++x) {
          const std::uint32_t expected =
              turned > 0.5f ? lit.at(x, y) : face.at(c.place.x + x, c.place.y + y);
          if (shown.at(c.place.x + x, c.place.y + y) != expected) {
            return false;
          }
        }
      }
      return true;
    })) << c.parameter;
  }
}

TEST_F(EditorHost, EntriesCommitOnAClickElsewhereAndOnlyTheLeftButtonDragsSliders) {
  ASSERT_TRUE(open(plugin, parent));
  ASSERT_TRUE(waitForFirstRefresh());
  // A click on the Ratio read-out opens its entry with the text selected (blue); "5" then a
  // click on the empty face between the wave display and the reduction meter stores 10 steps.
  click(66 + 20, 13 + 6);
  ASSERT_TRUE(idleUntil([&] {
    const PixelImage shown = grab(parent);
    for (int x = 66; x < 66 + 47; ++x) {
      if (shown.at(x, 13 + 7) == 0x0078D7u) {
        return true;
      }
    }
    return false;
  }));
  type("5");
  click(320, 100);
  ASSERT_TRUE(idleUntil([&] { return std::abs(plugin.get(7) - 10.0f / 60.0f) < 0.005f; }));
  // Program 0's LookAhead, 999, puts its handle at the end of the 57-pixel track, column
  // 86 + 56. A right-button drag to the left opens the menu and moves nothing.
  const float lookAhead = plugin.get(12);
  const std::size_t topLevels = topLevelCount();
  moveTo(86 + 56, 256 + 6);
  button(3, true);
  ASSERT_TRUE(idleUntil([&] { return topLevelCount() > topLevels; }));
  for (int x = 130; x >= 100; x -= 10) {
    moveTo(x, 256 + 6);
    plugin.dispatch(effEditIdle);
  }
  button(3, false);
  key("Escape");
  ASSERT_TRUE(idleUntil([&] { return topLevelCount() == topLevels; }));
  EXPECT_EQ(plugin.get(12), lookAhead);
  // The left button drags it halfway, 28 / 56 x 996 + 3 = 501 hundredths of a millisecond.
  leftDrag(86 + 56, 256 + 6, 86 + 28, 256 + 6);
  EXPECT_TRUE(idleUntil([&] { return std::abs(plugin.get(12) - 0.501f) < 1e-4f; }));
  button(1, false);
  // Program 0's Zoom, 2, sits at row 221 + truncate(1 / 19 x 40) = 223; row 251 is
  // 30 / 40 x 19 + 1 = 15.25, so 15 of 20 steps.
  leftDrag(304 + 6, 223, 304 + 6, 251);
  EXPECT_TRUE(idleUntil([&] { return std::abs(plugin.get(8) - 15.0f / 20.0f) < 1e-4f; }));
  button(1, false);
}

// Every settings item of the menu, chosen with the pointer: the settings file holds the value
// under the registry value's name, and the item alone in its submenu carries the check mark.
TEST_F(EditorHost, EveryMenuItemStoresItsSettingAndTakesTheCheckMark) {
  struct Case {
    int row;
    int item;
    int items;
    const char* line;
  };
  const Case cases[] = {
      {0, 0, 4, "subAN 0"},  {0, 1, 4, "subAN 1"},  {0, 2, 4, "subAN 3"},   {0, 3, 4, "subAN 2"},
      {1, 0, 3, "subCO 0"},  {1, 1, 3, "subCO 1"},  {2, 0, 3, "subWZ 0"},   {2, 1, 3, "subWZ 1"},
      {2, 2, 3, "subWZ 2"},  {3, 0, 7, "subPH 16"}, {3, 1, 7, "subPH 32"},  {3, 2, 7, "subPH 48"},
      {3, 3, 7, "subPH 64"}, {3, 4, 7, "subPH 80"}, {3, 5, 7, "subPH 160"}, {3, 6, 7, "subPH 240"},
      {4, 0, 3, "subDS 1"},  {4, 1, 3, "subDS 2"},  {4, 2, 3, "subDS 3"}};
  ASSERT_TRUE(open(plugin, parent));
  idleOnce();
  const std::size_t topLevels = topLevelCount();
  const std::pair<int, int> menu = onScreen(kMenuX, kMenuY);
  for (const Case& c : cases) {
    chooseFromMenu(c.row, c.item);
    ASSERT_TRUE(idleUntil([&] { return stored(c.line); })) << c.line << "\n" << storedSettings();
    ASSERT_TRUE(idleUntil([&] { return topLevelCount() == topLevels; }));
    // The check marks sit left of the labels, black on the unlit submenu.
    openMenu();
    moveTo(kMenuX + 40, kMenuY + c.row * kMenuRow + kMenuRow / 2);
    auto checked = [&] {
      const PixelImage sub = grab(DefaultRootWindow(display), menu.first + 150,
                                  menu.second + c.row * kMenuRow, 18, c.items * kMenuRow);
      int rows = 0;
      for (int i = 0; i < c.items; ++i) {
        for (int p = i * kMenuRow * 18; p < (i + 1) * kMenuRow * 18; ++p) {
          if (!sub.pixels.empty() && sub.pixels[static_cast<std::size_t>(p)] == 0) {
            rows |= 1 << i;
            break;
          }
        }
      }
      return rows;
    };
    ASSERT_TRUE(idleUntil([&] { return checked() == 1 << c.item; }))
        << c.line << ": marks " << checked();
    key("Escape");
    ASSERT_TRUE(idleUntil([&] { return topLevelCount() == topLevels; }));
  }
  // "Info" opens the Info box and writes nothing.
  const std::string settings = storedSettings();
  chooseFromMenu(6);
  EXPECT_TRUE(idleUntil([&] { return windowNamed("Info"); }));
  EXPECT_EQ(storedSettings(), settings);
}

TEST_F(EditorHost, CustomColoursConfirmedWithOkAreStoredAndDrawn) {
  ASSERT_TRUE(open(plugin, parent));
  ASSERT_TRUE(waitForFirstRefresh());
  constexpr std::uint32_t kMagenta = 0xFF00FF;
  auto magentaShown = [&] {
    const PixelImage shown = grab(parent);
    for (int y = kWaveStrip.faceY; y < kWaveStrip.faceY + kWaveStrip.height; ++y) {
      for (int x = kWaveStrip.faceX; x < kWaveStrip.faceX + kWaveStrip.width; ++x) {
        if (shown.at(x, y) == kMagenta) {
          return true;
        }
      }
    }
    return false;
  };
  ASSERT_FALSE(magentaShown());
  // Our chooser has a row of 30 pixels per colour from row 8, each with a red, a green and a
  // blue bar 64 pixels long from columns 110, 178 and 246, and OK and Cancel at the bottom.
  // The fourth colour, the compressor threshold lines', is to become magenta.
  auto chooseMagenta = [&](bool ok) {
    chooseFromMenu(1, 2);
    Window chooser = 0;
    ASSERT_TRUE(idleUntil([&] { return (chooser = findWindow("Custom colors")) != 0; }));
    const int row = 8 + 3 * 30 + 12;
    click(110 + 63, row, 1, chooser);
    click(178, row, 1, chooser);
    click(246 + 63, row, 1, chooser);
    click(ok ? 200 : 290, 178, 1, chooser);
    ASSERT_TRUE(idleUntil([&] { return !windowNamed("Custom colors"); }));
  };
  // Cancelled, the colours stay the Icy ones the defaults hold, yet Custom is the scheme.
  chooseMagenta(false);
  EXPECT_TRUE(stored("subCO 2")) << storedSettings();
  EXPECT_TRUE(stored("subIPOPTR 108 116 188 148 156 218 200 220 255 0 200 0 200 0 0"))
      << storedSettings();
  chooseMagenta(true);
  EXPECT_TRUE(stored("subIPOPTR 108 116 188 148 156 218 200 220 255 255 0 255 200 0 0"))
      << storedSettings();
  EXPECT_TRUE(stored("subCO 2"));
  EXPECT_TRUE(idleUntil(magentaShown));
}

// The lines are held for 240 ticks (30 s at Normal speed), longer than this whole test, so a
// line that comes or goes here does so because of a click. At that hold a fresh editor keeps
// both lines at the ends of their scales, where they are not drawn, until its first wrap.
TEST_F(EditorHost, AClickOnAMeterBringsItsPeakLineToTheLevelAtOnce) {
  writeSettings("subPH 240\n");
  ASSERT_TRUE(open(plugin, parent));
  const PixelImage face = loadBitmap("bmp153_face.bmp");
  auto changedRows = [&](const PixelImage& shown, const PanelStrip& strip) {
    std::vector<int> rows;
    for (int y = strip.faceY; y < strip.faceY + strip.height; ++y) {
      for (int x = strip.faceX; x < strip.faceX + strip.width; ++x) {
        if (shown.at(x, y) != face.at(x, y)) {
          rows.push_back(y);
          break;
        }
      }
    }
    return rows;
  };
  const PanelStrip strips[] = {kOutputStrip, kReductionStrip};
  const ClickRegion regions[] = {kOutputMetersRegion, kReductionMeterRegion};
  auto clickMeter = [&](std::size_t i) {
    click((regions[i].left + regions[i].right) / 2, (regions[i].top + regions[i].bottom) / 2);
  };
  // A full-scale sine lights the output meters and compresses enough to light the reduction.
  ASSERT_TRUE(idleUntil([&] {
    play();
    const PixelImage shown = grab(parent);
    return changedRows(shown, kOutputStrip).size() > 20 &&
           changedRows(shown, kReductionStrip).size() > 20;
  }));
  // Clicks on both meters put their lines at the levels of the next tick; the audio stops and
  // the meters fall to nothing, leaving one line each.
  clickMeter(0);
  clickMeter(1);
  // A line is a row of its colour over a meter that shows nothing else.
  auto heldLine = [&](const PixelImage& shown, std::size_t i) {
    const std::vector<int> rows = changedRows(shown, strips[i]);
    if (rows.size() != 1) {
      return -1;
    }
    const std::uint32_t p = shown.at(strips[i].faceX + 2, rows[0]);
    const bool coloured = i == 0 ? p == pixelOf(kOutputPeakGreen) || p == pixelOf(kOutputPeakRed)
                                 : p == pixelOf(kReductionPeakColour);
    return coloured ? rows[0] : -1;
  };
  int held[2] = {-1, -1};
  ASSERT_TRUE(idleUntil([&] {
    const PixelImage shown = grab(parent);
    held[0] = heldLine(shown, 0);
    held[1] = heldLine(shown, 1);
    return held[0] > 0 && held[1] > 0;
  })) << held[0]
      << " " << held[1];
  // The output meters' click takes their line down to the silent level, off the scale; the
  // reduction meter's line stays until its own click.
  clickMeter(0);
  ASSERT_TRUE(idleUntil([&] { return changedRows(grab(parent), kOutputStrip).empty(); }));
  EXPECT_EQ(heldLine(grab(parent), 1), held[1]);
  clickMeter(1);
  EXPECT_TRUE(idleUntil([&] { return changedRows(grab(parent), kReductionStrip).empty(); }));
}

TEST_F(EditorHost, CaptionSwapsTheThresholdReadoutsAndClicksBesideAHandleFineTune) {
  ASSERT_TRUE(open(plugin, parent));
  ASSERT_TRUE(waitForFirstRefresh());
  // The "Threshold" caption swaps the white compressor read-out for the light red limiter one.
  auto reddish = [&] {
    const PixelImage shown = grab(parent);
    for (int y = 14; y < 27; ++y) {
      for (int x = 15; x < 58; ++x) {
        const std::uint32_t p = shown.at(x, y);
        if (((p >> 16) & 0xFF) > ((p >> 8) & 0xFF) + 40) {
          return true;
        }
      }
    }
    return false;
  };
  ASSERT_FALSE(reddish());
  click(30, 39);
  EXPECT_TRUE(idleUntil(reddish));
  // A click on a track beside the handle moves the control one step toward the click: above
  // the Ratio handle (row 76) within the 15 rows before its track, above the Output handle at
  // the end of its track, left of the LookAhead handle at the end of its own.
  struct Case {
    int x;
    int y;
    VstInt32 index;
    float step;
  };
  const Case cases[] = {
      {88, 55, kRatio, 1.0f / 60},
      {kOutputFaderLayout.x + 10, kOutputFaderLayout.y + 50, kOutput, 10.0f / 24000},
      {kLookAheadSliderLayout.x + 20, kLookAheadSliderLayout.y + 6, kLookAhead, 20.0f / 1000}};
  for (const Case& c : cases) {
    for (int i = 0; i < 2; ++i) {
      const float before = plugin.get(c.index);
      click(c.x, c.y);
      EXPECT_TRUE(idleUntil([&] {
        return std::abs(before - c.step - plugin.get(c.index)) < c.step / 10;
      })) << c.index
          << ": " << before << " to " << plugin.get(c.index);
    }
  }
}

// The first line the help window shows, read from the heading bands at the text's left edge;
// -1 when no scroll position shows what is there.
int shownFirstLine(const PixelImage& shown) {
  if (shown.empty()) {
    return -1;
  }
  for (int first = 0; first <= kHelpLastFirstLine; ++first) {
    bool matches = true;
    for (int y = 0; y < kHelpWindowHeight && matches; ++y) {
      std::uint32_t expected = 0xFFFFFF;
      for (const HelpBand& band : kHelpBands) {
        const int top = helpBandTop(band, first);
        if (y >= top && y < top + band.height) {
          expected = band.height == kHelpMainBandHeight ? 0xDCF2FFu : 0xF0F0F0u;
        }
      }
      matches = shown.at(1, y) == expected;
    }
    if (matches) {
      return first;
    }
  }
  return -1;
}

TEST_F(EditorHost, HelpOpensWithF1AndTheMenuAndScrollsByWheelBarAndKeys) {
  // The editor sits to the right of where the help window opens.
  parent = newParent(520, 40);
  XSetInputFocus(display, parent, RevertToPointerRoot, CurrentTime);
  const std::size_t topLevels = topLevelCount();
  ASSERT_TRUE(open(plugin, parent));
  idleOnce();
  // The right button gives the face the keyboard focus: after the menu, F1 reaches it with the
  // pointer elsewhere.
  openMenu();
  key("Escape");
  ASSERT_TRUE(idleUntil([&] { return topLevelCount() == topLevels; }));
  moveTo(540, 300);
  key("F1");
  Window help = 0;
  ASSERT_TRUE(idleUntil([&] { return (help = findWindow("Zembrac Help")) != 0; }));
  auto firstLine = [&] {
    return shownFirstLine(grab(help, 0, 0, kHelpWindowWidth, kHelpWindowHeight));
  };
  ASSERT_TRUE(idleUntil([&] { return firstLine() == 0; }));
  // The window manager would give the new window the focus; here the test does.
  XSetInputFocus(display, help, RevertToPointerRoot, CurrentTime);
  // The scroll bar runs down the window's right edge with an arrow at each end; its thumb is
  // the grey run between them.
  constexpr int kBar = kHelpWindowWidth - 8;
  auto thumb = [&] {
    const PixelImage bar = grab(help, kBar, 0, 1, kHelpWindowHeight);
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < kHelpWindowHeight; ++y) {
      if (bar.at(0, y) == 0xC0C0C0u) {
        top = top < 0 ? y : top;
        bottom = y;
      }
    }
    return std::pair<int, int>(top, bottom);
  };
  auto wheel = [&](unsigned which) { click(kHelpWindowWidth / 2, 200, which, help); };
  auto trough = [&](bool below) {
    const auto [top, bottom] = thumb();
    click(kBar, below ? bottom + 20 : top - 20, 1, help);
  };
  auto dragThumbTo = [&](int y) {
    const auto [top, bottom] = thumb();
    moveTo(kBar, (top + bottom) / 2, help);
    button(1, true);
    for (int i = 1; i <= 4; ++i) {
      moveTo(kBar, (top + bottom) / 2 + (y - (top + bottom) / 2) * i / 4, help);
      plugin.dispatch(effEditIdle);
    }
    button(1, false);
  };
  struct Step {
    std::function<void()> act;
    int line;
    const char* what;
  };
  const Step steps[] = {
      {[&] { wheel(Button5); }, 3, "wheel down"},
      {[&] { wheel(Button4); }, 0, "wheel up"},
      {[&] {
         key("Up");
         key("Down");
       },
       1, "Up at the top, then Down"},
      {[&] { key("Next"); }, 9, "Page Down"},
      {[&] { key("Prior"); }, 1, "Page Up"},
      {[&] { click(kBar, kHelpWindowHeight - 4, 1, help); }, 2, "the arrow at the bottom"},
      {[&] { click(kBar, 4, 1, help); }, 1, "the arrow at the top"},
      {[&] { trough(true); }, 9, "a click below the thumb"},
      {[&] { dragThumbTo(kHelpWindowHeight + 40); }, kHelpLastFirstLine, "the thumb dragged down"},
      {[&] {
         key("Next");
         key("Up");
       },
       kHelpLastFirstLine - 1, "Page Down at the end, then Up"},
      {[&] { trough(false); }, kHelpLastFirstLine - 9, "a click above the thumb"},
      {[&] { dragThumbTo(-40); }, 0, "the thumb dragged up"},
  };
  for (const Step& step : steps) {
    step.act();
    int shown = -1;
    EXPECT_TRUE(idleUntil([&] { return (shown = firstLine()) == step.line; }))
        << step.what << ": line " << shown;
  }
  // "Help" from the menu while the window is open brings that window up, not a second one.
  chooseFromMenu(7);
  EXPECT_TRUE(idleUntil([&] { return topLevelCount() == topLevels + 1; }));
  EXPECT_EQ(findWindow("Zembrac Help"), help);
  // Closing the editor takes every window of its own with it.
  plugin.dispatch(effEditClose);
  XSync(display, False);
  EXPECT_EQ(topLevelCount(), topLevels);
}

TEST_F(EditorHost, SurvivesHostsThatMisbehave) {
  // Idle before open and after close does nothing.
  plugin.dispatch(effEditIdle);
  // Two editors at once, open/close cycles leaking no connection or file.
  Instance second;
  ASSERT_TRUE(open(plugin, parent));
  ASSERT_TRUE(open(second, newParent(620, 40)));
  idleUntil([] { return true; }, &second);
  second.dispatch(effEditClose);
  const int files = countOpenFiles();
  for (int i = 0; i < 20; ++i) {
    plugin.dispatch(effEditClose);
    ASSERT_TRUE(open(plugin, parent));
    plugin.dispatch(effEditIdle);
  }
  plugin.dispatch(effEditClose);
  plugin.dispatch(effEditIdle);
  EXPECT_EQ(countOpenFiles(), files - 1);
  // A host that never idles still shows the face: the server draws it from the pixmap.
  ASSERT_TRUE(open(plugin, parent));
  XSync(display, False);
  const PixelImage face = loadBitmap("bmp153_face.bmp");
  EXPECT_EQ(grab(parent).at(5, 5), face.at(5, 5));
  // The parent goes before effEditClose.
  XDestroyWindow(display, parent);
  XSync(display, False);
  plugin.dispatch(effEditIdle);
  plugin.dispatch(effEditClose);
  ASSERT_TRUE(open(plugin, newParent(40, 40)));
}

} // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    return 2;
  }
  libraryPath = argv[1];
  // The virtual display may still be starting up when the suite does. The probe stays
  // connected: a server whose last client leaves resets and refuses connections meanwhile.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  Display* probe = nullptr;
  while ((probe = XOpenDisplay(nullptr)) == nullptr &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  if (probe == nullptr) {
    std::fprintf(stderr, "no X display\n");
    return 1;
  }
  const int status = RUN_ALL_TESTS();
  XCloseDisplay(probe);
  return status;
}
