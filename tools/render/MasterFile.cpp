#include "MasterFile.h"

#include "AudioReader.h"
#include "AudioWriter.h"
#include "BatchRunner.h"
#include "LevelPlot.h"
#include "LoudnessSearch.h"
#include "PluginHost.h"
#include "ProgressBar.h"
#include "RenderCommand.h"
#include "RenderError.h"
#include "Renderer.h"
#include "Report.h"
#include "SampleConverter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>

namespace {

constexpr std::size_t kChunk = 65536;
constexpr double kLoudnessTolerance = 0.1;

float dbToGain(double db) { return static_cast<float>(std::pow(10.0, db / 20.0)); }

std::vector<float> readAll(AudioReader& reader) {
  const auto channels = static_cast<std::size_t>(reader.format().channels);
  std::vector<float> samples;
  samples.reserve(static_cast<std::size_t>(std::max(0LL, reader.format().frames)) * channels);
  std::vector<float> buffer(kChunk * channels);
  while (const std::size_t got = reader.read(buffer.data(), kChunk)) {
    samples.insert(samples.end(), buffer.begin(),
                   buffer.begin() + static_cast<std::ptrdiff_t>(got * channels));
  }
  return samples;
}

// The samples a format conversion makes, kept as written (integers) and as they read back.
struct Delivery {
  int format = 0;
  std::vector<std::int32_t> integers; // integer formats only
  std::optional<SampleConverter> last;

  void operator()(const std::vector<float>& processed, double trimDb, std::vector<float>& out) {
    SampleConverter converter(format, dbToGain(trimDb));
    out.resize(processed.size());
    if (converter.writesIntegers()) {
      integers.resize(processed.size());
      converter.convert(processed.data(), processed.size(), integers.data());
      std::transform(integers.begin(), integers.end(), out.begin(), [](std::int32_t v) {
        return static_cast<float>(std::ldexp(static_cast<double>(v), -31));
      });
    } else {
      converter.convert(processed.data(), processed.size(), out.data());
    }
    last = converter;
  }
};

std::string subtitle(const PluginHost& host, const FileRecord& r) {
  std::string s = "\"" + host.currentProgramName() + "\": input gain " + signedDb(r.inputGainDb) +
                  " dB, output trim " + signedDb(r.outputTrimDb) + " dB";
  if (r.targetLufs) {
    s += ", " + std::to_string(r.tries) + (r.tries == 1 ? " try" : " tries");
  }
  return s + "  |  output " + formatLevel(r.out.loudnessLufs) + " LUFS, true peak " +
         formatLevel(r.out.truePeakDb) + " dBTP, LRA " + fixed(r.out.loudnessRangeLu, 1) +
         " LU, sample peak " + formatLevel(r.out.samplePeakDb) + " dBFS";
}

} // namespace

std::string baseName(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string fixed(double value, int precision) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.*f", precision, value);
  return buffer;
}

std::string signedDb(double value) { return (value > 0.0 ? "+" : "") + fixed(value, 2); }

