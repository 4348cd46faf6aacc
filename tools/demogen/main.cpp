// zembrac-demogen OUTPUT: writes the demo clip as 24-bit stereo FLAC.
// zembrac-demogen --swell OUTPUT: writes 10 s of the benchmarks' deepening swell as 32-bit float
// WAV (some of it lies above full scale), for the peer comparison.
#include "DeepeningSwell.h"
#include "DemoSong.h"

#include <sndfile.h>

#include <cstdio>
#include <cstring>

namespace {

std::vector<float> swellFrames() {
  std::vector<float> frames;
  for (std::size_t i = 0; i < 10 * static_cast<std::size_t>(DemoSong::kSampleRate); ++i) {
    const SwellFrame f = deepeningSwell(i);
    frames.push_back(f.left);
    frames.push_back(f.right);
  }
  return frames;
}

} // namespace

int main(int argc, char** argv) {
  const bool swell = argc == 3 && std::strcmp(argv[1], "--swell") == 0;
  if (argc != 2 && !swell) {
    std::fprintf(stderr, "usage: zembrac-demogen [--swell] OUTPUT\n");
    return 2;
  }
  const char* path = argv[argc - 1];
  const std::vector<float> frames = swell ? swellFrames() : DemoSong().render();
  SF_INFO info{};
  info.samplerate = DemoSong::kSampleRate;
  info.channels = 2;
  info.format = swell ? SF_FORMAT_WAV | SF_FORMAT_FLOAT : SF_FORMAT_FLAC | SF_FORMAT_PCM_24;
  SNDFILE* file = sf_open(path, SFM_WRITE, &info);
  if (file == nullptr) {
    std::fprintf(stderr, "zembrac-demogen: cannot write '%s': %s\n", path, sf_strerror(nullptr));
    return 2;
  }
  const auto count = static_cast<sf_count_t>(frames.size() / 2);
  const bool ok = sf_writef_float(file, frames.data(), count) == count;
  if (sf_close(file) != 0 || !ok) {
    std::fprintf(stderr, "zembrac-demogen: cannot write '%s'\n", path);
    std::remove(path);
    return 2;
  }
  return 0;
}
