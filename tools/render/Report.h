// What zembrac-render prints: the plug-in listing and the before/after summary.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

class PluginHost;
struct AudioFormat;
struct RenderResult;

// Program names are read before any setting is applied, since reading them may switch
// programs; the parameters are shown as they stand now.
void printListing(std::FILE* out, PluginHost& host, const std::vector<std::string>& programs);

struct SummaryContext {
  std::string input;
  std::string output;
  int outputFormat = 0;
  std::vector<int> setParameters; // indices given with --set, shown with their display
};

void printSummary(std::FILE* out, PluginHost& host, const AudioFormat& inputFormat,
                  const SummaryContext& context, const RenderResult& result);

// "-12.3", or "-inf" for silence.
std::string formatLevel(double db);
