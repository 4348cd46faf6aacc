#include "LevelMeter.h"

#include "RenderError.h"

#include <ebur128.h>

#include "LevelAnalysis.h"

#include <algorithm>
#include <cmath>

LevelMeter::LevelMeter(int channels, int sampleRate) : channels_(channels), truePeak_(channels) {
  state_ = ebur128_init(static_cast<unsigned>(channels), static_cast<unsigned long>(sampleRate),
                        EBUR128_MODE_I | EBUR128_MODE_SAMPLE_PEAK);
  if (state_ == nullptr) {
    throw RenderError("cannot measure loudness at " + std::to_string(sampleRate) + " Hz");
  }
  if (channels == 1) {
    // A mono file plays on both speakers: counted twice, as the standard asks.
    ebur128_set_channel(state_, 0, EBUR128_DUAL_MONO);
  }
}

LevelMeter::~LevelMeter() { ebur128_destroy(&state_); }

void LevelMeter::add(const float* frames, std::size_t count) {
  if (count > 0 && ebur128_add_frames_float(state_, frames, count) != EBUR128_SUCCESS) {
    throw RenderError("loudness measurement failed");
  }
  truePeak_.add(frames, count);
}

Levels LevelMeter::levels() const {
  double samplePeak = 0.0;
  for (unsigned c = 0; c < static_cast<unsigned>(channels_); ++c) {
    double value = 0.0;
    if (ebur128_sample_peak(state_, c, &value) == EBUR128_SUCCESS) {
      samplePeak = std::max(samplePeak, value);
    }
  }
  double loudness = -HUGE_VAL;
  ebur128_loudness_global(state_, &loudness);
  return Levels{toDb(samplePeak), toDb(truePeak_.peak()), loudness};
}
