#include "Report.h"

#include "AudioFormat.h"
#include "Conversions.h"
#include "PluginHost.h"
#include "Renderer.h"

#include "Options.h"

#include <charconv>
#include <cmath>

namespace {

const char* const kCategories[] = {"Unknown",     "Effect",         "Synth",  "Analysis",
                                   "Mastering",   "Spacializer",    "RoomFx", "SurroundFx",
                                   "Restoration", "OfflineProcess", "Shell",  "Generator"};

// Printed numbers never follow the process locale.
std::string fixed(double value, int precision) {
  char buffer[64];
  const auto r =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
  return r.ec == std::errc{} ? std::string(buffer, r.ptr) : std::string("?");
}

std::string categoryText(long long category) {
  const auto count = static_cast<long long>(sizeof kCategories / sizeof kCategories[0]);
  const char* name = category >= 0 && category < count ? kCategories[category] : "?";
  return std::to_string(category) + " (" + name + ")";
}

std::string uniqueIdText(VstInt32 id) {
  const auto bits = static_cast<std::uint32_t>(id);
  std::string chars;
  bool printable = true;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const auto c = static_cast<char>((bits >> shift) & 0xFF);
    printable = printable && c >= 0x20 && c < 0x7F;
    chars += c;
  }
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08X", bits);
  return printable ? "'" + chars + "' (" + hex + ")" : std::string(hex);
}

std::string channelsText(int channels) {
  return channels == 1 ? "mono" : channels == 2 ? "stereo" : std::to_string(channels) + " ch";
}

// "-3.0 dB", "4.0 : 1": the display with its label, if any.
std::string shownValue(PluginHost& host, int index) {
  return std::string(trimmed(host.parameterDisplay(index) + " " + host.parameterLabel(index)));
}

void printLevelRow(std::FILE* out, const char* what, double in, double result, const char* unit) {
  std::fprintf(out, "  %-12s %10s %10s  %s\n", what, formatLevel(in).c_str(),
               formatLevel(result).c_str(), unit);
}

} // namespace

std::string formatLevel(double db) {
  if (std::isinf(db) || std::isnan(db)) {
    return db > 0 ? "+inf" : "-inf";
  }
  return (db > 0.0 ? "+" : "") + fixed(db, 2);
}

void printListing(std::FILE* out, PluginHost& host, const std::vector<std::string>& programs,
                  const std::vector<std::string>& ranges) {
  const PluginIdentity id = host.identity();
  std::fprintf(out, "Plug-in     %s\n", host.path().c_str());
  std::fprintf(out, "Effect      %s\n", id.effectName.c_str());
  std::fprintf(out, "Vendor      %s\n", id.vendor.c_str());
  std::fprintf(out, "Product     %s\n", id.product.c_str());
  std::fprintf(out, "Version     %lld\n", static_cast<long long>(id.vendorVersion));
  std::fprintf(out, "Category    %s\n", categoryText(id.category).c_str());
  std::fprintf(out, "Unique id   %s\n", uniqueIdText(id.uniqueId).c_str());
  std::fprintf(out, "Channels    %d in, %d out\n", id.inputs, id.outputs);
  std::fprintf(out, "Latency     %d samples\n", static_cast<int>(host.latency()));
  std::fprintf(out, "\nParameters (%d)\n", host.parameterCount());
  std::fprintf(out, "  %5s  %-12s %-14s %s\n", "index", "name", "value", "range");
  for (int i = 0; i < host.parameterCount(); ++i) {
    std::fprintf(out, "  %5d  %-12s %-14s %s\n", i, host.parameterName(i).c_str(),
                 shownValue(host, i).c_str(),
                 static_cast<std::size_t>(i) < ranges.size()
                     ? ranges[static_cast<std::size_t>(i)].c_str()
                     : "");
  }
  std::fprintf(out, "\nPrograms (%d)\n", static_cast<int>(programs.size()));
  for (std::size_t i = 0; i < programs.size(); ++i) {
    std::fprintf(out, "  %5zu  %s\n", i, programs[i].c_str());
  }
}

void printSummary(std::FILE* out, PluginHost& host, const AudioFormat& inputFormat,
                  const SummaryContext& context, const RenderedAudio& result) {
  const PluginIdentity id = host.identity();
  const double seconds =
      static_cast<double>(result.frames()) / static_cast<double>(inputFormat.sampleRate);
  std::fprintf(out, "%s (%s %lld), program %d \"%s\"\n", id.effectName.c_str(), id.vendor.c_str(),
               static_cast<long long>(id.vendorVersion), host.currentProgram(),
               host.currentProgramName().c_str());
  for (const int index : context.setParameters) {
    std::fprintf(out, "  %-10s %s\n", host.parameterName(index).c_str(),
                 shownValue(host, index).c_str());
  }
  const std::string shape = channelsText(inputFormat.channels) + ", " +
                            std::to_string(inputFormat.sampleRate) + " Hz, " + fixed(seconds, 3) +
                            " s";
  std::fprintf(out, "Input   %s (%s, %s)\n", context.input.c_str(),
               describeFormat(inputFormat.format).c_str(), shape.c_str());
  std::fprintf(out, "Output  %s (%s, %s)\n", context.output.c_str(),
               describeFormat(context.outputFormat).c_str(), shape.c_str());
  if (result.input && context.outputLevels) {
    const Levels& in = *result.input;
    const Levels& written = *context.outputLevels;
    std::fprintf(out, "  %-12s %10s %10s\n", "", "input", "output");
    printLevelRow(out, "Sample peak", in.samplePeakDb, written.samplePeakDb, "dBFS");
    printLevelRow(out, "True peak", in.truePeakDb, written.truePeakDb, "dBTP");
    printLevelRow(out, "Loudness", in.loudnessLufs, written.loudnessLufs, "LUFS");
  }
  const double latencyMs =
      samplesToMs(static_cast<double>(result.latency), static_cast<double>(inputFormat.sampleRate));
  std::fprintf(out, "Latency %d samples (%s ms), removed from the start\n", result.latency,
               fixed(latencyMs, 2).c_str());
  std::string speed = seconds > 0.0 && context.wallSeconds > 0.0
                          ? fixed(seconds / context.wallSeconds, 1) + " x real time"
                          : "";
  std::fprintf(out, "Time    %s s for %s s of audio%s (%s s of CPU in processReplacing)\n",
               fixed(context.wallSeconds, 3).c_str(), fixed(seconds, 3).c_str(),
               speed.empty() ? "" : (", " + speed).c_str(),
               fixed(result.processSeconds, 4).c_str());
}
