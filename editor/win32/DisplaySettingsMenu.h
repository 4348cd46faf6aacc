// The context menu: its check marks, the settings commands and the Custom colour dialog.
// UI thread only (the editor window's procedure).
#pragma once

#include <windows.h>

class ADelay;

// Check marks of every settings group, the five wave pens of the colour scheme and the zoom
// slider's range (which may lower or raise zoomSteps) from the effect's settings. Called by
// editor open and after every settings command; unknown values change nothing in their group.
void applyDisplaySettings(HMENU menu, ADelay& effect) noexcept;

// WM_CONTEXTMENU: takes the focus and, when the screen point in lParam lies inside the client
// area, runs the context menu (the first submenu of menu) there, owned by window.
void showContextMenu(HWND window, LPARAM lParam, HMENU menu) noexcept;

// WM_COMMAND from the context menu: a settings command sets its setting, applies and saves the
// settings (Custom runs the colour dialog first); Info and Help show their windows. False for
// ids that are no menu command. The caller's paint routine follows in every case.
bool handleMenuCommand(HWND window, WORD id, ADelay& effect) noexcept;
