// The final dither's noise source: a 32-bit linear congruential sequence that belongs to the
// calling thread, so every instance processed on one audio thread draws from one sequence.
#pragma once

#include <cstdint>

class DitherGenerator {
public:
  static constexpr std::uint32_t kSeed = 1;
  static constexpr std::uint32_t kMultiplier = 214013u;
  static constexpr std::uint32_t kIncrement = 2531011u;

  // The calling thread's state; a thread that never set it reads kSeed. Not allocating, not
  // locking, after the first construction in the process.
  static std::uint32_t threadState() noexcept;
  static void setThreadState(std::uint32_t state) noexcept;
  static void resetThreadState() noexcept { setThreadState(kSeed); }

  static constexpr std::uint32_t advance(std::uint32_t state) noexcept {
    return state * kMultiplier + kIncrement;
  }
  static constexpr std::uint32_t value(std::uint32_t state) noexcept {
    return (state >> 16) & 0x7FFFu;
  }
  static std::uint32_t draw(std::uint32_t& state) noexcept {
    state = advance(state);
    return value(state);
  }
};
