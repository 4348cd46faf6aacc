// The editor's lifecycle as a host drives it: open, close, reopen, several instances, a parent
// destroyed under an open editor, a full window table, and what each leaves behind.
#include "EditorHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

using namespace editor_harness;

namespace {

class EditorLifecycle : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(library.loaded()) << pluginPath();
    RecordingHost::instance().clear();
  }
  PluginLibrary library;
};

std::vector<HWND> entryBoxesOf(HWND editor) {
  std::vector<HWND> boxes;
  for (HWND child = FindWindowExA(editor, nullptr, "Edit", nullptr); child != nullptr;
       child = FindWindowExA(editor, child, "Edit", nullptr)) {
    boxes.push_back(child);
  }
  return boxes;
}

HFONT entryFontOf(HWND editor) {
  const std::vector<HWND> boxes = entryBoxesOf(editor);
  return boxes.empty() ? nullptr
                       : reinterpret_cast<HFONT>(SendMessageA(boxes.front(), WM_GETFONT, 0, 0));
}

std::vector<HWND> editorChildren(HWND parent) {
  std::vector<HWND> found;
  for (HWND w = editorWindowOf(parent); w != nullptr;
       w = FindWindowExA(parent, w, "Zembrac", nullptr)) {
    found.push_back(w);
  }
  return found;
}

// Lets the timers run at least once, so that every path of an open editor has been taken.
void runTimersOnce() {
  const ULONGLONG start = GetTickCount64();
  pumpUntil([&] { return GetTickCount64() - start > 250; });
}

} // namespace

TEST_F(EditorLifecycle, ReportsItsSizeAndAnEditor) {
  Instance fx(library);
  ASSERT_NE(fx.get(), nullptr);
  EXPECT_EQ(fx->flags, effFlagsHasEditor | effFlagsCanReplacing);
  ERect* rect = nullptr;
  EXPECT_EQ(dispatch(fx.get(), effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->bottom, 283);
  EXPECT_EQ(rect->right, 511);
}

TEST_F(EditorLifecycle, OpensAChildOfTheParentAndTheLastCloseTakesEverythingAway) {
  Instance fx(library);
  const HWND host = persistentHost(0);
  ASSERT_TRUE(fx.openEditor(host));
  HWND editor = editorWindowOf(host);
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(editorClassRegistered());
  RECT client{};
  GetClientRect(editor, &client);
  EXPECT_EQ(client.right, kEditorWidth);
  EXPECT_EQ(client.bottom, kEditorHeight);
  POINT origin{0, 0};
  MapWindowPoints(editor, host, &origin, 1);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);

  const std::vector<HWND> boxes = entryBoxesOf(editor);
  ASSERT_EQ(boxes.size(), 4u);
  for (HWND box : boxes) {
    EXPECT_FALSE(IsWindowVisible(box));
  }
  HFONT font = entryFontOf(editor);
  EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));

  runTimersOnce();
  fx.closeEditor();
  EXPECT_FALSE(IsWindow(editor));
  EXPECT_FALSE(IsWindow(boxes.front()));
  EXPECT_FALSE(editorClassRegistered());
  EXPECT_EQ(GetObjectType(font), 0u) << "the shared font outlived the last editor";
}

// Enter's line break is what commits a numeric entry; the box must take it.
TEST_F(EditorLifecycle, EntryBoxTakesEntersLineBreak) {
  Instance fx(library);
  const HWND host = persistentHost(0);
  ASSERT_TRUE(fx.openEditor(host));
  const std::vector<HWND> boxes = entryBoxesOf(editorWindowOf(host));
  ASSERT_FALSE(boxes.empty());
  for (HWND box : boxes) {
    SetWindowTextA(box, "12");
    SendMessageA(box, EM_SETSEL, 2, 2);
    SendMessageA(box, WM_CHAR, '\r', 0);
    EXPECT_EQ(SendMessageA(box, EM_GETLINECOUNT, 0, 0), 2);
  }
  fx.closeEditor();
}

