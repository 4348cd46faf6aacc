// zembrac-render: renders a sound file through a VST 2.4 plug-in (by default Zembrac).
#include "AudioFile.h"
#include "Options.h"
#include "PluginHost.h"
#include "ProgressBar.h"
#include "RenderError.h"
#include "Renderer.h"
#include "Report.h"

#include <cstdio>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kPluginFile[] = "zembrac.so";

bool isFile(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The library beside the executable (an installed or copied pair), else the one this build made.
std::string defaultPluginPath() {
  char self[4096];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n > 0) {
    std::string dir(self, static_cast<std::size_t>(n));
    dir.erase(dir.find_last_of('/') + 1);
    if (isFile(dir + kPluginFile)) {
      return dir + kPluginFile;
    }
  }
  return ZEMBRAC_BUILT_PLUGIN;
}

std::string joinedNames(const std::vector<std::string>& names) {
  std::string joined;
  for (const auto& name : names) {
    joined += (joined.empty() ? "" : ", ") + name;
  }
  return joined;
}

void chooseProgram(PluginHost& host, const std::string& wanted) {
  const int index = host.findProgram(wanted);
  if (index < 0) {
    throw RenderError("unknown program '" + wanted + "'; the plug-in has " +
                      std::to_string(host.programCount()) +
                      " programs: " + joinedNames(host.programNames()));
  }
  host.setProgram(index);
}

std::vector<int> applySettings(PluginHost& host, const std::vector<ParameterSetting>& settings) {
  std::vector<int> indices;
  for (const auto& setting : settings) {
    const int index = host.findParameter(setting.name);
    if (index < 0) {
      throw RenderError("unknown parameter '" + setting.name +
                        "'; the plug-in has: " + joinedNames(host.parameterNames()));
    }
    host.setParameter(index, setting.value);
    indices.push_back(index);
  }
  return indices;
}

int run(const Options& options) {
  std::unique_ptr<AudioReader> reader;
  if (!options.list) {
    reader = std::make_unique<AudioReader>(options.input);
  }
  PluginHost host(options.pluginPath.empty() ? defaultPluginPath() : options.pluginPath);
  host.setSampleRate(reader ? static_cast<float>(reader->format().sampleRate) : 44100.0f);
  host.setBlockSize(options.blockSize);
  host.setMains(true);
  const std::vector<std::string> programs =
      options.list ? host.programNames() : std::vector<std::string>{};
  if (!options.program.empty()) {
    chooseProgram(host, options.program);
  }
  SummaryContext context;
  context.setParameters = applySettings(host, options.settings);
  if (options.list) {
    printListing(stdout, host, programs);
    return 0;
  }

  AudioFormat outputFormat = reader->format();
  outputFormat.format = chooseOutputFormat(outputFormat.format, outputFormat.channels,
                                           options.format, options.output);
  AudioWriter writer(options.output, options.input, outputFormat);
  const bool showProgress = options.progress.value_or(isatty(STDERR_FILENO) == 1);
  std::unique_ptr<ProgressBar> progress;
  if (showProgress) {
    progress = std::make_unique<ProgressBar>(stderr, reader->format().frames);
  }
  const RenderResult result =
      Renderer(host, options.blockSize, options.measureLevels).run(*reader, writer, progress.get());
  writer.commit();
  if (progress) {
    progress->finish();
  }
  context.input = options.input;
  context.output = options.output;
  context.outputFormat = outputFormat.format;
  printSummary(stdout, host, reader->format(), context, result);
  return 0;
}

} // namespace

int main(int argc, char** argv) {
  try {
    const Options options = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (options.help) {
      std::fputs(usageText(), stdout);
      return 0;
    }
    AudioWriter::removeTemporaryOnSignals();
    return run(options);
  } catch (const std::exception& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "zembrac-render: %s\n", e.what());
    return kExitFailure;
  }
}
