#include "ProgressBar.h"

#include <algorithm>

namespace {
constexpr int kWidth = 40;
}

ProgressBar::~ProgressBar() { finish(); }

void ProgressBar::update(long long done) {
  if (total_ <= 0 || finished_) {
    return;
  }
  const int percent = static_cast<int>(std::clamp(done * 100 / total_, 0LL, 100LL));
  if (percent == shown_) {
    return;
  }
  shown_ = percent;
  char bar[kWidth + 1];
  const int filled = percent * kWidth / 100;
  for (int i = 0; i < kWidth; ++i) {
    bar[i] = i < filled ? '#' : '.';
  }
  bar[kWidth] = '\0';
  std::fprintf(stream_, "\rrendering [%s] %3d%%", bar, percent);
  std::fflush(stream_);
}

void ProgressBar::finish() {
  if (!finished_ && shown_ >= 0) {
    std::fprintf(stream_, "\r%*s\r", kWidth + 20, "");
    std::fflush(stream_);
  }
  finished_ = true;
}
