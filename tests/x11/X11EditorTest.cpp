// The Linux editor as a host sees it: the .so loaded with dlopen, the editor opened in a
// window of the test's own, real input sent through XTest, pixels read back from the server.
// gtest first: Xlib defines None and Bool as macros.
#include <gtest/gtest.h>

#include "EditorConstants.h"
#include "PixelImage.h"
#include "RecordingHost.h"
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
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>

namespace {

const char* libraryPath = nullptr;

PixelImage loadBitmap(const std::string& name) {
  std::ifstream file(std::string(ZEMBRAC_BITMAPS) + "/" + name, std::ios::binary);
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                        std::istreambuf_iterator<char>());
  return decodeBmp(bytes.data(), bytes.size());
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
    display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    parent = newParent(40, 40);
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
  PixelImage grab(Window from) {
    PixelImage image(kEditorWidth, kEditorHeight);
    XImage* x = XGetImage(display, from, 0, 0, kEditorWidth, kEditorHeight, AllPlanes, ZPixmap);
    if (x == nullptr) {
      return {};
    }
    for (int y = 0; y < kEditorHeight; ++y) {
      for (int i = 0; i < kEditorWidth; ++i) {
        image.set(i, y, static_cast<std::uint32_t>(XGetPixel(x, i, y)) & 0xFFFFFFu);
      }
    }
    XDestroyImage(x);
    return image;
  }
  void moveTo(int x, int y) {
    int rx = 0;
    int ry = 0;
    Window child = 0;
    XTranslateCoordinates(display, parent, DefaultRootWindow(display), x, y, &rx, &ry, &child);
    XTestFakeMotionEvent(display, -1, rx, ry, CurrentTime);
    XSync(display, False);
  }
  void button(unsigned which, bool down) {
    XTestFakeButtonEvent(display, which, down ? True : False, CurrentTime);
    XSync(display, False);
  }
  void click(int x, int y, unsigned which = 1) {
    moveTo(x, y);
    button(which, true);
    button(which, false);
  }
  void type(const char* keys) {
    for (const char* k = keys; *k != '\0'; ++k) {
      const char name[2] = {*k, '\0'};
      const KeySym sym = *k == '\n'  ? XStringToKeysym("Return")
                         : *k == '.' ? XStringToKeysym("period")
                                     : XStringToKeysym(name);
      const KeyCode code = XKeysymToKeycode(display, sym);
      XTestFakeKeyEvent(display, code, True, CurrentTime);
      XTestFakeKeyEvent(display, code, False, CurrentTime);
    }
    XSync(display, False);
  }
  bool windowNamed(const char* name) {
    Window root = 0;
    Window parentOut = 0;
    Window* children = nullptr;
    unsigned count = 0;
    bool found = false;
    XQueryTree(display, DefaultRootWindow(display), &root, &parentOut, &children, &count);
    for (unsigned i = 0; i < count; ++i) {
      char* title = nullptr;
      if (XFetchName(display, children[i], &title) != 0 && title != nullptr) {
        found = found || std::string(title) == name;
        XFree(title);
      }
    }
    XFree(children);
    return found;
  }
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
  // Bypass switch: parameter 3 goes on and the host hears of it.
  click(354 + 20, 196 + 10);
  ASSERT_TRUE(idleUntil([&] { return plugin.get(3) > 0.5f; }));
  EXPECT_GE(automations(), 1u);
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
  // Numeric entry: a click on the Ratio read-out, 3.3 and Enter store 6 steps.
  click(66 + 20, 13 + 6);
  idleUntil([] { return true; });
  type("3.3\n");
  ASSERT_TRUE(idleUntil([&] { return std::abs(plugin.get(7) - 6.0f / 59.0f) < 0.01f; }));
  // The logo opens the Info box.
  click(400, 250);
  EXPECT_TRUE(idleUntil([&] { return windowNamed("Info"); }));
}

