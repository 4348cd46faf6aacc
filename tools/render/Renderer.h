// Renders a file through the plug-in into memory, block by block, with the latency taken off
// the start and the tail flushed with silence, so that output and input line up sample for
// sample; then hands the result to the output format, the level meter and the writer.
#pragma once

#include "LevelMeter.h"

#include <functional>
#include <optional>
#include <vector>

class AudioReader;
struct AudioFormat;
class AudioWriter;
class PluginHost;
class ProgressBar;
class SampleConverter;

struct RenderedAudio {
  int channels = 0;
  int sampleRate = 0;
  std::vector<float> samples; // interleaved, as many frames as the input delivered
  int latency = 0;
  double processSeconds = 0.0; // CPU time of this thread inside processReplacing
  std::optional<Levels> input; // when measured

  long long frames() const {
    return channels > 0 ? static_cast<long long>(samples.size()) / channels : 0;
  }
};

// measureInput: also meter the input as it is read.
RenderedAudio render(PluginHost& host, AudioReader& reader, int blockSize, bool measureInput,
                     ProgressBar* progress);
// Interleaved frames of format into frames; fewer than count only at the end.
using FrameSource = std::function<std::size_t(float* frames, std::size_t count)>;
RenderedAudio render(PluginHost& host, const AudioFormat& format, const FrameSource& source,
                     int blockSize, bool measureInput, ProgressBar* progress);

// Converts the rendered samples with converter and writes them.
void writeRendered(const RenderedAudio& audio, SampleConverter& converter, AudioWriter& writer,
                   ProgressBar* progress);

// Levels of a whole file as it reads back.
Levels measure(AudioReader& reader);
