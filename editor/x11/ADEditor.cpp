#include "ADEditor.h"

#include "ADelay.h"
#include "EditorConstants.h"
#include "EditorParts.h"
#include "EditorWindows.h"

#include <X11/Xutil.h>

#include <cstdint>

namespace {

ERect editorRect{0, 0, static_cast<VstInt16>(kEditorHeight), static_cast<VstInt16>(kEditorWidth)};

// Errors about windows the host destroyed behind the editor's back are expected; Xlib's
// default handler would end the host's process. The host's own handler is back in place when
// the guard goes, after every request of the editor's connection has been answered.
int ignoreXError(Display* /*display*/, XErrorEvent* /*error*/) { return 0; }

class XErrorGuard {
public:
  explicit XErrorGuard(Display* display) noexcept
      : display_(display), previous_(XSetErrorHandler(ignoreXError)) {}
  ~XErrorGuard() {
    if (display_ != nullptr) {
      XSync(display_, False);
    }
    XSetErrorHandler(previous_);
  }
  XErrorGuard(const XErrorGuard&) = delete;
  XErrorGuard& operator=(const XErrorGuard&) = delete;

private:
  Display* display_;
  XErrorHandler previous_;
};

constexpr long kFaceEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask |
                             PointerMotionMask | KeyPressMask | StructureNotifyMask;

} // namespace

EditorSession::EditorSession() = default;
EditorSession::~EditorSession() = default;

ADEditor::ADEditor(ADelay* effect) noexcept : AEffEditor(effect) {
  if (effect != nullptr) {
    effect->setEditor(this);
  }
}

ADEditor::~ADEditor() { close(); }

ADelay& ADEditor::delay() noexcept { return *static_cast<ADelay*>(effect_); }

bool ADEditor::getRect(ERect** rect) noexcept {
  if (rect == nullptr) {
    return false;
  }
  *rect = &editorRect;
  return true;
}

// The host's own display connection may be passed in the request's value, or not at all: the
// editor always opens its own, which it reads in idle without disturbing the host's queue.
bool ADEditor::open(void* parentWindow) noexcept {
  if (session_) {
    close();
  }
  const auto parent = static_cast<Window>(reinterpret_cast<std::uintptr_t>(parentWindow));
  if (parent == 0) {
    return false;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    return false;
  }
  try {
    auto s = std::make_unique<EditorSession>();
    s->display = display;
    bool parentLives = false;
    {
      XErrorGuard guard(display);
      XWindowAttributes attributes{};
      parentLives = XGetWindowAttributes(display, parent, &attributes) != 0;
    }
    if (!parentLives) {
      XCloseDisplay(display);
      return false;
    }
    XErrorGuard guard(display);
    const int screen = DefaultScreen(display);
    // The screen's default visual, whatever the parent uses (a host's window may have a
    // 32-bit visual), so that the 24-bit face can be put into it as it is.
    XSetWindowAttributes attributes{};
    attributes.colormap = DefaultColormap(display, screen);
    attributes.border_pixel = 0;
    attributes.background_pixel = BlackPixel(display, screen);
    s->window =
        XCreateWindow(display, parent, 0, 0, kEditorWidth, kEditorHeight, 0,
                      DefaultDepth(display, screen), InputOutput, DefaultVisual(display, screen),
                      CWColormap | CWBorderPixel | CWBackPixel, &attributes);
    XSelectInput(display, s->window, kFaceEvents);
    XStoreName(display, s->window, kEditorTitle);
    s->facePixmap = XCreatePixmap(display, s->window, kEditorWidth, kEditorHeight,
                                  static_cast<unsigned>(DefaultDepth(display, screen)));
    s->gc = XCreateGC(display, s->facePixmap, 0, nullptr);
    XSetWindowBackgroundPixmap(display, s->window, s->facePixmap);

    systemWindow = parentWindow;
    s->assets = &acquireFaceAssets();
    ADelay& effect = delay();
    s->dragMode = 0;
    s->penColours = kNaturalColours;
    loadDisplaySettings(effect.displaySettings);
    buildFace(*s);
    session_ = std::move(s);
    applyDisplaySettings(effect, session_.get());
    paintEditor(effect, *session_);
    showFace(*session_);
    XMapWindow(display, session_->window);
    const EditorClock::time_point now = EditorClock::now();
    for (std::size_t i = 0; i < kEditorTimerCount; ++i) {
      session_->timerDue[i] = now + std::chrono::milliseconds(kEditorTimerPeriodsMs[i]);
    }
    XFlush(display);
    return true;
  } catch (...) {
    // Out of memory while building: nothing of the open is left.
    if (session_) {
      close();
    } else {
      XCloseDisplay(display);
    }
    return false;
  }
}

void ADEditor::close() noexcept {
  if (!session_) {
    systemWindow = nullptr;
    return;
  }
  std::unique_ptr<EditorSession> s = std::move(session_);
  Display* display = s->display;
  {
    XErrorGuard guard(display);
    s->help.reset();
    s->dialog.reset();
    s->menu.reset();
    if (s->gc != nullptr) {
      XFreeGC(display, s->gc);
    }
    if (!s->windowGone && s->window != 0) {
      XDestroyWindow(display, s->window);
    }
    if (s->facePixmap != 0) {
      XFreePixmap(display, s->facePixmap);
    }
  }
  if (s->assets != nullptr) {
    releaseFaceAssets();
  }
  s.reset();
  XCloseDisplay(display);
  systemWindow = nullptr;
}

