// What a block leaves alone: Bypass, empty blocks, broken buffers, suspend, in-place buffers,
// and the heap.
#include "ProcessorTestSupport.h"

#include "DitherGenerator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <new>

namespace {
// Counts operator new on this thread while a counter is alive; every suite shares this
// binary, so counting is off unless a test asks for it.
thread_local bool tCounting = false;
thread_local long tAllocations = 0;

struct AllocationCounter {
  AllocationCounter() {
    tAllocations = 0;
    tCounting = true;
  }
  ~AllocationCounter() { tCounting = false; }
  long count() const { return tAllocations; }
};

void* counted(std::size_t n) {
  if (tCounting) {
    ++tAllocations;
  }
  return std::malloc(n == 0 ? 1 : n);
}
} // namespace

void* operator new(std::size_t n) {
  if (void* p = counted(n)) {
    return p;
  }
  throw std::bad_alloc();
}
void* operator new[](std::size_t n) {
  if (void* p = counted(n)) {
    return p;
  }
  throw std::bad_alloc();
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return counted(n); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return counted(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

struct Snapshot {
  DynamicsState state;
  FeedValues feed;
  float sumL, sumR, outputGain;
  std::int32_t count, release;
  bool hold;

  explicit Snapshot(ADelay& fx)
      : state(fx.processor.state()), feed(FeedValues::loadFrom(fx.wavePeakFeed)), sumL(fx.rmsSumL),
        sumR(fx.rmsSumR), outputGain(fx.outputGain), count(fx.rmsCount), release(fx.releaseSamples),
        hold(fx.normalizeHold) {}

  void expectSame(ADelay& fx) const {
    EXPECT_TRUE(sameState(state, fx.processor.state()));
    EXPECT_TRUE(sameFeed(feed, FeedValues::loadFrom(fx.wavePeakFeed)));
    EXPECT_EQ(sumL, fx.rmsSumL);
    EXPECT_EQ(sumR, fx.rmsSumR);
    EXPECT_EQ(count, fx.rmsCount);
    EXPECT_EQ(outputGain, fx.outputGain);
    EXPECT_EQ(release, fx.releaseSamples);
    EXPECT_EQ(hold, fx.normalizeHold);
  }
};

// "Mastering 1" after some music: every follower, the ring and the feed hold something.
void warmUp(TestEffect& t) {
  t.fx.setProgram(1);
  t.run(musicalSignal(30000), 512);
}

} // namespace

VstInt32 reportedLatency(ADelay& fx) { return fx.getAeffect()->initialDelay; }

// Bypass still runs the look-ahead ring, at gain 1: the host compensates the same latency
// whether or not the plug-in is bypassed.
TEST(ProcessorBypass, DelaysTheInputUnscaledAndChangesNothingElse) {
  TestEffect t;
  warmUp(t);
  t.fx.normalizeHold = true;
  Snapshot before(t.fx);
  t.set(kBypass, 1.0f);
  const auto latency = static_cast<std::size_t>(reportedLatency(t.fx));
  ASSERT_GT(latency, 0u);
  StereoSignal in = musicalSignal(5000);
  in.left[7] = std::numeric_limits<float>::quiet_NaN();
  const StereoSignal out = t.run(in, 333);
  for (std::size_t i = latency; i < in.frames(); ++i) {
    const float left = i - latency == 7 ? 0.0f : in.left[i - latency];
    ASSERT_TRUE(sameBits(out.left[i], left)) << "frame " << i;
    ASSERT_TRUE(sameBits(out.right[i], in.right[i - latency])) << "frame " << i;
  }
  // Only the ring and its position moved.
  const DynamicsState& st = t.fx.processor.state();
  before.state.delayInL = st.delayInL;
  before.state.delayInR = st.delayInR;
  before.state.delayGain = st.delayGain;
  before.state.delayPos = st.delayPos;
  before.expectSame(t.fx);
}

// An impulse, through a stream whose Bypass flips at block boundaries, at two sample rates and
// three look-aheads: every frame leaves exactly the reported latency late, unchanged.
TEST(ProcessorBypass, SwitchingMovesNothingInTime) {
  StereoSignal in = musicalSignal(30000);
  for (std::size_t i = 0; i < in.frames(); ++i) {
    in.left[i] *= 0.125f; // below both thresholds: the processed path passes it unchanged
    in.right[i] *= 0.125f;
  }
  in.left[4000] = 0.75f;
  for (float rate : {44100.0f, 96000.0f}) {
    for (float lookAhead : {999.0f, 500.0f, 3.0f}) {
      SCOPED_TRACE(::testing::Message() << rate << " Hz, LookAhead " << lookAhead);
      TestEffect t;
      t.neutral();
      t.fx.setSampleRate(rate);
      t.set(kLookAhead, lookAhead);
      const auto latency = static_cast<std::size_t>(reportedLatency(t.fx));
      StereoSignal io = in;
      std::size_t at = 0;
      for (std::size_t block = 0; at < io.frames(); ++block) {
        t.set(kBypass, block % 3 == 1 ? 0.0f : 1.0f);
        const std::size_t n = std::min<std::size_t>(97 + 211 * (block % 5), io.frames() - at);
        float* bufs[2] = {io.left.data() + at, io.right.data() + at};
        t.fx.processReplacing(bufs, bufs, static_cast<VstInt32>(n));
        at += n;
      }
      for (std::size_t i = 0; i < io.frames(); ++i) {
        const float l = i < latency ? 0.0f : in.left[i - latency];
        const float r = i < latency ? 0.0f : in.right[i - latency];
        ASSERT_TRUE(sameBits(io.left[i], l) && sameBits(io.right[i], r)) << "frame " << i;
      }
    }
  }
}

// Frames still in the ring when Bypass goes off were never seen by the limiter: they leave at
// no more than its threshold times the output gain, like every processed frame.
TEST(ProcessorBypass, FramesLeftInTheRingStayWithinTheLimiter) {
  TestEffect t;
  t.neutral();
  t.set(kLookAhead, 999.0f);
  t.set(kThrLim, 12.0f);
  t.set(kOutput, 12000.0f);
  const float ceiling = t.fx.limThreshold * t.fx.outputGain;
  ASSERT_GT(t.fx.outputGain, 1.5f);
  StereoSignal loud = constantSignal(2000, 0.99f, -0.5f);
  loud.right[1900] = 3e38f;
  t.set(kBypass, 1.0f);
  t.run(loud, 300);
  t.set(kBypass, 0.0f);
  const StereoSignal out = t.run(silence(1000), 300);
  float worst = 0.0f;
  for (std::size_t i = 0; i < out.frames(); ++i) {
    worst = std::max({worst, std::fabs(out.left[i]), std::fabs(out.right[i])});
  }
  EXPECT_LE(worst, ceiling * 1.000001f);
  EXPECT_GT(worst, ceiling * 0.999f) << "the bypassed frames left the ring";
}

TEST(ProcessorEmptyBlocks, NoFramesTouchesNoOutputButStalledReleasesMoveOn) {
  TestEffect t;
  t.fx.normalizeHold = true;
  DynamicsState saved = t.fx.processor.state();
  saved.compDelta = 0.0f;
  saved.compStep = 0.5f;
  saved.limDelta = 0.01f; // still moving: keeps its step
  saved.limStep = 0.5f;
  t.fx.processor.restore(saved);
  const DynamicsState& st = t.fx.processor.state();
  float canary[2][4] = {{7, 7, 7, 7}, {7, 7, 7, 7}};
  float* outs[2] = {canary[0], canary[1]};
  float* ins[2] = {canary[1], canary[0]};
  t.fx.processReplacing(ins, outs, 0);
  EXPECT_EQ(st.compStep, 0.0001f);
  EXPECT_EQ(st.limStep, 0.5f);
  EXPECT_FALSE(t.fx.normalizeHold) << "the block-end rules apply to an empty block";
  EXPECT_EQ(t.fx.rmsCount, 0);
  for (const float* ch : {canary[0], canary[1]}) {
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(ch[i], 7.0f);
    }
  }
  t.fx.processReplacing(ins, outs, -5);
  EXPECT_EQ(canary[0][0], 7.0f) << "a negative count is an empty block";
  EXPECT_EQ(t.fx.rmsCount, 0);
}

