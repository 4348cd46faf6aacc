// The help window as a user meets it through an open editor: opening, the single instance,
// scrolling, what it paints, and its lifetime with the effect and the host's window.
#include "EditorHarness.h"
#include "HelpLayout.h"
#include "HelpTexts.h"
#include "ResourceIds.h"

#include <gtest/gtest.h>

#include <string>

using namespace editor_harness;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kSubBand = 0xF0F0F0;
constexpr std::uint32_t kMainBand = 0xDCF2FF;

bool helpClassRegistered(WNDCLASSEXA* info = nullptr) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  const bool found = GetClassInfoExA(pluginModule(), "ZembracHelp", &wc) != 0;
  if (info != nullptr) {
    *info = wc;
  }
  return found;
}

BOOL CALLBACK countHelpWindow(HWND window, LPARAM count) {
  char name[32] = {};
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId() && GetClassNameA(window, name, sizeof name) > 0 &&
      std::string(name) == "ZembracHelp") {
    ++*reinterpret_cast<int*>(count);
  }
  return TRUE;
}

int helpWindowCount() {
  int n = 0;
  EnumWindows(countHelpWindow, reinterpret_cast<LPARAM>(&n));
  return n;
}

HWND helpWindow() { return FindWindowA("ZembracHelp", nullptr); }

int scrollPosition(HWND window) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_POS;
  GetScrollInfo(window, SB_VERT, &si);
  return si.nPos;
}

int scroll(HWND window, int request, int thumb = 0) {
  SendMessageA(window, WM_VSCROLL, MAKEWPARAM(request, thumb), 0);
  return scrollPosition(window);
}

Image captureClient(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  HDC dc = GetDC(window);
  Image image = readBitmap(dc, client.right, client.bottom);
  ReleaseDC(window, dc);
  return image;
}

// The colour of the client's right edge, where no text reaches, in each row for first line p:
// a sub-heading's band covers its 14-pixel line, a main heading's reaches 5 pixels beyond it.
std::uint32_t expectedEdge(int row, int p) {
  std::uint32_t colour = kWhite;
  for (const HelpBand& band : kHelpBands) {
    const bool main = band.height == 24;
    const int top = (band.firstLine - p) * 14 - (main ? 5 : 0);
    if (row >= top && row < top + (main ? 24 : 14)) {
      colour = main ? kMainBand : kSubBand;
    }
  }
  return colour;
}

// First row whose right edge differs from the bands laid out for first line p, or -1.
int firstWrongEdgeRow(const Image& image, int p) {
  for (int y = 0; y < image.height; ++y) {
    if (image.at(image.width - 3, y) != expectedEdge(y, p)) {
      return y;
    }
  }
  return -1;
}

bool hasDarkPixel(const Image& image, int left, int top, int right, int bottom) {
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      if ((image.at(x, y) & 0xFF) < 0x60) {
        return true;
      }
    }
  }
  return false;
}

// Pumps until the help window shows the bands of first line p.
bool showsFirstLine(HWND window, int p) {
  return pumpUntil([&] { return firstWrongEdgeRow(captureClient(window), p) < 0; });
}

class HelpWindowTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(library.loaded()) << pluginPath();
    RecordingHost::instance().clear();
    ASSERT_EQ(helpWindowCount(), 0);
  }

  // An instance with its editor open in a host window.
  struct OpenEditor {
    explicit OpenEditor(const PluginLibrary& library) : fx(library) {
      if (fx.get() != nullptr && fx.openEditor(host.handle())) {
        editor = editorWindowOf(host.handle());
      }
      drainMessages();
    }
    ~OpenEditor() {
      if (editor != nullptr && IsWindow(editor)) {
        fx.closeEditor();
      }
    }
    // F1 while the editor has the focus.
    HWND openHelp() const {
      HELPINFO info{};
      info.cbSize = sizeof info;
      info.iContextType = HELPINFO_WINDOW;
      info.hItemHandle = editor;
      SendMessageA(editor, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
      drainMessages();
      return helpWindow();
    }
    HWND openHelpFromMenu() const {
      SendMessageA(editor, WM_COMMAND, MAKEWPARAM(IDM_HELP, 0), 0);
      drainMessages();
      return helpWindow();
    }
    HostWindow host;
    Instance fx;
    HWND editor = nullptr;
  };

  PluginLibrary library;
};

} // namespace

