#include "ADelay.h"
#include "EditorChanges.h"
#include "EditorMessages.h"
#include "EditorMouseRegions.h"
#include "EditorSession.h"
#include "EditorTracks.h"
#include "HelpWindow.h"
#include "NumericEntry.h"

namespace {

struct SwitchBinding {
  std::unique_ptr<SwitchButton> EditorSession::*button;
  EditorSwitch which;
};

constexpr SwitchBinding kSwitches[] = {
    {&EditorSession::softSwitch, EditorSwitch::Soft},
    {&EditorSession::normalizeSwitch, EditorSwitch::Normalize},
    {&EditorSession::ditherSwitch, EditorSwitch::Dither},
    {&EditorSession::bypassSwitch, EditorSwitch::Bypass},
    {&EditorSession::autoReleaseSwitch, EditorSwitch::AutoRelease},
};

// A grab also moves the value to the clicked pixel, and starts the drag.
void grabHandles(const EditorContext& context, MousePoint p) noexcept {
  EditorSession& s = context.session;
  bool previousTook = false;
  for (const TrackBinding& track : trackBindings()) {
    const bool took =
        !(track.onlyIfPreviousMissed && previousTook) && track.grabHandle(s, p.x, p.y);
    if (took) {
      passTrackValue(context.effect, track.track, track.value(s));
      s.dragMode = static_cast<std::int32_t>(track.track);
    }
    previousTook = took;
  }
}

// A click beside a handle moves its value one step toward the click.
void fineTune(const EditorContext& context, MousePoint p) noexcept {
  EditorSession& s = context.session;
  for (const TrackBinding& track : trackBindings()) {
    if (track.stepToward(s, p.x, p.y, track.fineStep)) {
      passTrackValue(context.effect, track.track, track.value(s));
    }
  }
}

// The switches' pictures follow with the refresh that the parameter change triggers.
void toggleSwitches(const EditorContext& context, MousePoint p) noexcept {
  EditorSession& s = context.session;
  for (const SwitchBinding& binding : kSwitches) {
    const SwitchButton* button = (s.*binding.button).get();
    if (button == nullptr || !button->hitTest(p.x, p.y)) {
      continue;
    }
    if (toggleSwitch(context.effect, binding.which, button->getState()) && s.releaseFader) {
      s.releaseFader->setValue(context.effect.releaseMs);
    }
  }
}

// The compressor's read-out is white and the limiter's light red: the caption switches
// between the two thresholds.
void swapThresholdReadouts(EditorSession& s) noexcept {
  for (FaderControl* fader : {s.thrCompFader.get(), s.thrLimFader.get()}) {
    if (fader != nullptr) {
      fader->setReadoutShown(fader->isReadoutShown() != 0 ? 0 : 1);
    }
  }
}

} // namespace

LRESULT onEditorLButtonDown(const EditorContext& context, WPARAM /*wParam*/,
                            LPARAM lParam) noexcept {
  const MousePoint p = mousePoint(lParam);
  commitEntryOnClick(context, p.x, p.y);
  openEntryOnClick(context, p.x, p.y);
  grabHandles(context, p);
  fineTune(context, p);
  toggleSwitches(context, p);
  if (context.session.entryMode == kEntryNone && kThresholdLabelRegion.contains(p)) {
    swapThresholdReadouts(context.session);
  }
  const HWND window = context.window;
  if (kLogoRegion.contains(p)) {
    showInfoBox(window, context.effect);
  }
  // The Info box is modal: the host may have closed the editor while it was up.
  const std::optional<EditorContext> current = editorContext(window);
  if (!current) {
    return 0;
  }
  EditorState& state = current->effect.editorState;
  if (kOutputMetersRegion.contains(p)) {
    state.vuHoldCount = 0;
  }
  if (kReductionMeterRegion.contains(p)) {
    state.reductionHoldCount = 0;
  }
  return 0;
}
