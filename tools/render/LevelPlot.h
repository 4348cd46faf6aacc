// The picture --plot draws for one file: input and output envelopes, the gain the chain
// applied over time, and the short-term loudness against the target, on shared time axes.
#pragma once

#include "LevelAnalysis.h"

#include <optional>
#include <string>
#include <vector>

struct PlotData {
  std::string title;    // the file
  std::string subtitle; // the figures that matter
  const LevelAnalysis* input = nullptr;
  const LevelAnalysis* output = nullptr;
  std::vector<float> gain; // gainOverTime(input, output)
  std::optional<double> targetLufs;
  std::optional<double> ceilingDbtp;
  double seconds = 0.0;
};

constexpr int kPlotWidth = 1200;
constexpr int kPlotHeight = 900;

// A PNG of kPlotWidth x kPlotHeight, written beside path and renamed. Throws RenderError.
void drawLevelPlot(const std::string& path, const PlotData& data);

// Frees the font caches drawing filled, so leak checkers see a clean exit. Only when no
// plot is being drawn.
void releasePlotCaches();
