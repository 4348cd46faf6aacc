// The editor window's message handlers. The window procedure (EditorWindow.cpp) routes a
// message to its handler only while the window is the open editor of its effect; everything
// else goes to DefWindowProcA. Each handler lives in a file of its own: declare it here,
// define it there, and add its line to the route table in EditorWindow.cpp.
#pragma once

#include <windows.h>

#include <optional>

class ADelay;
class ADEditor;
struct EditorSession;

struct EditorContext {
  HWND window;
  ADelay& effect;
  ADEditor& editor;
  EditorSession& session;
};

using EditorMessageHandler = LRESULT (*)(const EditorContext& context, WPARAM wParam,
                                         LPARAM lParam) noexcept;

// The context of window when it is the completely opened editor of its effect.
std::optional<EditorContext> editorContext(HWND window) noexcept;

// WM_PAINT: the paint routine.
LRESULT onEditorPaint(const EditorContext& context, WPARAM wParam, LPARAM lParam) noexcept;
// WM_DESTROY while the editor is open (the host destroyed its parent first): closes it.
LRESULT onEditorDestroy(const EditorContext& context, WPARAM wParam, LPARAM lParam) noexcept;

// WM_CONTEXTMENU: the context menu at the clicked point (DisplaySettingsMenu.cpp).
LRESULT onEditorContextMenu(const EditorContext& context, WPARAM wParam, LPARAM lParam) noexcept;
// WM_COMMAND: the context menu's commands, then the paint routine (EditorCommand.cpp).
LRESULT onEditorCommand(const EditorContext& context, WPARAM wParam, LPARAM lParam) noexcept;

// WM_LBUTTONDOWN: numeric entry, grabs, fine tuning, switches, the "Threshold" caption, the
// logo and the meters' peak memory, in that order (EditorClick.cpp).
LRESULT onEditorLButtonDown(const EditorContext& context, WPARAM wParam, LPARAM lParam) noexcept;
// WM_MOUSEMOVE: drags the grabbed control while the left button alone is held (EditorDrag.cpp).
LRESULT onEditorMouseMove(const EditorContext& context, WPARAM wParam, LPARAM lParam) noexcept;
// WM_LBUTTONUP: ends the drag (EditorButtonUp.cpp).
LRESULT onEditorLButtonUp(const EditorContext& context, WPARAM wParam, LPARAM lParam) noexcept;
// WM_HELP: the help window (EditorHelp.cpp).
LRESULT onEditorHelp(const EditorContext& context, WPARAM wParam, LPARAM lParam) noexcept;

// displayTickMessage: meters, wave display and read-outs move on by one tick (DisplayTick.cpp).
LRESULT onEditorDisplayTick(const EditorContext& context, WPARAM wParam, LPARAM lParam) noexcept;

// The paint routine: face, RMS read-out, animated areas and every control. Validates what is
// invalid, so it also serves after WM_COMMAND.
void paintEditor(const EditorContext& context) noexcept;

// Shared by the paint routine and the display tick: the RMS read-out's box with text, and the
// panel's animated areas copied to their places on the face.
void drawRmsText(HDC dc, const char* text) noexcept;
void showPanel(HDC dc, HDC panel) noexcept;
