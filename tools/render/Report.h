// What zembrac-render prints: the plug-in listing and the before/after summary.
#pragma once

#include "LevelMeter.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

class PluginHost;
struct AudioFormat;
struct RenderedAudio;

// Program names are read before any setting is applied, since reading them may switch
// programs; the parameters are shown as they stand now, each with its range.
void printListing(std::FILE* out, PluginHost& host, const std::vector<std::string>& programs,
                  const std::vector<std::string>& ranges);

struct SummaryContext {
  std::string input;
  std::string output;
  int outputFormat = 0;
  std::vector<int> setParameters;     // indices given with --set, shown with their display
  std::optional<Levels> outputLevels; // of the file as written
  double wallSeconds = 0.0;           // the whole run
};

void printSummary(std::FILE* out, PluginHost& host, const AudioFormat& inputFormat,
                  const SummaryContext& context, const RenderedAudio& result);

// "-12.3", or "-inf" for silence.
std::string formatLevel(double db);
