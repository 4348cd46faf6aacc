// The mouse and the keyboard on the face: the same steps, in the same order, as the Windows
// editor's click, drag and numeric entry, with a text box of our own drawn over the read-out.
#include "ADEditor.h"
#include "ADelay.h"
#include "EditorChanges.h"
#include "EditorConstants.h"
#include "EditorMouseRegions.h"
#include "EditorParts.h"
#include "FaceText.h"
#include "NumericEntryText.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace {

struct EntryBinding {
  std::int32_t mode;
  std::unique_ptr<FaceTrack> EditorSession::*fader;
  EntryPlace place;
  EntryUnit unit;
  Track track;
};

constexpr EntryBinding kEntries[] = {
    {kEntryOutput, &EditorSession::outputFader, kOutputEntryPlace, EntryUnit::Output,
     Track::Output},
    {kEntryRelease, &EditorSession::releaseFader, kReleaseEntryPlace, EntryUnit::Release,
     Track::Release},
    {kEntryRatio, &EditorSession::ratioFader, kRatioEntryPlace, EntryUnit::Ratio, Track::Ratio},
    {kEntryCompThreshold, &EditorSession::thrCompFader, kThresholdEntryPlace, EntryUnit::Threshold,
     Track::CompThreshold},
    {kEntryLimThreshold, &EditorSession::thrLimFader, kThresholdEntryPlace, EntryUnit::Threshold,
     Track::LimThreshold},
};

struct TrackBinding {
  std::unique_ptr<FaceTrack> EditorSession::*control;
  Track track;
  float fineStep;
};

// In the order clicks test them, which is also the order of their drag numbers 1..7.
constexpr TrackBinding kTracks[] = {
    {&EditorSession::thrCompFader, Track::CompThreshold, kFineStep},
    {&EditorSession::ratioFader, Track::Ratio, kFineStep},
    {&EditorSession::releaseFader, Track::Release, kFineStep},
    {&EditorSession::zoomSlider, Track::Zoom, kFineStep},
    {&EditorSession::outputFader, Track::Output, kOutputFineStep},
    {&EditorSession::thrLimFader, Track::LimThreshold, kFineStep},
    {&EditorSession::lookAheadSlider, Track::LookAhead, kLookAheadFineStep},
};

struct SwitchBinding {
  std::unique_ptr<FaceSwitch> EditorSession::*button;
  EditorSwitch which;
};

constexpr SwitchBinding kSwitches[] = {
    {&EditorSession::softSwitch, EditorSwitch::Soft},
    {&EditorSession::normalizeSwitch, EditorSwitch::Normalize},
    {&EditorSession::ditherSwitch, EditorSwitch::Dither},
    {&EditorSession::bypassSwitch, EditorSwitch::Bypass},
    {&EditorSession::autoReleaseSwitch, EditorSwitch::AutoRelease},
};

const EntryBinding* openEntry(const EditorSession& s) noexcept {
  for (const EntryBinding& entry : kEntries) {
    if (s.entryMode == entry.mode) {
      return &entry;
    }
  }
  return nullptr;
}

PixelRect entryRect(const EntryBinding& entry) noexcept {
  return {entry.place.x, entry.place.y, entry.place.x + kEntryWidth, entry.place.y + kEntryHeight};
}

void commitEntry(ADelay& effect, EditorSession& s, const EntryBinding& entry) noexcept {
  s.entryMode = kEntryNone;
  FaceTrack& fader = *(s.*entry.fader);
  fader.setValue(
      entryFaderValue(entry.unit, parseEntryNumber(s.entryText.c_str(), kEntryReadLength)));
  passEntryValue(effect, entry.track, fader.getValue());
  s.canvas.restore(entryRect(entry));
  fader.setReadoutShown(true);
  // The box was larger than the read-out: whatever else it covered comes back.
  fader.draw();
}

void openEntryBox(EditorSession& s, const EntryBinding& entry) noexcept {
  FaceTrack& fader = *(s.*entry.fader);
  fader.setReadoutShown(false);
  ReadoutText text;
  formatEntryText(entry.unit, fader.getValue(), text);
  s.entryText = text;
  s.entrySelected = true;
  s.entryMode = entry.mode;
  drawEntryBox(s);
  if (!s.windowGone) {
    XSetInputFocus(s.display, s.window, RevertToParent, CurrentTime);
  }
}

void clickEntries(ADelay& effect, EditorSession& s, std::int32_t x, std::int32_t y) noexcept {
  if (const EntryBinding* entry = openEntry(s)) {
    if (!(s.*entry->fader)->hitReadout(x, y)) {
      commitEntry(effect, s, *entry);
    }
  }
  for (const EntryBinding& entry : kEntries) {
    if (s.entryMode != kEntryNone) {
      return;
    }
    if ((s.*entry.fader)->hitReadout(x, y)) {
      openEntryBox(s, entry);
    }
  }
}

