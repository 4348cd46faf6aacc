// The display tick: takes the display feed the audio thread left, moves the meters and the
// wave display on by one tick, and shows them with three copies from the panel.
#include "ADEditor.h"
#include "ADelay.h"
#include "ControlPaint.h"
#include "DisplayFollow.h"
#include "DisplayTickState.h"
#include "EditorMessages.h"
#include "EditorResources.h"
#include "MeterPainter.h"
#include "RmsReadout.h"
#include "WavePainter.h"
#include "WavePeakAnalysis.h"

namespace {

// The manual Release fader's read-out shows the length automatic release is using.
void followAutoRelease(ADelay& effect, EditorSession& session) noexcept {
  if (effect.autoRelease == 1.0f && session.releaseFader) {
    session.releaseFader->setValue(
        autoReleaseReadoutMs(effect.releaseSamples, effect.getSampleRate()));
  }
}

// Shows the louder channel's RMS since the last slow tick and starts the next period.
void showRms(HDC dc, ADelay& effect) noexcept {
  const float sumL = effect.rmsSumL.exchange(0.0f);
  const float sumR = effect.rmsSumR.exchange(0.0f);
  const std::int32_t count = effect.rmsCount.exchange(0);
  char text[kRmsTextCapacity];
  formatRmsReadout(sumL, sumR, count, RmsFloor::Tick, text, sizeof text);
  drawRmsText(dc, text);
}

void runDisplayTick(const EditorContext& context) noexcept {
  ADelay& effect = context.effect;
  EditorSession& session = context.session;
  EditorState& state = effect.editorState;
  const EditorResources& shared = editorResources();

  const bool slowTick = advanceSlowTick(state);
  if (slowTick) {
    followAutoRelease(effect, session);
  }
  const std::int32_t normalizedSteps = followNormalizedOutput(effect);
  if (normalizedSteps >= 0 && session.outputFader) {
    session.outputFader->setValue(static_cast<float>(normalizedSteps));
  }

  HDC dc = GetDC(context.window);
  if (dc == nullptr) {
    return;
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, toColorRef(kWhite));
  const HGDIOBJ previousFont = SelectObject(dc, shared.editorFont);
  if (slowTick) {
    showRms(dc, effect);
  }

  const MeterTick meters = advanceMeters(effect);
  const TickPeaks& peaks = meters.peaks;
  const bool bypassed = meters.bypassed;
  HDC panel = session.panelDC;
  paintReductionMeter(panel, meters.reduction);
  paintOutputMeters(panel, meters.output);

  const std::int32_t zoom = effect.zoomSteps;
  scrollWaveImage(session, peaks.wave, bypassed, zoom);
  advanceWaveHistory(state, peaks.wave, bypassed);
  effect.wavePeakFeed.clear();

  composeWaveDisplay(session, effect.compThreshold, effect.limThreshold, zoom);
  applyHighlight(panel);
  SelectClipRgn(panel, nullptr);
  showPanel(dc, panel);
  if (previousFont != nullptr) {
    SelectObject(dc, previousFont);
  }
  ReleaseDC(context.window, dc);
}

} // namespace

LRESULT onEditorDisplayTick(const EditorContext& context, WPARAM /*wParam*/,
                            LPARAM /*lParam*/) noexcept {
  runDisplayTick(context);
  return 0;
}
