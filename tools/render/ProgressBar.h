// A one-line progress bar on standard error, redrawn only when the shown percentage changes.
#pragma once

#include <cstdio>

class ProgressBar {
public:
  ProgressBar(std::FILE* stream, long long total) : stream_(stream), total_(total) {}
  ~ProgressBar();
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  void update(long long done);
  // Clears the line so the summary starts on a clean one.
  void finish();

private:
  std::FILE* stream_;
  long long total_;
  int shown_ = -1;
  bool finished_ = false;
};