void clickTracks(ADelay& effect, EditorSession& s, std::int32_t x, std::int32_t y) noexcept {
  bool previousTook = false;
  for (const TrackBinding& t : kTracks) {
    // The Ratio fader is tried only when the compressor threshold fader missed.
    const bool took =
        !(t.track == Track::Ratio && previousTook) && (s.*t.control)->grabHandle(x, y);
    if (took) {
      passTrackValue(effect, t.track, (s.*t.control)->getValue());
      s.dragMode = static_cast<std::int32_t>(t.track);
    }
    previousTook = took;
  }
  for (const TrackBinding& t : kTracks) {
    if ((s.*t.control)->stepToward(x, y, t.fineStep)) {
      passTrackValue(effect, t.track, (s.*t.control)->getValue());
    }
  }
}

} // namespace

void drawEntryBox(EditorSession& s) noexcept {
  const EntryBinding* entry = openEntry(s);
  if (entry == nullptr) {
    return;
  }
  const PixelRect box = entryRect(*entry);
  fillRect(s.canvas.image, box, pixelOf(kWhite));
  const PixelRect textRect{box.left + kEntryMargin, box.top, box.right - kEntryMargin, box.bottom};
  const double width = faceTextWidth(s.entryText.c_str());
  const auto left =
      static_cast<std::int32_t>(textRect.left + ((textRect.right - textRect.left) - width) / 2.0);
  if (s.entrySelected && !s.entryText.empty()) {
    fillRect(s.canvas.image,
             {left, box.top + 1, left + static_cast<std::int32_t>(width + 1.0), box.bottom - 1},
             pixelOf(Rgb{0, 120, 215}));
    drawFaceText(s.canvas.image, textRect, s.entryText.c_str(), kWhite, TextAlign::centre);
  } else {
    drawFaceText(s.canvas.image, textRect, s.entryText.c_str(), kBlack, TextAlign::centre);
    const std::int32_t caret = left + static_cast<std::int32_t>(width + 0.5);
    drawLine(s.canvas.image, caret, box.top + 2, caret, box.bottom - 2, pixelOf(kBlack));
  }
  s.canvas.touch(box);
}

void onFaceButtonPress(ADEditor& editor, const XButtonEvent& event) noexcept {
  EditorSession& s = *editor.session();
  ADelay& effect = editor.delay();
  const MousePoint p{event.x, event.y};
  clickEntries(effect, s, p.x, p.y);
  clickTracks(effect, s, p.x, p.y);
  for (const SwitchBinding& binding : kSwitches) {
    const FaceSwitch& button = *(s.*binding.button);
    if (button.hitTest(p.x, p.y) && toggleSwitch(effect, binding.which, button.state() ? 1 : 0)) {
      s.releaseFader->setValue(effect.releaseMs);
    }
  }
  if (s.entryMode == kEntryNone && kThresholdLabelRegion.contains(p)) {
    for (FaceTrack* fader : {s.thrCompFader.get(), s.thrLimFader.get()}) {
      fader->setReadoutShown(!fader->isReadoutShown());
    }
  }
  if (kLogoRegion.contains(p)) {
    showInfoBox(s);
  }
  if (kOutputMetersRegion.contains(p)) {
    effect.editorState.vuHoldCount = 0;
  }
  if (kReductionMeterRegion.contains(p)) {
    effect.editorState.reductionHoldCount = 0;
  }
}

// A drag goes on while the pointer moves with the left button alone held; any other button
// or a modifier key held stops it.
void onFaceMotion(ADEditor& editor, const XMotionEvent& event) noexcept {
  constexpr unsigned kOthers = ShiftMask | ControlMask | Mod1Mask | Button2Mask | Button3Mask;
  if ((event.state & Button1Mask) == 0 || (event.state & kOthers) != 0) {
    return;
  }
  EditorSession& s = *editor.session();
  for (const TrackBinding& t : kTracks) {
    if (static_cast<std::int32_t>(t.track) == s.dragMode) {
      (s.*t.control)->dragTo(event.x, event.y);
      passTrackValue(editor.delay(), t.track, (s.*t.control)->getValue());
    }
  }
}

void onFaceKey(ADEditor& editor, XKeyEvent& event) noexcept {
  EditorSession& s = *editor.session();
  char typed[8] = {};
  KeySym key = NoSymbol;
  const int length = XLookupString(&event, typed, sizeof typed - 1, &key, nullptr);
  if (key == XK_F1) {
    showHelp(s);
    return;
  }
  const EntryBinding* entry = openEntry(s);
  if (entry == nullptr) {
    return;
  }
  if (key == XK_Return || key == XK_KP_Enter) {
    commitEntry(editor.delay(), s, *entry);
    return;
  }
  if (key == XK_BackSpace || key == XK_Delete) {
    if (s.entrySelected) {
      s.entryText.clear();
    } else if (!s.entryText.empty()) {
      s.entryText.pop_back();
    }
  } else if (length == 1 && typed[0] >= ' ' && typed[0] <= '~') {
    if (s.entrySelected) {
      s.entryText.clear();
    }
    if (s.entryText.size() < kEntryReadLength) {
      s.entryText += typed[0];
    }
  } else {
    return;
  }
  s.entrySelected = false;
  drawEntryBox(s);
}
