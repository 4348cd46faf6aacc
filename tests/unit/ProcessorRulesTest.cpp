// The processor's own numbers: delays, thresholds, ratios, the shape of one limited sample,
// automatic release, Auto Normalize and its hold.
#include "ProcessorTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr std::size_t kFullLag = 439; // LookAhead 999 gives 440 slots

StereoSignal scaled(StereoSignal s, float f) {
  for (std::size_t i = 0; i < s.frames(); ++i) {
    s.left[i] *= f;
    s.right[i] *= f;
  }
  return s;
}

void expectDelayedCopy(const StereoSignal& in, const StereoSignal& out, std::size_t lag) {
  for (std::size_t i = 0; i < out.frames(); ++i) {
    const float l = i < lag ? 0.0f : in.left[i - lag];
    const float r = i < lag ? 0.0f : in.right[i - lag];
    ASSERT_TRUE(sameBits(out.left[i], l)) << "frame " << i;
    ASSERT_TRUE(sameBits(out.right[i], r)) << "frame " << i;
  }
}

} // namespace

TEST(ProcessorDelay, LookAhead999DelaysBy439FramesAnd3DoesNotDelay) {
  const StereoSignal in = scaled(musicalSignal(20000), 0.5f);
  TestEffect full;
  full.neutral();
  full.set(kLookAhead, 999.0f);
  expectDelayedCopy(in, full.run(in, 256), kFullLag);
  EXPECT_EQ(DynamicsProcessor::latency(999.0f), static_cast<std::int32_t>(kFullLag));

  TestEffect none;
  none.neutral();
  none.set(kLookAhead, 3.0f);
  expectDelayedCopy(in, none.run(in, 300), 0);
  EXPECT_EQ(DynamicsProcessor::latency(3.0f), 0);
}

TEST(ProcessorDelay, ANewInstanceOnlyDelaysASignalBelowBothThresholds) {
  TestEffect t; // "Init": ThrComp -10 dB, ThrLim -0.5 dB, LookAhead 999
  ASSERT_FALSE(t.fx.normalizeOn);
  ASSERT_FALSE(t.fx.ditherOn);
  const StereoSignal in = scaled(musicalSignal(8000), 0.3f);
  expectDelayedCopy(in, t.run(in, 1000), kFullLag);
}

TEST(ProcessorThresholds, APeakExactlyAtAThresholdCausesNoReduction) {
  TestEffect comp;
  comp.neutral();
  comp.set(kThrComp, 20.0f);
  comp.set(kRatio, 8.0f);
  comp.set(kSoft, 0.0f);
  const float tc = comp.fx.compThreshold;
  comp.run(constantSignal(100, tc, -tc), 50);
  EXPECT_EQ(comp.fx.processor.state().compGain, 1.0f);
  EXPECT_EQ(comp.fx.processor.state().compDelta, 0.0f) << "no release ever started";
  // One step above: an attack, so small that its first release increment already undoes it.
  comp.run(constantSignal(1, std::nextafter(tc, 2.0f), 0.0f), 1);
  EXPECT_NE(comp.fx.processor.state().compDelta, 0.0f);

  TestEffect lim;
  lim.neutral();
  lim.set(kThrLim, 12.0f);
  const float tl = lim.fx.limThreshold;
  const StereoSignal at = constantSignal(100, -tl, tl);
  const StereoSignal out = lim.run(at, 50);
  EXPECT_EQ(lim.fx.processor.state().limGain, 1.0f);
  EXPECT_EQ(out.left, at.left);
  lim.run(constantSignal(1, 0.0f, std::nextafter(tl, 2.0f)), 1);
  EXPECT_LT(lim.fx.processor.state().limGain, 1.0f);
}

TEST(ProcessorRatio, OneToOneNeverReducesWithSoftOnOrOff) {
  const StereoSignal loud = scaled(randomSignal(20000, 21), 0.75f);
  for (float soft : {0.0f, 1.0f}) {
    TestEffect t;
    t.neutral();
    t.set(kSoft, soft);
    t.set(kThrComp, 72.0f); // -36 dB: nearly every sample lies above it
    t.set(kRatio, 2.0f);
    float minGain = 1.0f;
    StereoSignal out;
    for (std::size_t at = 0; at < loud.frames(); at += 100) {
      StereoSignal part;
      part.left.assign(loud.left.begin() + static_cast<long>(at),
                       loud.left.begin() + static_cast<long>(at + 100));
      part.right.assign(loud.right.begin() + static_cast<long>(at),
                        loud.right.begin() + static_cast<long>(at + 100));
      const StereoSignal o = t.run(part, 100);
      out.left.insert(out.left.end(), o.left.begin(), o.left.end());
      out.right.insert(out.right.end(), o.right.begin(), o.right.end());
      minGain = std::min(minGain, t.fx.processor.state().compGain);
    }
    EXPECT_EQ(minGain, 1.0f) << "Soft " << soft;
    expectDelayedCopy(loud, out, 0);
  }
}

