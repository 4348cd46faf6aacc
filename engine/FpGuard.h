// Scoped floating-point environment for one processed block: subnormals flushed to zero on
// input and output (so quiet tails cost no more than loud passages), round to nearest, all
// exceptions masked. The host's control word, flags included, is back on every exit.
#pragma once

class FpGuard {
public:
  FpGuard() noexcept;
  ~FpGuard();
  FpGuard(const FpGuard&) = delete;
  FpGuard& operator=(const FpGuard&) = delete;

  static unsigned currentControlWord() noexcept;

private:
  // The processing environment.
  static unsigned processingControlWord() noexcept;

  unsigned saved_;
};
