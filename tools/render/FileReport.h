// One record per rendered file, written as JSON or CSV for --report.
#pragma once

#include "LevelAnalysis.h"

#include <optional>
#include <string>
#include <vector>

struct FileRecord {
  std::string input;
  std::string output;
  std::string error; // empty when the file was rendered
  std::optional<double> targetLufs;
  std::optional<double> ceilingDbtp;
  LevelAnalysis in;
  LevelAnalysis out;
  double inputGainDb = 0.0;
  double outputTrimDb = 0.0;
  int tries = 0;
  bool reached = true;
  int latency = 0;
  double maxGainReductionDb = 0.0;
  long long clippedSamples = 0;
  double durationSeconds = 0.0; // of the audio
  double seconds = 0.0;         // taken to render it
};

// The format follows the extension: .json or .csv. Throws RenderError for any other.
void checkReportPath(const std::string& path);
// Written beside path first and renamed, so a failure leaves no half-written report.
void writeReport(const std::string& path, const std::vector<FileRecord>& records);

std::string reportJson(const std::vector<FileRecord>& records);
std::string reportCsv(const std::vector<FileRecord>& records);
