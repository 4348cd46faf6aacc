// What one run of zembrac-render does once its options are parsed: list the plug-in, or render
// INPUT into OUTPUT and report on the file written.
#pragma once

#include "AudioReader.h"
#include "Options.h"

#include <chrono>
#include <cstdio>
#include <string>

class PluginHost;
class SampleConverter;

// pluginPath: the library to load (options.pluginPath, or the default the caller found).
// Returns the exit status; throws RenderError for failures.
int runList(const Options& options, const std::string& pluginPath);
int runRender(const Options& options, const std::string& pluginPath,
              std::chrono::steady_clock::time_point started);

// Sets both instances to the rate and block size, and switches host on.
void prepare(PluginHost& host, PluginHost& probe, float sampleRate, int blockSize);

// Chooses --program on host (and on probe, a second instance that mirrors it for reading
// parameter ranges), then applies every --set and --set-raw in order. Notes about values
// taken at the nearest step go to notes unless it is null. Returns the parameters set.
std::vector<int> applySettings(PluginHost& host, PluginHost& probe, const Options& options,
                               std::FILE* notes);

// The input's tags, with "software" naming this program.
Tags outputTags(const AudioReader& input);

std::string versionText();

// One warning line on standard error when samples clipped (or, in a float file, passed
// full scale).
void warnAboutClipping(const SampleConverter& converter, const std::string& output, bool integer);
