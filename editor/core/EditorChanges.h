// What the editor's mouse clicks, drags and entry boxes change in the effect. Every change goes
// through setParameterAutomated with the parameter's natural value, so the host hears of each
// one. UI thread only.
#pragma once

#include <cstdint>

class ADelay;

// The travelling controls, numbered as the control being dragged.
enum class Track : std::int32_t {
  None = 0,
  CompThreshold = 1,
  Ratio = 2,
  Release = 3,
  Zoom = 4,
  Output = 5,
  LimThreshold = 6,
  LookAhead = 7,
};

// Which read-out's box is open (entryMode).
enum EntryMode : std::int32_t {
  kEntryNone = 0,
  kEntryCompThreshold = 1,
  kEntryRatio = 3,
  kEntryRelease = 4,
  kEntryOutput = 5,
  kEntryLimThreshold = 6,
};

// Passes a control's value on to its parameter: in whole steps (LookAhead as it is), the two
// thresholds coupled so that the compressor's never lies above the limiter's.
void passTrackValue(ADelay& effect, Track track, float value) noexcept;

// A committed numeric entry: as passTrackValue, and Release recomputes the release length in
// samples before its parameter is set.
void passEntryValue(ADelay& effect, Track track, float value) noexcept;

enum class EditorSwitch { Soft, Normalize, Dither, Bypass, AutoRelease };

// A click on a switch that shows displayedState (0 off). Auto Normalize also hands the
// gain it reached to the Output parameter when it goes off; Auto brings the manual release
// back and answers true, so that the caller sets the manual Release fader to releaseMs.
bool toggleSwitch(ADelay& effect, EditorSwitch which, std::int32_t displayedState) noexcept;
