// What a block leaves for the editor: the strict extremes with the gains of their frames, the
// RMS sums and the frame count, and when none of it may change.
#include "ProcessorTestSupport.h"

#include <gtest/gtest.h>

namespace {

FeedValues feedOf(TestEffect& t) { return FeedValues::loadFrom(t.fx.wavePeakFeed); }

// No compressor, limiter at -6 dB, full look-ahead.
void limiterOnly(TestEffect& t) {
  t.neutral();
  t.set(kThrLim, 12.0f);
  t.set(kLookAhead, 999.0f);
}

} // namespace

TEST(FeedExtremes, AreSignedAndStrictAndKeepTheGainsOfTheirOwnFrame) {
  TestEffect t;
  t.set(kLookAhead, 3.0f);
  StereoSignal in = silence(40);
  in.left[0] = 0.8f; // an attack: the compressor gain of this frame is recorded
  in.right[5] = -0.6f;
  in.right[10] = -0.99f; // a deeper reduction, so that...
  in.left[20] = 0.8f;    // ...this equal, later sample has another gain: not recorded
  t.run(in, 40);
  const FeedValues f = feedOf(t);

  TestEffect firstOnly;
  firstOnly.set(kLookAhead, 3.0f);
  firstOnly.run(constantSignal(1, 0.8f, 0.0f), 40);
  const FeedValues first = feedOf(firstOnly);
  EXPECT_EQ(f.max[0].value, 0.8f);
  EXPECT_EQ(f.max[0].compGain, first.max[0].compGain);
  EXPECT_EQ(f.max[0].totalGain, first.max[0].totalGain);

  StereoSignal laterWins = in;
  laterWins.left[0] = 0.79f;
  TestEffect later;
  later.set(kLookAhead, 3.0f);
  later.run(laterWins, 40);
  EXPECT_NE(feedOf(later).max[0].compGain, first.max[0].compGain) << "the two frames' gains differ";

  EXPECT_EQ(f.min[0].value, 0.0f) << "only positive left samples";
  EXPECT_EQ(f.min[0].totalGain, 0.0f);
  EXPECT_EQ(f.min[0].compGain, 0.0f);
  EXPECT_EQ(f.min[1].value, -0.99f);
  EXPECT_EQ(f.max[1].value, 0.0f);
}

TEST(FeedExtremes, RecordTheGainStoredForTheFrameBeforeALaterRampLowersIt) {
  TestEffect t;
  limiterOnly(t);
  const float tl = t.fx.limThreshold;
  StereoSignal in = silence(200);
  in.left[100] = 0.9f;
  in.left[101] = -1.0f; // deeper: its ramp lowers the gain stored for frame 100
  t.run(in, 200);
  const FeedValues f = feedOf(t);
  EXPECT_EQ(f.max[0].totalGain, tl / 0.9f);
  EXPECT_EQ(f.min[0].totalGain, tl / 1.0f);
  EXPECT_EQ(f.max[0].compGain, 1.0f);
  const DynamicsState& st = t.fx.processor.state();
  const auto slotOf100 = static_cast<std::size_t>((st.delayPos + 440 - 1 - 100 + 440) % 440);
  EXPECT_LT(st.delayGain[slotOf100], f.max[0].totalGain) << "the ring holds the ramped gain";
}

TEST(FeedExtremes, TheLimitedValueOfAnExtremeIsAtMostItsCompressedValue) {
  TestEffect t;
  t.fx.setProgram(4);
  const StereoSignal music = musicalSignal(44100);
  for (std::size_t at = 0; at < music.frames(); at += 4410) {
    t.fx.wavePeakFeed.clear();
    StereoSignal part;
    part.left.assign(music.left.begin() + static_cast<long>(at),
                     music.left.begin() + static_cast<long>(at + 4410));
    part.right.assign(music.right.begin() + static_cast<long>(at),
                      music.right.begin() + static_cast<long>(at + 4410));
    t.run(part, 512);
    const FeedValues f = feedOf(t);
    EXPECT_LE(f.max[0].totalGain, f.max[0].compGain);
    EXPECT_LE(f.min[0].totalGain, f.min[0].compGain);
    EXPECT_LE(f.max[1].totalGain, f.max[1].compGain);
    EXPECT_LE(f.min[1].totalGain, f.min[1].compGain);
  }
}

TEST(FeedSums, CountFramesOnceAndSumTheSquaredOutputs) {
  TestEffect t;
  t.fx.setProgram(1);
  const StereoSignal music = musicalSignal(10000);
  const StereoSignal out = t.run(music, 1000);
  EXPECT_EQ(t.fx.rmsCount, 10000);
  double sumL = 0.0;
  double sumR = 0.0;
  for (std::size_t i = 0; i < out.frames(); ++i) {
    sumL += static_cast<double>(out.left[i]) * out.left[i];
    sumR += static_cast<double>(out.right[i]) * out.right[i];
  }
  EXPECT_NEAR(t.fx.rmsSumL, sumL, sumL * 1e-5);
  EXPECT_NEAR(t.fx.rmsSumR, sumR, sumR * 1e-5);
}

TEST(FeedResets, NothingComesBackWithoutAudioOrInBypass) {
  TestEffect t;
  t.fx.setProgram(1);
  t.run(musicalSignal(5000), 500);
  t.fx.wavePeakFeed.clear();
  t.run(silence(0), 1);
  float* none[2] = {nullptr, nullptr};
  t.fx.processReplacing(none, none, 0);
  EXPECT_TRUE(sameFeed(feedOf(t), FeedValues{})) << "an empty block stores what it loaded";

  const float sumL = t.fx.rmsSumL;
  const std::int32_t count = t.fx.rmsCount;
  t.set(kBypass, 1.0f);
  t.run(musicalSignal(5000), 500);
  EXPECT_TRUE(sameFeed(feedOf(t), FeedValues{}));
  EXPECT_EQ(t.fx.rmsSumL, sumL);
  EXPECT_EQ(t.fx.rmsCount, count);
}

TEST(FeedResets, LoadingAProgramClearsTheExtremesButNotTheSums) {
  TestEffect t;
  t.run(musicalSignal(5000), 500);
  const float sumL = t.fx.rmsSumL;
  const std::int32_t count = t.fx.rmsCount;
  ASSERT_NE(feedOf(t).max[0].value, 0.0f);
  t.fx.setProgram(2);
  EXPECT_TRUE(sameFeed(feedOf(t), FeedValues{}));
  EXPECT_EQ(t.fx.rmsSumL, sumL);
  EXPECT_EQ(t.fx.rmsCount, count);
}
