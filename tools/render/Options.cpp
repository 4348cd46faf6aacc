#include "Options.h"

#include "AudioFormat.h"
#include "RenderError.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

constexpr long kMaxBlockSize = 65536;

constexpr double kDefaultCeiling = -1.0;
constexpr long kMaxJobs = 256;

const char kUsageHead[] =
    "usage: zembrac-render [options] INPUT OUTPUT\n"
    "       zembrac-render [options] -o DIR INPUT...\n"
    "       zembrac-render --list [--plugin PATH] [--program P] [--set NAME=VALUE]...\n"
    "\n"
    "Renders INPUT (mono or stereo) through a VST 2.4 plug-in into OUTPUT, with the plug-in's\n"
    "latency removed: OUTPUT lines up with INPUT sample for sample and has the same length.\n"
    "Then prints peaks, true peaks and loudness of INPUT and of the OUTPUT file as written.\n"
    "'-' as INPUT reads standard input, '-' as OUTPUT writes standard output.\n"
    "\n"
    "options:\n"
    "  --plugin PATH      the plug-in library (default: zembrac.so beside this program, or in\n"
    "                     ../lib/vst from it)\n"
    "  --program P        program number (from 0) or name, chosen before any --set\n"
    "  --set NAME=VALUE   parameter by the name the plug-in reports, VALUE as the plug-in shows\n"
    "                     it: ThrLim=-3 or -3dB, Ratio=4 or 4:1, Release=250ms, Soft=on/off.\n"
    "                     A value between steps takes the nearest one; --list shows the ranges.\n"
    "                     Parameters whose texts are not numbers take normalized 0..1.\n"
    "                     Repeatable; applied in order\n"
    "  --set-raw I=VALUE  send VALUE to setParameter of parameter number I unchanged (after\n"
    "                     every --set)\n"
    "  --block N          frames per processing block (default 512, at most 65536)\n"
    "  --format F         output format (default: OUTPUT's extension; for '-' or a name without\n"
    "                     extension, the input's format), one of\n"
    "                     ";
const char kUsageTail[] =
    "  -b, --bits B       output samples: 16, 24, 32 (integer) or float (default: the input's);\n"
    "                     integers are rounded to nearest and clip at full scale. No dither is\n"
    "                     added; Zembrac's Dither switch is the one for 16-bit delivery\n"
    "  --quality Q        ogg, opus and mp3 output: 0 (smallest) to 10 (best)\n"
    "  -y, --overwrite    replace an existing OUTPUT (atomically, keeping its permissions)\n"
    "  --target-lufs L    master to L LUFS integrated loudness (ITU-R BS.1770): each try\n"
    "                     renders the whole file at one input gain (in front of the\n"
    "                     plug-in); an output trim (0 dB or less, after it) sets the\n"
    "                     loudness. The least input gain that lets the true-peak ceiling\n"
    "                     hold at L is searched, between 0 and +24 dB\n"
    "  --true-peak C      true-peak ceiling in dBTP (default -1 with --target-lufs); alone,\n"
    "                     only the trim lowers the output under it\n"
    "  --best-effort      when the target is out of reach, render the closest result under\n"
    "                     the ceiling and say how far off it is (default: error, exit 2)\n"
    "  -o, --output-dir DIR  render every INPUT into DIR under its own name (the extension\n"
    "                     of --format when given); -y applies per file\n"
    "  -j, --jobs N       files rendered at a time (default: one per core)\n"
    "  --report FILE      one record per file, as JSON (FILE.json) or CSV (FILE.csv)\n"
    "  --plot PNG|DIR     draw levels, gain and loudness over time: a PNG for one file, a\n"
    "                     directory (one NAME.png each) for a batch\n"
    "  --list             print the plug-in's identity, parameters with their ranges and\n"
    "                     programs, then stop\n"
    "  --progress         show progress (default: when standard error is a terminal)\n"
    "  --no-progress      never show it\n"
    "  --no-levels        skip the peak and loudness measurement (faster; for benchmarks)\n"
    "  -q, --quiet        print only warnings and errors\n"
    "  -V, --version      print the version\n"
    "  -h, --help         print this text\n"
    "\n"
    "Exit status: 0 on success (also when samples clip: a warning says so), 2 on any error\n"
    "(no output file is left behind and an existing one is kept); a batch renders every file\n"
    "it can and exits 2 when any failed.\n";

bool takesValue(const std::string& name) {
  return name == "--plugin" || name == "--program" || name == "--set" || name == "--set-raw" ||
         name == "--block" || name == "--format" || name == "-b" || name == "--bits" ||
         name == "--quality" || name == "--target-lufs" || name == "--true-peak" || name == "-o" ||
         name == "--output-dir" || name == "-j" || name == "--jobs" || name == "--report" ||
         name == "--plot";
}

double levelValue(const std::string& name, const std::string& value, double low, double high) {
  const auto v = parseNumber(value);
  if (!v || *v < low || *v > high) {
    throw RenderError(name + " '" + value + "': expected a number from " +
                      std::to_string(static_cast<int>(low)) + " to " +
                      std::to_string(static_cast<int>(high)));
  }
  return *v;
}

