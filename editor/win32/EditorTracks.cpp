#include "EditorTracks.h"

#include "ControlConstants.h"
#include "EditorSession.h"

#include <iterator>

namespace {

void dragControl(FaderControl& c, std::int32_t x, std::int32_t y) noexcept { c.dragTo(x, y); }
void dragControl(VerticalSlider& c, std::int32_t x, std::int32_t y) noexcept { c.dragTo(x, y); }
void dragControl(HorizontalSlider& c, std::int32_t x, std::int32_t /*y*/) noexcept { c.dragTo(x); }

// The operations of the control that session.*member points at.
template <auto member> struct Access {
  static bool grab(EditorSession& s, std::int32_t x, std::int32_t y) noexcept {
    auto& control = s.*member;
    return control && control->grabHandle(x, y);
  }
  static void drag(EditorSession& s, std::int32_t x, std::int32_t y) noexcept {
    if (auto& control = s.*member) {
      dragControl(*control, x, y);
    }
  }
  static bool step(EditorSession& s, std::int32_t x, std::int32_t y, float step) noexcept {
    auto& control = s.*member;
    return control && control->stepToward(x, y, step);
  }
  static float value(const EditorSession& s) noexcept {
    const auto& control = s.*member;
    return control ? control->getValue() : 0.0f;
  }
};

template <auto member>
constexpr TrackBinding bind(Track track, float fineStep, bool onlyIfPreviousMissed = false) {
  using A = Access<member>;
  return {track, fineStep, onlyIfPreviousMissed, A::grab, A::drag, A::step, A::value};
}

// The automatic release fader takes no mouse input; the manual one none while it is hidden.
constexpr TrackBinding kTracks[] = {
    bind<&EditorSession::thrCompFader>(Track::CompThreshold, kFineStep),
    bind<&EditorSession::ratioFader>(Track::Ratio, kFineStep, true),
    bind<&EditorSession::releaseFader>(Track::Release, kFineStep),
    bind<&EditorSession::zoomSlider>(Track::Zoom, kFineStep),
    bind<&EditorSession::outputFader>(Track::Output, kOutputFineStep),
    bind<&EditorSession::thrLimFader>(Track::LimThreshold, kFineStep),
    bind<&EditorSession::lookAheadSlider>(Track::LookAhead, kLookAheadFineStep),
};

} // namespace

TrackBindings trackBindings() noexcept { return {std::begin(kTracks), std::end(kTracks)}; }

const TrackBinding* trackBinding(std::int32_t dragMode) noexcept {
  for (const TrackBinding& binding : kTracks) {
    if (static_cast<std::int32_t>(binding.track) == dragMode) {
      return &binding;
    }
  }
  return nullptr;
}