void masterFile(const Options& options, const std::string& pluginPath, const std::string& plotPath,
                FileRecord& record, bool showProgress) {
  record.targetLufs = options.targetLufs;
  record.ceilingDbtp = options.truePeakDbtp;
  AudioReader reader(record.input);
  const AudioFormat format = reader.format();
  const std::vector<float> input = readAll(reader);
  const auto channels = static_cast<std::size_t>(format.channels);
  const std::size_t frames = input.size() / channels;
  if (reader.headerFrames() > static_cast<long long>(frames)) {
    std::fprintf(stderr,
                 "zembrac-render: warning: '%s' ends early: its header says %lld frames, it "
                 "holds %zu; rendering what is there\n",
                 record.input.c_str(), reader.headerFrames(), frames);
  }

  PluginHost host(pluginPath);
  PluginHost probe(pluginPath);
  prepare(host, probe, static_cast<float>(format.sampleRate), options.blockSize);
  applySettings(host, probe, options, nullptr);

  AudioFormat outputFormat = format;
  outputFormat.format =
      chooseOutputFormat(format, OutputRequest{options.format, options.bits, record.output});
  AudioWriter writer(record.output, record.input, outputFormat,
                     WriteOptions{options.overwrite, options.quality});
  writer.setTags(outputTags(reader));
  record.in = analyseLevels(input.data(), frames, format.channels, format.sampleRate);
  record.durationSeconds = static_cast<double>(frames) / format.sampleRate;

  // Each try on a thread of its own: the plug-in's dither then starts afresh, and the gains
  // reported give this output again.
  const LoudnessSearch::Process process = [&](double gainDb, std::vector<float>& processed) {
    runOnFreshThread([&] {
      const float gain = dbToGain(gainDb);
      std::size_t at = 0;
      const FrameSource source = [&](float* out, std::size_t count) {
        const std::size_t n = std::min(count, frames - at);
        std::transform(input.begin() + static_cast<std::ptrdiff_t>(at * channels),
                       input.begin() + static_cast<std::ptrdiff_t>((at + n) * channels), out,
                       [gain](float v) { return v * gain; });
        at += n;
        return n;
      };
      std::unique_ptr<ProgressBar> progress;
      if (showProgress) {
        progress = std::make_unique<ProgressBar>(stderr, "input gain " + signedDb(gainDb) + " dB",
                                                 static_cast<long long>(frames));
      }
      RenderedAudio rendered =
          render(host, format, source, options.blockSize, false, progress.get());
      record.latency = rendered.latency;
      processed = std::move(rendered.samples);
    });
  };
  Delivery delivery;
  delivery.format = outputFormat.format;
  std::vector<float> delivered;
  if (options.truePeakDbtp) {
    const LoudnessGoal goal{options.targetLufs, *options.truePeakDbtp, options.bestEffort};
    const LoudnessOutcome outcome = LoudnessSearch(format.channels, format.sampleRate, goal)
                                        .run(process, std::ref(delivery), delivered);
    record.inputGainDb = outcome.inputGainDb;
    record.outputTrimDb = outcome.outputTrimDb;
    record.tries = outcome.tries;
    record.reached = outcome.reached;
    if (!outcome.reached) {
      std::fprintf(stderr, "zembrac-render: warning: '%s': %s\n", record.input.c_str(),
                   outcome.shortfall.c_str());
    }
  } else {
    std::vector<float> processed;
    process(0.0, processed);
    delivery(processed, 0.0, delivered);
    record.tries = 1;
  }

  for (std::size_t done = 0; done < delivered.size(); done += kChunk * channels) {
    const std::size_t n = std::min(kChunk * channels, delivered.size() - done);
    if (delivery.integers.empty()) {
      writer.write(delivered.data() + done, n / channels);
    } else {
      writer.write(delivery.integers.data() + done, n / channels);
    }
  }
  delivery.integers = {};
  delivered = {};
  {
    // Levels of the file as a player reads it back.
    auto back = writer.finishAndReadBack();
    const std::vector<float> written = readAll(*back);
    record.out = analyseLevels(written.data(), written.size() / channels, format.channels,
                               format.sampleRate);
  }
  writer.commit();
  const bool overCeiling = options.truePeakDbtp && record.out.truePeakDb > *options.truePeakDbtp;
  const bool offTarget =
      options.targetLufs && record.reached &&
      !(std::abs(record.out.loudnessLufs - *options.targetLufs) <= kLoudnessTolerance);
  if (overCeiling || offTarget) {
    // Only a lossy encoder moves the samples after the search has measured them.
    std::fprintf(stderr,
                 "zembrac-render: warning: '%s' as encoded is at %s LUFS with a true peak of %s "
                 "dBTP, off the goal; a lossless format keeps it\n",
                 record.output.c_str(), formatLevel(record.out.loudnessLufs).c_str(),
                 formatLevel(record.out.truePeakDb).c_str());
  }
  record.clippedSamples = delivery.last->clippedSamples();
  warnAboutClipping(*delivery.last, "'" + record.output + "'", delivery.last->writesIntegers());
  const std::vector<float> gain = gainOverTime(record.in, record.out);
  record.maxGainReductionDb = largestGainReduction(gain);
  if (!plotPath.empty()) {
    PlotData plot;
    plot.title = baseName(record.output);
    plot.subtitle = subtitle(host, record);
    plot.input = &record.in;
    plot.output = &record.out;
    plot.gain = gain;
    plot.targetLufs = options.targetLufs;
    plot.ceilingDbtp = options.truePeakDbtp;
    plot.seconds = record.durationSeconds;
    drawLevelPlot(plotPath, plot);
  }
}
