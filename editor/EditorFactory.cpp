// The Windows build's side of the engine/editor seam.
#include "EditorFactory.h"

AEffEditor* createEditor(ADelay* /*effect*/) { return nullptr; }

HelpWindow* createHelpWindow(ADelay* /*effect*/) { return nullptr; }

void destroyHelpWindow(HelpWindow* /*helpWindow*/) {}
