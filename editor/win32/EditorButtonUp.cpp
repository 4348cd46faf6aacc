#include "EditorMessages.h"
#include "EditorSession.h"

LRESULT onEditorLButtonUp(const EditorContext& context, WPARAM /*wParam*/,
                          LPARAM /*lParam*/) noexcept {
  context.session.dragMode = 0;
  return 0;
}
