// The benchmarks' worst case for the look-ahead ramp, shared by the benchmark program and the
// file the peer comparison renders. Found by searching rise rates and lengths for the longest
// ramp walks the rules allow: a swell from just under the limiter threshold, 0.05 % louder every
// frame for 441 frames, then 600 frames of silence for the release. Each reduction must outgrow
// the ramp it replaces, so sustained walks stay well short of the 439 slots one frame can take.
#pragma once

#include <cmath>
#include <cstddef>

struct SwellFrame {
  float left;
  float right;
};

inline SwellFrame deepeningSwell(std::size_t frame) {
  constexpr std::size_t kRise = 441;
  constexpr std::size_t kRest = 600;
  const std::size_t k = frame % (kRise + kRest);
  const float v = k < kRise ? 0.9f * std::pow(1.0005f, static_cast<float>(k)) : 0.0f;
  return {frame % 2 == 0 ? v : -v, 0.5f * v};
}
