// Everything one open X11 editor owns, from open to close: its own display connection, the
// child window with the face pixmap the server repaints it from, the off-screen images of the
// animated areas, the controls, the numeric entry, the popup windows and the timers.
// UI thread only.
#pragma once

#include "DisplaySettings.h"
#include "FaceAssets.h"
#include "FaceControls.h"

#include <X11/Xlib.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

class PopupMenu;
class SmallWindow;
class HelpWindow;

using EditorClock = std::chrono::steady_clock;

struct EditorSession {
  Display* display = nullptr;
  Window window = 0;
  // The face as the server keeps it: the window's background, so the server repaints exposed
  // parts by itself even when the host never lets the editor run.
  Pixmap facePixmap = 0;
  GC gc = nullptr;
  // The window went with its parent: nothing may be sent to it any more.
  bool windowGone = false;

  const FaceAssets* assets = nullptr;
  FaceCanvas canvas;
  // Wave envelopes in colour on black, the input envelope in black on white, and the composed
  // animated areas (wave display, reduction meter, output meters).
  PixelImage waveImage;
  PixelImage waveMask;
  PixelImage panel;
  WaveColours penColours{};

  std::unique_ptr<FaceTrack> thrCompFader;
  std::unique_ptr<FaceTrack> ratioFader;
  std::unique_ptr<FaceTrack> releaseFader;
  std::unique_ptr<FaceTrack> autoReleaseFader;
  std::unique_ptr<FaceTrack> zoomSlider;
  std::unique_ptr<FaceTrack> outputFader;
  std::unique_ptr<FaceTrack> thrLimFader;
  std::unique_ptr<FaceTrack> lookAheadSlider;
  std::unique_ptr<FaceSwitch> softSwitch;
  std::unique_ptr<FaceSwitch> normalizeSwitch;
  std::unique_ptr<FaceSwitch> ditherSwitch;
  std::unique_ptr<FaceSwitch> bypassSwitch;
  std::unique_ptr<FaceSwitch> autoReleaseSwitch;

  std::int32_t dragMode = 0;
  std::int32_t entryMode = 0;
  // The open entry box's text, and whether all of it is selected (typing replaces it).
  std::string entryText;
  bool entrySelected = false;

  std::unique_ptr<PopupMenu> menu;
  std::unique_ptr<SmallWindow> dialog;
  std::unique_ptr<HelpWindow> help;

  // When each of the three editor timers (166, 125, 100 ms) fires next.
  std::array<EditorClock::time_point, 3> timerDue{};

  EditorSession();
  ~EditorSession();
  EditorSession(const EditorSession&) = delete;
  EditorSession& operator=(const EditorSession&) = delete;
};
