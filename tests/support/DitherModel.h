// The dither generator written out again from its definition, for tests on both platforms:
// state * 214013 + 2531011, bits 16..30, 512 levels of 0.0000001194 from -0.000022885.
#pragma once

#include <cstdint>

class DitherModel {
public:
  static constexpr float kLevel = 0.0000001194f;
  static constexpr float kOffset = 0.000022885f;

  // The next output sample of silence with the output gain at 0 dB.
  float next() {
    state_ = state_ * 214013u + 2531011u;
    const std::uint32_t level = ((state_ >> 16) & 0x7FFFu) % 512u;
    return static_cast<float>(level) * kLevel + 0.0f - kOffset;
  }
  void skipFrames(int frames) {
    for (int i = 0; i < 2 * frames; ++i) {
      next();
    }
  }

private:
  std::uint32_t state_ = 1;
};
