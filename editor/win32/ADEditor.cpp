#include "ADEditor.h"

#include "ADelay.h"
#include "DisplaySettingsMenu.h"
#include "DisplaySettingsStore.h"
#include "EditorMessages.h"
#include "EditorResources.h"
#include "ModuleHandle.h"
#include "WaveImage.h"

namespace {

ERect editorRect{0, 0, static_cast<VstInt16>(kEditorHeight), static_cast<VstInt16>(kEditorWidth)};

HINSTANCE moduleInstance() noexcept { return static_cast<HINSTANCE>(moduleHandle()); }

} // namespace

ADEditor::ADEditor(ADelay* effect) noexcept : AEffEditor(effect) {
  if (effect != nullptr) {
    effect->setEditor(this);
  }
}

ADelay& ADEditor::delay() noexcept { return *static_cast<ADelay*>(effect_); }

ADEditor* editorOf(ADelay& effect) noexcept { return static_cast<ADEditor*>(effect.getEditor()); }

bool ADEditor::getRect(ERect** rect) noexcept {
  if (rect == nullptr) {
    return false;
  }
  *rect = &editorRect;
  return true;
}

bool ADEditor::open(void* parentWindow) noexcept {
  // A host that opens twice gets the editor in the newer parent.
  if (session_.window != nullptr) {
    close();
  }
  systemWindow = parentWindow;
  EditorResources& shared = editorResources();
  ++shared.editorInstanceCount;
  if (shared.editorInstanceCount == 1 && !createSharedEditorResources()) {
    --shared.editorInstanceCount;
    systemWindow = nullptr;
    return false;
  }

  HWND window =
      CreateWindowExA(0, kEditorClassName, kEditorTitle, WS_CHILD | WS_VISIBLE, CW_USEDEFAULT,
                      CW_USEDEFAULT, kEditorWidth, kEditorHeight, static_cast<HWND>(parentWindow),
                      nullptr, moduleInstance(), nullptr);
  if (window == nullptr) {
    abandonOpen();
    return false;
  }
  session_.inWindowTable = enterEditorWindow(window);

  ADelay& effect = delay();
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&effect));
  session_.window = window;
  session_.dragMode = 0;
  session_.setWavePens(kNaturalColours);
  loadDisplaySettings(effect);

  HDC windowDC = GetDC(window);
  session_.createSurfaces(windowDC);
  session_.createControls();
  session_.entryMode = 0;
  session_.createEntries();

  session_.contextMenu = LoadMenuA(moduleInstance(), MAKEINTRESOURCEA(IDR_CONTEXT_MENU));
  applyDisplaySettings(session_.contextMenu, effect);

  for (std::size_t i = 0; i < kEditorTimerCount; ++i) {
    SetTimer(window, i + 1, kEditorTimerPeriodsMs[i], editorTimerProc);
  }
  ReleaseDC(window, windowDC);
  session_.complete = true;
  return true;
}

// Window creation failed: the open does not count, and the shared set it may have created
// goes again.
void ADEditor::abandonOpen() noexcept {
  EditorResources& shared = editorResources();
  --shared.editorInstanceCount;
  if (shared.editorInstanceCount == 0) {
    destroySharedEditorResources(nullptr);
  }
  systemWindow = nullptr;
}

void ADEditor::close() noexcept {
  HWND window = session_.window;
  if (window == nullptr) {
    systemWindow = nullptr;
    finishUnregisteringEditorClass();
    return;
  }
  // From here on the window procedure leaves the window to the system: the entry boxes'
  // destruction notifies it while the session is half gone.
  session_.complete = false;

  session_.deleteSurfaces();
  session_.deleteControls();
  session_.entryMode = 0;
  session_.destroyEntries();
  if (session_.contextMenu != nullptr) {
    DestroyMenu(session_.contextMenu);
    session_.contextMenu = nullptr;
  }
  session_.deleteWavePens();
  for (std::size_t i = 0; i < kEditorTimerCount; ++i) {
    KillTimer(window, i + 1);
  }

  // The window may outlive the editor, and even the effect: it must not reach either again.
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  EditorResources& shared = editorResources();
  --shared.editorInstanceCount;
  session_.window = nullptr;
  const bool dying = session_.windowDying;
  session_.windowDying = false;
  // Windows in the table go with their parent or with the last close; one the full table
  // could not take goes now, so that no window of the class is ever left untracked.
  if (!session_.inWindowTable && !dying) {
    DestroyWindow(window);
  }
  session_.inWindowTable = false;
  if (shared.editorInstanceCount == 0) {
    destroySharedEditorResources(dying ? window : nullptr);
  }
  systemWindow = nullptr;
}

void ADEditor::windowDestroyed() noexcept {
  session_.windowDying = true;
  close();
}

void ADEditor::updateControls() noexcept {
  ADelay& fx = delay();
  EditorSession& s = session_;
  auto setSwitch = [](const std::unique_ptr<SwitchButton>& button, bool on) {
    if (button) {
      button->setState(on ? 1 : 0);
    }
  };
  auto setFader = [](const std::unique_ptr<FaderControl>& fader, float value) {
    if (fader) {
      fader->setValue(value);
    }
  };
  setSwitch(s.softSwitch, fx.softOn);
  setSwitch(s.normalizeSwitch, fx.normalizeOn);
  setSwitch(s.ditherSwitch, fx.ditherOn);
  setSwitch(s.bypassSwitch, fx.bypassOn);

  // The fader that becomes visible repaints the shared track, which removes the other handle.
  const float autoRelease = fx.autoRelease;
  const bool automatic = autoRelease == 1.0f;
  setSwitch(s.autoReleaseSwitch, automatic);
  FaderControl* hidden = automatic ? s.releaseFader.get() : s.autoReleaseFader.get();
  FaderControl* active = automatic ? s.autoReleaseFader.get() : s.releaseFader.get();
  if (hidden != nullptr) {
    hidden->setFaderShown(0);
  }
  if (active != nullptr) {
    active->setFaderShown(1);
  }
  const std::int32_t normalizeFlag = fx.normalizeOn ? 1 : 0;
  if (s.releaseFader) {
    s.releaseFader->setHighlight(autoRelease, normalizeFlag);
  }
  if (active != nullptr) {
    active->setValue(fx.releaseMs);
  }

  setFader(s.thrCompFader, fx.compThresholdSteps);
  setFader(s.ratioFader, fx.ratioSteps);
  if (s.zoomSlider) {
    s.zoomSlider->setValue(static_cast<float>(fx.zoomSteps.load()));
  }
  if (s.outputFader) {
    s.outputFader->setHighlight(autoRelease, normalizeFlag);
    s.outputFader->setValue(static_cast<float>(fx.outputSteps.load()));
  }
  setFader(s.thrLimFader, fx.limThresholdSteps);
  if (s.lookAheadSlider) {
    s.lookAheadSlider->setValue(fx.lookAheadValue);
  }

  redrawWaveImage(s, fx.editorState, fx.zoomSteps);
}

void CALLBACK editorTimerProc(HWND window, UINT /*message*/, UINT_PTR id, DWORD /*time*/) {
  const std::optional<EditorContext> context = editorContext(window);
  if (!context) {
    return;
  }
  ADelay& effect = context->effect;
  if (id == static_cast<UINT_PTR>(effect.displaySettings.displaySpeed)) {
    PostMessageA(window, displayTickMessage, 0, 0);
  }
  if (effect.paramsChanged.exchange(false)) {
    if (ADEditor* editor = editorOf(effect)) {
      editor->updateControls();
    }
  }
}
