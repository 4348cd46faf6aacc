#include "EditorWindow.h"

#include "ADEditor.h"
#include "EditorMessages.h"

namespace {

struct EditorRoute {
  UINT message;
  EditorMessageHandler handler;
};

// clang-format off
constexpr EditorRoute kEditorRoutes[] = {
    {WM_PAINT, onEditorPaint},
    {displayTickMessage, onEditorDisplayTick},
    {WM_DESTROY, onEditorDestroy},
    {WM_CONTEXTMENU, onEditorContextMenu},
    {WM_COMMAND, onEditorCommand},
    {WM_LBUTTONDOWN, onEditorLButtonDown},
    {WM_MOUSEMOVE, onEditorMouseMove},
    {WM_LBUTTONUP, onEditorLButtonUp},
    {WM_HELP, onEditorHelp},
};
// clang-format on

} // namespace

std::optional<EditorContext> editorContext(HWND window) noexcept {
  auto* effect = reinterpret_cast<ADelay*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (effect == nullptr) {
    return std::nullopt;
  }
  ADEditor* editor = editorOf(*effect);
  if (editor == nullptr || editor->session().window != window || !editor->session().complete) {
    return std::nullopt;
  }
  return EditorContext{window, *effect, *editor, editor->session()};
}

LRESULT onEditorDestroy(const EditorContext& context, WPARAM /*wParam*/,
                        LPARAM /*lParam*/) noexcept {
  context.editor.windowDestroyed();
  return 0;
}

LRESULT CALLBACK editorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  for (const EditorRoute& route : kEditorRoutes) {
    if (route.message == message) {
      if (const std::optional<EditorContext> context = editorContext(window)) {
        return route.handler(*context, wParam, lParam);
      }
      break;
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
