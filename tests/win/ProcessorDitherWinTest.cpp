// The DLL's dither sequence belongs to the thread that processes: the Windows build keeps it
// in a thread-local slot of its own, so this runs where that code does.
#include "DitherModel.h"
#include "PluginLibrary.h"
#include "RecordingHost.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

constexpr VstInt32 kDitherIndex = 2;
constexpr VstInt32 kNormalizeIndex = 1;

using ModelLcg = DitherModel;

std::vector<float> processSilence(AEffect* e, VstInt32 frames) {
  std::vector<float> in(static_cast<std::size_t>(frames), 0.0f);
  std::vector<float> out(static_cast<std::size_t>(2 * frames), 1.0f);
  float* ins[2] = {in.data(), in.data()};
  float* outs[2] = {out.data(), out.data() + frames};
  e->processReplacing(e, ins, outs, frames);
  // interleave back into draw order: left, right, left, right...
  std::vector<float> drawn;
  for (VstInt32 i = 0; i < frames; ++i) {
    drawn.push_back(out[static_cast<std::size_t>(i)]);
    drawn.push_back(out[static_cast<std::size_t>(frames + i)]);
  }
  return drawn;
}

AEffect* ditheredInstance(const PluginLibrary& lib) {
  AEffect* e = lib.create(RecordingHost::callback);
  if (e != nullptr) {
    e->setParameter(e, kNormalizeIndex, 0.0f);
    e->setParameter(e, kDitherIndex, 1.0f);
    dispatch(e, effMainsChanged, 0, 1);
  }
  return e;
}

} // namespace

TEST(ProcessorDitherWin, EachThreadDrawsItsOwnSequenceFromTheSeed) {
  PluginLibrary lib;
  ASSERT_TRUE(lib.loaded());
  AEffect* e = ditheredInstance(lib);
  ASSERT_NE(e, nullptr);

  ModelLcg mine;
  for (float y : processSilence(e, 64)) {
    ASSERT_EQ(y, mine.next());
  }
  std::vector<float> other;
  std::thread audio([&] { other = processSilence(e, 64); });
  audio.join();
  ModelLcg fresh;
  for (float y : other) {
    ASSERT_EQ(y, fresh.next()) << "a new thread starts at the seed";
  }
  for (float y : processSilence(e, 16)) {
    ASSERT_EQ(y, mine.next()) << "this thread goes on where it was";
  }
  EXPECT_EQ(dispatch(e, effClose), 1);
}
