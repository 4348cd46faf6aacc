#include "ProgressBar.h"

#include <algorithm>

namespace {

constexpr int kWidth = 30;
constexpr int kLineWidth = 80;

std::string minutes(long long seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld", seconds / 60, seconds % 60);
  return text;
}

} // namespace

ProgressBar::ProgressBar(std::FILE* stream, std::string label, long long total)
    : stream_(stream), label_(std::move(label)), total_(total),
      start_(std::chrono::steady_clock::now()) {}

ProgressBar::~ProgressBar() { finish(); }

void ProgressBar::update(long long done) {
  if (total_ <= 0 || finished_) {
    return;
  }
  const double elapsed =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  const int percent = static_cast<int>(std::clamp(done * 100 / total_, 0LL, 100LL));
  const auto second = static_cast<long long>(elapsed);
  if (percent == shownPercent_ && second == shownSecond_) {
    return;
  }
  shownPercent_ = percent;
  shownSecond_ = second;
  char bar[kWidth + 1];
  const int filled = percent * kWidth / 100;
  for (int i = 0; i < kWidth; ++i) {
    bar[i] = i < filled ? '#' : '.';
  }
  bar[kWidth] = '\0';
  std::string times = minutes(second) + " elapsed";
  if (done > 0 && done < total_) {
    const double left = elapsed * static_cast<double>(total_ - done) / static_cast<double>(done);
    times += ", " + minutes(static_cast<long long>(left + 0.5)) + " left";
  }
  std::fprintf(stream_, "\r%s [%s] %3d%%  %-24s", label_.c_str(), bar, percent, times.c_str());
  std::fflush(stream_);
}

void ProgressBar::finish() {
  if (!finished_ && shownPercent_ >= 0) {
    std::fprintf(stream_, "\r%*s\r", kLineWidth, "");
    std::fflush(stream_);
  }
  finished_ = true;
}
