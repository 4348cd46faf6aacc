// Sample peak, true peak and integrated loudness of one stream (ITU-R BS.1770 via libebur128).
#pragma once

#include <cstddef>

#include <ebur128.h>

struct Levels {
  double samplePeakDb = 0.0; // dBFS; -inf for silence
  double truePeakDb = 0.0;   // dBFS, 4x oversampled at 44.1/48 kHz
  double loudnessLufs = 0.0; // -inf when everything was gated away
};

class LevelMeter {
public:
  LevelMeter(int channels, int sampleRate);
  ~LevelMeter();
  LevelMeter(const LevelMeter&) = delete;
  LevelMeter& operator=(const LevelMeter&) = delete;

  void add(const float* frames, std::size_t count);
  Levels levels() const;

private:
  ebur128_state* state_ = nullptr;
  int channels_ = 0;
};
