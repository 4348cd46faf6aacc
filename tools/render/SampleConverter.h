// Turns rendered float samples into what the output format stores: integers rounded to
// nearest (never truncated) and clipped at full scale, floats as they are, and for other
// encodings samples clipped at full scale. Counts what clips and the peak before clipping.
#pragma once

#include <cstddef>
#include <cstdint>

class SampleConverter {
public:
  // format: libsndfile's; gain multiplies every sample first (1: the samples unchanged).
  explicit SampleConverter(int format, float gain = 1.0f);

  // Integer formats: to integers at 32-bit full scale with the format's low bits zero.
  bool writesIntegers() const { return bits_ > 0; }
  void convert(const float* in, std::size_t count, std::int32_t* out);
  void convert(const float* in, std::size_t count, float* out);

  long long clippedSamples() const { return clipped_; }
  // Largest magnitude before clipping, 1.0 at full scale.
  double peakBeforeClipping() const { return peak_; }

private:
  double scaled(float sample);

  int bits_;
  bool clips_;
  float gain_;
  long long clipped_ = 0;
  double peak_ = 0.0;
};
