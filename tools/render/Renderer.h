// Streams a file through the plug-in block by block, with the latency taken off the start
// and the tail flushed with silence, so that output and input line up sample for sample.
#pragma once

#include "LevelMeter.h"

class AudioReader;
class AudioWriter;
class PluginHost;
class ProgressBar;

struct RenderResult {
  long long frames = 0;
  int latency = 0;
  double processSeconds = 0.0; // CPU time of this thread inside processReplacing
  bool measured = false;
  Levels input;
  Levels output;
};

class Renderer {
public:
  Renderer(PluginHost& host, int blockSize, bool measureLevels)
      : host_(host), blockSize_(blockSize), measureLevels_(measureLevels) {}

  RenderResult run(AudioReader& reader, AudioWriter& writer, ProgressBar* progress);

private:
  PluginHost& host_;
  int blockSize_;
  bool measureLevels_;
};
