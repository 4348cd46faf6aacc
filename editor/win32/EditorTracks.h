// The seven travelling controls as the mouse handlers see them: which control, its fine-tuning
// step and what it drives. UI thread only.
#pragma once

#include "EditorChanges.h"

#include <cstdint>

struct EditorSession;

struct TrackBinding {
  Track track;
  float fineStep;
  // Tried only when the control before it in the table did not take the click (the Ratio
  // fader after the compressor threshold fader).
  bool onlyIfPreviousMissed;
  bool (*grabHandle)(EditorSession& session, std::int32_t x, std::int32_t y) noexcept;
  void (*dragTo)(EditorSession& session, std::int32_t x, std::int32_t y) noexcept;
  bool (*stepToward)(EditorSession& session, std::int32_t x, std::int32_t y, float step) noexcept;
  // The control's value; 0 when the control could not be made.
  float (*value)(const EditorSession& session) noexcept;
};

struct TrackBindings {
  const TrackBinding* first;
  const TrackBinding* last;
  const TrackBinding* begin() const noexcept { return first; }
  const TrackBinding* end() const noexcept { return last; }
};

// In the order the clicks test them, which is also the order of their drag numbers 1..7.
TrackBindings trackBindings() noexcept;

// The binding of the control with drag number dragMode, or null for 0 and unknown numbers.
const TrackBinding* trackBinding(std::int32_t dragMode) noexcept;
