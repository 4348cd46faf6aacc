// The true-peak meter against tones whose peak is known exactly.
#include "TruePeakMeter.h"
#include "TestSignals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
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

TEST(TruePeakMeter, ReadsTonesUpTo20kHzWithinTwoHundredthsOfADb) {
  // Frequencies at small fractions of the rate repeat few sample phases, so each start phase
  // can put every peak between the samples; the standard meter loses up to 0.44 dB here.
  struct Tone {
    int rate, num, den;
  };
  for (const Tone t : {Tone{44100, 9, 20}, Tone{44100, 4, 9}, Tone{44100, 2, 5}, Tone{44100, 1, 4},
                       Tone{48000, 5, 12}, Tone{48000, 2, 5}, Tone{48000, 1, 1000},
                       Tone{96000, 5, 24}, Tone{96000, 1, 5}}) {
    const double f = static_cast<double>(t.rate) * t.num / t.den;
    for (int k = 0; k < 16; ++k) {
      const double amplitude = 0.25 + 0.045 * k; // up to 0.925
      const double phase = 2 * M_PI * k / 16 / t.den;
      const double got = readDb(fadedTone(f, phase, amplitude, t.rate));
      EXPECT_NEAR(got, 20 * std::log10(amplitude), 0.02) << t.rate << " Hz, tone " << f;
    }
  }
}

TEST(TruePeakMeter, ReadsBeatingTonesUpTo20kHzAsTheirSumPeaks) {
  // Twelve tones between 16 and 20 kHz, faded in and out: the peak of their sum, found by
  // evaluating it 64 times a sample (0.002 dB at worst below it), is what a flat interpolator
  // must read.
  for (const int rate : {44100, 48000}) {
    for (std::uint32_t seed = 1; seed <= 4; ++seed) {
      SignalNoise noise(seed);
      double f[12], phase[12];
      for (int i = 0; i < 12; ++i) {
        f[i] = 18000.0 + 2000.0 * noise.next();
        phase[i] = M_PI * noise.next();
      }
      const int frames = 3000, fade = 1000;
      const auto value = [&](double t) {
        double sum = 0.0;
        for (int i = 0; i < 12; ++i) {
          sum += std::cos(2 * M_PI * f[i] * t / rate + phase[i]);
        }
        return 0.05 * std::max(0.0, std::min({1.0, t / fade, (frames - 1 - t) / fade})) * sum;
      };
      std::vector<float> x(frames);
      for (int i = 0; i < frames; ++i) {
        x[static_cast<std::size_t>(i)] = static_cast<float>(value(i));
      }
      double peak = 0.0;
      for (int i = 0; i < frames * 64; ++i) {
        peak = std::max(peak, std::abs(value(i / 64.0)));
      }
      TruePeakMeter meter(1);
      meter.add(x.data(), x.size());
      EXPECT_NEAR(20 * std::log10(meter.peak() / peak), 0.0, 0.02) << rate << " Hz, seed " << seed;
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
