// The plug-in entered from two threads as hosts do: an audio thread processes blocks while
// another thread changes parameters and programs and reads and resets the display feed and the
// RMS sums as the editor's display tick does. Also run under ThreadSanitizer (linux-tsan).
#include "ADelay.h"
#include "DisplayFollow.h"
#include "DisplaySettingsCommands.h"
#include "PluginHarness.h"
#include "ResourceIds.h"
#include "RmsReadout.h"
#include "TestSignals.h"
#include "WavePeakAnalysis.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

namespace {

bool gainInRange(float g) { return g >= 0.0f && g <= 1.0f; }

// The editor's side of one display tick, with the same loads, stores and exchanges.
void displayTick(ADelay& fx, std::int32_t& lastCount) {
  const TickPeaks peaks = analysePeaks(fx.wavePeakFeed);
  (void)peaks;
  fx.wavePeakFeed.clear();
  fx.meterClampOnce.exchange(false);
  char text[kRmsTextCapacity];
  lastCount = fx.rmsCount.exchange(0);
  formatRmsReadout(fx.rmsSumL.exchange(0.0f), fx.rmsSumR.exchange(0.0f), lastCount, RmsFloor::Tick,
                   text, sizeof text);
  if (fx.normalizeOn) {
    fx.outputSteps = outputStepsOfGain(fx.outputGain);
  }
}

} // namespace

TEST(ThreadedUse, ProcessingWhileTheEditorAndHostChangeEverything) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  ADelay& fx = plugin.effect();
  const StereoSignal music = musicalSignal(44100);
  std::atomic<bool> stop{false};
  std::atomic<long> blocks{0};
  std::atomic<bool> finite{true};

  std::thread audio([&] {
    std::vector<float> outL(4096), outR(4096);
    std::size_t at = 0;
    while (!stop.load()) {
      const auto n = static_cast<VstInt32>(64 + (blocks.load() * 97) % 1500);
      if (at + static_cast<std::size_t>(n) > music.frames()) {
        at = 0;
      }
      float* ins[2] = {const_cast<float*>(music.left.data() + at),
                       const_cast<float*>(music.right.data() + at)};
      float* outs[2] = {outL.data(), outR.data()};
      plugin.record()->processReplacing(plugin.record(), ins, outs, n);
      for (VstInt32 i = 0; i < n; ++i) {
        if (!std::isfinite(outL[static_cast<std::size_t>(i)]) ||
            !std::isfinite(outR[static_cast<std::size_t>(i)])) {
          finite.store(false);
        }
      }
      at += static_cast<std::size_t>(n);
      blocks.fetch_add(1);
    }
  });

  // The other thread goes on until both have done plenty, whatever the scheduling.
  const int ceilingIds[] = {IDM_CEILING_0, IDM_CEILING_001, IDM_CEILING_005, IDM_CEILING_009};
  std::int32_t lastCount = 0;
  for (long round = 0; round < 3000 || blocks.load() < 3000; ++round) {
    const auto index = static_cast<VstInt32>(round % 13);
    plugin.set(index, static_cast<float>((round * 37) % 101) / 100.0f);
    plugin.display(index);
    if (round % 50 == 0) {
      plugin.dispatch(effSetProgram, 0, round / 50 % 9);
    }
    if (round % 7 == 0) {
      applyMenuCommand(fx.displaySettings, *findMenuCommand(ceilingIds[round % 4]));
    }
    displayTick(fx, lastCount);
  }
  stop.store(true);
  audio.join();

  EXPECT_TRUE(finite.load());
  EXPECT_GE(lastCount, 0);
  const WavePeakFeed& f = fx.wavePeakFeed;
  for (float g :
       {f.totalGainAtMinL.load(), f.totalGainAtMaxR.load(), f.compGainAtMinR.load(),
        f.compGainAtMaxL.load(), fx.processor.state().compGain, fx.processor.state().limGain}) {
    EXPECT_TRUE(gainInRange(g)) << g;
  }
}
