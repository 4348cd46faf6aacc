// The manual shown in the help window and the text of the Info box.
#pragma once

#include <array>

// One block of the manual. Every line of text ends with a line break of its own and is short
// enough not to wrap in the help window, so each heading sits on the line of its band.
struct HelpBlock {
  int firstLine;
  const char* text;
};

extern const std::array<HelpBlock, 5> kHelpBlocks;

extern const char kInfoText[];
extern const char kInfoCaption[];
