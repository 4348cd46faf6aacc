// The true-peak meter against tones whose peak is known exactly.
#include "TruePeakMeter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// A tone faded in and out over 50 ms each (an abrupt edge would ring above the tone itself),
// in the left channel of a stereo stream; the right one carries it 6 dB down.
std::vector<float> fadedTone(double frequency, double phase, double amplitude, int sampleRate) {
  const int frames = sampleRate / 4;
  const int fade = sampleRate / 20;
  std::vector<float> x(static_cast<std::size_t>(frames) * 2);
  for (int i = 0; i < frames; ++i) {
    const double envelope =
        std::min({1.0, static_cast<double>(i) / fade, static_cast<double>(frames - 1 - i) / fade});
    const double v = amplitude * envelope * std::sin(2 * M_PI * frequency * i / sampleRate + phase);
    x[static_cast<std::size_t>(2 * i)] = static_cast<float>(v);
    x[static_cast<std::size_t>(2 * i + 1)] = static_cast<float>(v * 0.5);
  }
  return x;
}

double readDb(const std::vector<float>& x) {
  TruePeakMeter meter(2);
  meter.add(x.data(), x.size() / 2);
  return 20 * std::log10(meter.peak());
}

TEST(TruePeakMeter, ReadsTonesUpTo20kHzWithinATenthOfADb) {
  for (const int rate : {44100, 48000, 96000}) {
    for (const double f : {40.0, 997.0, 5512.5, 11025.0, 15000.0, 18000.0, 19500.0, 20000.0}) {
      for (int k = 0; k < 8; ++k) {
        const double amplitude = 0.25 + 0.1 * k; // up to 0.95, and over the sample grid's phases
        const double got = readDb(fadedTone(f, k * 0.39, amplitude, rate));
        EXPECT_NEAR(got, 20 * std::log10(amplitude), 0.1) << rate << " Hz, tone " << f;
      }
    }
  }
}

TEST(TruePeakMeter, FindsThePeakBetweenSamples) {
  // A quarter of the sample rate at 45 degrees: every sample sits at 1/sqrt(2) of the peak.
  for (const int rate : {44100, 48000, 96000}) {
    const auto x = fadedTone(rate / 4.0, M_PI / 4, 0.9, rate);
    float samplePeak = 0.0f;
    for (const float v : x) {
      samplePeak = std::max(samplePeak, std::abs(v));
    }
    EXPECT_NEAR(readDb(x) - 20 * std::log10(samplePeak), 3.01, 0.1) << rate;
  }
}

TEST(TruePeakMeter, AnswersTheSameWhateverTheChunksAndReadsSilenceAsZero) {
  const auto x = fadedTone(19000.0, 1.0, 0.8, 44100);
  TruePeakMeter chunked(2);
  for (std::size_t at = 0; at < x.size() / 2; at += 777) {
    chunked.add(x.data() + 2 * at, std::min<std::size_t>(777, x.size() / 2 - at));
  }
  TruePeakMeter whole(2);
  whole.add(x.data(), x.size() / 2);
  EXPECT_DOUBLE_EQ(chunked.peak(), whole.peak());
  TruePeakMeter silent(1);
  const std::vector<float> zeros(5000, 0.0f);
  silent.add(zeros.data(), zeros.size());
  EXPECT_EQ(silent.peak(), 0.0);
}

} // namespace
