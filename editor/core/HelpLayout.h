// Geometry of the help window's text: line grid, scroll range, the shaded heading bands and
// the scroll arithmetic. Portable, so the layout is checked without a window.
#pragma once

#include <array>

constexpr int kHelpLineHeight = 14;
constexpr int kHelpScrollMax = 154;
constexpr int kHelpPageLines = 34;
constexpr int kHelpLastFirstLine = kHelpScrollMax - kHelpPageLines + 1; // 121
constexpr int kHelpPageStep = 8;

constexpr int kHelpWindowWidth = 360;
constexpr int kHelpWindowHeight = 484;
constexpr int kHelpTextMargin = 4;
constexpr int kHelpTextBottom = 1024;

// A main heading's band is taller than a line and reaches 5 pixels above it.
constexpr int kHelpMainBandHeight = 24;
constexpr int kHelpSubBandHeight = 14;
constexpr int kHelpMainBandRaise = 5;

struct HelpBand {
  int firstLine;
  int height;
};

constexpr std::array<HelpBand, 17> kHelpBands{{
    {1, kHelpMainBandHeight},
    {14, kHelpSubBandHeight},
    {32, kHelpMainBandHeight},
    {34, kHelpSubBandHeight},
    {42, kHelpSubBandHeight},
    {46, kHelpSubBandHeight},
    {55, kHelpSubBandHeight},
    {60, kHelpSubBandHeight},
    {66, kHelpSubBandHeight},
    {77, kHelpSubBandHeight},
    {90, kHelpSubBandHeight},
    {94, kHelpSubBandHeight},
    {97, kHelpSubBandHeight},
    {103, kHelpSubBandHeight},
    {114, kHelpSubBandHeight},
    {122, kHelpSubBandHeight},
    {127, kHelpMainBandHeight},
}};

// Top pixel of a band, relative to the client top, with firstShown the line at the top.
constexpr int helpBandTop(const HelpBand& band, int firstShown) noexcept {
  const int top = (band.firstLine - firstShown) * kHelpLineHeight;
  return band.height == kHelpMainBandHeight ? top - kHelpMainBandRaise : top;
}

// Scroll-bar requests, numbered as the window system numbers them (SB_LINEUP..SB_ENDSCROLL).
enum class HelpScrollRequest : int {
  lineUp = 0,
  lineDown = 1,
  pageUp = 2,
  pageDown = 3,
  thumbPosition = 4,
  thumbTrack = 5,
};

// The first line shown after a scroll request, kept within 0..kHelpLastFirstLine. Requests
// other than line, page and thumb-track leave it where it is.
int helpScrollTarget(int request, int thumbPosition, int firstLine) noexcept;
