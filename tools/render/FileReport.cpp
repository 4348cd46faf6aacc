#include "FileReport.h"

#include "RenderError.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <unistd.h>

namespace {

// A field's value as text, and whether JSON writes it as a string.
struct Field {
  const char* name;
  std::string text; // empty for a level that does not exist (silence): null in JSON
  bool quoted = false;
};

std::string number(double value, int precision) {
  if (!std::isfinite(value)) {
    return {};
  }
  char buffer[64];
  const auto r =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
  return std::string(buffer, r.ptr);
}

std::string optionalNumber(const std::optional<double>& value) {
  return value ? number(*value, 2) : std::string();
}

void addLevels(std::vector<Field>& fields, const char* const names[5], const LevelAnalysis& a) {
  fields.push_back({names[0], number(a.samplePeakDb, 3)});
  fields.push_back({names[1], number(a.truePeakDb, 3)});
  fields.push_back({names[2], number(a.loudnessLufs, 3)});
  fields.push_back({names[3], number(a.loudnessRangeLu, 2)});
  fields.push_back({names[4], number(a.maxShortTermLufs, 3)});
}

std::vector<Field> fieldsOf(const FileRecord& r) {
  static const char* const inputNames[5] = {"input_sample_peak_dbfs", "input_true_peak_dbtp",
                                            "input_loudness_lufs", "input_loudness_range_lu",
                                            "input_max_short_term_lufs"};
  static const char* const outputNames[5] = {"output_sample_peak_dbfs", "output_true_peak_dbtp",
                                             "output_loudness_lufs", "output_loudness_range_lu",
                                             "output_max_short_term_lufs"};
  const bool ok = r.error.empty();
  std::vector<Field> f;
  f.push_back({"input", r.input, true});
  f.push_back({"output", r.output, true});
  f.push_back({"status", ok ? (r.reached ? "ok" : "best effort") : "failed", true});
  f.push_back({"error", r.error, true});
  f.push_back({"target_lufs", optionalNumber(r.targetLufs)});
  f.push_back({"ceiling_dbtp", optionalNumber(r.ceilingDbtp)});
  if (ok) {
    addLevels(f, inputNames, r.in);
    addLevels(f, outputNames, r.out);
  } else {
    for (const auto* names : {inputNames, outputNames}) {
      for (int i = 0; i < 5; ++i) {
        f.push_back({names[i], {}});
      }
    }
  }
  f.push_back({"input_gain_db", ok ? number(r.inputGainDb, 3) : ""});
  f.push_back({"output_trim_db", ok ? number(r.outputTrimDb, 3) : ""});
  f.push_back({"tries", ok ? std::to_string(r.tries) : ""});
  f.push_back({"latency_samples", ok ? std::to_string(r.latency) : ""});
  f.push_back({"max_gain_reduction_db", ok ? number(r.maxGainReductionDb, 2) : ""});
  f.push_back({"clipped_samples", ok ? std::to_string(r.clippedSamples) : ""});
  f.push_back({"duration_seconds", ok ? number(r.durationSeconds, 3) : ""});
  f.push_back({"seconds", number(r.seconds, 3)});
  return f;
}

std::string jsonString(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      out += escape;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string csvCell(const std::string& text) {
  if (text.find_first_of(",\"\n\r") == std::string::npos) {
    return text;
  }
  std::string out = "\"";
  for (const char c : text) {
    out += c == '"' ? "\"\"" : std::string(1, c);
  }
  return out + "\"";
}

bool endsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

} // namespace

std::string reportJson(const std::vector<FileRecord>& records) {
  std::string out = "[\n";
  for (std::size_t i = 0; i < records.size(); ++i) {
    out += "  {";
    const auto fields = fieldsOf(records[i]);
    for (std::size_t k = 0; k < fields.size(); ++k) {
      const Field& f = fields[k];
      out += std::string(k ? ", " : "") + "\"" + f.name + "\": ";
      out += f.quoted ? jsonString(f.text) : f.text.empty() ? "null" : f.text;
    }
    out += i + 1 < records.size() ? "},\n" : "}\n";
  }
  return out + "]\n";
}

std::string reportCsv(const std::vector<FileRecord>& records) {
  std::string out;
  for (const Field& f : fieldsOf(FileRecord{})) {
    out += std::string(out.empty() ? "" : ",") + f.name;
  }
  out += "\n";
  for (const auto& record : records) {
    std::string row;
    for (const Field& f : fieldsOf(record)) {
      row += (row.empty() ? "" : ",") + csvCell(f.text);
    }
    out += row + "\n";
  }
  return out;
}

void checkReportPath(const std::string& path) {
  if (!endsWith(path, ".json") && !endsWith(path, ".csv")) {
    throw RenderError("--report '" + path + "': the name must end in .json or .csv");
  }
}

void writeReport(const std::string& path, const std::vector<FileRecord>& records) {
  checkReportPath(path);
  const std::string text = endsWith(path, ".json") ? reportJson(records) : reportCsv(records);
  const std::string temp = path + ".part";
  std::FILE* file = std::fopen(temp.c_str(), "wb");
  bool ok = file != nullptr && std::fwrite(text.data(), 1, text.size(), file) == text.size();
  ok = file != nullptr && std::fclose(file) == 0 && ok;
  if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
    unlink(temp.c_str());
    throw RenderError("cannot write the report '" + path + "'");
  }
}
