// The editor: a fixed 511 x 283 child window drawn from bitmaps. All editor state that must
// survive closing lives in the effect; what exists from open to close is the session.
// UI thread only.
#pragma once

#include "AEffEditor.h"
#include "EditorSession.h"

#include <windows.h>

class ADelay;

class ADEditor final : public AEffEditor {
public:
  // Attaches itself to effect with setEditor.
  explicit ADEditor(ADelay* effect) noexcept;

  bool getRect(ERect** rect) noexcept override;
  // Creates the editor window inside parentWindow. False, with nothing left behind, when the
  // window class cannot be registered or the window not created.
  bool open(void* parentWindow) noexcept override;
  // Releases what open created and, for the last open editor of the process, the shared set.
  // Closing a closed editor does nothing.
  void close() noexcept override;
  void idle() noexcept override {}

  // Sets every control from the effect and rebuilds the wave image from its history.
  void updateControls() noexcept;

  // Called by the window procedure when the window is destroyed while the editor is open.
  void windowDestroyed() noexcept;

  EditorSession& session() noexcept { return session_; }
  ADelay& delay() noexcept;

private:
  void abandonOpen() noexcept;

  EditorSession session_;
};

// The callback of the three editor timers: posts the display tick for the timer of the
// chosen display speed and refreshes the controls after any parameter change.
void CALLBACK editorTimerProc(HWND window, UINT message, UINT_PTR id, DWORD time);

// The editor attached to effect, or null. Every editor of this library is an ADEditor.
ADEditor* editorOf(ADelay& effect) noexcept;
