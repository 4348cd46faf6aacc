// A one-line progress bar on standard error with the time spent and an estimate of the time
// left, redrawn when the shown percentage or second changes.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

class ProgressBar {
public:
  ProgressBar(std::FILE* stream, std::string label, long long total);
  ~ProgressBar();
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  void update(long long done);
  // Clears the line so what follows starts on a clean one.
  void finish();

private:
  std::FILE* stream_;
  std::string label_;
  long long total_;
  std::chrono::steady_clock::time_point start_;
  int shownPercent_ = -1;
  long long shownSecond_ = -1;
  bool finished_ = false;
};
