#include "DisplaySettingsMenu.h"
#include "EditorMessages.h"
#include "NumericEntry.h"

// The menu's ids and the entry boxes' notifications share WM_COMMAND; whatever it was, the
// paint routine follows.
LRESULT onEditorCommand(const EditorContext& context, WPARAM wParam, LPARAM lParam) noexcept {
  if (HIWORD(wParam) == EN_CHANGE) {
    onNumericEntryChange(context, reinterpret_cast<HWND>(lParam));
  }
  handleMenuCommand(context.window, LOWORD(wParam), context.effect);
  paintEditor(context);
  return 0;
}
