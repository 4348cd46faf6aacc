#include "ADEditor.h"
#include "ADelay.h"
#include "ControlPaint.h"
#include "EditorMessages.h"
#include "EditorResources.h"
#include "RmsReadout.h"

namespace {

template <typename Control> void redraw(const std::unique_ptr<Control>& control) noexcept {
  if (control) {
    control->draw();
  }
}

} // namespace

void drawRmsText(HDC dc, const char* text) noexcept {
  RECT rect = toRect(rmsRect);
  FillRect(dc, &rect, editorResources().rmsBrush);
  DrawTextA(dc, text, -1, &rect, DT_CENTER);
}

void showPanel(HDC dc, HDC panel) noexcept {
  for (const PanelStrip& strip : kPanelStrips) {
    BitBlt(dc, strip.faceX, strip.faceY, strip.width, strip.height, panel, strip.panelX, 0,
           SRCCOPY);
  }
}

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
  char rmsText[kRmsTextCapacity];
  formatRmsReadout(context.effect.rmsSumL, context.effect.rmsSumR, context.effect.rmsCount,
                   RmsFloor::Paint, rmsText, sizeof rmsText);
  drawRmsText(dc, rmsText);
  showPanel(dc, s.panelDC);
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
