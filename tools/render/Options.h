// The command line of zembrac-render, parsed into plain values.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct ParameterSetting {
  std::string name;
  float value = 0.0f;
};

struct Options {
  bool help = false;
  bool list = false;
  std::string pluginPath; // empty: the Zembrac library beside the executable
  std::string program;    // empty: the plug-in's current program stays
  std::vector<ParameterSetting> settings;
  int blockSize = 512;
  std::string format;           // empty: from OUTPUT's extension, else the input's format
  std::optional<bool> progress; // unset: only when standard error is a terminal
  bool measureLevels = true;
  std::string input;
  std::string output;
};

// Throws RenderError naming the option and what is wrong with it.
Options parseOptions(const std::vector<std::string>& args);

// Locale-independent number parsing: the whole text must be a finite number.
std::optional<double> parseNumber(std::string_view text);
std::optional<long> parseInteger(std::string_view text);

std::string_view trimmed(std::string_view text);

const char* usageText();