TEST_F(EditorLifecycle, SharedSetLivesWhileAnyEditorIsOpenAndComesBackOnReopen) {
  Instance a(library);
  Instance b(library);
  const HWND hostA = persistentHost(0);
  const HWND hostB = persistentHost(1);
  ASSERT_TRUE(a.openEditor(hostA));
  ASSERT_TRUE(b.openEditor(hostB));
  HFONT font = entryFontOf(editorWindowOf(hostB));
  EXPECT_EQ(entryFontOf(editorWindowOf(hostA)), font) << "one font for all editors";
  runTimersOnce();

  a.closeEditor();
  EXPECT_TRUE(editorClassRegistered());
  EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
  b.closeEditor();
  EXPECT_FALSE(editorClassRegistered());
  EXPECT_EQ(GetObjectType(font), 0u);

  ASSERT_TRUE(a.openEditor(hostA));
  EXPECT_TRUE(editorClassRegistered());
  EXPECT_EQ(GetObjectType(entryFontOf(editorWindowOf(hostA))), static_cast<DWORD>(OBJ_FONT));
  a.closeEditor();
  EXPECT_FALSE(editorClassRegistered());
}

TEST_F(EditorLifecycle, OpenCloseCyclesLeaveNoGdiObjectBehind) {
  Instance a(library);
  Instance b(library);
  const HWND hostA = persistentHost(0);
  const HWND hostB = persistentHost(1);
  // The system keeps objects it makes for the first window and DC of a process and of each
  // top-level window.
  ASSERT_TRUE(a.openEditor(hostA));
  ASSERT_TRUE(b.openEditor(hostB));
  runTimersOnce();
  b.closeEditor();
  a.closeEditor();
  drainMessages();
  const int closed = gdiObjectCount();
  ASSERT_GT(closed, 0);

  for (int cycle = 0; cycle < 3; ++cycle) {
    ASSERT_TRUE(a.openEditor(hostA));
    runTimersOnce();
    a.closeEditor();
    drainMessages();
    EXPECT_EQ(gdiObjectCount(), closed) << "cycle " << cycle;
  }

  ASSERT_TRUE(a.openEditor(hostA));
  runTimersOnce();
  const int oneOpen = gdiObjectCount();
  EXPECT_GT(oneOpen, closed);
  ASSERT_TRUE(b.openEditor(hostB));
  runTimersOnce();
  b.closeEditor();
  drainMessages();
  EXPECT_EQ(gdiObjectCount(), oneOpen) << "the second editor's own objects must all go";
  a.closeEditor();
  drainMessages();
  EXPECT_EQ(gdiObjectCount(), closed);
}

TEST_F(EditorLifecycle, ParentDestroyedUnderTheOnlyEditorClosesIt) {
  Instance fx(library);
  auto host = std::make_unique<HostWindow>();
  ASSERT_TRUE(fx.openEditor(host->handle()));
  HWND editor = editorWindowOf(host->handle());
  HFONT font = entryFontOf(editor);
  runTimersOnce();
  host->destroy();
  EXPECT_FALSE(IsWindow(editor));
  EXPECT_EQ(GetObjectType(font), 0u) << "the window's own close was the last one";
  // The class cannot go while its window is being destroyed; the host's late close request
  // finishes the job.
  fx.closeEditor();
  EXPECT_FALSE(editorClassRegistered());
  fx.closeEditor();

  const HWND again = persistentHost(0);
  ASSERT_TRUE(fx.openEditor(again)) << "the open count went wrong";
  runTimersOnce();
  fx.closeEditor();
  EXPECT_FALSE(editorClassRegistered());
}

