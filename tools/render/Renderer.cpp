#include "Renderer.h"

#include "AudioFile.h"
#include "PluginHost.h"
#include "ProgressBar.h"

#include <algorithm>
#include <ctime>
#include <optional>
#include <vector>

namespace {

// Blocks are read and processed a chunk at a time, so the thread's CPU clock (a system call
// of about 1 us, a third of a 512-frame block's work) is read once per chunk, around nothing
// but processReplacing calls.
constexpr std::size_t kChunkFrames = 32768;

double threadCpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

} // namespace

RenderResult Renderer::run(AudioReader& reader, AudioWriter& writer, ProgressBar* progress) {
  const AudioFormat& format = reader.format();
  const auto channels = static_cast<std::size_t>(format.channels);
  const auto block = static_cast<std::size_t>(blockSize_);
  const std::size_t chunk = block * std::max<std::size_t>(1, kChunkFrames / block);
  const auto slots = static_cast<std::size_t>(host_.channelSlots());

  std::vector<std::vector<float>> in(slots, std::vector<float>(chunk, 0.0f));
  std::vector<std::vector<float>> out(slots, std::vector<float>(chunk, 0.0f));
  std::vector<float*> inPtr(slots), outPtr(slots);
  std::vector<float> readBuffer(chunk * channels), writeBuffer(chunk * channels);
  std::optional<LevelMeter> inputMeter, outputMeter;
  if (measureLevels_) {
    inputMeter.emplace(format.channels, format.sampleRate);
    outputMeter.emplace(format.channels, format.sampleRate);
  }
  // Mono output is the left side: averaging would also halve the independent dither.
  const std::size_t right = host_.outputCount() > 1 && channels == 2 ? 1 : 0;

  RenderResult result;
  result.latency = std::max(0, static_cast<int>(host_.latency()));
  auto tailLeft = static_cast<std::size_t>(result.latency);
  auto skipLeft = tailLeft;
  bool atEnd = false;
  for (;;) {
    const std::size_t got = atEnd ? 0 : reader.read(readBuffer.data(), chunk);
    atEnd = atEnd || got < chunk;
    const std::size_t pad = atEnd ? std::min(chunk - got, tailLeft) : 0;
    tailLeft -= pad;
    const std::size_t frames = got + pad;
    if (frames == 0) {
      break;
    }
    // A mono file feeds both sides of the pair alike.
    for (std::size_t i = 0; i < got; ++i) {
      in[0][i] = readBuffer[i * channels];
      in[1][i] = readBuffer[i * channels + channels - 1];
    }
    for (std::size_t c = 0; c < 2; ++c) {
      std::fill(in[c].begin() + static_cast<std::ptrdiff_t>(got), in[c].end(), 0.0f);
    }
    if (inputMeter) {
      inputMeter->add(readBuffer.data(), got);
    }

    const double start = threadCpuSeconds();
    for (std::size_t offset = 0; offset < frames; offset += block) {
      for (std::size_t c = 0; c < slots; ++c) {
        inPtr[c] = in[c].data() + offset;
        outPtr[c] = out[c].data() + offset;
      }
      host_.process(inPtr.data(), outPtr.data(),
                    static_cast<int>(std::min(block, frames - offset)));
    }
    result.processSeconds += threadCpuSeconds() - start;

    const std::size_t skip = std::min(skipLeft, frames);
    skipLeft -= skip;
    std::size_t n = 0;
    for (std::size_t i = skip; i < frames; ++i, ++n) {
      writeBuffer[n * channels] = out[0][i];
      writeBuffer[n * channels + channels - 1] = out[right][i];
    }
    writer.write(writeBuffer.data(), n);
    if (outputMeter) {
      outputMeter->add(writeBuffer.data(), n);
    }
    result.frames += static_cast<long long>(got);
    if (progress != nullptr) {
      progress->update(result.frames);
    }
  }
  if (measureLevels_) {
    result.measured = true;
    result.input = inputMeter->levels();
    result.output = outputMeter->levels();
  }
  return result;
}
