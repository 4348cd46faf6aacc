#include "BenchSignals.h"

#include "DemoSong.h"

#include <cmath>

namespace {
constexpr std::size_t kFrames = 44100 * 4;

StereoSignal scaledNoise(float level) {
  StereoSignal s;
  SignalNoise noise(11);
  for (std::size_t i = 0; i < kFrames; ++i) {
    s.left.push_back(level * noise.next());
    s.right.push_back(level * noise.next());
  }
  return s;
}
} // namespace

const StereoSignal& demoMusic() {
  static const StereoSignal music = [] {
    DemoSong song;
    const std::vector<float> interleaved = song.render();
    StereoSignal s;
    for (std::size_t i = 0; i + 1 < interleaved.size(); i += 2) {
      s.left.push_back(interleaved[i]);
      s.right.push_back(interleaved[i + 1]);
    }
    return s;
  }();
  return music;
}

const StereoSignal& deepeningSignal() {
  // Found by searching rise rates and lengths for the longest ramp walks the rules allow: a
  // swell from just under the limiter threshold, 0.05 % louder every frame for 441 frames,
  // then 600 frames of silence for the release. Each reduction must outgrow the ramp it
  // replaces, so sustained walks stay well short of the 439 slots one frame can take.
  static const StereoSignal rising = [] {
    StereoSignal s;
    constexpr std::size_t kRise = 441;
    constexpr std::size_t kRest = 600;
    for (std::size_t i = 0; i < kFrames; ++i) {
      const std::size_t k = i % (kRise + kRest);
      const float v = k < kRise ? 0.9f * std::pow(1.0005f, static_cast<float>(k)) : 0.0f;
      s.left.push_back(i % 2 == 0 ? v : -v);
      s.right.push_back(0.5f * v);
    }
    return s;
  }();
  return rising;
}

const StereoSignal& subnormalSignal() {
  static const StereoSignal s = scaledNoise(1.0e-40f);
  return s;
}

const StereoSignal& quietSignal() {
  static const StereoSignal s = scaledNoise(1.0e-3f);
  return s;
}
