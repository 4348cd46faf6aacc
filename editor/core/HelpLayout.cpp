#include "HelpLayout.h"

int helpScrollTarget(int request, int thumbPosition, int firstLine) noexcept {
  int change = 0;
  switch (static_cast<HelpScrollRequest>(request)) {
  case HelpScrollRequest::lineUp:
    change = -1;
    break;
  case HelpScrollRequest::lineDown:
    change = 1;
    break;
  case HelpScrollRequest::pageUp:
    change = -kHelpPageStep;
    break;
  case HelpScrollRequest::pageDown:
    change = kHelpPageStep;
    break;
  case HelpScrollRequest::thumbTrack:
    change = thumbPosition - firstLine;
    break;
  default:
    break;
  }
  const int target = firstLine + change;
  if (target < 0) {
    return 0;
  }
  return target > kHelpLastFirstLine ? kHelpLastFirstLine : target;
}