TEST(ProcessorEmptyBlocks, NullBuffersChangeNothing) {
  TestEffect t;
  warmUp(t);
  const Snapshot before(t.fx);
  std::vector<float> buf(64, 0.25f);
  float* good[2] = {buf.data(), buf.data()};
  float* half[2] = {buf.data(), nullptr};
  t.fx.processReplacing(nullptr, good, 64);
  t.fx.processReplacing(good, nullptr, 64);
  t.fx.processReplacing(half, good, 64);
  t.fx.processReplacing(good, half, 64);
  t.fx.processReplacing(nullptr, nullptr, 64);
  before.expectSame(t.fx);
  EXPECT_EQ(buf[0], 0.25f);
}

TEST(ProcessorSuspend, ClearsTheRingsOnly) {
  TestEffect t;
  warmUp(t);
  const Snapshot before(t.fx);
  t.fx.suspend();
  const DynamicsState& st = t.fx.processor.state();
  for (std::size_t s = 0; s < st.delayGain.size(); ++s) {
    ASSERT_EQ(st.delayInL[s], 0.0f);
    ASSERT_EQ(st.delayInR[s], 0.0f);
    ASSERT_EQ(st.delayGain[s], 1.0f);
  }
  DynamicsState kept = before.state;
  kept.clearRings();
  EXPECT_TRUE(sameState(kept, st)) << "position and followers stay";
  EXPECT_TRUE(sameFeed(before.feed, FeedValues::loadFrom(t.fx.wavePeakFeed)));
}

