#include "Renderer.h"

#include "AudioFile.h"
#include "PluginHost.h"
#include "ProgressBar.h"

#include <algorithm>
#include <ctime>
#include <vector>

namespace {

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
  const auto slots = static_cast<std::size_t>(host_.channelSlots());

  std::vector<std::vector<float>> in(slots, std::vector<float>(block, 0.0f));
  std::vector<std::vector<float>> out(slots, std::vector<float>(block, 0.0f));
  std::vector<float*> inPtr(slots), outPtr(slots);
  for (std::size_t c = 0; c < slots; ++c) {
    inPtr[c] = in[c].data();
    outPtr[c] = out[c].data();
  }
  std::vector<float> readBuffer(block * channels), writeBuffer(block * channels);
  LevelMeter inputMeter(format.channels, format.sampleRate);
  LevelMeter outputMeter(format.channels, format.sampleRate);

  RenderResult result;
  result.latency = std::max(0, static_cast<int>(host_.latency()));
  auto tailLeft = static_cast<std::size_t>(result.latency);
  auto skipLeft = tailLeft;
  bool atEnd = false;
  for (;;) {
    const std::size_t got = atEnd ? 0 : reader.read(readBuffer.data(), block);
    atEnd = atEnd || got < block;
    const std::size_t pad = atEnd ? std::min(block - got, tailLeft) : 0;
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
    inputMeter.add(readBuffer.data(), got);

    const double start = threadCpuSeconds();
    host_.process(inPtr.data(), outPtr.data(), static_cast<int>(frames));
    result.processSeconds += threadCpuSeconds() - start;

    const std::size_t skip = std::min(skipLeft, frames);
    skipLeft -= skip;
    // Mono output is the left side: averaging would also halve the independent dither.
    const std::size_t right = host_.outputCount() > 1 && channels == 2 ? 1 : 0;
    std::size_t n = 0;
    for (std::size_t i = skip; i < frames; ++i, ++n) {
      writeBuffer[n * channels] = out[0][i];
      writeBuffer[n * channels + channels - 1] = out[right][i];
    }
    writer.write(writeBuffer.data(), n);
    outputMeter.add(writeBuffer.data(), n);
    result.frames += static_cast<long long>(got);
    if (progress != nullptr) {
      progress->update(result.frames);
    }
  }
  result.input = inputMeter.levels();
  result.output = outputMeter.levels();
  return result;
}
