// The editor on X11: the same 511 x 283 face as on Windows, a child of the host's window, on a
// display connection of its own. The host's effEditIdle calls are where its events are read
// and its timers run. UI thread only.
#pragma once

#include "AEffEditor.h"

#include <memory>

class ADelay;
struct EditorSession;

class ADEditor final : public AEffEditor {
public:
  explicit ADEditor(ADelay* effect) noexcept;
  ~ADEditor() override;

  bool getRect(ERect** rect) noexcept override;
  // parentWindow is the host's X window id. False, with nothing left behind, when no display
  // can be opened or the window not created.
  bool open(void* parentWindow) noexcept override;
  void close() noexcept override;
  // Reads the pending events, runs the timers that are due and shows what changed.
  void idle() noexcept override;

  void updateControls() noexcept;
  ADelay& delay() noexcept;
  EditorSession* session() noexcept { return session_.get(); }

private:
  void dispatch(union _XEvent& event) noexcept;
  void runTimers() noexcept;

  std::unique_ptr<EditorSession> session_;
};
