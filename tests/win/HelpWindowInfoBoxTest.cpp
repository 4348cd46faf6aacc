// The Info box, opened from the context menu and from the logo on the editor face. It is modal,
// so a second thread finds it by its caption, reads it and answers OK.
#include "EditorHarness.h"
#include "HelpTexts.h"
#include "ResourceIds.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

using namespace editor_harness;

namespace {

struct SeenBox {
  bool found = false;
  std::string text;
  HWND owner = nullptr;
  bool okShown = false;
  bool cancelShown = false;
};

HWND findInfoBox() {
  for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", "Info"); w != nullptr;
       w = FindWindowExA(nullptr, w, "#32770", "Info")) {
    DWORD process = 0;
    GetWindowThreadProcessId(w, &process);
    if (process == GetCurrentProcessId()) {
      return w;
    }
  }
  return nullptr;
}

bool shown(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  return item != nullptr && IsWindowVisible(item);
}

// Runs trigger, which may block in a message box, while another thread answers the box.
// A trigger that shows no box returns at once, and the answerer stops looking.
SeenBox answerInfoBox(const std::function<void()>& trigger) {
  SeenBox seen;
  std::atomic<bool> triggerReturned{false};
  std::thread answerer([&seen, &triggerReturned] {
    const ULONGLONG deadline = GetTickCount64() + kDeadlineMs;
    while (GetTickCount64() < deadline) {
      const bool lastLook = triggerReturned.load();
      HWND box = findInfoBox();
      if (box != nullptr && IsWindowVisible(box)) {
        char text[256] = {};
        // The message text is the static control with id 0xFFFF on both systems.
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        seen.text = text;
        seen.owner = GetWindow(box, GW_OWNER);
        seen.okShown = shown(box, IDOK);
        seen.cancelShown = shown(box, IDCANCEL);
        seen.found = true;
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
        return;
      }
      if (lastLook) {
        return;
      }
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
  });
  trigger();
  triggerReturned = true;
  answerer.join();
  return seen;
}

class InfoBox : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(library.loaded()) << pluginPath();
    ASSERT_NE(fx.get(), nullptr);
    ASSERT_TRUE(fx.openEditor(host.handle()));
    editor = editorWindowOf(host.handle());
    ASSERT_NE(editor, nullptr);
    drainMessages();
  }
  void TearDown() override {
    if (fx.get() != nullptr) {
      fx.closeEditor();
    }
  }

  void expectTheInfoText(const SeenBox& box) const {
    ASSERT_TRUE(box.found);
    const std::string expected = kInfoText;
    EXPECT_EQ(box.text, expected);
    EXPECT_EQ(box.text.rfind("Zembrac version 2.75 x64", 0), 0u);
    const std::string tail = "\n\nVST PlugIn Technology by Steinberg";
    ASSERT_GE(box.text.size(), tail.size());
    EXPECT_EQ(box.text.substr(box.text.size() - tail.size()), tail);
    EXPECT_EQ(box.owner, host.handle()) << "the box is owned by the editor's top-level window";
    EXPECT_TRUE(box.okShown);
    EXPECT_FALSE(box.cancelShown) << "OK is the only button";
  }

  PluginLibrary library;
  HostWindow host;
  Instance fx{library};
  HWND editor = nullptr;
};

} // namespace

TEST_F(InfoBox, OpensFromTheContextMenu) {
  const SeenBox box =
      answerInfoBox([&] { SendMessageA(editor, WM_COMMAND, MAKEWPARAM(IDM_INFO, 0), 0); });
  expectTheInfoText(box);
  EXPECT_EQ(FindWindowA("ZembracHelp", nullptr), nullptr) << "Info opens no help window";
}

TEST_F(InfoBox, OpensFromTheLogoAndNotFromTheFaceAround) {
  const auto click = [&](int x, int y) {
    return answerInfoBox([&] {
      SendMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
      SendMessageA(editor, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    });
  };
  expectTheInfoText(click(400, 252));
  EXPECT_FALSE(click(250, 278).found) << "the margin below the wave display";
}
