// The seam between the portable engine and the platform's editor. Builds without an editor
// link NoEditor.cpp, whose functions create nothing.
#pragma once

class AEffEditor;
class ADelay;
class HelpWindow;

// Creates the editor for effect (it attaches itself with setEditor), or null.
AEffEditor* createEditor(ADelay* effect);
// The effect's help window object, or null; destroyHelpWindow accepts null.
HelpWindow* createHelpWindow(ADelay* effect);
void destroyHelpWindow(HelpWindow* helpWindow);
