#include "DisplaySettingsMenu.h"

#include "ADEditor.h"
#include "ADelay.h"
#include "ControlPaint.h"
#include "DisplaySettingsCommands.h"
#include "DisplaySettingsStore.h"
#include "EditorMessages.h"
#include "HelpWindow.h"
#include "ResourceIds.h"

#include <commdlg.h>

#include <array>
#include <cstdint>

namespace {

constexpr std::size_t kCustomColourCount = 16;

// The colour dialog's custom colours and its first selection are process-wide, so every use
// finds what the user left there the time before.
COLORREF customColours[kCustomColourCount] = {};
bool initialColourTaken = false;
COLORREF initialColour = 0;

std::array<std::int32_t, 3> components(COLORREF c) noexcept {
  return {static_cast<std::int32_t>(c & 0xFFu), static_cast<std::int32_t>((c >> 8) & 0xFFu),
          static_cast<std::int32_t>((c >> 16) & 0xFFu)};
}

// The open (or opening) editor's session, which owns the pens, the menu and the zoom slider.
EditorSession* sessionOf(ADelay& effect) noexcept {
  ADEditor* editor = editorOf(effect);
  return editor != nullptr ? &editor->session() : nullptr;
}

void applyColours(EditorSession* session, DisplaySettings& s) noexcept {
  if (const WaveColours* fixed = schemeColours(s.colourScheme)) {
    s.waveColours = *fixed;
  } else if (s.colourScheme != kCustomScheme) {
    return; // an unknown scheme keeps the pens as they are
  }
  if (session != nullptr) {
    session->setWavePens(s.waveColours);
  }
}

void applyZoomRange(EditorSession* session, ADelay& effect) noexcept {
  ZoomRangeLimits limits{};
  if (!zoomRangeLimits(effect.displaySettings.zoomRange, limits)) {
    return;
  }
  if (session != nullptr && session->zoomSlider) {
    session->zoomSlider->setRange(static_cast<float>(limits.min), static_cast<float>(limits.max));
  }
  // The plain setParameter: the host is not told, but the changed-parameters flag makes the
  // next timer tick refresh the controls and the wave history with the new zoom.
  const std::int32_t steps = zoomStepsForRange(effect.displaySettings.zoomRange, effect.zoomSteps);
  effect.setParameter(kZoom, static_cast<float>(steps));
}

// Custom colours: the user edits the five colours in the dialog's custom colour boxes; the
// colour the dialog returns as its choice is not used.
void chooseCustomColours(HWND owner, DisplaySettings& s) noexcept {
  for (std::size_t i = 0; i < s.waveColours.size(); ++i) {
    customColours[i] = toColorRef(s.waveColours[i]);
  }
  if (!initialColourTaken) {
    initialColour = customColours[0];
    initialColourTaken = true;
  }
  CHOOSECOLORA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.rgbResult = initialColour;
  dialog.lpCustColors = customColours;
  dialog.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (ChooseColorA(&dialog)) {
    for (std::size_t i = 0; i < s.waveColours.size(); ++i) {
      s.waveColours[i] = components(customColours[i]);
    }
  }
}

} // namespace

void applyDisplaySettings(HMENU menu, ADelay& effect) noexcept {
  DisplaySettings& s = effect.displaySettings;
  EditorSession* session = sessionOf(effect);
  for (const MenuCommand& c : menuCommands()) {
    if (isSettingsCommand(c)) {
      const auto mark = static_cast<UINT>(menuItemChecked(s, c) ? MF_CHECKED : MF_UNCHECKED);
      CheckMenuItem(menu, static_cast<UINT>(c.id), MF_BYCOMMAND | mark);
    }
  }
  applyColours(session, s);
  applyZoomRange(session, effect);
}

void showContextMenu(HWND window, LPARAM lParam, HMENU menu) noexcept {
  SetFocus(window);
  // The point travels as two unsigned 16-bit numbers.
  const POINT screen{static_cast<LONG>(LOWORD(lParam)), static_cast<LONG>(HIWORD(lParam))};
  POINT client = screen;
  RECT area{};
  if (!ScreenToClient(window, &client) || !GetClientRect(window, &area) ||
      !PtInRect(&area, client)) {
    return;
  }
  TrackPopupMenu(GetSubMenu(menu, 0), TPM_RIGHTBUTTON, screen.x, screen.y, 0, window, nullptr);
}

bool handleMenuCommand(HWND window, WORD id, ADelay& effect) noexcept {
  const MenuCommand* command = findMenuCommand(id);
  if (command == nullptr) {
    return false;
  }
  switch (command->group) {
  case SettingsGroup::Info:
    showInfoBox(window, effect);
    UpdateWindow(window);
    return true;
  case SettingsGroup::Help:
    showHelpWindow(effect, window);
    UpdateWindow(window);
    return true;
  default:
    break;
  }
  applyMenuCommand(effect.displaySettings, *command);
  if (command->id == IDM_COLOURS_CUSTOM) {
    chooseCustomColours(window, effect.displaySettings);
  }
  const EditorSession* session = sessionOf(effect);
  applyDisplaySettings(session != nullptr ? session->contextMenu : nullptr, effect);
  saveDisplaySettings(effect);
  return true;
}

LRESULT onEditorContextMenu(const EditorContext& context, WPARAM /*wParam*/,
                            LPARAM lParam) noexcept {
  showContextMenu(context.window, lParam, context.session.contextMenu);
  return 0;
}
