// The window procedure of the class "Zembrac".
#pragma once

#include <windows.h>

LRESULT CALLBACK editorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
