#include "NumericEntry.h"

#include "EditorChanges.h"
#include "EditorSession.h"
#include "NumericEntryText.h"

namespace {

struct EntryBinding {
  std::int32_t mode;
  HWND EditorSession::*box;
  std::unique_ptr<FaderControl> EditorSession::*fader;
  EntryUnit unit;
  Track track;
};

// The order in which clicks and Enter look for the open entry. Opening tests the same order;
// the two threshold faders share one box and one read-out place, of which one is shown.
constexpr EntryBinding kEntries[] = {
    {kEntryOutput, &EditorSession::outputEntry, &EditorSession::outputFader, EntryUnit::Output,
     Track::Output},
    {kEntryRelease, &EditorSession::releaseEntry, &EditorSession::releaseFader, EntryUnit::Release,
     Track::Release},
    {kEntryRatio, &EditorSession::ratioEntry, &EditorSession::ratioFader, EntryUnit::Ratio,
     Track::Ratio},
    {kEntryCompThreshold, &EditorSession::thresholdEntry, &EditorSession::thrCompFader,
     EntryUnit::Threshold, Track::CompThreshold},
    {kEntryLimThreshold, &EditorSession::thresholdEntry, &EditorSession::thrLimFader,
     EntryUnit::Threshold, Track::LimThreshold},
};

void openEntry(const EditorContext& context, const EntryBinding& entry) noexcept {
  EditorSession& s = context.session;
  FaderControl* fader = (s.*entry.fader).get();
  HWND box = s.*entry.box;
  if (fader == nullptr || box == nullptr) {
    return;
  }
  fader->setReadoutShown(0);
  ShowWindow(box, SW_SHOW);
  ReadoutText text;
  formatEntryText(entry.unit, fader->getValue(), text);
  // Setting the text notifies EN_CHANGE; entryMode is still 0 then, so nothing commits.
  SetWindowTextA(box, text);
  SendMessageA(box, EM_SETSEL, 0, -1);
  SetFocus(box);
  s.entryMode = entry.mode;
}

void commitEntry(const EditorContext& context, const EntryBinding& entry) noexcept {
  EditorSession& s = context.session;
  // Cleared first, so that nothing the commit sets off can commit the entry a second time.
  s.entryMode = kEntryNone;
  FaderControl* fader = (s.*entry.fader).get();
  HWND box = s.*entry.box;
  if (fader == nullptr || box == nullptr) {
    return;
  }
  char text[kEntryReadLength + 1] = {};
  GetWindowTextA(box, text, static_cast<int>(sizeof text));
  fader->setValue(entryFaderValue(entry.unit, parseEntryNumber(text, kEntryReadLength)));
  passEntryValue(context.effect, entry.track, fader->getValue());
  ShowWindow(box, SW_HIDE);
  fader->setReadoutShown(1);
}

bool isEntryBox(const EditorSession& s, HWND window) noexcept {
  for (const EntryBinding& entry : kEntries) {
    if (window != nullptr && s.*entry.box == window) {
      return true;
    }
  }
  return false;
}

} // namespace

void commitEntryOnClick(const EditorContext& context, std::int32_t x, std::int32_t y) noexcept {
  const EditorSession& s = context.session;
  for (const EntryBinding& entry : kEntries) {
    if (s.entryMode != entry.mode) {
      continue;
    }
    const FaderControl* fader = (s.*entry.fader).get();
    if (fader == nullptr || !fader->hitReadout(x, y)) {
      commitEntry(context, entry);
    }
  }
}

void openEntryOnClick(const EditorContext& context, std::int32_t x, std::int32_t y) noexcept {
  const EditorSession& s = context.session;
  for (const EntryBinding& entry : kEntries) {
    if (s.entryMode != kEntryNone) {
      return;
    }
    const FaderControl* fader = (s.*entry.fader).get();
    if (fader != nullptr && fader->hitReadout(x, y)) {
      openEntry(context, entry);
    }
  }
}

void onNumericEntryChange(const EditorContext& context, HWND source) noexcept {
  const EditorSession& s = context.session;
  if (!isEntryBox(s, source)) {
    return;
  }
  for (const EntryBinding& entry : kEntries) {
    HWND box = s.*entry.box;
    if (box == nullptr) {
      continue;
    }
    // Enter's line break makes the second line; a pasted text of three lines waits for a
    // click elsewhere.
    const LRESULT lines = SendMessageA(box, EM_GETLINECOUNT, 0, 0);
    if (lines == 2 && s.entryMode == entry.mode) {
      commitEntry(context, entry);
    }
  }
}
