// Sample peak, true peak (TruePeakMeter) and integrated loudness (ITU-R BS.1770 via
// libebur128) of one stream.
#pragma once

#include <cstddef>

#include "TruePeakMeter.h"

#include <ebur128.h>

struct Levels {
  double samplePeakDb = 0.0; // dBFS; -inf for silence
  double truePeakDb = 0.0;   // dBTP
  double loudnessLufs = 0.0; // -inf when everything was gated away
};

class LevelMeter {
public:
  LevelMeter(int channels, int sampleRate);
  ~LevelMeter();
  LevelMeter(const LevelMeter&) = delete;
  LevelMeter& operator=(const LevelMeter&) = delete;

  void add(const float* frames, std::size_t count);
  // Once, at the end: reading the true peak ends its stream.
  Levels levels() const;

private:
  ebur128_state* state_ = nullptr;
  int channels_ = 0;
  mutable TruePeakMeter truePeak_;
};
