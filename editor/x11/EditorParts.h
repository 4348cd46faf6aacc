// The X11 editor's pieces, one file each, sharing the open session. UI thread only.
#pragma once

#include "EditorSession.h"

#include <cstdint>

class ADelay;
class ADEditor;

// EditorFace.cpp: the face, its controls and surfaces, the paint routine, the display tick.
void buildFace(EditorSession& s);
void paintEditor(ADelay& effect, EditorSession& s) noexcept;
void runDisplayTick(ADelay& effect, EditorSession& s) noexcept;
void redrawWaveImage(EditorSession& s, const EditorState& state, std::int32_t zoom) noexcept;
// Sends the dirty part of the face to the server's pixmap and shows it in the window.
void showFace(EditorSession& s) noexcept;

// EditorInput.cpp: the mouse and the keyboard on the face.
void onFaceButtonPress(ADEditor& editor, const XButtonEvent& event) noexcept;
void onFaceMotion(ADEditor& editor, const XMotionEvent& event) noexcept;
void onFaceKey(ADEditor& editor, XKeyEvent& event) noexcept;
// Draws the open entry box over its read-out.
void drawEntryBox(EditorSession& s) noexcept;

// DisplaySettingsX11.cpp: the context menu's commands and the settings file.
void applyDisplaySettings(ADelay& effect, EditorSession* s) noexcept;
void handleMenuCommand(ADEditor& editor, std::int32_t id) noexcept;
void loadDisplaySettings(DisplaySettings& settings) noexcept;
void saveDisplaySettings(const DisplaySettings& settings) noexcept;

// EditorWindows.cpp: the Info box, the custom colour chooser and the help window.
void showInfoBox(EditorSession& s) noexcept;
void showHelp(EditorSession& s) noexcept;
void chooseCustomColours(ADEditor& editor) noexcept;