TEST(ProcessorInPlace, SharedBuffersGiveTheSameOutput) {
  const StereoSignal in = musicalSignal(20000);
  for (float lookAhead : {999.0f, 3.0f}) {
    TestEffect separate;
    separate.fx.setProgram(1);
    separate.set(kLookAhead, lookAhead);
    TestEffect shared;
    shared.fx.setProgram(1);
    shared.set(kLookAhead, lookAhead);
    DitherGenerator::resetThreadState();
    const StereoSignal expected = separate.run(in, 480);
    DitherGenerator::resetThreadState();
    StereoSignal io = in;
    for (std::size_t at = 0; at < io.frames(); at += 480) {
      const auto n = static_cast<VstInt32>(std::min<std::size_t>(480, io.frames() - at));
      float* bufs[2] = {io.left.data() + at, io.right.data() + at};
      shared.fx.processReplacing(bufs, bufs, n);
    }
    EXPECT_EQ(io.left, expected.left) << "LookAhead " << lookAhead;
    EXPECT_EQ(io.right, expected.right) << "LookAhead " << lookAhead;
  }
}

TEST(ProcessorRealTime, ProcessingAllocatesNothing) {
  const StereoSignal music = musicalSignal(20000);
  const StereoSignal noise = randomSignal(20000, 4);
  for (VstInt32 program = 0; program < kNumPrograms; ++program) {
    TestEffect t;
    t.fx.setProgram(program);
    std::vector<float> outL(4096), outR(4096);
    long allocations = 0;
    {
      AllocationCounter counter;
      for (const StereoSignal* s : {&music, &noise}) {
        for (std::size_t at = 0; at + 4096 <= s->frames(); at += 4096) {
          float* ins[2] = {const_cast<float*>(s->left.data() + at),
                           const_cast<float*>(s->right.data() + at)};
          float* outs[2] = {outL.data(), outR.data()};
          t.fx.processReplacing(ins, outs, static_cast<VstInt32>(32 + at % 4000));
        }
      }
      t.fx.suspend();
      allocations = counter.count();
    }
    EXPECT_EQ(allocations, 0) << "program " << program;
  }
  AllocationCounter sanity;
  // A direct call: a new-expression whose result goes unused may be elided (clang does).
  ::operator delete(::operator new(sizeof(int)));
  EXPECT_EQ(sanity.count(), 1) << "the counter sees allocations at all";
}
