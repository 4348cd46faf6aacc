// A value shared between the audio thread and other threads. Loads and stores are relaxed:
// the same single-word moves as a plain member on x86, but free of data races.
#pragma once

#include <atomic>

template <typename T> class RelaxedAtomic {
public:
  constexpr RelaxedAtomic() noexcept : value_(T{}) {}
  constexpr RelaxedAtomic(T v) noexcept : value_(v) {} // NOLINT: used like the plain value
  RelaxedAtomic(const RelaxedAtomic& other) noexcept : value_(other.load()) {}
  RelaxedAtomic& operator=(const RelaxedAtomic& other) noexcept {
    store(other.load());
    return *this;
  }
  RelaxedAtomic& operator=(T v) noexcept {
    store(v);
    return *this;
  }
  operator T() const noexcept { return load(); } // NOLINT: used like the plain value
  T load() const noexcept { return value_.load(std::memory_order_relaxed); }
  void store(T v) noexcept { value_.store(v, std::memory_order_relaxed); }
  T exchange(T v) noexcept { return value_.exchange(v, std::memory_order_relaxed); }

private:
  std::atomic<T> value_;
  static_assert(std::atomic<T>::is_always_lock_free, "shared values must never block");
};
