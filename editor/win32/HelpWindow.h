// The plug-in's manual in a scrollable window of its own, and the Info box. One HelpWindow per
// effect instance; the brushes, font and window class it draws with are shared by all
// instances in the process and live while any instance does. UI thread only, except that
// construction and destruction may happen on whichever thread the host creates effects on.
#pragma once

#include <windows.h>

class ADelay;

class HelpWindow {
public:
  HelpWindow() noexcept;
  ~HelpWindow();
  HelpWindow(const HelpWindow&) = delete;
  HelpWindow& operator=(const HelpWindow&) = delete;

  // Brings the open help window back (restored and active) or opens a new one owned by the
  // top-level window that holds editorWindow. Does nothing when the window cannot be made.
  void show(HWND editorWindow) noexcept;
  // The open help window, or null.
  HWND window() const noexcept { return window_; }
  int firstLine() const noexcept { return firstLine_; }

private:
  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void paint(HWND window) noexcept;
  void scroll(HWND window, WPARAM request) noexcept;

  HWND window_ = nullptr;
  SCROLLINFO scrollInfo_{};
  int firstLine_ = 0;
};

// Entry points for the editor: the context menu's "Help" and "Info", F1 and the logo area.
// The editor window is passed, never searched for: in a bridged host the top-level window
// that holds it belongs to another process.
void showHelpWindow(ADelay& effect, HWND editorWindow) noexcept;
void showInfoBox(HWND owner, ADelay& effect) noexcept;