void ADEditor::idle() noexcept {
  if (!session_) {
    return;
  }
  {
    XErrorGuard guard(session_->display);
    while (session_ && XPending(session_->display) > 0) {
      XEvent event;
      XNextEvent(session_->display, &event);
      dispatch(event);
    }
    if (session_) {
      runTimers();
    }
    if (session_) {
      showFace(*session_);
    }
  }
  // The window went with its parent: what the editor holds is released now.
  if (session_ && session_->windowGone) {
    close();
  }
}

void ADEditor::dispatch(XEvent& event) noexcept {
  EditorSession& s = *session_;
  // The menu holds the keyboard: a key can still land on the face when it had the focus.
  if (s.menu && (s.menu->owns(event.xany.window) || event.type == KeyPress)) {
    const std::int32_t chosen = s.menu->handle(event);
    if (s.menu->finished()) {
      s.menu.reset();
    }
    if (chosen != 0) {
      handleMenuCommand(*this, chosen);
      paintEditor(delay(), s);
    }
    return;
  }
  if (s.dialog && s.dialog->owns(event.xany.window)) {
    if (s.dialog->handle(event)) {
      s.dialog->finish(*this);
      s.dialog.reset();
      paintEditor(delay(), s);
    }
    return;
  }
  if (s.help && s.help->owns(event.xany.window)) {
    if (s.help->handle(event)) {
      s.help.reset();
    }
    return;
  }
  if (event.xany.window != s.window) {
    return;
  }
  switch (event.type) {
  case Expose:
    // The server repaints from the face pixmap; nothing to draw.
    break;
  case DestroyNotify:
    s.windowGone = true;
    break;
  case ButtonPress:
    if (event.xbutton.button == Button1) {
      onFaceButtonPress(*this, event.xbutton);
    } else if (event.xbutton.button == Button3) {
      // As on Windows, the context menu's click gives the face the keyboard focus, so F1
      // reaches it once the menu is gone.
      XSetInputFocus(s.display, s.window, RevertToParent, CurrentTime);
      s.menu =
          PopupMenu::open(s, delay().displaySettings, event.xbutton.x_root, event.xbutton.y_root);
    }
    break;
  case ButtonRelease:
    if (event.xbutton.button == Button1) {
      s.dragMode = 0;
    }
    break;
  case MotionNotify:
    onFaceMotion(*this, event.xmotion);
    break;
  case KeyPress:
    onFaceKey(*this, event.xkey);
    break;
  default:
    break;
  }
}

// The three timers of the Windows editor, run from the host's idle calls: the one whose id
// is the display speed ticks the display; any of them refreshes the controls after a
// parameter change.
void ADEditor::runTimers() noexcept {
  const EditorClock::time_point now = EditorClock::now();
  for (std::size_t i = 0; i < kEditorTimerCount && session_; ++i) {
    EditorClock::time_point& due = session_->timerDue[i];
    if (now < due) {
      continue;
    }
    const std::chrono::milliseconds period(kEditorTimerPeriodsMs[i]);
    // A host that idles late gets one tick, not a burst of them.
    due = now - due >= period ? now + period : due + period;
    ADelay& effect = delay();
    if (static_cast<std::int32_t>(i + 1) == effect.displaySettings.displaySpeed) {
      runDisplayTick(effect, *session_);
    }
    if (effect.paramsChanged.exchange(false)) {
      updateControls();
    }
  }
}

void ADEditor::updateControls() noexcept {
  if (!session_) {
    return;
  }
  ADelay& fx = delay();
  EditorSession& s = *session_;
  s.softSwitch->setState(fx.softOn);
  s.normalizeSwitch->setState(fx.normalizeOn);
  s.ditherSwitch->setState(fx.ditherOn);
  s.bypassSwitch->setState(fx.bypassOn);
  const float autoRelease = fx.autoRelease;
  const bool automatic = autoRelease == 1.0f;
  s.autoReleaseSwitch->setState(automatic);
  FaceTrack& hidden = automatic ? *s.releaseFader : *s.autoReleaseFader;
  FaceTrack& active = automatic ? *s.autoReleaseFader : *s.releaseFader;
  hidden.setFaderShown(false);
  active.setFaderShown(true);
  const std::int32_t normalizeFlag = fx.normalizeOn ? 1 : 0;
  s.releaseFader->setHighlight(autoRelease, normalizeFlag);
  active.setValue(fx.releaseMs);
  s.thrCompFader->setValue(fx.compThresholdSteps);
  s.ratioFader->setValue(fx.ratioSteps);
  s.zoomSlider->setValue(static_cast<float>(fx.zoomSteps.load()));
  s.outputFader->setHighlight(autoRelease, normalizeFlag);
  s.outputFader->setValue(static_cast<float>(fx.outputSteps.load()));
  s.thrLimFader->setValue(fx.limThresholdSteps);
  s.lookAheadSlider->setValue(fx.lookAheadValue);
  redrawWaveImage(s, fx.editorState, fx.zoomSteps);
  drawEntryBox(s);
}
