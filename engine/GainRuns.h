// The look-ahead ring's gains while a block runs, with the ramp's long runs left unwritten.
//
// A ramp rewrites up to n - 1 stored gains in a frame, and a reduction that deepens every frame
// rewrites most of them again in the next. But the rules' chain of additions, g + step rounded
// again and again, is an exact arithmetic sequence between binade edges: inside one binade every
// float is a multiple of the same ulp u, and rounding g + step to that grid adds the same
// multiple of u whatever g is, except when step's remainder is exactly u/2. Then the tie goes to
// the even multiple: from an even value every increment is the same, and from an odd one the
// first two differ. So when three values of the chain lie in one binade and rise by the same
// number of ulps twice, every later sum up to the binade's top rises by that number too. And
// gains are never negative, so their order is the order of their bit patterns.
//
// So a long run of a ramp is kept as bit patterns base + k du instead of being written to its
// slots, and the next ramp compares against it with one integer sum. A run is written to its
// slots only when its first frame is about to be read, and only what it still holds by then.
// Every stored gain, and so every output sample, keeps its bits.
#pragma once

#include "EngineConstants.h"

#include <cstdint>
#include <cstring>

class GainRuns {
public:
  GainRuns() noexcept = default;

  // Goes on with the ring of n slots whose next frame writes slot w: the runs held stay when
  // they are that ring's, and are written into their own ring first when not.
  void attach(float* ring, std::int32_t n, std::int32_t w) noexcept {
    if (ring != ring_ || n != n_ || w != w_) {
      settle();
      ring_ = ring;
      n_ = n;
      w_ = w;
    }
  }
  // Forgets the runs (the ring was replaced from outside).
  void drop() noexcept {
    head_ = tail_ = 0;
    ready_ = kAll;
    ring_ = nullptr;
  }

  // Frames of the rules with the gains gainOf(k) gives: each stored in slot w, the ramp over
  // the older ones when the frame before holds more (before is the gain of the frame before the
  // first), and the gain of the oldest frame read into o. The frame after writes the slot read.
  // Returns how many frames ramped beyond their first slot.
  template <class GainOf>
  int frames(GainOf&& gainOf, std::int32_t m, float before, float* o) noexcept {
    // Kept in registers here; the calls below see them in the members.
    std::int32_t w = w_;
    std::int32_t ready = ready_;
    first_ = frame_;
    int ramps = 0;
    for (std::int32_t k = 0; k < m; ++k) {
      const float gain = gainOf(k);
      ring_[w] = gain;
      if (before > gain) {
        // Most ramps stop at once: the frame before holds no more than the ramp's first value.
        const float step = (1.0f - gain) / static_cast<float>(n_ - 1);
        const float x = gain + step;
        if (before > x) {
          sync(w, ready, k);
          ++ramps;
          shortRamp(x, step);
          ready = ready_;
        }
      }
      before = gain;
      if (ready == 0) {
        sync(w, ready, k);
        writeRead();
        ready = ready_;
      }
      --ready;
      const std::int32_t r = w + 1 == n_ ? 0 : w + 1;
      o[k] = ring_[r];
      w = r;
    }
    sync(w, ready, m);
    return ramps;
  }

  // Writes every run into its slots.
  void settle() noexcept {
    if (head_ != tail_) {
      writeAll();
      head_ = tail_ = 0;
    }
    ready_ = kAll;
  }
  // Writes every run into its slots and keeps it, so that what follows goes on as it would
  // have.
  void writeAll() noexcept;

  // m frames that went to the slots by other means, with every run settled; w is the write
  // slot after them.
  void skip(std::int32_t m, std::int32_t w) noexcept {
    w_ = w;
    frame_ += static_cast<std::uint32_t>(m);
  }

  std::int32_t writeSlot() const noexcept { return w_; }

private:
  using Bits = std::uint32_t;
  static constexpr std::uint32_t kCapacity = 512; // above the most runs a ring holds
  static constexpr std::uint32_t kMask = kCapacity - 1;
  static constexpr std::int32_t kShortest = 16; // shorter runs of a ramp are written
  // Runs one ramp keeps: they lie side by side, each at least kShortest long.
  static constexpr std::int32_t kMade = 32;
  static_assert(kMade * kShortest >= kLookAheadSlots, "room for every run a ramp keeps");
  static constexpr std::int32_t kAll = 1 << 30; // reads with no run in sight

  static Bits bitsOf(float v) noexcept {
    Bits b;
    std::memcpy(&b, &v, sizeof b);
    return b;
  }
  static float floatOf(Bits b) noexcept {
    float v;
    std::memcpy(&v, &b, sizeof v);
    return v;
  }
  // Slot of the gain stored age frames before the frame that writes w_.
  std::int32_t slotOf(std::int32_t age) const noexcept {
    return age <= w_ ? w_ - age : n_ + w_ - age;
  }
  // Age of a frame, seen from the frame that writes w_.
  std::int32_t ageOf(std::uint32_t frame) const noexcept {
    return static_cast<std::int32_t>(frame_ - frame);
  }
  void sync(std::int32_t w, std::int32_t ready, std::int32_t k) noexcept {
    frame_ = first_ + static_cast<std::uint32_t>(k);
    w_ = w;
    ready_ = ready;
  }
  // A ramp that likely stops within kShortest slots (the slot that far back already holds about
  // what the ramp would bring) walks them one addition at a time, as the rules do, until the
  // newest run; the rest goes to ramp.
  void shortRamp(float x, float step) noexcept {
    const std::int32_t runs = head_ != tail_ ? ageOf(last_[(tail_ - 1) & kMask]) : n_;
    if (runs <= kShortest ||
        ring_[slotOf(kShortest)] > x + static_cast<float>(kShortest - 1) * step) {
      ramp(1, x, step);
      return;
    }
    ring_[slotOf(1)] = x;
    std::int32_t s = slotOf(1);
    float g = x + step;
    for (std::int32_t j = 2; j < runs; ++j) {
      s = s == 0 ? n_ - 1 : s - 1;
      if (!(ring_[s] > g)) {
        return;
      }
      ring_[s] = g;
      g = g + step;
    }
    if (runs < n_) {
      ramp(runs, g, step);
    }
  }
  // Writes ages newest .. oldest of run i into their slots.
  void write(std::uint32_t i, std::int32_t newest, std::int32_t oldest) noexcept;
  // The ramp from age j on, whose value there is x.
  void ramp(std::int32_t j, float x, float step) noexcept;
  // The frame about to read may read a run: writes it, and counts the reads that are safe.
  void writeRead() noexcept;

  float* ring_ = nullptr;
  std::int32_t n_ = 0;
  std::int32_t w_ = 0;
  std::uint32_t frame_ = 0;   // the frame that writes w_
  std::uint32_t first_ = 0;   // the first frame of the frames() call
  std::int32_t ready_ = kAll; // reads to come whose gains are in their slots
  std::uint32_t head_ = 0;    // runs, oldest first
  std::uint32_t tail_ = 0;
  // Run i (masked) holds len_[i] gains of frames last_[i], last_[i] - 1, ...: the bit patterns
  // base_[i] + k du_[i] (du wraps for a falling run). Kept field by field, so that reading one
  // field never waits on the store of another.
  Bits base_[kCapacity];
  Bits du_[kCapacity];
  std::uint32_t last_[kCapacity];
  std::int32_t len_[kCapacity];
};
