#include "EditorMessages.h"
#include "HelpWindow.h"

// F1 while the editor has the focus. Answered here, so that the host's window does not get
// the request as well.
LRESULT onEditorHelp(const EditorContext& context, WPARAM /*wParam*/, LPARAM /*lParam*/) noexcept {
  showHelpWindow(context.effect, context.window);
  return TRUE;
}