ParameterSetting parseSetting(const std::string& text) {
  const auto eq = text.find('=');
  if (eq == std::string::npos) {
    throw RenderError("--set '" + text + "': expected NAME=VALUE");
  }
  const std::string_view name = trimmed(std::string_view(text).substr(0, eq));
  const std::string_view value = trimmed(std::string_view(text).substr(eq + 1));
  if (name.empty()) {
    throw RenderError("--set '" + text + "': the parameter name is empty");
  }
  if (value.empty()) {
    throw RenderError("--set '" + text + "': no value for " + std::string(name));
  }
  return ParameterSetting{std::string(name), std::string(value)};
}

RawSetting parseRawSetting(const std::string& text) {
  const auto eq = text.find('=');
  const auto index = parseInteger(trimmed(std::string_view(text).substr(0, eq)));
  if (eq == std::string::npos || !index || *index < 0 || *index > 0x7FFFFFFF) {
    throw RenderError("--set-raw '" + text + "': expected INDEX=VALUE with INDEX from 0");
  }
  const auto value = parseNumber(trimmed(std::string_view(text).substr(eq + 1)));
  if (!value || std::fabs(*value) > static_cast<double>(std::numeric_limits<float>::max())) {
    throw RenderError("--set-raw '" + text + "': the value is not a finite number");
  }
  return RawSetting{static_cast<int>(*index), static_cast<float>(*value)};
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
  } else if (name == "--set-raw") {
    options.rawSettings.push_back(parseRawSetting(value));
  } else if (name == "--block") {
    const auto n = parseInteger(value);
    if (!n || *n < 1 || *n > kMaxBlockSize) {
      throw RenderError("--block '" + value + "': expected a whole number from 1 to 65536");
    }
    options.blockSize = static_cast<int>(*n);
  } else if (name == "--format") {
    options.format = value;
  } else if (name == "-b" || name == "--bits") {
    if (value != "16" && value != "24" && value != "32" && value != "float") {
      throw RenderError(name + " '" + value + "': expected 16, 24, 32 or float");
    }
    options.bits = value;
  } else if (name == "--target-lufs") {
    options.targetLufs = levelValue(name, value, -70.0, 0.0);
  } else if (name == "--true-peak") {
    options.truePeakDbtp = levelValue(name, value, -60.0, 0.0);
  } else if (name == "-o" || name == "--output-dir") {
    if (value.empty()) {
      throw RenderError(name + ": the directory is empty");
    }
    options.outputDir = value;
  } else if (name == "-j" || name == "--jobs") {
    const auto n = parseInteger(value);
    if (!n || *n < 1 || *n > kMaxJobs) {
      throw RenderError(name + " '" + value + "': expected a whole number from 1 to 256");
    }
    options.jobs = static_cast<int>(*n);
  } else if (name == "--report") {
    options.reportPath = value;
  } else if (name == "--plot") {
    options.plotPath = value;
  } else if (name == "--quality") {
    const auto q = parseNumber(value);
    if (!q || *q < 0.0 || *q > 10.0) {
      throw RenderError("--quality '" + value + "': expected a number from 0 to 10");
    }
    options.quality = *q;
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
    } else if (arg == "-V" || arg == "--version") {
      options.version = true;
    } else if (arg == "-q" || arg == "--quiet") {
      options.quiet = true;
    } else if (arg == "-y" || arg == "--overwrite") {
      options.overwrite = true;
    } else if (arg == "--best-effort") {
      options.bestEffort = true;
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
  if (options.help || options.version) {
    return options;
  }
  if (!options.outputDir.empty()) {
    if (options.list || positional.empty()) {
      throw RenderError(options.list ? "--list takes no -o" : "-o DIR needs at least one INPUT");
    }
    for (const auto& input : positional) {
      if (input == kStdStream) {
        throw RenderError("a batch (-o DIR) reads files, not standard input");
      }
    }
    options.inputs = positional;
  } else {
    const std::size_t wanted = options.list ? 0 : 2;
    if (positional.size() != wanted) {
      throw RenderError(options.list            ? "--list takes no INPUT or OUTPUT"
                        : positional.size() > 2 ? "expected one INPUT and one OUTPUT, got " +
                                                      std::to_string(positional.size()) +
                                                      " files (see --help; -o DIR renders several)"
                                                : "expected INPUT and OUTPUT (see --help)");
    }
    if (!options.list) {
      options.input = positional[0];
      options.output = positional[1];
    }
  }
  if (options.targetLufs && !options.truePeakDbtp) {
    options.truePeakDbtp = kDefaultCeiling;
  }
  if (options.bestEffort && !options.targetLufs) {
    throw RenderError("--best-effort goes with --target-lufs");
  }
  if (!options.measureLevels && (!options.reportPath.empty() || !options.plotPath.empty())) {
    throw RenderError("--no-levels cannot go with --report or --plot, which show the levels");
  }
  return options;
}

std::string usageText() { return kUsageHead + supportedFormatNames() + "\n" + kUsageTail; }
