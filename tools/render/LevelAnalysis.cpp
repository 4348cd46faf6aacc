#include "LevelAnalysis.h"

#include "RenderError.h"
#include "TruePeakMeter.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>
#include <future>
#include <limits>
#include <memory>
#include <string>

namespace {

constexpr unsigned long kHopMilliseconds = 100;

struct StateDeleter {
  void operator()(ebur128_state* s) const { ebur128_destroy(&s); }
};
using State = std::unique_ptr<ebur128_state, StateDeleter>;

State openState(int channels, int sampleRate, int mode) {
  State state(
      ebur128_init(static_cast<unsigned>(channels), static_cast<unsigned long>(sampleRate), mode));
  if (!state) {
    throw RenderError("cannot measure loudness at " + std::to_string(sampleRate) + " Hz");
  }
  if (channels == 1) {
    // A mono file plays on both speakers: counted twice, as the standard asks.
    ebur128_set_channel(state.get(), 0, EBUR128_DUAL_MONO);
  }
  return state;
}

void addFrames(ebur128_state* state, const float* frames, std::size_t count) {
  if (count > 0 && ebur128_add_frames_float(state, frames, count) != EBUR128_SUCCESS) {
    throw RenderError("loudness measurement failed");
  }
}

double integrated(ebur128_state* state) {
  double loudness = -HUGE_VAL;
  ebur128_loudness_global(state, &loudness);
  return loudness;
}

double truePeak(const float* frames, std::size_t count, int channels) {
  TruePeakMeter meter(channels);
  meter.add(frames, count);
  return toDb(meter.peak());
}

} // namespace

double toDb(double linear) {
  return linear > 0.0 ? 20.0 * std::log10(linear) : -std::numeric_limits<double>::infinity();
}

LoudnessAndPeak measureLoudnessAndPeak(const float* frames, std::size_t count, int channels,
                                       int sampleRate) {
  // The true peak on a thread of its own: the two take about as long, and a single file
  // leaves a core idle.
  auto peak = std::async(std::launch::async, truePeak, frames, count, channels);
  State state = openState(channels, sampleRate, EBUR128_MODE_I);
  addFrames(state.get(), frames, count);
  const double loudness = integrated(state.get());
  return {loudness, peak.get()};
}

LevelAnalysis analyseLevels(const float* frames, std::size_t count, int channels, int sampleRate) {
  auto truePeakDb = std::async(std::launch::async, truePeak, frames, count, channels);
  State state = openState(channels, sampleRate, EBUR128_MODE_I | EBUR128_MODE_LRA);
  const auto ch = static_cast<std::size_t>(channels);
  const auto hop =
      static_cast<std::size_t>(std::lround(sampleRate * LevelAnalysis::kShortTermSeconds));
  const auto window =
      static_cast<std::size_t>(std::lround(sampleRate * LevelAnalysis::kEnvelopeSeconds));

  LevelAnalysis a;
  a.maxShortTermLufs = -HUGE_VAL;
  // Short-term loudness is the mean power of the last 30 hops; asking libebur128 for each
  // hop's loudness alone and summing here saves it adding up 3 s of samples every 100 ms.
  constexpr std::size_t kHopsPerShortTerm = 30;
  std::vector<double> power(kHopsPerShortTerm, 0.0);
  double sum = 0.0;
  for (std::size_t start = 0, hopIndex = 0; start < count; start += hop, ++hopIndex) {
    const std::size_t n = std::min(hop, count - start);
    addFrames(state.get(), frames + start * ch, n);
    double hopLoudness = -HUGE_VAL;
    ebur128_loudness_window(state.get(), kHopMilliseconds, &hopLoudness);
    double& slot = power[hopIndex % kHopsPerShortTerm];
    sum -= slot;
    slot = std::isfinite(hopLoudness) ? std::pow(10.0, (hopLoudness + 0.691) / 10.0) : 0.0;
    sum += slot;
    const double mean = std::max(0.0, sum) / kHopsPerShortTerm;
    const double st = mean > 0.0 ? -0.691 + 10.0 * std::log10(mean) : -HUGE_VAL;
    a.shortTerm.push_back(static_cast<float>(st));
    a.maxShortTermLufs = std::max(a.maxShortTermLufs, st);
  }
  float peak = 0.0f;
  for (std::size_t start = 0; start < count; start += window) {
    const std::size_t end = std::min(count, start + window) * ch;
    float p = 0.0f;
    for (std::size_t i = start * ch; i < end; ++i) {
      p = std::max(p, std::abs(frames[i]));
    }
    a.envelope.push_back(p);
    peak = std::max(peak, p);
  }
  a.samplePeakDb = toDb(peak);
  a.truePeakDb = truePeakDb.get();
  a.loudnessLufs = integrated(state.get());
  double range = 0.0;
  if (ebur128_loudness_range(state.get(), &range) == EBUR128_SUCCESS) {
    a.loudnessRangeLu = range;
  }
  return a;
}

std::vector<float> gainOverTime(const LevelAnalysis& input, const LevelAnalysis& output) {
  constexpr std::size_t kPerWindow = 5;
  constexpr float kGateDb = 40.0f;
  const std::size_t n = std::min(input.envelope.size(), output.envelope.size());
  const float gate = static_cast<float>(input.samplePeakDb) - kGateDb;
  std::vector<float> gain;
  for (std::size_t start = 0; start < n; start += kPerWindow) {
    float in = 0.0f, out = 0.0f;
    for (std::size_t i = start; i < std::min(n, start + kPerWindow); ++i) {
      in = std::max(in, input.envelope[i]);
      out = std::max(out, output.envelope[i]);
    }
    const auto inDb = static_cast<float>(toDb(in));
    gain.push_back(inDb >= gate && out > 0.0f ? static_cast<float>(toDb(out)) - inDb
                                              : std::numeric_limits<float>::quiet_NaN());
  }
  return gain;
}

double largestGainReduction(const std::vector<float>& gain) {
  float low = HUGE_VALF, high = -HUGE_VALF;
  for (const float g : gain) {
    if (!std::isnan(g)) {
      low = std::min(low, g);
      high = std::max(high, g);
    }
  }
  return high >= low ? static_cast<double>(high - low) : 0.0;
}
