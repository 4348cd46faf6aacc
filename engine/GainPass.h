// The scalar pass of the optimised processor: compressor and limiter followers frame by frame,
// and the look-ahead gains with their ramp (GainRuns.h). Everything the later passes need is
// left in the chunk.
#pragma once

#include "BlockSetup.h"
#include "ChunkPasses.h"
#include "DynamicsConstants.h"
#include "GainRuns.h"
#include "LookAheadRamp.h"
#include "VectorStages.h"

#include <cmath>
#include <cstdint>

template <bool Soft, bool AutoRelease> class GainPass {
public:
  GainPass(const BlockSetup& b, const DynamicsState& st) noexcept
      : tc_(b.compThreshold), ratio_(b.ratio), knee_(b.knee), tl_(b.limThreshold),
        limRelease_(b.limRelease), autoScale_(b.autoScale), n_(b.slots), cg(st.compGain),
        cs(st.compStep), cd(st.compDelta), lg(st.limGain), ls(st.limStep), ld(st.limDelta),
        release(b.release) {
    const VectorStages* stages = vectorStages();
    sweep_ = stages != nullptr ? stages->rampSweep : sweepFrameByFrame;
  }

  // Below this no frame can start a reduction.
  float quietLimit() const noexcept { return tc_ < tl_ ? tc_ : tl_; }

  // m frames; w and r are the write and read slots of the first (r lies past a shrunken ring
  // only in a chunk of one frame). True when every frame had unit gains and gain/cg were not
  // filled. rampsHint carries how many frames ramped lately, from chunk to chunk.
  // The ring's gains go through runs, which must not live in this object: the followers'
  // state could no longer stay in registers.
  bool run(Chunk& c, int m, float* ringG, GainRuns& runs, int& rampsHint, std::int32_t& w,
           std::int32_t& r, bool loud) noexcept {
    const std::int32_t n = n_;
    if (!loud && cg == 1.0f && lg == 1.0f && r < n &&
        !(n > 1 && ringG[w == 0 ? n - 1 : w - 1] > 1.0f)) {
      runs.settle();
      unitGains(c, m, ringG, n, r, w);
      w = (w + m) % n;
      r = (r + m) % n;
      runs.skip(m, w);
      return true;
    }
    if (n == 1) {
      for (int k = 0; k < m; ++k) {
        const float gain = follow(c.peak[k]);
        ringG[0] = gain;
        c.o[k] = gain;
        c.gain[k] = gain;
        c.cg[k] = cg;
      }
      return false;
    }
    float before = ringG[w == 0 ? n - 1 : w - 1];
    int k = 0;
    // Marked likely so that the compiler gives the sparse frames its registers first: music and
    // noise spend their time there, and a follower's state spilled to the stack slows them.
    if (__builtin_expect(rampsHint < kDenseRamps || r >= n, 1)) {
      // Few ramps: each is written to the slots as it comes, until they turn frequent.
      runs.settle();
      k = sparse(c, m, ringG, w, r, before);
      runs.skip(k, w);
      rampsHint = 0;
      if (k == m) {
        return false;
      }
      before = c.gain[k - 1];
    }
    // Ramps in many frames: the followers go first on their own (the ramps' work would keep
    // their frames from overlapping), and the ramps keep their long runs unwritten.
    for (int i = k; i < m; ++i) {
      c.gain[i] = follow(c.peak[i]);
      c.cg[i] = cg;
    }
    // By value: frames() runs out of line.
    const float* const gains = c.gain + k;
    const int ramps = runs.frames([gains](int i) { return gains[i]; }, m - k, before, c.o + k);
    rampsHint = ramps * kChunkFrames / (m - k);
    w = runs.writeSlot();
    r = w + 1 == n ? 0 : w + 1;
    return false;
  }

  // Frames with few ramps, each written to the slots as it comes; stops after the frame whose
  // ramp makes them many, and returns how many frames it took.
  int sparse(Chunk& c, int m, float* ringG, std::int32_t& w, std::int32_t& r,
             float before) noexcept {
    const std::int32_t n = n_;
    // The first frame after the ring shrank reads that old slot, and goes alone.
    int end = r >= n ? 1 : m;
    int ramps = 0;
    int lastLong = -2;
    int k = 0;
    for (; k < end; ++k) {
      const float gain = follow(c.peak[k]);
      ringG[w] = gain;
      if (before > gain) {
        // Long ramps frame after frame, as a swell brings, count for several: each sweeps most
        // of the ring. Music's come apart.
        const int walked = rampDown(ringG, w, n, gain, sweep_);
        ramps += walked == 2 && lastLong == k - 1 ? kDenseRamps / 4 : walked == 0 ? 0 : 1;
        lastLong = walked == 2 ? k : lastLong;
        if (ramps >= kDenseRamps) {
          end = k + 1;
        }
      }
      before = gain;
      c.o[k] = ringG[r];
      c.gain[k] = gain;
      c.cg[k] = cg;
      w = r;
      r = r + 1 == n ? 0 : r + 1;
    }
    if (w >= n) {
      // It read past the shrunken ring; the positions wrap into the ring in use.
      w %= n;
      r = w + 1 == n ? 0 : w + 1;
    }
    return k;
  }

  void storeTo(DynamicsState& st) const noexcept {
    st.compGain = cg;
    st.compStep = cs;
    st.compDelta = cd;
    st.limGain = lg;
    st.limStep = ls;
    st.limDelta = ld;
  }

private:
  // One frame of both followers; returns the total gain stored for the frame.
  float follow(float peak) noexcept {
    if (peak > tc_) {
      const float over = peak - tc_;
      const float reduced = Soft ? over / (knee_ * over + 1.0f) : over / ratio_;
      const float target = (reduced + tc_) / peak;
      if (cg > target) {
        if (AutoRelease) {
          release = truncateToInt32(autoScale_ / target - kAutoReleaseOffset * autoScale_);
          releaseComputed = true;
        }
        cg = target;
        cs = (1.0f - target) / (std::log10(1.0f + kLogScale * peak) * releaseFrames(release) *
                                kCompReleaseScale) +
             (1.0f + target) * kStepFloor;
      }
    }
    if (cg < 1.0f) {
      cd = cs - kStepSlope * cg;
      const float next = cg + cd;
      cg = next < 1.0f ? next : 1.0f;
      peak = peak * cg;
    } else {
      cg = 1.0f;
    }
    if (peak > tl_) {
      const float rl = tl_ / peak;
      if (lg + ld > rl) {
        lg = rl;
        ld = 0.0f;
        ls = (1.0f - rl) / (std::log10(1.0f + kLogScale * peak) * limRelease_) +
             (1.0f + rl) * kStepFloor;
      }
    }
    if (lg < 1.0f) {
      const float next = lg + ld;
      lg = next < 1.0f ? next : 1.0f;
      ld = ls - kStepSlope * lg;
    } else {
      lg = 1.0f;
    }
    return lg * cg;
  }

  const float tc_;
  const float ratio_;
  const float knee_;
  const float tl_;
  const float limRelease_;
  const float autoScale_;
  const std::int32_t n_;
  // Ramps beyond their first slot in a chunk's worth of frames from which the ramps keep
  // runs unwritten.
  static constexpr int kDenseRamps = kChunkFrames / 8;
  RampSweep sweep_;

public:
  float cg;
  float cs;
  float cd;
  float lg;
  float ls;
  float ld;
  std::int32_t release;
  bool releaseComputed = false;
};
