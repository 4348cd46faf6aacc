// The final dither: its range on silence and the one sequence each thread draws from.
#include "ProcessorTestSupport.h"

#include "DitherModel.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>

namespace {

constexpr float kLevel = DitherModel::kLevel;
constexpr float kOffset = DitherModel::kOffset;
using ModelLcg = DitherModel;

void expectSequence(const StereoSignal& out, ModelLcg& model, const char* what) {
  for (std::size_t i = 0; i < out.frames(); ++i) {
    ASSERT_EQ(out.left[i], model.next()) << what << ", frame " << i << " left";
    ASSERT_EQ(out.right[i], model.next()) << what << ", frame " << i << " right";
  }
}

TestEffect& dithered(TestEffect& t) {
  t.set(kDither, 1.0f);
  t.set(kNormalize, 0.0f);
  return t;
}

} // namespace

TEST(ProcessorDither, SilenceGivesNoiseWithinTwoLeastSignificantBits) {
  TestEffect t;
  const StereoSignal out = dithered(t).run(silence(20000), 1024);
  std::set<float> levels;
  for (const auto* ch : {&out.left, &out.right}) {
    for (float y : *ch) {
      ASSERT_GE(y, -kOffset);
      ASSERT_LE(y, 511.0f * kLevel - kOffset);
      levels.insert(y);
    }
  }
  EXPECT_GT(levels.size(), 500u) << "nearly all 512 levels appear";
}

TEST(ProcessorDither, ANewInstanceRestartsThisThreadsSequenceAndInstancesShareIt) {
  TestEffect first;
  TestEffect second; // constructing it restarts the sequence once more
  dithered(first);
  dithered(second);
  ModelLcg model;
  expectSequence(first.run(silence(100), 64), model, "first instance");
  expectSequence(second.run(silence(100), 50), model, "second instance goes on");
  expectSequence(first.run(silence(10), 10), model, "and the first again");
}

TEST(ProcessorDither, EveryThreadDrawsItsOwnSequence) {
  TestEffect t;
  dithered(t);
  t.run(silence(300), 100);
  StereoSignal fromOther;
  std::thread audio([&] { fromOther = t.run(silence(100), 100); });
  audio.join();
  ModelLcg fresh;
  expectSequence(fromOther, fresh, "a new thread starts at the seed");
  ModelLcg mine;
  mine.skipFrames(300);
  expectSequence(t.run(silence(20), 20), mine, "this thread goes on undisturbed");
}