TEST_F(EditorLifecycle, ParentDestroyedUnderOneOfTwoEditorsCountsItOnce) {
  Instance a(library);
  Instance b(library);
  auto hostA = std::make_unique<HostWindow>(0, 0);
  const HWND hostB = persistentHost(1);
  ASSERT_TRUE(a.openEditor(hostA->handle()));
  ASSERT_TRUE(b.openEditor(hostB));
  HFONT font = entryFontOf(editorWindowOf(hostB));
  hostA->destroy();
  a.closeEditor();
  a.closeEditor();
  runTimersOnce();
  EXPECT_TRUE(editorClassRegistered()) << "a second close lowered the count again";
  EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
  b.closeEditor();
  EXPECT_FALSE(editorClassRegistered());
}

TEST_F(EditorLifecycle, EffectDeletedWithItsEditorOpenClosesTheEditorFirst) {
  auto fx = std::make_unique<Instance>(library);
  const HWND host = persistentHost(0);
  ASSERT_TRUE(fx->openEditor(host));
  HWND editor = editorWindowOf(host);
  runTimersOnce();
  fx.reset(); // effClose without effEditClose
  EXPECT_FALSE(IsWindow(editor));
  EXPECT_FALSE(editorClassRegistered());
  runTimersOnce(); // no timer of the deleted instance may fire
}

TEST_F(EditorLifecycle, SecondOpenMovesTheEditorToTheNewParent) {
  Instance fx(library);
  const HWND first = persistentHost(0);
  const HWND second = persistentHost(1);
  ASSERT_TRUE(fx.openEditor(first));
  ASSERT_TRUE(fx.openEditor(second));
  EXPECT_NE(editorWindowOf(second), nullptr);
  runTimersOnce();
  fx.closeEditor();
  EXPECT_FALSE(editorClassRegistered()) << "the replaced editor was counted twice";
}

TEST_F(EditorLifecycle, FailedOpenLeavesNothingAndTheNextOpenWorks) {
  Instance fx(library);
  {
    const HWND warmUp = persistentHost(0);
    ASSERT_TRUE(fx.openEditor(warmUp));
    fx.closeEditor();
  }
  drainMessages();
  const int before = gdiObjectCount();
  // A parent that is no window: creating the child fails after the shared set was made.
  EXPECT_FALSE(fx.openEditor(reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7654))));
  EXPECT_FALSE(editorClassRegistered());
  EXPECT_EQ(gdiObjectCount(), before);
  fx.closeEditor();

  const HWND host = persistentHost(0);
  ASSERT_TRUE(fx.openEditor(host));
  runTimersOnce();
  fx.closeEditor();
  EXPECT_FALSE(editorClassRegistered());
}

// The process tracks 128 editor windows; the 129th still opens and still goes when closed.
TEST_F(EditorLifecycle, EditorsBeyondTheWindowTableOpenAndCleanUp) {
  constexpr int kEditors = 130;
  const HWND host = persistentHost(0);
  std::vector<std::unique_ptr<Instance>> instances;
  std::vector<HWND> windows;
  for (int i = 0; i < kEditors; ++i) {
    instances.push_back(std::make_unique<Instance>(library));
    ASSERT_TRUE(instances.back()->openEditor(host)) << "editor " << i;
    const std::vector<HWND> now = editorChildren(host);
    for (HWND w : now) {
      if (std::find(windows.begin(), windows.end(), w) == windows.end()) {
        windows.push_back(w);
      }
    }
    ASSERT_EQ(windows.size(), instances.size());
  }
  runTimersOnce();

  instances.back()->closeEditor();
  EXPECT_FALSE(IsWindow(windows.back())) << "an untracked window must go with its own close";
  instances.front()->closeEditor();
  EXPECT_TRUE(IsWindow(windows.front()))
      << "a tracked window goes with its parent or the last close";
  for (auto& fx : instances) {
    fx->closeEditor();
  }
  EXPECT_TRUE(editorChildren(host).empty());
  EXPECT_FALSE(editorClassRegistered());

  ASSERT_TRUE(instances.front()->openEditor(host));
  runTimersOnce();
  instances.front()->closeEditor();
  EXPECT_FALSE(editorClassRegistered());
}
