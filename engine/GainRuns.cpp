#include "GainRuns.h"

void GainRuns::write(std::uint32_t i, std::int32_t newest, std::int32_t oldest) noexcept {
  // From the oldest age on the slots rise, wrapping once at most, and the run falls by du a
  // slot: stores in a row, without a slot or a product worked out for each.
  const Bits du = du_[i];
  Bits v = base_[i] + static_cast<Bits>(oldest - ageOf(last_[i])) * du;
  std::int32_t s = slotOf(oldest);
  std::int32_t count = oldest - newest + 1;
  while (count > 0) {
    const std::int32_t here = count < n_ - s ? count : n_ - s;
    float* const at = ring_ + s;
    for (std::int32_t k = 0; k < here; ++k) {
      at[k] = floatOf(v);
      v -= du;
    }
    count -= here;
    s = 0;
  }
}

void GainRuns::writeAll() noexcept {
  for (std::uint32_t at = head_; at != tail_; ++at) {
    const std::uint32_t i = at & kMask;
    const std::int32_t newest = ageOf(last_[i]);
    const std::int32_t oldest = newest + len_[i] - 1;
    write(i, newest < 1 ? 1 : newest, oldest < n_ - 1 ? oldest : n_ - 1);
  }
}

void GainRuns::ramp(std::int32_t j, float x, float step) noexcept {
  const std::int32_t n = n_;
  const std::int32_t w = w_;
  float* const ring = ring_;
  auto slot = [w, n](std::int32_t age) { return slotAt(w, n, age); };
  // The ramp's runs long enough to keep, newest first.
  Bits madeBase[kMade];
  Bits madeDu[kMade];
  std::int32_t madeAge[kMade];
  std::int32_t madeLen[kMade];
  std::int32_t pieces = 0;
  std::uint32_t p = tail_; // run p - 1 is the newest not yet passed
  auto newestOfNext = [&] { return p != head_ ? ageOf(last_[(p - 1) & kMask]) : n; };
  std::int32_t runNewest = newestOfNext();
  std::int32_t stop = n; // the first age the ramp leaves as it is

  // The first of ages t .. hi - 1, all in slots, that does not hold more than the ramp's
  // b + k du there, or hi.
  auto inSlots = [&](std::int32_t t, std::int32_t hi, Bits b, Bits du) {
    while (t < hi) {
      const std::int32_t top = slot(t);
      const std::int32_t count = hi - t < top + 1 ? hi - t : top + 1; // down to slot 0
      for (std::int32_t k = 0; k < count; ++k) {
        if (!(bitsOf(ring[top - k]) > b + static_cast<Bits>(k) * du)) {
          return t + k;
        }
      }
      t += count;
      b += static_cast<Bits>(count) * du;
    }
    return hi;
  };
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
        t = inSlots(t, hi, base + static_cast<Bits>(t - from) * du, du);
        if (t < hi) {
          stop = t;
          break;
        }
        continue;
      }
      // Held minus offered is linear in the age along a run: the first age where it is not
      // positive refuses. Both are bit patterns of gains, so it fits 32 bits.
      const std::uint32_t q = (p - 1) & kMask;
      const std::int32_t runEnd = runNewest + len_[q];
      const std::int32_t hi = end < runEnd ? end : runEnd;
      const std::int64_t gap =
          static_cast<std::int64_t>(base_[q] + static_cast<Bits>(t - runNewest) * du_[q]) -
          static_cast<std::int64_t>(base + static_cast<Bits>(t - from) * du);
      const std::int64_t slope = static_cast<std::int64_t>(static_cast<std::int32_t>(du_[q])) -
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
    const Bits du = by - bx;
    const auto remaining = static_cast<Bits>(n - j);
    if (remaining >= 3 && startsRun(bx, by, bz)) {
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
    const std::uint32_t i = (tail_ - 1) & kMask;
    const std::int32_t newest = ageOf(last_[i]);
    if (newest + len_[i] - 1 < stop) {
      --tail_;
      continue;
    }
    if (newest < stop) {
      cutNewest(i, stop - newest);
    }
    break;
  }
  for (std::int32_t k = pieces - 1; k >= 0; --k) {
    keep(madeBase[k], madeDu[k], frame_ - static_cast<std::uint32_t>(madeAge[k]), madeLen[k]);
  }
  if (pieces > 0) {
    const std::int32_t oldest = madeAge[pieces - 1] + madeLen[pieces - 1] - 1;
    if (n - 1 - oldest < ready_) {
      ready_ = n - 1 - oldest;
    }
  }
}
