// What a host or a stream can send that no editor would: the processor stays finite, its
// gains stay within 0..1, and broken samples leave nothing behind.
#include "ProcessorTestSupport.h"

#include "DitherGenerator.h"
#include "FpGuard.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#if defined(__SSE2__) || defined(_M_X64) || defined(__x86_64__)
#include <xmmintrin.h>
#define PROCESSOR_TEST_MXCSR 1
#endif

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

bool unitRange(float g) { return std::isfinite(g) && g >= 0.0f && g <= 1.0f; }

void expectSane(TestEffect& t, const StereoSignal& out, const std::string& what) {
  const DynamicsState& st = t.fx.processor.state();
  ASSERT_TRUE(unitRange(st.compGain)) << what << ": compGain " << st.compGain;
  ASSERT_TRUE(unitRange(st.limGain)) << what << ": limGain " << st.limGain;
  ASSERT_TRUE(std::isfinite(st.compStep) && std::isfinite(st.compDelta)) << what;
  ASSERT_TRUE(std::isfinite(st.limStep) && std::isfinite(st.limDelta)) << what;
  for (float g : st.delayGain) {
    ASSERT_TRUE(unitRange(g)) << what << ": ring gain " << g;
  }
  // (ThrLim far past its range under Normalize makes setParameter itself store an infinite
  // gain; the processor works with +24 dB then, and never stores 0 or NaN.)
  ASSERT_TRUE(!std::isnan(t.fx.outputGain) && t.fx.outputGain > 0.0f) << what;
  ASSERT_TRUE(std::isfinite(t.fx.rmsSumL) && std::isfinite(t.fx.rmsSumR)) << what;
  const FeedValues feed = FeedValues::loadFrom(t.fx.wavePeakFeed);
  for (int ch = 0; ch < 2; ++ch) {
    for (const FeedValues::Extreme& e : {feed.max[ch], feed.min[ch]}) {
      ASSERT_TRUE(std::isfinite(e.value) && std::isfinite(e.totalGain) && std::isfinite(e.compGain))
          << what;
    }
  }
  for (std::size_t i = 0; i < out.frames(); ++i) {
    ASSERT_TRUE(std::isfinite(out.left[i]) && std::isfinite(out.right[i]))
        << what << ", frame " << i;
  }
}

// Loud noise past full scale, then music, in blocks of odd sizes.
void runLoud(TestEffect& t, const std::string& what) {
  const StereoSignal noise = randomSignal(12000, 17);
  const StereoSignal music = musicalSignal(12000);
  for (const StereoSignal* s : {&noise, &music}) {
    for (std::size_t block : {1u, 97u, 1000u}) {
      expectSane(t, t.run(*s, block), what);
      if (::testing::Test::HasFatalFailure()) {
        return;
      }
    }
  }
}

} // namespace

TEST(ProcessorFaults, ParameterValuesNoEditorSendsKeepGainsInRange) {
  struct Case {
    const char* name;
    VstInt32 index;
    float value;
  };
  const Case cases[] = {
      {"Release 0 ms", kRelease, 0.0f},  {"Release -300", kRelease, -300.0f},
      {"Ratio 0", kRatio, 0.0f},         {"Ratio 1 step", kRatio, 1.0f},
      {"Ratio -7", kRatio, -7.0f},       {"ThrComp 0 dB", kThrComp, 0.0f},
      {"ThrComp -40", kThrComp, -40.0f}, {"ThrComp 30000", kThrComp, 30000.0f},
      {"ThrLim -40", kThrLim, -40.0f},   {"ThrLim 30000", kThrLim, 30000.0f},
      {"Output -1e6", kOutput, -1.0e6f}, {"LookAhead 1", kLookAhead, 1.0f},
  };
  const float rates[] = {44100.0f, 0.0f, -44100.0f, kNaN, kInf, 1.0f, 1.0e9f};
  for (const Case& c : cases) {
    for (float soft : {0.0f, 1.0f}) {
      for (float rate : rates) {
        TestEffect t;
        t.fx.setProgram(4);
        t.fx.setSampleRate(rate);
        t.set(kSoft, soft);
        t.set(kAutoRel, 0.0f);
        t.set(kRelease, 0.0f); // the release length from this sample rate
        t.set(c.index, c.value);
        runLoud(t, std::string(c.name) + ", Soft " + std::to_string(soft) + ", rate " +
                       std::to_string(rate));
        ASSERT_FALSE(HasFatalFailure());
      }
    }
  }
}

