// The command line of zembrac-render, parsed into plain values.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// --set NAME=VALUE: VALUE as the plug-in displays it, resolved once the plug-in is loaded.
struct ParameterSetting {
  std::string name;
  std::string value;
};

// --set-raw INDEX=VALUE: VALUE goes to setParameter unchanged.
struct RawSetting {
  int index = 0;
  float value = 0.0f;
};

// "-" names standard input or output.
constexpr char kStdStream[] = "-";

struct Options {
  bool help = false;
  bool version = false;
  bool list = false;
  bool quiet = false;
  bool overwrite = false;
  std::string pluginPath; // empty: the Zembrac library found beside or above the executable
  std::string program;    // empty: the plug-in's current program stays
  std::vector<ParameterSetting> settings;
  std::vector<RawSetting> rawSettings; // applied after settings, in order
  int blockSize = 512;
  std::string format;            // empty: from OUTPUT's extension, else the input's format
  std::string bits;              // empty: the input's; else "16", "24", "32" or "float"
  std::optional<double> quality; // lossy formats only: 0 (smallest) .. 10 (best)
  std::optional<bool> progress;  // unset: only when standard error is a terminal
  bool measureLevels = true;
  std::optional<double> targetLufs;   // --target-lufs
  std::optional<double> truePeakDbtp; // --true-peak; -1 when only a target is given
  bool bestEffort = false;
  std::string outputDir;           // -o DIR: a batch of inputs
  std::vector<std::string> inputs; // the batch
  int jobs = 0;                    // files at a time; 0: one per core
  std::string reportPath;          // .json or .csv
  std::string plotPath;            // a .png, or for a batch a directory
  std::string input;
  std::string output;

  // The loudness search, a batch, a report or a plot: rendered by runMaster.
  bool mastering() const {
    return targetLufs || truePeakDbtp || !outputDir.empty() || !reportPath.empty() ||
           !plotPath.empty();
  }
};

// Throws RenderError naming the option and what is wrong with it.
Options parseOptions(const std::vector<std::string>& args);

// Locale-independent number parsing: the whole text must be a finite number.
std::optional<double> parseNumber(std::string_view text);
std::optional<long> parseInteger(std::string_view text);

std::string_view trimmed(std::string_view text);

std::string usageText();
