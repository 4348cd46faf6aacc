#include "EditorFactory.h"

AEffEditor* createEditor(ADelay*) { return nullptr; }
HelpWindow* createHelpWindow(ADelay*) { return nullptr; }
void destroyHelpWindow(HelpWindow*) {}