TEST(ProcessorFaults, StateWrittenFromOutsideTheRingStaysInside) {
  TestEffect t;
  DynamicsState saved = t.fx.processor.state();
  saved.delayPos = 10000;
  t.fx.processor.restore(saved);
  t.fx.lookAheadValue = 5000.0f;
  runLoud(t, "ring position past the ring");
  t.fx.lookAheadValue = kNaN;
  saved = t.fx.processor.state();
  saved.delayPos = -3;
  t.fx.processor.restore(saved);
  runLoud(t, "look-ahead not a number");
}

TEST(ProcessorFaults, BrokenSamplesPassAsSilenceAndLeaveNothingBehind) {
  const StereoSignal music = musicalSignal(30000);
  StereoSignal broken = music;
  StereoSignal cleaned = music;
  const std::size_t at[] = {100, 5000, 5001, 12000, 20000, 29999};
  const float bad[] = {kNaN, kInf, -kInf, -kNaN, kInf, kNaN};
  for (std::size_t k = 0; k < 6; ++k) {
    (k % 2 == 0 ? broken.left : broken.right)[at[k]] = bad[k];
    (k % 2 == 0 ? cleaned.left : cleaned.right)[at[k]] = 0.0f;
  }
  broken.left[15000] = kNaN;
  broken.right[15000] = -kInf;
  cleaned.left[15000] = 0.0f;
  cleaned.right[15000] = 0.0f;
  for (VstInt32 program : {0, 1, 5}) {
    TestEffect a;
    a.fx.setProgram(program);
    DitherGenerator::resetThreadState();
    const StereoSignal out = a.run(broken, 512);
    expectSane(a, out, "program " + std::to_string(program));
    TestEffect b;
    b.fx.setProgram(program);
    DitherGenerator::resetThreadState();
    EXPECT_EQ(out.left, b.run(cleaned, 512).left) << "program " << program;
    EXPECT_TRUE(sameState(a.fx.processor.state(), b.fx.processor.state()));
    EXPECT_EQ(a.fx.outputGain, b.fx.outputGain);
  }
}

TEST(ProcessorFaults, SubnormalInputGivesNoSubnormalOutput) {
  StereoSignal tiny = constantSignal(5000, 1.0e-40f, -3.0e-39f);
  for (std::size_t i = 0; i < tiny.frames(); i += 7) {
    tiny.left[i] = 0.25f; // now and then a normal sample among them
  }
  TestEffect t;
  t.set(kLookAhead, 3.0f);
  const StereoSignal out = t.run(tiny, 256);
  for (std::size_t i = 0; i < out.frames(); ++i) {
    ASSERT_NE(std::fpclassify(out.left[i]), FP_SUBNORMAL) << i;
    ASSERT_NE(std::fpclassify(out.right[i]), FP_SUBNORMAL) << i;
  }
  EXPECT_EQ(out.left[7], 0.25f);
}

#ifdef PROCESSOR_TEST_MXCSR
// The host's floating-point mode is its own: it comes back after every block, and it does not
// change what the block computes.
TEST(ProcessorFaults, TheHostsFloatingPointModeIsRestoredAndChangesNothing) {
  const StereoSignal music = musicalSignal(20000);
  const unsigned original = _mm_getcsr();
  const unsigned towardZeroWithFlags = (original & ~0x8040u) | 0x6000u | 0x0021u;
  StereoSignal outs[2];
  const unsigned modes[2] = {original & ~0x003Fu, towardZeroWithFlags};
  for (int k = 0; k < 2; ++k) {
    TestEffect t;
    t.fx.setProgram(1);
    DitherGenerator::resetThreadState();
    _mm_setcsr(modes[k]);
    outs[k] = t.run(music, 500);
    const unsigned after = _mm_getcsr();
    _mm_setcsr(original);
    EXPECT_EQ(after, modes[k]);
  }
  EXPECT_EQ(outs[0].left, outs[1].left);
  EXPECT_EQ(outs[0].right, outs[1].right);
  EXPECT_EQ(FpGuard::currentControlWord(), original);
}
#endif