TEST_F(EditorHost, EntriesCommitOnAClickElsewhereAndOnlyTheLeftButtonDragsSliders) {
  // A settings folder of its own: the zoom slider keeps its default range, 1..20.
  char folder[] = "/tmp/zembrac-x11-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  setenv("XDG_CONFIG_HOME", folder, 1);
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
  const KeyCode escape = XKeysymToKeycode(display, XStringToKeysym("Escape"));
  XTestFakeKeyEvent(display, escape, True, CurrentTime);
  XTestFakeKeyEvent(display, escape, False, CurrentTime);
  XSync(display, False);
  ASSERT_TRUE(idleUntil([&] { return topLevelCount() == topLevels; }));
  EXPECT_EQ(plugin.get(12), lookAhead);
  // The left button drags it halfway, 28 / 56 x 996 + 3 = 501 hundredths of a millisecond.
  auto leftDrag = [&](int fromX, int fromY, int toX, int toY) {
    moveTo(fromX, fromY);
    button(1, true);
    for (int i = 1; i <= 4; ++i) {
      moveTo(fromX + (toX - fromX) * i / 4, fromY + (toY - fromY) * i / 4);
      plugin.dispatch(effEditIdle);
    }
  };
  leftDrag(86 + 56, 256 + 6, 86 + 28, 256 + 6);
  EXPECT_TRUE(idleUntil([&] { return std::abs(plugin.get(12) - 0.501f) < 1e-4f; }));
  button(1, false);
  // Program 0's Zoom, 2, sits at row 221 + truncate(1 / 19 x 40) = 223; row 251 is
  // 30 / 40 x 19 + 1 = 15.25, so 15 of 20 steps.
  leftDrag(304 + 6, 223, 304 + 6, 251);
  EXPECT_TRUE(idleUntil([&] { return std::abs(plugin.get(8) - 15.0f / 20.0f) < 1e-4f; }));
  button(1, false);
  unsetenv("XDG_CONFIG_HOME");
}

TEST_F(EditorHost, TheMenuSetsAndStoresTheDisplaySpeed) {
  char folder[] = "/tmp/zembrac-x11-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  setenv("XDG_CONFIG_HOME", folder, 1);
  ASSERT_TRUE(open(plugin, parent));
  idleUntil([] { return true; });
  click(250, 100, 3);
  idleUntil([] { return true; });
  // "Display speed" is the fifth row; its submenu opens beside it with "Fast" third.
  moveTo(250 + 40, 100 + 4 * 18 + 9);
  idleUntil([] { return true; });
  click(250 + 150 + 30, 100 + 4 * 18 + 2 * 18 + 9);
  const std::string file = std::string(folder) + "/zembrac/settings";
  ASSERT_TRUE(idleUntil([&] { return std::ifstream(file).good(); }));
  std::stringstream text;
  text << std::ifstream(file).rdbuf();
  EXPECT_NE(text.str().find("subDS 3\n"), std::string::npos) << text.str();
  unsetenv("XDG_CONFIG_HOME");
}

TEST_F(EditorHost, CaptionAutoSwitchFineTuningHelpAndColoursWorkWithRealInput) {
  char folder[] = "/tmp/zembrac-x11-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  setenv("XDG_CONFIG_HOME", folder, 1);
  const std::size_t topLevels = topLevelCount();
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
  // A click above the Ratio handle (row 76), within the 15 rows before its track, moves it one
  // step toward the click, twice.
  const float ratio = plugin.get(7);
  click(88, 55);
  ASSERT_TRUE(idleUntil([&] { return plugin.get(7) < ratio; }));
  const float once = plugin.get(7);
  click(88, 55);
  ASSERT_TRUE(idleUntil([&] { return plugin.get(7) < once; }));
  EXPECT_NEAR(ratio - once, once - plugin.get(7), 1e-4f);
  // The Auto switch turns automatic release on.
  const float autoRelease = plugin.get(10);
  click(124 + 13, 223 + 7);
  EXPECT_TRUE(idleUntil([&] { return plugin.get(10) != autoRelease; }));
  // "WaveDisplay colors" > "Custom" stores the Custom scheme and opens the colour chooser.
  click(250, 100, 3);
  idleUntil([] { return true; });
  moveTo(250 + 40, 100 + 18 + 9);
  idleUntil([] { return true; });
  click(250 + 150 + 30, 100 + 18 + 2 * 18 + 9);
  ASSERT_TRUE(idleUntil([&] { return windowNamed("Custom colors"); }));
  std::stringstream text;
  text << std::ifstream(std::string(folder) + "/zembrac/settings").rdbuf();
  EXPECT_NE(text.str().find("subCO 2\n"), std::string::npos) << text.str();
  // Help, the last menu row, opens the help window.
  click(250, 100, 3);
  idleUntil([] { return true; });
  click(250 + 40, 100 + 7 * 18 + 9);
  ASSERT_TRUE(idleUntil([&] { return windowNamed("Zembrac Help"); }));
  // Closing the editor takes every window of its own with it.
  plugin.dispatch(effEditClose);
  XSync(display, False);
  EXPECT_EQ(topLevelCount(), topLevels);
  unsetenv("XDG_CONFIG_HOME");
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
