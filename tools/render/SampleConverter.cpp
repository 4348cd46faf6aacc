#include "SampleConverter.h"

#include "AudioFormat.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>

SampleConverter::SampleConverter(int format, float gain)
    : bits_(integerBits(format)), clips_((format & SF_FORMAT_SUBMASK) != SF_FORMAT_FLOAT &&
                                         (format & SF_FORMAT_SUBMASK) != SF_FORMAT_DOUBLE),
      gain_(gain) {}

double SampleConverter::scaled(float sample) {
  const double x = static_cast<double>(gain_ == 1.0f ? sample : sample * gain_);
  peak_ = std::max(peak_, std::fabs(x));
  return x;
}

void SampleConverter::convert(const float* in, std::size_t count, std::int32_t* out) {
  // Full scale is 2^(bits-1) steps; the most positive step is one short of it.
  const double steps = std::ldexp(1.0, bits_ - 1);
  const int shift = 32 - bits_;
  for (std::size_t i = 0; i < count; ++i) {
    double q = std::nearbyint(scaled(in[i]) * steps);
    if (q >= steps || q < -steps || std::isnan(q)) {
      ++clipped_;
      q = std::isnan(q) ? 0.0 : std::clamp(q, -steps, steps - 1.0);
    }
    out[i] = static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::int64_t>(q))
                                       << shift);
  }
}

void SampleConverter::convert(const float* in, std::size_t count, float* out) {
  for (std::size_t i = 0; i < count; ++i) {
    const double x = scaled(in[i]);
    if (clips_ && std::fabs(x) > 1.0) {
      ++clipped_;
      out[i] = x > 0.0 ? 1.0f : -1.0f;
    } else {
      out[i] = static_cast<float>(x);
    }
  }
}
