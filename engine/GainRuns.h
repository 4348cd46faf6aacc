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
  // Out of line: inlined, its loop takes registers from the sparse frames' loop beside it.
  template <class GainOf>
  [[gnu::noinline]] int frames(GainOf&& gainOf, std::int32_t m, float before, float* o) noexcept {
    // Kept in registers here; the calls below see them in the members.
    std::int32_t w = w_;
    std::int32_t ready = ready_;
    first_ = frame_;
    const auto span = static_cast<float>(n_ - 1);
    int ramps = 0;
    for (std::int32_t k = 0; k < m; ++k) {
      const float gain = gainOf(k);
      ring_[w] = gain;
      if (before > gain) {
        // Most ramps stop at once: the frame before holds no more than the ramp's first value.
        const float step = (1.0f - gain) / span;
        const float x = gain + step;
        if (before > x) {
          ++ramps;
          if (!nearRun(x, step, w, first_ + static_cast<std::uint32_t>(k), ready)) {
            sync(w, ready, k);
            shortRamp(x, step);
            ready = ready_;
          }
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
  // Slot of the gain stored age frames before the frame that writes w, in a ring of n.
  static std::int32_t slotAt(std::int32_t w, std::int32_t n, std::int32_t age) noexcept {
    return age <= w ? w - age : n + w - age;
  }
  std::int32_t slotOf(std::int32_t age) const noexcept { return slotAt(w_, n_, age); }
  // Whether x, y and z of the chain start an exact run: one binade of normal floats, risen by
  // the same number of ulps twice (the chain is monotonic, so y lies between).
  static bool startsRun(Bits bx, Bits by, Bits bz) noexcept {
    return ((bx ^ bz) >> 23) == 0 && (bx >> 23) - 1 < 254 && bz - by == by - bx;
  }
  // Run i loses its newest cut gains.
  void cutNewest(std::uint32_t i, std::int32_t cut) noexcept {
    base_[i] += static_cast<Bits>(cut) * du_[i];
    last_[i] -= static_cast<std::uint32_t>(cut);
    len_[i] -= cut;
  }
  // Holds a new newest run: len gains from frame last back, base + k du.
  void keep(Bits base, Bits du, std::uint32_t last, std::int32_t len) noexcept {
    const std::uint32_t i = tail_++ & kMask;
    base_[i] = base;
    du_[i] = du;
    last_[i] = last;
    len_[i] = len;
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
  // The ramp of the frame that writes w, from age 1 on, whose value there is x, when the newest
  // run lies close and the ramp stops inside x's binade, as a deepening reduction's ramps do:
  // then it is one run, found without the general way's bookkeeping. False, with nothing
  // changed, when it is not. frames() keeps w, the frame and the reads that are safe in
  // registers; this is its inner loop.
  bool nearRun(float x, float step, std::int32_t w, std::uint32_t frame,
               std::int32_t& ready) noexcept {
    if (head_ == tail_) {
      return false;
    }
    const std::int32_t n = n_;
    auto age = [frame](std::uint32_t f) { return static_cast<std::int32_t>(frame - f); };
    std::uint32_t p = tail_; // run p - 1 is the newest not yet passed
    std::int32_t runNewest = age(last_[(p - 1) & kMask]);
    const float y = x + step;
    const Bits bx = bitsOf(x);
    const Bits by = bitsOf(y);
    const Bits bz = bitsOf(y + step);
    const Bits du = by - bx;
    if (runNewest > kShortest || !startsRun(bx, by, bz)) {
      return false;
    }
    // The walk takes the run from x on past its binade's top, where what it compares is
    // nonsense; but a stop it finds inside the binade is exact, and any other is refused below.
    auto slot = [w, n](std::int32_t a) { return slotAt(w, n, a); };
    // Age 1 holds the frame before's gain, which is more than x. Every bit pattern compared
    // below is a gain's, so unsigned order is the gains' order.
    std::int32_t t = 2;
    std::int32_t stop;
    for (;;) {
      if (t < runNewest) {
        Bits v = bx + static_cast<Bits>(t - 1) * du;
        while (t < runNewest && bitsOf(ring_[slot(t)]) > v) {
          ++t;
          v += du;
        }
        if (t < runNewest || t == n) {
          stop = t;
          break;
        }
      }
      // Run q from age t on: what it holds minus what is offered falls by a fixed amount a slot.
      const std::uint32_t q = (p - 1) & kMask;
      const std::int32_t runEnd = t + len_[q];
      const Bits held = base_[q];
      const Bits offered = bx + static_cast<Bits>(t - 1) * du;
      if (held <= offered) {
        stop = t;
        break;
      }
      const Bits fall = du - du_[q];
      const auto last = static_cast<Bits>(runEnd - 1 - t);
      if (static_cast<std::int32_t>(fall) > 0 && held + last * du_[q] <= offered + last * du) {
        // Past the run only when its end lies past the binade, and then refused below.
        const Bits ahead = (held - offered - 1) / fall;
        stop = ahead < static_cast<Bits>(n) ? t + 1 + static_cast<std::int32_t>(ahead) : n;
        break;
      }
      --p;
      if (runEnd == n) {
        stop = n; // through the ring's end
        break;
      }
      t = runEnd;
      runNewest = p != head_ ? age(last_[(p - 1) & kMask]) : n;
    }
    // Ages 1 .. stop must lie in x's binade, the stop too since it was compared there.
    const std::int32_t compared = stop < n ? stop : n - 1;
    if (static_cast<std::uint64_t>(du) * static_cast<std::uint32_t>(compared - 1) >=
        (1u << 23) - (bx & 0x7FFFFFu)) {
      return false;
    }
    // The runs it passed go, and the one it stops in loses its newer part.
    tail_ = p;
    if (p != head_) {
      const std::uint32_t q = (p - 1) & kMask;
      const std::int32_t cut = stop - age(last_[q]);
      if (cut > 0) {
        cutNewest(q, cut);
      }
    }
    if (stop - 1 < kShortest) {
      for (std::int32_t a = 1; a < stop; ++a) {
        ring_[slot(a)] = floatOf(bx + static_cast<Bits>(a - 1) * du);
      }
      return true;
    }
    keep(bx, du, frame - 1, stop - 1);
    if (n - stop < ready) {
      ready = n - stop;
    }
    return true;
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

inline void GainRuns::writeRead() noexcept {
  // Runs read out already go. When the read is of the oldest run left, its oldest few gains
  // are written, no more: a ramp may yet replace the rest.
  while (head_ != tail_ && ageOf(last_[head_ & kMask]) > n_ - 1) {
    ++head_;
  }
  if (head_ != tail_) {
    const std::uint32_t i = head_ & kMask;
    const std::int32_t newest = ageOf(last_[i]);
    const std::int32_t oldest = newest + len_[i] - 1;
    if (oldest >= n_ - 1) {
      const std::int32_t from = oldest - kShortest + 1 > newest ? oldest - kShortest + 1 : newest;
      write(i, from, n_ - 1);
      len_[i] = from - newest;
      if (len_[i] == 0) {
        ++head_;
      }
    }
  }
  ready_ = kAll;
  if (head_ != tail_) {
    const std::uint32_t i = head_ & kMask;
    ready_ = n_ - 1 - (ageOf(last_[i]) + len_[i] - 1);
  }
}
