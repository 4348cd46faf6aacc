#include "ADEditor.h"
#include "ADelay.h"
#include "ControlPaint.h"
#include "EditorMessages.h"
#include "EditorResources.h"
#include "RmsReadout.h"

namespace {

void drawRmsReadout(HDC dc, const ADelay& effect, const EditorResources& shared) noexcept {
  char text[kRmsTextCapacity];
  formatRmsReadout(effect.rmsSumL, effect.rmsSumR, effect.rmsCount, RmsFloor::Paint, text,
                   sizeof text);
  RECT rect = toRect(rmsRect);
  FillRect(dc, &rect, shared.rmsBrush);
  DrawTextA(dc, text, -1, &rect, DT_CENTER);
}

template <typename Control> void redraw(const std::unique_ptr<Control>& control) noexcept {
  if (control) {
    control->draw();
  }
}

} // namespace

void paintEditor(const EditorContext& context) noexcept {
  const EditorResources& shared = editorResources();
  EditorSession& s = context.session;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(context.window, &paint);
  if (dc == nullptr) {
    return;
  }
  SetBkMode(dc, TRANSPARENT);
  const HGDIOBJ previousFont = SelectObject(dc, shared.editorFont);
  BitBlt(dc, 0, 0, kEditorWidth, kEditorHeight, shared.backgroundDC, 0, 0, SRCCOPY);
  SetTextColor(dc, toColorRef(kWhite));
  drawRmsReadout(dc, context.effect, shared);
  for (const PanelStrip& strip : kPanelStrips) {
    BitBlt(dc, strip.faceX, strip.faceY, strip.width, strip.height, s.panelDC, strip.panelX, 0,
           SRCCOPY);
  }
  redraw(s.thrCompFader);
  redraw(s.thrLimFader);
  redraw(s.ratioFader);
  redraw(s.releaseFader);
  redraw(s.autoReleaseFader);
  redraw(s.zoomSlider);
  redraw(s.outputFader);
  redraw(s.lookAheadSlider);
  redraw(s.softSwitch);
  redraw(s.normalizeSwitch);
  redraw(s.ditherSwitch);
  redraw(s.bypassSwitch);
  redraw(s.autoReleaseSwitch);
  if (previousFont != nullptr) {
    SelectObject(dc, previousFont);
  }
  EndPaint(context.window, &paint);
}

LRESULT onEditorPaint(const EditorContext& context, WPARAM /*wParam*/, LPARAM /*lParam*/) noexcept {
  paintEditor(context);
  return 0;
}
