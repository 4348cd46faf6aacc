// Deterministic stereo material for the processor's tests and benchmarks.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

struct StereoSignal {
  std::vector<float> left;
  std::vector<float> right;
  std::size_t frames() const { return left.size(); }
};

class SignalNoise {
public:
  explicit SignalNoise(std::uint32_t seed) : state_(seed) {}
  // Uniform in [-1, 1).
  float next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<float>(state_ >> 8) / 8388608.0f - 1.0f;
  }

private:
  std::uint32_t state_;
};

// Something like a mastered mix at 120 bpm: kick on every beat, snare on two and four, hats on
// the eighths, a bass line, a chord pad, and a quiet breakdown every fourth bar. Peaks reach
// about full scale; the breakdown sits some 30 dB lower.
inline StereoSignal musicalSignal(std::size_t frames, float sampleRate = 44100.0f,
                                  std::uint32_t seed = 7) {
  constexpr float kTwoPi = 6.28318531f;
  StereoSignal s;
  s.left.resize(frames);
  s.right.resize(frames);
  SignalNoise noise(seed);
  const auto beat = static_cast<std::size_t>(sampleRate * 0.5f);
  const float bassNotes[4] = {55.0f, 55.0f, 65.41f, 49.0f};
  float kickPhase = 0.0f;
  float bassPhase = 0.0f;
  for (std::size_t i = 0; i < frames; ++i) {
    const std::size_t beatIndex = i / beat;
    const float tBeat = static_cast<float>(i % beat) / sampleRate;
    const float tEighth = static_cast<float>(i % (beat / 2)) / sampleRate;
    const bool quiet = (beatIndex / 4) % 4 == 3;
    const float t = static_cast<float>(i) / sampleRate;

    kickPhase += kTwoPi * (50.0f + 120.0f * std::exp(-tBeat * 30.0f)) / sampleRate;
    const float kick = std::sin(kickPhase) * std::exp(-tBeat * 9.0f);
    const float n = noise.next();
    const float snare = beatIndex % 2 == 1 ? n * std::exp(-tBeat * 18.0f) : 0.0f;
    const float hat = noise.next() * std::exp(-tEighth * 120.0f);
    bassPhase += kTwoPi * bassNotes[(beatIndex / 2) % 4] / sampleRate;
    const float bass = std::sin(bassPhase) + 0.3f * std::sin(2.0f * bassPhase);
    const float pad = std::sin(kTwoPi * 220.0f * t) + 0.7f * std::sin(kTwoPi * 277.18f * t) +
                      0.6f * std::sin(kTwoPi * 329.63f * t);

    float l = 0.55f * kick + 0.35f * snare + 0.12f * hat + 0.25f * bass + 0.06f * pad;
    float r = 0.55f * kick + 0.30f * snare + 0.16f * hat + 0.25f * bass + 0.07f * pad;
    if (quiet) {
      l = 0.03f * l + 0.03f * pad;
      r = 0.03f * r + 0.03f * pad;
    }
    s.left[i] = l;
    s.right[i] = r;
  }
  return s;
}

// Noise whose level jumps at random every few hundred frames, now and then past full scale:
// reaches every branch of the gain computers.
inline StereoSignal randomSignal(std::size_t frames, std::uint32_t seed = 3) {
  StereoSignal s;
  s.left.resize(frames);
  s.right.resize(frames);
  SignalNoise noise(seed);
  float level = 0.5f;
  for (std::size_t i = 0; i < frames; ++i) {
    if (noise.next() > 0.995f) {
      level = 1.3f * std::fabs(noise.next());
    }
    s.left[i] = level * noise.next();
    s.right[i] = level * noise.next() * (noise.next() > 0.9f ? 0.1f : 1.0f);
  }
  return s;
}
