// zembrac_measure FILE...: integrated loudness and true peak of each file, as
// bench/compare-loudness reads them: libebur128 for loudness, zembrac-render's meter and
// libebur128's own 4x meter for the true peak.
#include "LevelAnalysis.h"

#include <ebur128.h>
#include <sndfile.h>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
  int status = 0;
  for (int i = 1; i < argc; ++i) {
    SF_INFO info{};
    SNDFILE* file = sf_open(argv[i], SFM_READ, &info);
    if (file == nullptr) {
      std::fprintf(stderr, "zembrac_measure: cannot read '%s': %s\n", argv[i],
                   sf_strerror(nullptr));
      status = 2;
      continue;
    }
    std::vector<float> samples(static_cast<std::size_t>(info.frames * info.channels));
    const auto frames = static_cast<std::size_t>(sf_readf_float(file, samples.data(), info.frames));
    sf_close(file);
    const LoudnessAndPeak ours =
        measureLoudnessAndPeak(samples.data(), frames, info.channels, info.samplerate);
    ebur128_state* st =
        ebur128_init(static_cast<unsigned>(info.channels),
                     static_cast<unsigned long>(info.samplerate), EBUR128_MODE_TRUE_PEAK);
    ebur128_add_frames_float(st, samples.data(), frames);
    double theirs = 0.0;
    for (unsigned c = 0; c < static_cast<unsigned>(info.channels); ++c) {
      double v = 0.0;
      ebur128_true_peak(st, c, &v);
      theirs = std::max(theirs, v);
    }
    ebur128_destroy(&st);
    std::printf("{\"file\": \"%s\", \"loudness_lufs\": %.3f, \"true_peak_dbtp\": %.3f, "
                "\"ebur128_true_peak_dbtp\": %.3f, \"sample_rate\": %d}\n",
                argv[i], ours.loudnessLufs, ours.truePeakDb, toDb(theirs), info.samplerate);
  }
  return status;
}
