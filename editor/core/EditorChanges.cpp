#include "EditorChanges.h"

#include "ADelay.h"
#include "BlockSetup.h"
#include "Conversions.h"
#include "EngineConstants.h"

#include <cmath>

namespace {

struct TrackParameter {
  Track track;
  VstInt32 index;
  bool wholeSteps;
};

constexpr TrackParameter kTrackParameters[] = {
    {Track::CompThreshold, kThrComp, true}, {Track::Ratio, kRatio, true},
    {Track::Release, kRelease, true},       {Track::Zoom, kZoom, true},
    {Track::Output, kOutput, true},         {Track::LimThreshold, kThrLim, true},
    {Track::LookAhead, kLookAhead, false},
};

void automate(ADelay& effect, VstInt32 index, float value) noexcept {
  effect.setParameterAutomated(index, value);
}

float wholeSteps(float value) noexcept { return static_cast<float>(truncateToInt32(value)); }

void setCompThreshold(ADelay& effect, float steps) noexcept {
  automate(effect, kThrComp, steps);
  if (static_cast<float>(effect.limThresholdSteps.load()) > steps) {
    automate(effect, kThrLim, steps);
  }
}

void setLimThreshold(ADelay& effect, float steps) noexcept {
  automate(effect, kThrLim, steps);
  if (steps > static_cast<float>(effect.compThresholdSteps.load())) {
    automate(effect, kThrComp, steps);
  }
}

void updateReleaseSamples(ADelay& effect, float ms) noexcept {
  effect.releaseSamples = msToSamples(effect.getSampleRate(), ms);
}

struct OnOffSwitch {
  EditorSwitch which;
  RelaxedAtomic<bool> ADelay::*member;
  VstInt32 index;
};

constexpr OnOffSwitch kOnOffSwitches[] = {
    {EditorSwitch::Soft, &ADelay::softOn, kSoft},
    {EditorSwitch::Normalize, &ADelay::normalizeOn, kNormalize},
    {EditorSwitch::Dither, &ADelay::ditherOn, kDither},
    {EditorSwitch::Bypass, &ADelay::bypassOn, kBypass},
};

} // namespace

void passTrackValue(ADelay& effect, Track track, float value) noexcept {
  for (const TrackParameter& p : kTrackParameters) {
    if (p.track != track) {
      continue;
    }
    const float v = p.wholeSteps ? wholeSteps(value) : value;
    if (track == Track::CompThreshold) {
      setCompThreshold(effect, v);
    } else if (track == Track::LimThreshold) {
      setLimThreshold(effect, v);
    } else {
      automate(effect, p.index, v);
    }
    return;
  }
}

void passEntryValue(ADelay& effect, Track track, float value) noexcept {
  if (track == Track::Release) {
    updateReleaseSamples(effect, wholeSteps(value));
  }
  passTrackValue(effect, track, value);
}

bool toggleSwitch(ADelay& effect, EditorSwitch which, std::int32_t displayedState) noexcept {
  if (which == EditorSwitch::AutoRelease) {
    const float automatic = effect.autoRelease == 0.0f ? 1.0f : 0.0f;
    effect.autoRelease = automatic;
    automate(effect, kAutoRel, automatic);
    const float ms = effect.releaseMs.load();
    updateReleaseSamples(effect, ms);
    automate(effect, kRelease, ms);
    return true;
  }
  const bool on = displayedState == 0;
  for (const OnOffSwitch& s : kOnOffSwitches) {
    if (s.which == which) {
      effect.*s.member = on;
      automate(effect, s.index, on ? 1.0f : 0.0f);
    }
  }
  if (which != EditorSwitch::Normalize) {
    return false;
  }
  if (on) {
    automate(effect, kGainMemo, effect.outputGain);
  } else {
    // The Output fader keeps the gain that normalizing had reached.
    const std::int32_t steps = outputStepsOfGain(effect.outputGain.load());
    effect.outputSteps = steps;
    automate(effect, kOutput, static_cast<float>(steps));
    effect.shownOutputGain = 0.0f;
  }
  return false;
}
