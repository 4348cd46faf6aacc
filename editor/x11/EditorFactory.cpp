// The Linux build's side of the engine/editor seam. The help window belongs to the open
// editor here (its events are read in the editor's idle), so the effect keeps none.
#include "EditorFactory.h"

#include "ADEditor.h"

#include <new>

AEffEditor* createEditor(ADelay* effect) { return new (std::nothrow) ADEditor(effect); }

HelpWindow* createHelpWindow(ADelay* /*effect*/) { return nullptr; }

void destroyHelpWindow(HelpWindow* /*helpWindow*/) {}
