#include "GainRuns.h"

void GainRuns::write(const Run& r, std::int32_t newest, std::int32_t oldest) noexcept {
  const std::int32_t first = ageOf(r.last);
  for (std::int32_t age = newest; age <= oldest; ++age) {
    ring_[slotOf(age)] = floatOf(r.base + static_cast<Bits>(age - first) * r.du);
  }
}

void GainRuns::settle() noexcept {
  for (std::uint32_t i = head_; i != tail_; ++i) {
    const Run& r = runs_[i & kMask];
    const std::int32_t newest = ageOf(r.last);
    const std::int32_t oldest = newest + r.len - 1;
    write(r, newest < 1 ? 1 : newest, oldest < n_ - 1 ? oldest : n_ - 1);
  }
  head_ = tail_ = 0;
  ready_ = kAll;
}

void GainRuns::writeRead() noexcept {
  // Runs read out already go; the oldest left is written if the read is its frame.
  while (head_ != tail_ && ageOf(runs_[head_ & kMask].last) > n_ - 1) {
    ++head_;
  }
  if (head_ != tail_) {
    const Run& r = runs_[head_ & kMask];
    const std::int32_t newest = ageOf(r.last);
    if (newest + r.len - 1 >= n_ - 1) {
      write(r, newest, n_ - 1);
      ++head_;
    }
  }
  ready_ = kAll;
  if (head_ != tail_) {
    const Run& r = runs_[head_ & kMask];
    ready_ = n_ - 1 - (ageOf(r.last) + r.len - 1);
  }
}

void GainRuns::ramp(std::int32_t j, float x, float step) noexcept {
  const std::int32_t n = n_;
  const std::int32_t w = w_;
  float* const ring = ring_;
  auto slot = [w, n](std::int32_t age) { return age <= w ? w - age : n + w - age; };
  // The ramp's runs long enough to keep, newest first (field by field: a run read whole right
  // after its fields were stored one by one would wait on the stores).
  Bits madeBase[kCapacity];
  Bits madeDu[kCapacity];
  std::int32_t madeAge[kCapacity];
  std::int32_t madeLen[kCapacity];
  std::int32_t pieces = 0;
  std::uint32_t p = tail_; // runs_[p - 1] is the newest run not yet passed
  auto newestOfNext = [&] { return p != head_ ? ageOf(runs_[(p - 1) & kMask].last) : n; };
  std::int32_t runNewest = newestOfNext();
  std::int32_t stop = n; // the first age the ramp leaves as it is

  auto took = [&](Bits base, Bits du, std::int32_t from, std::int32_t count) {
    if (count < kShortest) {
      for (std::int32_t k = 0; k < count; ++k) {
        ring[slot(from + k)] = floatOf(base + static_cast<Bits>(k) * du);
      }
      return;
    }
    madeBase[pieces] = base;
    madeDu[pieces] = du;
    madeAge[pieces] = from;
    madeLen[pieces++] = count;
  };
  // Ages from .. from + len - 1 offered base + k du: each takes it while it holds more. False once
  // one refuses.
  auto offer = [&](Bits base, Bits du, std::int32_t from, std::int32_t len) {
    const std::int32_t end = from + len;
    std::int32_t t = from;
    while (t < end) {
      if (t < runNewest) {
        // In slots up to the next run.
        const std::int32_t hi = end < runNewest ? end : runNewest;
        for (; t < hi; ++t) {
          if (!(bitsOf(ring[slot(t)]) > base + static_cast<Bits>(t - from) * du)) {
            stop = t;
            break;
          }
        }
        if (stop < n) {
          break;
        }
        continue;
      }
      // Held minus offered is linear in the age along a run: the first age where it is not
      // positive refuses. Both are bit patterns of gains, so it fits 32 bits.
      const Run& r = runs_[(p - 1) & kMask];
      const std::int32_t runEnd = runNewest + r.len;
      const std::int32_t hi = end < runEnd ? end : runEnd;
      const std::int64_t gap =
          static_cast<std::int64_t>(r.base + static_cast<Bits>(t - runNewest) * r.du) -
          static_cast<std::int64_t>(base + static_cast<Bits>(t - from) * du);
      const std::int64_t slope = static_cast<std::int64_t>(static_cast<std::int32_t>(r.du)) -
                                 static_cast<std::int64_t>(static_cast<std::int32_t>(du));
      if (gap <= 0) {
        stop = t;
        break;
      }
      if (gap + slope * (hi - 1 - t) <= 0) {
        // Exact in doubles: a quotient this small is never rounded up to the next integer.
        stop =
            t + 1 +
            static_cast<std::int32_t>(static_cast<double>(gap - 1) / static_cast<double>(-slope));
        break;
      }
      t = hi;
      if (t == runEnd) {
        --p;
        runNewest = newestOfNext();
      }
    }
    if (stop < n) {
      if (stop > from) {
        took(base, du, from, stop - from);
      }
      return false;
    }
    took(base, du, from, len);
    return true;
  };

  while (j < n) {
    // A run from x when x, y and z lie in one binade of normal floats and rise by the same
    // number of ulps twice: in both cases above every later sum there rises by that too.
    const float y = x + step;
    const float z = y + step;
    const Bits bx = bitsOf(x);
    const Bits by = bitsOf(y);
    const Bits bz = bitsOf(z);
    const Bits binade = bx >> 23;
    const Bits du = by - bx;
    const auto remaining = static_cast<Bits>(n - j);
    if (remaining >= 3 && binade == by >> 23 && binade == bz >> 23 && binade >= 1 &&
        binade <= 254 && bz - by == du) {
      // In ulps of the binade: the room up to its top.
      const Bits room = (1u << 23) - (bx & 0x7FFFFFu);
      const bool allFit = static_cast<std::uint64_t>(du) * (remaining - 1) < room;
      const auto count = static_cast<std::int32_t>(allFit ? remaining : (room - 1) / du + 1);
      if (!offer(bx, du, j, count)) {
        break;
      }
      j += count;
      x = floatOf(bx + static_cast<Bits>(count - 1) * du) + step;
      continue;
    }
    if (!offer(bx, 0, j, 1)) {
      break;
    }
    ++j;
    x = y;
  }

  // Runs newer than the stop are replaced whole, the one it falls in from its newest end.
  while (tail_ != head_) {
    Run& r = runs_[(tail_ - 1) & kMask];
    const std::int32_t newest = ageOf(r.last);
    if (newest + r.len - 1 < stop) {
      --tail_;
      continue;
    }
    if (newest < stop) {
      const std::int32_t cut = stop - newest;
      r.base += static_cast<Bits>(cut) * r.du;
      r.last -= static_cast<std::uint32_t>(cut);
      r.len -= cut;
    }
    break;
  }
  for (std::int32_t i = pieces - 1; i >= 0; --i) {
    runs_[tail_++ & kMask] = {madeBase[i], madeDu[i],
                              frame_ - static_cast<std::uint32_t>(madeAge[i]), madeLen[i]};
  }
  if (pieces > 0) {
    const std::int32_t oldest = madeAge[pieces - 1] + madeLen[pieces - 1] - 1;
    if (n - 1 - oldest < ready_) {
      ready_ = n - 1 - oldest;
    }
  }
}
