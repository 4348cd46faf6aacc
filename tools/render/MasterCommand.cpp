#include "MasterCommand.h"

#include "BatchRunner.h"
#include "LevelPlot.h"
#include "MasterFile.h"
#include "PluginHost.h"
#include "RenderCommand.h"
#include "RenderError.h"
#include "Report.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

std::string stem(const std::string& name) {
  const auto dot = name.find_last_of('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

bool isDirectory(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A directory the user named for output: made when only its last part is missing.
void ensureDirectory(const std::string& option, const std::string& path) {
  if (isDirectory(path)) {
    return;
  }
  if (mkdir(path.c_str(), 0777) != 0) {
    throw RenderError(option + " '" + path + "': " + std::strerror(errno));
  }
}

void checkNew(const std::string& what, const std::string& path, bool overwrite) {
  if (!overwrite && access(path.c_str(), F_OK) == 0) {
    throw RenderError(what + " '" + path + "' exists; -y replaces it");
  }
}

void printLevels(std::FILE* out, const FileRecord& r) {
  const struct {
    const char* name;
    double in, out;
    const char* unit;
  } rows[] = {
      {"Sample peak", r.in.samplePeakDb, r.out.samplePeakDb, "dBFS"},
      {"True peak", r.in.truePeakDb, r.out.truePeakDb, "dBTP"},
      {"Loudness", r.in.loudnessLufs, r.out.loudnessLufs, "LUFS"},
      {"Range", r.in.loudnessRangeLu, r.out.loudnessRangeLu, "LU"},
      {"Short-term", r.in.maxShortTermLufs, r.out.maxShortTermLufs, "LUFS, highest"},
  };
  std::fprintf(out, "  %-12s %10s %10s\n", "", "input", "output");
  for (const auto& row : rows) {
    // A range is a width, not a level: no sign.
    const bool range = row.unit == std::string("LU");
    std::fprintf(out, "  %-12s %10s %10s  %s\n", row.name,
                 (range ? fixed(row.in, 2) : formatLevel(row.in)).c_str(),
                 (range ? fixed(row.out, 2) : formatLevel(row.out)).c_str(), row.unit);
  }
}

// "Target  -14.00 LUFS under -1.00 dBTP: reached in 4 tries, ..." or "Ceiling -1.00 dBTP: ...".
std::string goalText(const FileRecord& r) {
  if (!r.targetLufs) {
    return "Ceiling " + fixed(*r.ceilingDbtp, 2) + " dBTP: held with an output trim of " +
           signedDb(r.outputTrimDb) + " dB";
  }
  return "Target  " + fixed(*r.targetLufs, 2) + " LUFS under " + fixed(*r.ceilingDbtp, 2) +
         " dBTP: " + (r.reached ? "reached" : "out of reach, closest result") + " in " +
         std::to_string(r.tries) + (r.tries == 1 ? " try" : " tries") + ", input gain " +
         signedDb(r.inputGainDb) + " dB, output trim " + signedDb(r.outputTrimDb) + " dB";
}

void printFileSummary(std::FILE* out, PluginHost& host, const std::vector<int>& set,
                      const FileRecord& r) {
  const double audioSeconds = r.durationSeconds;
  const PluginIdentity id = host.identity();
  std::fprintf(out, "%s (%s %lld), program %d \"%s\"\n", id.effectName.c_str(), id.vendor.c_str(),
               static_cast<long long>(id.vendorVersion), host.currentProgram(),
               host.currentProgramName().c_str());
  for (const int index : set) {
    std::fprintf(out, "  %-10s %s %s\n", host.parameterName(index).c_str(),
                 host.parameterDisplay(index).c_str(), host.parameterLabel(index).c_str());
  }
  std::fprintf(out, "Input   %s\nOutput  %s\n", r.input.c_str(), r.output.c_str());
  printLevels(out, r);
  if (r.ceilingDbtp) {
    std::fprintf(out, "%s\n", goalText(r).c_str());
  }
  std::fprintf(out, "Gain    down by up to %s dB over the file (output over input)\n",
               fixed(r.maxGainReductionDb, 2).c_str());
  std::fprintf(out, "Latency %d samples, removed from the start\n", r.latency);
  std::fprintf(out, "Time    %s s for %s s of audio, %s x real time\n", fixed(r.seconds, 3).c_str(),
               fixed(audioSeconds, 3).c_str(),
               fixed(r.seconds > 0.0 ? audioSeconds / r.seconds : 0.0, 1).c_str());
}

std::string batchLine(const FileRecord& r) {
  if (!r.error.empty()) {
    return r.input + ": failed: " + r.error;
  }
  std::string s = r.input + " -> " + r.output + ": " + formatLevel(r.out.loudnessLufs) + " LUFS, " +
                  formatLevel(r.out.truePeakDb) + " dBTP";
  if (r.ceilingDbtp) {
    s += ", gain " + signedDb(r.inputGainDb) + " dB, trim " + signedDb(r.outputTrimDb) + " dB, " +
         std::to_string(r.tries) + (r.tries == 1 ? " try" : " tries");
  }
  if (!r.reached) {
    s += " (target out of reach)";
  }
  return s + ", " + fixed(r.seconds, 2) + " s";
}

void printTable(std::FILE* out, const std::vector<FileRecord>& records) {
  std::size_t width = 4;
  for (const auto& r : records) {
    width = std::max(width, baseName(r.input).size());
  }
  const int w = static_cast<int>(std::min<std::size_t>(width, 40));
  std::fprintf(out, "\n%-*s %8s %8s %6s %8s %8s %5s %7s %7s  %s\n", w, "file", "LUFS", "dBTP",
               "LRA", "gain dB", "trim dB", "tries", "GR dB", "time s", "status");
  for (const auto& r : records) {
    const std::string name = baseName(r.input).substr(0, static_cast<std::size_t>(w));
    if (!r.error.empty()) {
      std::fprintf(out, "%-*s %8s %8s %6s %8s %8s %5s %7s %7s  failed\n", w, name.c_str(), "", "",
                   "", "", "", "", "", fixed(r.seconds, 2).c_str());
      continue;
    }
    std::fprintf(out, "%-*s %8s %8s %6s %8s %8s %5d %7s %7s  %s\n", w, name.c_str(),
                 formatLevel(r.out.loudnessLufs).c_str(), formatLevel(r.out.truePeakDb).c_str(),
                 fixed(r.out.loudnessRangeLu, 1).c_str(), signedDb(r.inputGainDb).c_str(),
                 signedDb(r.outputTrimDb).c_str(), r.tries, fixed(r.maxGainReductionDb, 1).c_str(),
                 fixed(r.seconds, 2).c_str(), r.reached ? "ok" : "best effort");
  }
}

// Where a batch writes each input: DIR/NAME, with --format's extension when one is given.
std::vector<std::string> batchOutputs(const Options& options) {
  std::vector<std::string> outputs;
  std::map<std::string, std::string> taken;
  for (const auto& input : options.inputs) {
    const std::string name = baseName(input);
    const std::string file = options.format.empty() ? name : stem(name) + "." + options.format;
    const std::string output = options.outputDir + "/" + file;
    const auto [at, fresh] = taken.emplace(output, input);
    if (!fresh) {
      throw RenderError("'" + at->second + "' and '" + input + "' would both be written to '" +
                        output + "'");
    }
    outputs.push_back(output);
  }
  return outputs;
}

} // namespace

int runMaster(const Options& options, const std::string& pluginPath,
              std::chrono::steady_clock::time_point started) {
  if (!options.reportPath.empty()) {
    checkReportPath(options.reportPath);
    checkNew("report", options.reportPath, options.overwrite);
  }
  // The settings are checked, and their notes shown, once; each file gets its own instances.
  PluginHost host(pluginPath);
  PluginHost probe(pluginPath);
  prepare(host, probe, 44100.0f, options.blockSize);
  const std::vector<int> set =
      applySettings(host, probe, options, options.quiet ? nullptr : stderr);
  const bool batch = !options.outputDir.empty();
  std::vector<FileRecord> records;

  if (!batch) {
    std::string plot = options.plotPath;
    if (!plot.empty() && isDirectory(plot)) {
      plot += "/" + stem(baseName(options.output)) + ".png";
    }
    if (!plot.empty()) {
      checkNew("plot", plot, options.overwrite);
    }
    FileRecord record;
    record.input = options.input;
    record.output = options.output;
    const bool showProgress =
        !options.quiet && options.progress.value_or(isatty(STDERR_FILENO) == 1);
    masterFile(options, pluginPath, plot, record, showProgress);
    record.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (!options.quiet) {
      printFileSummary(options.output == kStdStream ? stderr : stdout, host, set, record);
    }
    records.push_back(record);
  } else {
    ensureDirectory("-o", options.outputDir);
    if (!options.plotPath.empty()) {
      ensureDirectory("--plot", options.plotPath);
    }
    const std::vector<std::string> outputs = batchOutputs(options);
    std::map<std::string, std::string> outputOf;
    for (std::size_t i = 0; i < outputs.size(); ++i) {
      outputOf[options.inputs[i]] = outputs[i];
    }
    const int threads = options.jobs > 0
                            ? options.jobs
                            : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const std::size_t total = options.inputs.size();
    records = runBatch(
        options.inputs, threads,
        [&](FileRecord& record) {
          record.output = outputOf[record.input];
          std::string plot;
          if (!options.plotPath.empty()) {
            plot = options.plotPath + "/" + stem(baseName(record.output)) + ".png";
            checkNew("plot", plot, options.overwrite);
          }
          masterFile(options, pluginPath, plot, record, false);
        },
        [&](const FileRecord& record, std::size_t done) {
          if (!options.quiet || !record.error.empty()) {
            std::fprintf(record.error.empty() ? stdout : stderr, "[%zu/%zu] %s\n", done, total,
                         batchLine(record).c_str());
            std::fflush(stdout);
          }
        });
    if (!options.quiet) {
      printTable(stdout, records);
    }
  }
  if (!options.plotPath.empty()) {
    releasePlotCaches();
  }
  if (!options.reportPath.empty()) {
    writeReport(options.reportPath, records);
  }
  const auto failed = std::count_if(records.begin(), records.end(),
                                    [](const FileRecord& r) { return !r.error.empty(); });
  if (batch && failed > 0) {
    std::fprintf(stderr, "zembrac-render: %lld of %zu files failed\n",
                 static_cast<long long>(failed), records.size());
  }
  return failed > 0 ? kExitFailure : 0;
}
