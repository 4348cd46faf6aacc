#include "Options.h"

#include "RenderError.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

constexpr long kMaxBlockSize = 65536;

const char kUsage[] =
    "usage: zembrac-render [options] INPUT OUTPUT\n"
    "       zembrac-render --list [--plugin PATH] [--program P] [--set NAME=VALUE]...\n"
    "\n"
    "Renders INPUT (mono or stereo; WAV, FLAC, AIFF, ...) through a VST 2.4 plug-in into\n"
    "OUTPUT, with the plug-in's latency removed: OUTPUT lines up with INPUT sample for sample\n"
    "and has the same length. Then prints peaks, true peaks and loudness of both files.\n"
    "\n"
    "options:\n"
    "  --plugin PATH      the plug-in library (default: the Zembrac library beside this program)\n"
    "  --program P        program number (from 0) or name, chosen before any --set\n"
    "  --set NAME=VALUE   parameter by the name the plug-in reports; VALUE goes to setParameter\n"
    "                     unchanged. Zembrac takes natural values (steps, e.g. ThrComp=24 is\n"
    "                     -12 dB) and reads a value strictly between 0 and 1 as normalized.\n"
    "                     Repeatable; applied in order\n"
    "  --block N          frames per processing block (default 512, at most 65536)\n"
    "  --format F         output format: wav, flac, aiff, caf, w64 or ogg (default: OUTPUT's\n"
    "                     extension when it names one, else the input's format)\n"
    "  --list             print the plug-in's identity, parameters and programs, then stop\n"
    "  --progress         show a progress bar (default: when standard error is a terminal)\n"
    "  --no-progress      never show it\n"
    "  --no-levels        skip the peak and loudness measurement (faster; for benchmarks)\n"
    "  -h, --help         print this text\n"
    "\n"
    "Exit status: 0 on success, 2 on any error (no output file is left behind).\n";

bool takesValue(const std::string& name) {
  return name == "--plugin" || name == "--program" || name == "--set" || name == "--block" ||
         name == "--format";
}

ParameterSetting parseSetting(const std::string& text) {
  const auto eq = text.find('=');
  if (eq == std::string::npos) {
    throw RenderError("--set '" + text + "': expected NAME=VALUE");
  }
  const std::string_view name = trimmed(std::string_view(text).substr(0, eq));
  const std::string_view valueText = trimmed(std::string_view(text).substr(eq + 1));
  if (name.empty()) {
    throw RenderError("--set '" + text + "': the parameter name is empty");
  }
  const auto value = parseNumber(valueText);
  if (!value || std::fabs(*value) > static_cast<double>(std::numeric_limits<float>::max())) {
    throw RenderError("--set '" + text + "': '" + std::string(valueText) +
                      "' is not a finite number");
  }
  return ParameterSetting{std::string(name), static_cast<float>(*value)};
}

void applyOption(Options& options, const std::string& name, const std::string& value) {
  if (name == "--plugin") {
    options.pluginPath = value;
  } else if (name == "--program") {
    if (trimmed(value).empty()) {
      throw RenderError("--program: the program is empty");
    }
    options.program = std::string(trimmed(value));
  } else if (name == "--set") {
    options.settings.push_back(parseSetting(value));
  } else if (name == "--block") {
    const auto n = parseInteger(value);
    if (!n || *n < 1 || *n > kMaxBlockSize) {
      throw RenderError("--block '" + value + "': expected a whole number from 1 to 65536");
    }
    options.blockSize = static_cast<int>(*n);
  } else if (name == "--format") {
    options.format = value;
  }
}

} // namespace

std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) {
    return {};
  }
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::optional<double> parseNumber(std::string_view text) {
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
  }
  double value = 0.0;
  const auto* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value, std::chars_format::general);
  if (text.empty() || ec != std::errc{} || ptr != end || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::optional<long> parseInteger(std::string_view text) {
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
  }
  long value = 0;
  const auto* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc{} || ptr != end) {
    return std::nullopt;
  }
  return value;
}

Options parseOptions(const std::vector<std::string>& args) {
  Options options;
  std::vector<std::string> positional;
  bool onlyPositional = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (onlyPositional || arg.size() < 2 || arg[0] != '-') {
      positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      onlyPositional = true;
    } else if (arg == "-h" || arg == "--help") {
      options.help = true;
    } else if (arg == "--list") {
      options.list = true;
    } else if (arg == "--no-levels") {
      options.measureLevels = false;
    } else if (arg == "--progress" || arg == "--no-progress") {
      options.progress = arg == "--progress";
    } else {
      const auto eq = arg.find('=');
      const std::string name = arg.substr(0, eq);
      if (!takesValue(name)) {
        throw RenderError("unknown option '" + name + "' (see --help)");
      }
      std::string value;
      if (eq != std::string::npos) {
        value = arg.substr(eq + 1);
      } else if (i + 1 < args.size()) {
        value = args[++i];
      } else {
        throw RenderError(name + " needs a value");
      }
      applyOption(options, name, value);
    }
  }
  if (options.help) {
    return options;
  }
  const std::size_t wanted = options.list ? 0 : 2;
  if (positional.size() != wanted) {
    throw RenderError(options.list ? "--list takes no INPUT or OUTPUT"
                                   : "expected INPUT and OUTPUT (see --help)");
  }
  if (!options.list) {
    options.input = positional[0];
    options.output = positional[1];
  }
  return options;
}

const char* usageText() { return kUsage; }
