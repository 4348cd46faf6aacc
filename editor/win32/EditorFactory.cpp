// The Windows build's side of the engine/editor seam.
#include "EditorFactory.h"

#include "ADEditor.h"
#include "HelpWindow.h"

#include <new>

AEffEditor* createEditor(ADelay* effect) { return new (std::nothrow) ADEditor(effect); }

HelpWindow* createHelpWindow(ADelay* /*effect*/) { return new (std::nothrow) HelpWindow(); }

void destroyHelpWindow(HelpWindow* helpWindow) { delete helpWindow; }