// One sample of 1.0 with a quiet probe tone under it (a power of two, so the output divided
// by it is the gain exactly), Ratio 1:1, ThrLim -6 dB.
TEST(ProcessorLimiter, ASingleFullScaleSampleIsFadedInAheadAndReleasedIn10ms) {
  constexpr float kProbe = 1.0f / 1024.0f;
  constexpr std::size_t kAt = 1000;
  TestEffect t;
  t.neutral();
  t.set(kLookAhead, 999.0f);
  t.set(kThrLim, 12.0f);
  const float tl = t.fx.limThreshold;
  StereoSignal in = constantSignal(4000, kProbe, kProbe);
  in.left[kAt] = 1.0f;
  const StereoSignal out = t.run(in, 512);
  auto gainOf = [&](std::size_t frame) { return out.right[frame + kFullLag] / kProbe; };

  EXPECT_EQ(out.left[kAt + kFullLag], tl * t.fx.outputGain) << "the sample leaves at Tl x e";
  const float step = (1.0f - tl) / static_cast<float>(kFullLag);
  for (std::size_t j = 1; j < kFullLag; ++j) {
    ASSERT_NEAR(gainOf(kAt - j), tl + static_cast<float>(j) * step, 1e-5f) << j << " frames before";
    ASSERT_LT(gainOf(kAt - j + 1), gainOf(kAt - j)) << "falls towards r";
  }
  EXPECT_NEAR(gainOf(kAt - kFullLag), 1.0f, 1e-5f);
  EXPECT_EQ(gainOf(kAt - kFullLag - 1), 1.0f);

  std::size_t back = kAt + 1;
  while (back < in.frames() - kFullLag && gainOf(back) < 1.0f) {
    ++back;
  }
  const float hundredth = t.fx.getSampleRate() / 100.0f;
  EXPECT_GT(static_cast<float>(back - kAt), 0.75f * hundredth);
  EXPECT_LT(static_cast<float>(back - kAt), 1.5f * hundredth);
  EXPECT_EQ(t.fx.processor.state().limGain, 1.0f);
}

TEST(ProcessorRelease, AutomaticReleaseLengthFollowsTheDepthOfTheAttack) {
  const float sr = 44100.0f;
  auto releaseAfter = [&](float peak, float autoRel) {
    TestEffect t;
    t.neutral();
    t.set(kLookAhead, 3.0f);
    t.set(kSoft, 0.0f);
    t.set(kThrComp, 20.0f);
    t.set(kRatio, 8.0f);
    t.set(kAutoRel, autoRel);
    t.run(constantSignal(50, peak, 0.0f), 50);
    return t.fx.releaseSamples.load();
  };
  // Just above the threshold: about 10 ms.
  EXPECT_NEAR(releaseAfter(0.3163f, 1.0f), 0.01f * sr, 2.0f);
  // A target of about 0.5 adds some 200 ms for the one unit of 1/target - 1.
  const float tc = std::pow(10.0f, -0.5f);
  const float peak = 0.9f;
  const float target = ((peak - tc) / 4.0f + tc) / peak;
  EXPECT_NEAR(releaseAfter(peak, 1.0f), 0.01f * sr + 0.2f * sr * (1.0f / target - 1.0f), 2.0f);
  // AutoRel other than exactly 1.0 keeps the Release parameter's length.
  EXPECT_EQ(releaseAfter(peak, 0.3f), static_cast<std::int32_t>(sr / 1000.0f * 250.0f));
}

TEST(ProcessorNormalize, TheFirstPeakOverTheCeilingIsScaledToItAndTheGainStaysLowered) {
  TestEffect t;
  t.neutral();
  t.set(kNormalize, 1.0f);
  ASSERT_EQ(t.fx.outputGain, kNormalizeFullGain);
  const float q = ceilingFactor(t.fx.displaySettings.normalizeCeilingIndex);
  StereoSignal in = constantSignal(600, 0.01f, -0.005f);
  in.right[300] = -0.2f;
  const StereoSignal out = t.run(in, 600);
  EXPECT_EQ(out.left[299], 0.01f * kNormalizeFullGain);
  EXPECT_NEAR(out.right[300], -q, q * 1.2e-7f);
  const float lowered = t.fx.outputGain;
  EXPECT_NEAR(lowered, q / 0.2f, 1e-5f);
  EXPECT_EQ(out.left[301], 0.01f * lowered);

  const StereoSignal again = t.run(in, 600);
  EXPECT_LE(t.fx.outputGain, lowered) << "the gain is never raised again";
  EXPECT_NEAR(t.fx.outputGain, lowered, lowered * 1e-6f) << "the same peak lowers it no further";
  EXPECT_NEAR(std::fabs(again.right[300]), q, q * 1.2e-7f);
}

TEST(ProcessorNormalize, ALimiterLinkDuringTheBlockWinsOverTheBlocksOwnGain) {
  TestEffect t;
  t.neutral();
  t.set(kNormalize, 0.0f);
  t.fx.outputGain = 2.0f; // as a ThrLim change under Normalize would leave it
  t.fx.normalizeHold = true;
  const StereoSignal out = t.run(constantSignal(200, 0.9f, 0.0f), 200);
  const float q = ceilingFactor(t.fx.displaySettings.normalizeCeilingIndex);
  EXPECT_NEAR(out.left[100], q, q * 1.2e-7f) << "the hold applies Auto Normalize in its block";
  EXPECT_EQ(t.fx.outputGain, 2.0f);
  EXPECT_FALSE(t.fx.normalizeHold);

  t.set(kNormalize, 1.0f);
  t.run(constantSignal(200, 0.9f, 0.0f), 200);
  EXPECT_NEAR(t.fx.outputGain, q / 0.9f, 1e-5f) << "without the hold the lowered gain is kept";
}
