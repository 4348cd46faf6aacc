// Everything one open editor owns, from open to close: the window and its surfaces, the wave
// pens, the menu, the controls and the numeric-entry boxes. UI thread only.
#pragma once

#include "DisplaySettings.h"
#include "EditorConstants.h"
#include "FaderControl.h"
#include "HorizontalSlider.h"
#include "SwitchButton.h"
#include "VerticalSlider.h"

#include <windows.h>

#include <cstdint>
#include <memory>

struct EditorSession {
  // The editor's child window; null while closed.
  HWND window = nullptr;
  // Set once open has built everything; until then the window procedure leaves the window to
  // the system.
  bool complete = false;
  // Whether the window got an entry in the process's window table (it is full at 128).
  bool inWindowTable = false;
  // Set while the window handles its own WM_DESTROY, so that close leaves it to the system.
  bool windowDying = false;

  HDC waveImageDC = nullptr;
  HBITMAP waveImageBitmap = nullptr;
  HDC waveMaskDC = nullptr;
  HBITMAP waveMaskBitmap = nullptr;
  HDC panelDC = nullptr;
  HBITMAP panelBitmap = nullptr;

  HMENU contextMenu = nullptr;

  HPEN inputPen = nullptr;
  HPEN limitedPen = nullptr;
  HPEN compThresholdPen = nullptr;
  HPEN limThresholdPen = nullptr;
  HPEN compressedPen = nullptr;

  std::unique_ptr<FaderControl> thrCompFader;
  std::unique_ptr<FaderControl> ratioFader;
  std::unique_ptr<FaderControl> releaseFader;
  std::unique_ptr<FaderControl> autoReleaseFader;
  std::unique_ptr<VerticalSlider> zoomSlider;
  std::unique_ptr<FaderControl> outputFader;
  std::unique_ptr<FaderControl> thrLimFader;
  std::unique_ptr<HorizontalSlider> lookAheadSlider;
  std::unique_ptr<SwitchButton> softSwitch;
  std::unique_ptr<SwitchButton> normalizeSwitch;
  std::unique_ptr<SwitchButton> ditherSwitch;
  std::unique_ptr<SwitchButton> bypassSwitch;
  std::unique_ptr<SwitchButton> autoReleaseSwitch;

  HWND outputEntry = nullptr;
  HWND releaseEntry = nullptr;
  HWND ratioEntry = nullptr;
  HWND thresholdEntry = nullptr;

  // Interaction state: the control being dragged and the read-out being edited (0: none).
  std::int32_t dragMode = 0;
  std::int32_t entryMode = 0;

  // Replaces the five wave pens by solid 1-pixel pens of colours (input, compressed, limited,
  // compressor threshold, limiter threshold; each R, G, B).
  void setWavePens(const WaveColours& colours) noexcept;
  void deleteWavePens() noexcept;

  // The wave image (black), its mask (white) and the panel with the face's animated areas,
  // compatible with the window's DC.
  void createSurfaces(HDC windowDC) noexcept;
  void deleteSurfaces() noexcept;
  // The thirteen controls, at their minimum and switched off; a control that cannot be
  // allocated stays null.
  void createControls() noexcept;
  void deleteControls() noexcept;
  // The four numeric-entry boxes, hidden.
  void createEntries() noexcept;
  void destroyEntries() noexcept;
};
