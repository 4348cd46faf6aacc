#include "EditorChanges.h"
#include "EditorMessages.h"
#include "EditorMouseRegions.h"
#include "EditorSession.h"
#include "EditorTracks.h"

// The window does not capture the mouse: a drag goes on while moves reach the window with the
// left button alone held; any other button or a modifier key held stops it.
LRESULT onEditorMouseMove(const EditorContext& context, WPARAM wParam, LPARAM lParam) noexcept {
  if (wParam != MK_LBUTTON) {
    return 0;
  }
  EditorSession& s = context.session;
  const TrackBinding* track = trackBinding(s.dragMode);
  if (track == nullptr) {
    return 0;
  }
  const MousePoint p = mousePoint(lParam);
  track->dragTo(s, p.x, p.y);
  passTrackValue(context.effect, track->track, track->value(s));
  return 0;
}
