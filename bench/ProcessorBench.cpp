// Frames per second of processReplacing, reported as items/s (frames) and as "xRealTime"
// (seconds of 44.1 kHz audio per second of one core).
#include "BenchSignals.h"

#include "ADelay.h"
#include "ReferenceDynamics.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

constexpr double kBenchRate = 44100.0;

// Walks through the signal in blocks of the given size, wrapping at its end.
class BlockFeeder {
public:
  BlockFeeder(const StereoSignal& in, std::size_t block) : in_(in), block_(block) {
    outL_.resize(block);
    outR_.resize(block);
  }
  template <typename Process> void next(Process&& process) {
    if (at_ + block_ > in_.frames()) {
      at_ = 0;
    }
    float* ins[2] = {const_cast<float*>(in_.left.data() + at_),
                     const_cast<float*>(in_.right.data() + at_)};
    float* outs[2] = {outL_.data(), outR_.data()};
    process(ins, outs, static_cast<VstInt32>(block_));
    benchmark::DoNotOptimize(outL_.data());
    benchmark::DoNotOptimize(outR_.data());
    benchmark::ClobberMemory();
    at_ += block_;
  }

private:
  const StereoSignal& in_;
  std::size_t block_;
  std::size_t at_ = 0;
  std::vector<float> outL_;
  std::vector<float> outR_;
};

void report(benchmark::State& state, std::size_t block) {
  const auto frames = static_cast<double>(state.iterations()) * static_cast<double>(block);
  state.SetItemsProcessed(static_cast<std::int64_t>(frames));
  state.counters["xRealTime"] =
      benchmark::Counter(frames / kBenchRate, benchmark::Counter::kIsRate);
}

void runEffect(benchmark::State& state, const StereoSignal& in, VstInt32 program, std::size_t block,
               float ratioSteps = 0.0f, float lookAhead = 0.0f) {
  ADelay fx(nullptr);
  fx.setSampleRate(static_cast<float>(kBenchRate));
  fx.setProgram(program);
  if (ratioSteps > 0.0f) {
    fx.setParameter(kRatio, ratioSteps);
  }
  if (lookAhead > 0.0f) {
    fx.setParameter(kLookAhead, lookAhead);
  }
  BlockFeeder feeder(in, block);
  for (auto _ : state) {
    feeder.next([&](float** i, float** o, VstInt32 n) { fx.processReplacing(i, o, n); });
  }
  report(state, block);
}

// Args: program (0 "Init", 1 "Mastering 1"), block size.
void BM_ProcessMusic(benchmark::State& state) {
  runEffect(state, demoMusic(), static_cast<VstInt32>(state.range(0)),
            static_cast<std::size_t>(state.range(1)));
}
BENCHMARK(BM_ProcessMusic)
    ->ArgNames({"program", "block"})
    ->ArgsProduct({{0, 1}, {32, 64, 128, 256, 512, 1024, 2048, 4096}});

// "Mastering 1" on the demo clip 10 dB hotter, and on full-scale noise.
void BM_ProcessHotMusic(benchmark::State& state) { runEffect(state, hotMusic(), 1, 512); }
BENCHMARK(BM_ProcessHotMusic);
void BM_ProcessNoise(benchmark::State& state) { runEffect(state, loudNoise(), 1, 512); }
BENCHMARK(BM_ProcessNoise);

// Worst case of the look-ahead ramp: "Init" with Ratio 1:1, so that the limiter alone follows
// the swell, and "Init" as it is; each at 5 ms and 10 ms look-ahead (LookAhead 500 and 999).
void BM_ProcessDeepening(benchmark::State& state) {
  runEffect(state, deepeningSignal(), 0, 512, static_cast<float>(state.range(0)),
            static_cast<float>(state.range(1)));
}
BENCHMARK(BM_ProcessDeepening)
    ->ArgNames({"ratioSteps", "lookAhead"})
    ->ArgsProduct({{2, 6}, {500, 999}});

// Subnormal input against normal quiet input: the two rates must be alike.
void BM_ProcessSubnormal(benchmark::State& state) { runEffect(state, subnormalSignal(), 1, 512); }
BENCHMARK(BM_ProcessSubnormal);
void BM_ProcessQuiet(benchmark::State& state) { runEffect(state, quietSignal(), 1, 512); }
BENCHMARK(BM_ProcessQuiet);

// The plain per-frame rules, for scale.
void BM_ReferenceMusic(benchmark::State& state) {
  ADelay fx(nullptr);
  fx.setProgram(static_cast<VstInt32>(state.range(0)));
  const BlockSettings settings = fx.blockSettings();
  DynamicsState st;
  FeedValues feed;
  BlockFeeder feeder(demoMusic(), 512);
  for (auto _ : state) {
    feeder.next([&](float** i, float** o, VstInt32 n) {
      ReferenceDynamics::process(settings, st, feed, i, o, n);
    });
  }
  report(state, 512);
}
BENCHMARK(BM_ReferenceMusic)->ArgName("program")->Arg(0)->Arg(1);

} // namespace

BENCHMARK_MAIN();
