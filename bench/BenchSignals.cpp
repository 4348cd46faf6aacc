#include "BenchSignals.h"

#include "DeepeningSwell.h"
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

const StereoSignal& loudNoise() {
  static const StereoSignal s = scaledNoise(1.0f);
  return s;
}

const StereoSignal& hotMusic() {
  static const StereoSignal hot = [] {
    const float gain = std::pow(10.0f, 10.0f / 20.0f);
    StereoSignal s = demoMusic();
    for (std::vector<float>* ch : {&s.left, &s.right}) {
      for (float& v : *ch) {
        v *= gain;
      }
    }
    return s;
  }();
  return hot;
}

const StereoSignal& deepeningSignal() {
  static const StereoSignal rising = [] {
    StereoSignal s;
    for (std::size_t i = 0; i < kFrames; ++i) {
      const SwellFrame f = deepeningSwell(i);
      s.left.push_back(f.left);
      s.right.push_back(f.right);
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