TEST_F(HelpWindowTest, ClassIsSharedByAllInstancesAndGoesWithTheLast) {
  EXPECT_FALSE(helpClassRegistered());
  // The system loads the class's cursor and icon once per process; count after that.
  LoadCursorA(nullptr, IDC_ARROW);
  LoadIconA(nullptr, IDI_QUESTION);
  const int gdiBefore = gdiObjectCount();
  {
    Instance first(library);
    ASSERT_NE(first.get(), nullptr);
    WNDCLASSEXA wc{};
    ASSERT_TRUE(helpClassRegistered(&wc));
    EXPECT_EQ(wc.style, 0u);
    EXPECT_EQ(wc.hCursor, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(wc.hIcon, LoadIconA(nullptr, IDI_QUESTION));
    LOGBRUSH brush{};
    ASSERT_EQ(GetObjectA(wc.hbrBackground, sizeof brush, &brush), static_cast<int>(sizeof brush));
    EXPECT_EQ(brush.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(brush.lbColor, RGB(255, 255, 255));

    Instance second(library);
    first.close();
    EXPECT_TRUE(helpClassRegistered()) << "the second instance still needs the class";
    second.close();
    EXPECT_FALSE(helpClassRegistered());
    EXPECT_EQ(gdiObjectCount(), gdiBefore) << "the shared brushes and font are freed";
  }
  Instance again(library);
  EXPECT_TRUE(helpClassRegistered()) << "a new instance after the last one registers again";
}

TEST_F(HelpWindowTest, F1OpensAFixedTopLevelWindowOwnedByTheHost) {
  OpenEditor open(library);
  ASSERT_NE(open.editor, nullptr);
  HWND help = open.openHelp();
  ASSERT_NE(help, nullptr);

  char title[64] = {};
  GetWindowTextA(help, title, sizeof title);
  EXPECT_STREQ(title, "Zembrac Help");
  const auto style = static_cast<DWORD>(GetWindowLongPtrA(help, GWL_STYLE));
  for (DWORD wanted : {DWORD{WS_VISIBLE}, DWORD{WS_CAPTION}, DWORD{WS_SYSMENU},
                       DWORD{WS_MINIMIZEBOX}, DWORD{WS_VSCROLL}}) {
    EXPECT_EQ(style & wanted, wanted) << std::hex << wanted;
  }
  EXPECT_EQ(style & (WS_CHILD | WS_THICKFRAME | WS_MAXIMIZEBOX), 0u);
  EXPECT_NE(GetWindowLongPtrA(help, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
  RECT frame{};
  GetWindowRect(help, &frame);
  EXPECT_EQ(frame.right - frame.left, 360);
  EXPECT_EQ(frame.bottom - frame.top, 484);
  EXPECT_EQ(GetWindow(help, GW_OWNER), open.host.handle());

  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(help, SB_VERT, &si));
  EXPECT_EQ(si.nMin, 0);
  EXPECT_EQ(si.nMax, 154);
  EXPECT_EQ(si.nPage, 34u);
  EXPECT_EQ(si.nPos, 0);
}

TEST_F(HelpWindowTest, MenuAndF1BringBackTheOneWindowAndRestoreIt) {
  OpenEditor open(library);
  ASSERT_NE(open.editor, nullptr);
  HWND help = open.openHelpFromMenu();
  ASSERT_NE(help, nullptr) << "the context menu's Help command";
  EXPECT_EQ(open.openHelp(), help);
  EXPECT_EQ(helpWindowCount(), 1);

  ShowWindow(help, SW_MINIMIZE);
  drainMessages();
  ASSERT_TRUE(IsIconic(help));
  EXPECT_EQ(open.openHelpFromMenu(), help);
  EXPECT_FALSE(IsIconic(help)) << "a minimized help window is restored";
  EXPECT_EQ(helpWindowCount(), 1);
}

// A bridged host: the top-level window that holds the editor belongs to another process (a
// program Wine and Windows both ship, ended with the test).
class ForeignTopLevel {
public:
  ForeignTopLevel() {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    char command[] = "notepad.exe";
    if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process_)) {
      return;
    }
    pumpUntil([this] {
      EnumWindows(matchProcess, reinterpret_cast<LPARAM>(this));
      return window != nullptr;
    });
  }
  ~ForeignTopLevel() {
    if (process_.hProcess != nullptr) {
      TerminateProcess(process_.hProcess, 0);
      WaitForSingleObject(process_.hProcess, kDeadlineMs);
      CloseHandle(process_.hThread);
      CloseHandle(process_.hProcess);
    }
  }
  ForeignTopLevel(const ForeignTopLevel&) = delete;
  ForeignTopLevel& operator=(const ForeignTopLevel&) = delete;

  HWND window = nullptr;

private:
  static BOOL CALLBACK matchProcess(HWND candidate, LPARAM self) {
    auto* me = reinterpret_cast<ForeignTopLevel*>(self);
    DWORD owner = 0;
    GetWindowThreadProcessId(candidate, &owner);
    if (owner == me->process_.dwProcessId && IsWindowVisible(candidate)) {
      me->window = candidate;
      return FALSE;
    }
    return TRUE;
  }
  PROCESS_INFORMATION process_{};
};

TEST_F(HelpWindowTest, MenuHelpIsOwnedByAHostWindowOfAnotherProcess) {
  ForeignTopLevel host;
  ASSERT_NE(host.window, nullptr) << "a top-level window of another process";
  Instance fx(library);
  ASSERT_TRUE(fx.openEditor(host.window));
  HWND editor = editorWindowOf(host.window);
  ASSERT_NE(editor, nullptr);
  SendMessageA(editor, WM_COMMAND, MAKEWPARAM(IDM_HELP, 0), 0);
  drainMessages();
  HWND help = helpWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(GetWindow(help, GW_OWNER), host.window);
  fx.closeEditor();
}

TEST_F(HelpWindowTest, ScrollsByLinePageAndThumbWithinTheRange) {
  OpenEditor open(library);
  ASSERT_NE(open.editor, nullptr);
  HWND help = open.openHelp();
  ASSERT_NE(help, nullptr);

  EXPECT_EQ(scroll(help, SB_LINEUP), 0);
  EXPECT_EQ(scroll(help, SB_LINEDOWN), 1);
  EXPECT_EQ(scroll(help, SB_PAGEDOWN), 9);
  EXPECT_EQ(scroll(help, SB_PAGEUP), 1);
  EXPECT_EQ(scroll(help, SB_PAGEUP), 0);
  EXPECT_EQ(scroll(help, SB_THUMBTRACK, 118), 118);
  EXPECT_EQ(scroll(help, SB_PAGEDOWN), 121);
  EXPECT_EQ(scroll(help, SB_LINEDOWN), 121);
  EXPECT_EQ(scroll(help, SB_PAGEUP), 113);
  EXPECT_EQ(scroll(help, SB_THUMBTRACK, 60), 60);
  // Requests other than line, page and thumb tracking, and the wheel, leave the text alone.
  EXPECT_EQ(scroll(help, SB_THUMBPOSITION, 10), 60);
  EXPECT_EQ(scroll(help, SB_BOTTOM), 60);
  EXPECT_EQ(scroll(help, SB_ENDSCROLL), 60);
  SendMessageA(help, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
               MAKELPARAM(100, 100));
  EXPECT_EQ(scrollPosition(help), 60);
  EXPECT_TRUE(showsFirstLine(help, 60));
}

TEST_F(HelpWindowTest, PaintsTheBandsAndHeadingsOfTheLinesShown) {
  OpenEditor open(library);
  ASSERT_NE(open.editor, nullptr);
  HWND help = open.openHelp();
  ASSERT_NE(help, nullptr);

  ASSERT_TRUE(showsFirstLine(help, 0)) << "row " << firstWrongEdgeRow(captureClient(help), 0);
  Image top = captureClient(help);
  EXPECT_FALSE(hasDarkPixel(top, 0, 0, top.width, 9)) << "line 0 is empty";
  EXPECT_TRUE(hasDarkPixel(top, 4, 14, 120, 28)) << "the first heading on line 1";
  EXPECT_TRUE(hasDarkPixel(top, 4, 14 * 14, 60, 15 * 14)) << "\"Hints :\" on line 14";

  scroll(help, SB_LINEDOWN);
  EXPECT_TRUE(showsFirstLine(help, 1)) << "row " << firstWrongEdgeRow(captureClient(help), 1);
  scroll(help, SB_THUMBTRACK, 121);
  ASSERT_TRUE(showsFirstLine(help, 121)) << "row " << firstWrongEdgeRow(captureClient(help), 121);
  Image end = captureClient(help);
  EXPECT_TRUE(hasDarkPixel(end, 4, 14, 80, 28)) << "\"RMS Display\" on line 122";
  EXPECT_TRUE(hasDarkPixel(end, 4, 6 * 14, 140, 7 * 14)) << "the last heading on line 127";
}

// The manual is laid out in lines that never wrap, so its headings stay on their bands. The
// lines are measured with the help font in the window's own text width.
TEST_F(HelpWindowTest, EveryLineOfTheManualFitsTheWindow) {
  OpenEditor open(library);
  ASSERT_NE(open.editor, nullptr);
  HWND help = open.openHelp();
  ASSERT_NE(help, nullptr);
  RECT client{};
  GetClientRect(help, &client);
  EXPECT_GE(client.bottom, 32 * kHelpLineHeight) << "32 full lines show at the end";
  const int width = client.right - 2 * kHelpTextMargin;

  HDC dc = GetDC(help);
  HFONT font = CreateFontA(14, 5, 0, 0, 0, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, "Arial");
  HGDIOBJ previous = SelectObject(dc, font);
  for (const HelpBlock& block : kHelpBlocks) {
    const std::string text = block.text;
    int lines = 0;
    for (std::size_t start = 0; start < text.size();) {
      const std::size_t end = text.find('\n', start);
      const std::string line = text.substr(start, end - start);
      SIZE extent{};
      GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &extent);
      // Frames on other systems may be a few pixels wider than here.
      EXPECT_LE(extent.cx, width - 16) << line;
      ++lines;
      start = end == std::string::npos ? text.size() : end + 1;
    }
    RECT area{0, 0, width, 0};
    DrawTextA(dc, block.text, -1, &area, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(area.bottom, lines * kHelpLineHeight) << "block at line " << block.firstLine;
  }
  SelectObject(dc, previous);
  DeleteObject(font);
  ReleaseDC(help, dc);
}

TEST_F(HelpWindowTest, AClosedWindowIsReplacedByANewOneAtTheTop) {
  OpenEditor open(library);
  ASSERT_NE(open.editor, nullptr);
  HWND help = open.openHelp();
  ASSERT_NE(help, nullptr);
  scroll(help, SB_THUMBTRACK, 50);
  SendMessageA(help, WM_SYSCOMMAND, SC_CLOSE, 0);
  drainMessages();
  ASSERT_FALSE(IsWindow(help));

  HWND fresh = open.openHelp();
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(scrollPosition(fresh), 0);
  EXPECT_TRUE(showsFirstLine(fresh, 0));
  EXPECT_EQ(helpWindowCount(), 1);
}

TEST_F(HelpWindowTest, OutlivesTheEditorButNotItsEffect) {
  {
    OpenEditor open(library);
    ASSERT_NE(open.editor, nullptr);
    HWND help = open.openHelp();
    ASSERT_NE(help, nullptr);
    open.fx.closeEditor();
    drainMessages();
    EXPECT_TRUE(IsWindow(help)) << "closing the editor leaves the help window";
    open.fx.close();
    EXPECT_FALSE(IsWindow(help));
    EXPECT_FALSE(helpClassRegistered());
  }
  {
    OpenEditor open(library);
    ASSERT_NE(open.editor, nullptr);
    HWND help = open.openHelp();
    ASSERT_NE(help, nullptr);
    open.fx.closeEditor();
    open.host.destroy();
    drainMessages();
    EXPECT_FALSE(IsWindow(help)) << "the help window goes with the window that owns it";
    open.fx.close();
    EXPECT_FALSE(helpClassRegistered());
  }
}
