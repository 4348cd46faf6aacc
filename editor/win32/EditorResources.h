// The graphics objects and the window class all editors of the process share. Created by the
// open that raises editorInstanceCount to 1, freed by the close that lowers it to 0.
// UI thread only.
#pragma once

#include "EditorConstants.h"
#include "HighlightTables.h"

#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>

inline constexpr std::size_t kEditorBitmapCount = 16;

struct EditorResources {
  std::int32_t editorInstanceCount = 0;
  // Every editor window ever opened, until it is no longer a live window.
  std::array<HWND, kEditorWindowTableSize> editorWindowTable{};
  std::int32_t editorWindowTop = 0;
  // The class stays registered while a window of it exists, which is the case when the last
  // close runs inside that window's WM_DESTROY; a later call finishes the job.
  bool classRegistered = false;

  std::array<HBITMAP, kEditorBitmapCount> bitmaps{};
  HDC backgroundDC = nullptr;
  HDC highlightMaskDC = nullptr;
  HighlightTables highlight;
  HFONT editorFont = nullptr;
  HPEN outputPeakRedPen = nullptr;
  HPEN outputPeakGreenPen = nullptr;
  HPEN reductionPeakPen = nullptr;
  HPEN blackPen = nullptr;
  HBRUSH whiteBrush = nullptr;
  HBRUSH blackBrush = nullptr;
  HBRUSH rmsBrush = nullptr;

  // The loaded bitmap of a resource id, or null.
  HBITMAP bitmap(std::int32_t resourceId) const noexcept;
};

// The process's one set.
EditorResources& editorResources() noexcept;

// Registers the class "Zembrac" and creates the shared objects. False, with nothing left
// behind, when the class cannot be registered.
bool createSharedEditorResources() noexcept;
// Destroys every live window of the table except `dying` (a window already being destroyed),
// then frees the shared objects and unregisters the class.
void destroySharedEditorResources(HWND dying) noexcept;
// Unregisters the class if it is still registered although no editor is open.
void finishUnregisteringEditorClass() noexcept;
// Stores window in the first table entry that holds no live window. False when all 128 hold
// one: the window is then not tracked.
bool enterEditorWindow(HWND window) noexcept;

void fillRect(HDC dc, const PixelRect& rect, HBRUSH brush) noexcept;

// Blends the top-left corner of panel toward white through the highlight mask: the glint on
// the wave display. Runs at open and on every display tick.
void applyHighlight(HDC panel) noexcept;
