#include "RenderCommand.h"

#include "AudioReader.h"
#include "AudioWriter.h"
#include "ParameterScale.h"
#include "PluginHost.h"
#include "ProgressBar.h"
#include "RenderError.h"
#include "Renderer.h"
#include "Report.h"
#include "SampleConverter.h"

#include <ebur128.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <unistd.h>

namespace {

std::string joinedNames(const std::vector<std::string>& names) {
  std::string joined;
  for (const auto& name : names) {
    joined += (joined.empty() ? "" : ", ") + name;
  }
  return joined;
}

void chooseProgram(PluginHost& host, PluginHost& probe, const std::string& wanted) {
  const int index = host.findProgram(wanted);
  if (index < 0) {
    throw RenderError("unknown program '" + wanted + "'; the plug-in has " +
                      std::to_string(host.programCount()) +
                      " programs: " + joinedNames(host.programNames()));
  }
  host.setProgram(index);
  probe.setProgram(index);
}

std::string seconds(long long frames, int sampleRate) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f s (%lld frames)", static_cast<double>(frames) / sampleRate,
                frames);
  return text;
}

} // namespace

// The probe runs at the same rate, since a display may depend on it; it never processes.
void prepare(PluginHost& host, PluginHost& probe, float sampleRate, int blockSize) {
  for (PluginHost* instance : {&host, &probe}) {
    instance->setSampleRate(sampleRate);
    instance->setBlockSize(blockSize);
  }
  host.setMains(true);
}

void warnAboutClipping(const SampleConverter& converter, const std::string& output, bool integer) {
  const std::string peak = formatLevel(20.0 * std::log10(converter.peakBeforeClipping()));
  if (converter.clippedSamples() > 0) {
    std::fprintf(stderr,
                 "zembrac-render: warning: %lld samples clipped at full scale in %s "
                 "(peak before clipping %s dBFS)\n",
                 converter.clippedSamples(), output.c_str(), peak.c_str());
  } else if (!integer && converter.peakBeforeClipping() > 1.0) {
    std::fprintf(stderr,
                 "zembrac-render: warning: %s peaks at %s dBFS, above full scale; the float "
                 "file keeps it, but players and integer formats will clip\n",
                 output.c_str(), peak.c_str());
  }
}

Tags outputTags(const AudioReader& input) {
  Tags tags = input.tags();
  tags.erase(std::remove_if(tags.begin(), tags.end(),
                            [](const auto& tag) { return tag.first == SF_STR_SOFTWARE; }),
             tags.end());
  tags.emplace_back(SF_STR_SOFTWARE, "Zembrac " ZEMBRAC_VERSION " (zembrac-render)");
  return tags;
}

std::vector<int> applySettings(PluginHost& host, PluginHost& probe, const Options& options,
                               std::FILE* notes) {
  if (!options.program.empty()) {
    chooseProgram(host, probe, options.program);
  }
  std::vector<int> indices;
  for (const auto& setting : options.settings) {
    const int index = host.findParameter(setting.name);
    if (index < 0) {
      throw RenderError("unknown parameter '" + setting.name +
                        "'; the plug-in has: " + joinedNames(host.parameterNames()));
    }
    const ResolvedValue value = ParameterScale(probe, index).resolve(setting.value);
    host.setParameter(index, value.normalized);
    probe.setParameter(index, value.normalized);
    if (value.note && notes != nullptr) {
      std::fprintf(notes, "zembrac-render: note: %s\n", value.note->c_str());
    }
    indices.push_back(index);
  }
  for (const auto& raw : options.rawSettings) {
    if (raw.index >= host.parameterCount()) {
      throw RenderError("--set-raw " + std::to_string(raw.index) + ": the plug-in has " +
                        std::to_string(host.parameterCount()) + " parameters, from 0");
    }
    host.setParameter(raw.index, raw.value);
    probe.setParameter(raw.index, raw.value);
    indices.push_back(raw.index);
  }
  return indices;
}

int runList(const Options& options, const std::string& pluginPath) {
  PluginHost host(pluginPath);
  PluginHost probe(pluginPath);
  prepare(host, probe, 44100.0f, options.blockSize);
  const std::vector<std::string> programs = host.programNames();
  applySettings(host, probe, options, options.quiet ? nullptr : stderr);
  std::vector<std::string> ranges;
  for (int i = 0; i < host.parameterCount(); ++i) {
    ranges.push_back(ParameterScale(probe, i).rangeText());
  }
  printListing(stdout, host, programs, ranges);
  return 0;
}

int runRender(const Options& options, const std::string& pluginPath,
              std::chrono::steady_clock::time_point started) {
  const bool toStdout = options.output == kStdStream;
  std::FILE* report = toStdout ? stderr : stdout;
  std::FILE* notes = options.quiet ? nullptr : stderr;
  AudioReader reader(options.input);
  const AudioFormat& inputFormat = reader.format();

  PluginHost host(pluginPath);
  PluginHost probe(pluginPath);
  prepare(host, probe, static_cast<float>(inputFormat.sampleRate), options.blockSize);
  SummaryContext context;
  context.setParameters = applySettings(host, probe, options, notes);

  AudioFormat outputFormat = inputFormat;
  outputFormat.format =
      chooseOutputFormat(inputFormat, OutputRequest{options.format, options.bits, options.output});
  AudioWriter writer(options.output, options.input, outputFormat,
                     WriteOptions{options.overwrite, options.quality});
  writer.setTags(outputTags(reader));

  const bool showProgress = !options.quiet && options.progress.value_or(isatty(STDERR_FILENO) == 1);
  auto progressFor = [&](const char* what, long long total) {
    return showProgress ? std::make_unique<ProgressBar>(stderr, what, total) : nullptr;
  };
  auto progress = progressFor("rendering", std::max(inputFormat.frames, reader.headerFrames()));
  const RenderedAudio rendered =
      render(host, reader, options.blockSize, options.measureLevels, progress.get());
  progress.reset();
  if (reader.headerFrames() > rendered.frames()) {
    std::fprintf(stderr,
                 "zembrac-render: warning: %s ends early: its header says %s, it holds %s; "
                 "rendering what is there\n",
                 options.input == kStdStream ? "standard input"
                                             : ("'" + options.input + "'").c_str(),
                 seconds(reader.headerFrames(), inputFormat.sampleRate).c_str(),
                 seconds(rendered.frames(), inputFormat.sampleRate).c_str());
  }

  SampleConverter converter(outputFormat.format);
  progress = progressFor("writing  ", rendered.frames());
  writeRendered(rendered, converter, writer, progress.get());
  progress.reset();
  if (options.measureLevels) {
    context.outputLevels = measure(*writer.finishAndReadBack());
  }
  writer.commit();
  warnAboutClipping(converter, toStdout ? "standard output" : "'" + options.output + "'",
                    converter.writesIntegers());

  if (!options.quiet) {
    context.input = options.input == kStdStream ? "(standard input)" : options.input;
    context.output = toStdout ? "(standard output)" : options.output;
    context.outputFormat = outputFormat.format;
    context.wallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    printSummary(report, host, inputFormat, context, rendered);
  }
  return 0;
}

std::string versionText() {
  int major = 0, minor = 0, patch = 0;
  ebur128_get_version(&major, &minor, &patch);
  return "zembrac-render " ZEMBRAC_VERSION " (" + std::string(sf_version_string()) +
         ", libebur128 " + std::to_string(major) + "." + std::to_string(minor) + "." +
         std::to_string(patch) + ")\n";
}
