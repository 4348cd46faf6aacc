// The modal parts of the display settings: the Custom colour dialog, the context menu and its
// check marks, and the Info and Help items. A thread timer answers each modal loop, since a
// test that waited for a person would hang; every answer has a deadline.
#include "DisplaySettingsRegistry.h"

#include <colordlg.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

using namespace display_settings;

namespace {

constexpr ULONGLONG kModalDeadlineMs = 10000;

// The visible top-level window of this thread with the given class, or null.
HWND threadWindowOfClass(const char* className) {
  struct Search {
    const char* className;
    HWND found;
  } search{className, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        char name[64] = {};
        GetClassNameA(w, name, sizeof name);
        if (IsWindowVisible(w) && std::string(name) == s->className) {
          s->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// While it lives, a thread timer hands every modal window of windowClass to answer once; past
// the deadline it ends the modal loop itself and says so.
class ModalAnswer {
public:
  ModalAnswer(const char* windowClass, std::function<void(HWND)> answer)
      : windowClass_(windowClass), answer_(std::move(answer)),
        deadline_(GetTickCount64() + kModalDeadlineMs) {
    active_ = this;
    timer_ = SetTimer(nullptr, 0, 20, tick);
  }
  ~ModalAnswer() {
    KillTimer(nullptr, timer_);
    active_ = nullptr;
  }
  ModalAnswer(const ModalAnswer&) = delete;
  ModalAnswer& operator=(const ModalAnswer&) = delete;

  int answered() const { return answered_; }
  bool timedOut() const { return timedOut_; }

private:
  static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalAnswer* self = active_;
    if (self == nullptr) {
      return;
    }
    HWND modal = threadWindowOfClass(self->windowClass_);
    if (modal == nullptr || modal == self->last_) {
      if (modal != nullptr && GetTickCount64() > self->deadline_) {
        self->timedOut_ = true;
        if (std::string(self->windowClass_) == "#32768") {
          EndMenu();
        } else {
          EndDialog(modal, IDCANCEL);
        }
      }
      return;
    }
    self->last_ = modal;
    ++self->answered_;
    self->answer_(modal);
  }

  static inline ModalAnswer* active_ = nullptr;
  const char* windowClass_;
  std::function<void(HWND)> answer_;
  ULONGLONG deadline_;
  UINT_PTR timer_ = 0;
  HWND last_ = nullptr;
  int answered_ = 0;
  bool timedOut_ = false;
};

void press(HWND dialog, int id) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::array<UINT, 3> shownColour(HWND dialog) {
  return {GetDlgItemInt(dialog, COLOR_RED, nullptr, FALSE),
          GetDlgItemInt(dialog, COLOR_GREEN, nullptr, FALSE),
          GetDlgItemInt(dialog, COLOR_BLUE, nullptr, FALSE)};
}

class DisplaySettingsDialog : public SettingsFixture {};

// First in the file: the dialog's first selection is taken once per process.
TEST_F(DisplaySettingsDialog, CustomOkTakesTheFiveCustomColoursAndKeepsTheFirstSelection) {
  OpenEditor open(fx, host);
  HWND editor = open.window();
  ASSERT_NE(editor, nullptr);

  std::array<UINT, 3> firstSelection{};
  {
    ModalAnswer answer("#32770", [&](HWND dialog) {
      firstSelection = shownColour(dialog);
      // Puts 10, 20, 30 into the first custom colour box, where the input colour was.
      SetDlgItemInt(dialog, COLOR_RED, 10, FALSE);
      SetDlgItemInt(dialog, COLOR_GREEN, 20, FALSE);
      SetDlgItemInt(dialog, COLOR_BLUE, 30, FALSE);
      press(dialog, COLOR_ADD);
      press(dialog, IDOK);
    });
    open.command(IDM_COLOURS_CUSTOM);
    EXPECT_EQ(answer.answered(), 1);
    EXPECT_FALSE(answer.timedOut());
  }
  EXPECT_EQ(firstSelection, (std::array<UINT, 3>{108, 116, 188})); // the Icy input colour
  EXPECT_EQ(readValue("subCO").dword(), 2);
  std::array<std::int32_t, 15> expected = kIcy;
  expected[0] = 10;
  expected[1] = 20;
  expected[2] = 30;
  EXPECT_EQ(readValue("subIPOPTR").colours(), expected);

  std::array<UINT, 3> secondSelection{};
  {
    ModalAnswer answer("#32770", [&](HWND dialog) {
      secondSelection = shownColour(dialog);
      press(dialog, IDCANCEL);
    });
    open.command(IDM_COLOURS_CUSTOM);
    EXPECT_EQ(answer.answered(), 1);
  }
  EXPECT_EQ(secondSelection, firstSelection);
  EXPECT_EQ(readValue("subIPOPTR").colours(), expected);
}

TEST_F(DisplaySettingsDialog, CustomCancelKeepsTheColoursButStoresCustom) {
  OpenEditor open(fx, host);
  HWND editor = open.window();
  ASSERT_NE(editor, nullptr);
  open.command(IDM_COLOURS_NATURAL);
  ASSERT_EQ(readValue("subCO").dword(), 0);
  {
    ModalAnswer answer("#32770", [](HWND dialog) { press(dialog, IDCANCEL); });
    open.command(IDM_COLOURS_CUSTOM);
    EXPECT_EQ(answer.answered(), 1);
    EXPECT_FALSE(answer.timedOut());
  }
  EXPECT_EQ(readValue("subCO").dword(), 2);
  EXPECT_EQ(readValue("subIPOPTR").colours(), kNatural);
}

// The check marks of every settings item while the context menu is open at a client point.
struct MenuSight {
  bool opened = false;
  std::map<int, bool> checked;
};

MenuSight openContextMenuAt(HWND editor, POINT client) {
  MenuSight sight;
  POINT screen = client;
  ClientToScreen(editor, &screen);
  ModalAnswer answer("#32768", [&](HWND menuWindow) {
    sight.opened = true;
    auto menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
    // Every command id of the menu lies in 40004..40030; the gaps answer -1.
    for (int id = IDM_CEILING_0; id <= IDM_CEILING_005; ++id) {
      const UINT state = GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND);
      if (state != static_cast<UINT>(-1)) {
        sight.checked[id] = (state & MF_CHECKED) != 0;
      }
    }
    EndMenu();
  });
  SendMessageA(editor, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(editor),
               MAKELPARAM(screen.x, screen.y));
  EXPECT_FALSE(answer.timedOut());
  return sight;
}

TEST_F(DisplaySettingsDialog, ContextMenuOpensInsideTheWindowWithOneCheckPerGroup) {
  OpenEditor open(fx, host);
  HWND editor = open.window();
  ASSERT_NE(editor, nullptr);
  open.command(IDM_CEILING_005);
  open.command(IDM_PEAK_HOLD_30S);
  open.command(IDM_ZOOM_RANGE_16X);

  const MenuSight sight = openContextMenuAt(editor, {200, 100});
  ASSERT_TRUE(sight.opened);
  EXPECT_EQ(GetFocus(), editor);
  const std::map<int, bool> expected = {{IDM_CEILING_0, false},
                                        {IDM_CEILING_001, false},
                                        {IDM_CEILING_005, true},
                                        {IDM_CEILING_009, false},
                                        {IDM_COLOURS_NATURAL, false},
                                        {IDM_COLOURS_ICY, true},
                                        {IDM_COLOURS_CUSTOM, false},
                                        {IDM_ZOOM_RANGE_5X, false},
                                        {IDM_ZOOM_RANGE_10X, false},
                                        {IDM_ZOOM_RANGE_16X, true},
                                        {IDM_PEAK_HOLD_2S, false},
                                        {IDM_PEAK_HOLD_4S, false},
                                        {IDM_PEAK_HOLD_6S, false},
                                        {IDM_PEAK_HOLD_8S, false},
                                        {IDM_PEAK_HOLD_10S, false},
                                        {IDM_PEAK_HOLD_20S, false},
                                        {IDM_PEAK_HOLD_30S, true},
                                        {IDM_SPEED_SLOW, false},
                                        {IDM_SPEED_NORMAL, true},
                                        {IDM_SPEED_FAST, false},
                                        {IDM_INFO, false},
                                        {IDM_HELP, false}};
  EXPECT_EQ(sight.checked, expected);

  EXPECT_FALSE(openContextMenuAt(editor, {600, 100}).opened);
  EXPECT_FALSE(openContextMenuAt(editor, {-5, 10}).opened);
}

TEST_F(DisplaySettingsDialog, InfoAndHelpNeitherChangeNorWriteSettings) {
  OpenEditor open(fx, host);
  HWND editor = open.window();
  ASSERT_NE(editor, nullptr);
  {
    // The Info box is modal: answered like a person who reads it and presses OK.
    ModalAnswer answer("#32770", [](HWND box) { press(box, IDOK); });
    open.command(IDM_INFO);
    EXPECT_FALSE(answer.timedOut());
  }
  open.command(IDM_HELP);
  editor_harness::drainMessages();
  EXPECT_FALSE(keyExists(kVendorPath));

  open.command(IDM_SPEED_NORMAL);
  EXPECT_EQ(readValue("subPH").dword(), 32);
  EXPECT_EQ(readValue("subCO").dword(), 1);
  EXPECT_EQ(readValue("subWZ").dword(), 1);
}

} // namespace
