#include "Renderer.h"

#include "AudioReader.h"
#include "AudioWriter.h"
#include "PluginHost.h"
#include "ProgressBar.h"
#include "SampleConverter.h"

#include <algorithm>
#include <cstdint>
#include <ctime>
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

RenderedAudio render(PluginHost& host, AudioReader& reader, int blockSize, bool measureInput,
                     ProgressBar* progress) {
  return render(
      host, reader.format(),
      [&reader](float* frames, std::size_t count) { return reader.read(frames, count); }, blockSize,
      measureInput, progress);
}

RenderedAudio render(PluginHost& host, const AudioFormat& format, const FrameSource& source,
                     int blockSize, bool measureInput, ProgressBar* progress) {
  const auto channels = static_cast<std::size_t>(format.channels);
  const auto block = static_cast<std::size_t>(blockSize);
  const std::size_t chunk = block * std::max<std::size_t>(1, kChunkFrames / block);
  const auto slots = static_cast<std::size_t>(host.channelSlots());

  std::vector<std::vector<float>> in(slots, std::vector<float>(chunk, 0.0f));
  std::vector<std::vector<float>> out(slots, std::vector<float>(chunk, 0.0f));
  std::vector<float*> inPtr(slots), outPtr(slots);
  std::vector<float> readBuffer(chunk * channels);
  std::optional<LevelMeter> inputMeter;
  if (measureInput) {
    inputMeter.emplace(format.channels, format.sampleRate);
  }
  // Mono output is the left side: averaging would also halve the independent dither.
  const std::size_t right = host.outputCount() > 1 && channels == 2 ? 1 : 0;

  RenderedAudio result;
  result.channels = format.channels;
  result.sampleRate = format.sampleRate;
  result.samples.reserve(static_cast<std::size_t>(std::max(0LL, format.frames)) * channels);
  result.latency = std::max(0, static_cast<int>(host.latency()));
  auto tailLeft = static_cast<std::size_t>(result.latency);
  auto skipLeft = tailLeft;
  long long read = 0;
  bool atEnd = false;
  for (;;) {
    const std::size_t got = atEnd ? 0 : source(readBuffer.data(), chunk);
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
      host.process(inPtr.data(), outPtr.data(), static_cast<int>(std::min(block, frames - offset)));
    }
    result.processSeconds += threadCpuSeconds() - start;

    for (std::size_t i = std::min(skipLeft, frames); i < frames; ++i) {
      result.samples.push_back(out[0][i]);
      if (channels == 2) {
        result.samples.push_back(out[right][i]);
      }
    }
    skipLeft -= std::min(skipLeft, frames);
    read += static_cast<long long>(got);
    if (progress != nullptr) {
      progress->update(read);
    }
  }
  if (inputMeter) {
    result.input = inputMeter->levels();
  }
  return result;
}

void writeRendered(const RenderedAudio& audio, SampleConverter& converter, AudioWriter& writer,
                   ProgressBar* progress) {
  const auto channels = static_cast<std::size_t>(audio.channels);
  const std::size_t chunk = kChunkFrames * channels;
  std::vector<std::int32_t> ints(converter.writesIntegers() ? chunk : 0);
  std::vector<float> floats(converter.writesIntegers() ? 0 : chunk);
  for (std::size_t done = 0; done < audio.samples.size(); done += chunk) {
    const std::size_t n = std::min(chunk, audio.samples.size() - done);
    if (converter.writesIntegers()) {
      converter.convert(audio.samples.data() + done, n, ints.data());
      writer.write(ints.data(), n / channels);
    } else {
      converter.convert(audio.samples.data() + done, n, floats.data());
      writer.write(floats.data(), n / channels);
    }
    if (progress != nullptr) {
      progress->update(static_cast<long long>((done + n) / channels));
    }
  }
}

Levels measure(AudioReader& reader) {
  const AudioFormat& format = reader.format();
  LevelMeter meter(format.channels, format.sampleRate);
  std::vector<float> buffer(kChunkFrames * static_cast<std::size_t>(format.channels));
  while (const std::size_t got = reader.read(buffer.data(), kChunkFrames)) {
    meter.add(buffer.data(), got);
  }
  return meter.levels();
}
