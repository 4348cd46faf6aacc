// zembrac-demogen OUTPUT: writes the demo clip as 24-bit stereo FLAC.
#include "DemoSong.h"

#include <sndfile.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: zembrac-demogen OUTPUT.flac\n");
    return 2;
  }
  const std::vector<float> frames = DemoSong().render();
  SF_INFO info{};
  info.samplerate = DemoSong::kSampleRate;
  info.channels = 2;
  info.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_24;
  SNDFILE* file = sf_open(argv[1], SFM_WRITE, &info);
  if (file == nullptr) {
    std::fprintf(stderr, "zembrac-demogen: cannot write '%s': %s\n", argv[1], sf_strerror(nullptr));
    return 2;
  }
  const auto count = static_cast<sf_count_t>(frames.size() / 2);
  const bool ok = sf_writef_float(file, frames.data(), count) == count;
  if (sf_close(file) != 0 || !ok) {
    std::fprintf(stderr, "zembrac-demogen: cannot write '%s'\n", argv[1]);
    std::remove(argv[1]);
    return 2;
  }
  return 0;
}
