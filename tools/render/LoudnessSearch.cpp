#include "LoudnessSearch.h"

#include "LevelAnalysis.h"
#include "RenderError.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>

namespace {

// The trim aims this far under the ceiling, so that rounding to the output format cannot
// carry the true peak over it.
constexpr double kCeilingMargin = 0.01;
// A render whose true peak leaves less than this to spare under the ceiling (at the target)
// is taken: the gain it got is at most a few tenths of a dB more than the least that works.
constexpr double kAcceptedSpare = 0.3;
constexpr double kAimedSpare = 0.1;
// Until two tries show it, how much closer the true peak comes to the loudness per dB of
// input gain: a limiter turns most of the gain into loudness.
constexpr double kAssumedSlope = 0.8;
constexpr double kNarrowestBracket = 0.05;
constexpr double kLoudnessAim = 0.02;
constexpr int kDeliveries = 4;

std::string db(double value, int precision = 1) {
  if (!std::isfinite(value)) {
    return value > 0 ? "+inf" : "-inf";
  }
  char buffer[32];
  const auto r =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
  return (value > 0 ? "+" : "") + std::string(buffer, r.ptr);
}

} // namespace

struct LoudnessSearch::Try {
  double gainDb = 0.0;
  double loudness = -HUGE_VAL; // of the plug-in's output, before the trim
  double peak = -HUGE_VAL;
  double trim = 0.0;      // the best trim for this render
  double excess = 0.0;    // dB by which the goal is missed at that trim; <= 0 when met
  double reachable = 0.0; // the loudness that trim gives

  bool met() const { return excess <= 0.0; }
  // Met beats missed; of two met, less gain; of two missed, closer to the target.
  bool betterThan(const Try& other) const {
    if (met() != other.met()) {
      return met();
    }
    return met() ? gainDb < other.gainDb : reachable > other.reachable;
  }
};

LoudnessSearch::LoudnessSearch(int channels, int sampleRate, const LoudnessGoal& goal)
    : channels_(channels), sampleRate_(sampleRate), goal_(goal) {}

LoudnessSearch::Try LoudnessSearch::measure(double gainDb,
                                            const std::vector<float>& processed) const {
  const auto frames = processed.size() / static_cast<std::size_t>(channels_);
  const LoudnessAndPeak m =
      measureLoudnessAndPeak(processed.data(), frames, channels_, sampleRate_);
  Try t;
  t.gainDb = gainDb;
  t.loudness = m.loudnessLufs;
  t.peak = m.truePeakDb;
  const double ceiling = goal_.ceilingDbtp - kCeilingMargin;
  const double headroom = std::isfinite(t.peak) ? ceiling - t.peak : 0.0;
  if (!goal_.targetLufs) {
    t.trim = std::min(0.0, headroom);
    t.excess = -HUGE_VAL;
    t.reachable = t.loudness + t.trim;
    return t;
  }
  const double target = *goal_.targetLufs;
  if (!std::isfinite(t.loudness)) {
    t.excess = HUGE_VAL;
    t.reachable = -HUGE_VAL;
    return t;
  }
  const double crest = t.peak - t.loudness;
  t.excess = std::max(crest - (ceiling - target), target - t.loudness);
  t.trim = std::min({0.0, target - t.loudness, headroom});
  t.reachable = t.loudness + t.trim;
  return t;
}

LoudnessOutcome LoudnessSearch::run(const Process& process, const Deliver& deliver,
                                    std::vector<float>& delivered) const {
  std::vector<float> current, kept;
  Try best;
  std::optional<Try> below, above, previous; // missed with the most gain, met with the least
  double gain = 0.0;
  int tries = 0;
  while (tries < kMaxTries) {
    process(gain, current);
    const Try t = measure(gain, current);
    ++tries;
    if (tries == 1 || t.betterThan(best)) {
      best = t;
      std::swap(current, kept);
    }
    if (!goal_.targetLufs) {
      break;
    }
    if (t.met()) {
      above = t;
      if (gain == 0.0 || t.excess >= -kAcceptedSpare) {
        break;
      }
    } else {
      below = t;
      if (gain >= kMaxInputGainDb || !std::isfinite(t.excess)) {
        break;
      }
    }
    double next = 0.0;
    if (below && above) {
      const double width = above->gainDb - below->gainDb;
      if (width < kNarrowestBracket) {
        break;
      }
      next =
          below->gainDb + (-kAimedSpare - below->excess) * width / (above->excess - below->excess);
      next = std::clamp(next, below->gainDb + 0.1 * width, above->gainDb - 0.1 * width);
    } else if (previous && !previous->met() && previous->gainDb != t.gainDb) {
      const double slope = (t.excess - previous->excess) / (t.gainDb - previous->gainDb);
      next = slope < -0.05 ? t.gainDb + (-kAimedSpare - t.excess) / slope : kMaxInputGainDb;
      next = std::max(next, t.gainDb + 0.5);
    } else {
      next = t.gainDb + (t.excess + kAimedSpare) / kAssumedSlope;
    }
    previous = t;
    gain = std::clamp(next, 0.0, kMaxInputGainDb);
  }

  LoudnessOutcome outcome;
  outcome.tries = tries;
  outcome.inputGainDb = best.gainDb;
  if (!best.met()) {
    if (!goal_.bestEffort) {
      throw RenderError(whyUnreachable(best) + " (--best-effort renders the closest result)");
    }
    outcome.reached = false;
  }

  // Measured again as delivered: format conversion and the loudness gate's edge move the
  // figures by hundredths at most, and the trim follows them.
  const double target = goal_.targetLufs.value_or(0.0);
  double trim = best.trim;
  for (int round = 0; round < kDeliveries; ++round) {
    deliver(kept, trim, delivered);
    const auto frames = delivered.size() / static_cast<std::size_t>(channels_);
    const LoudnessAndPeak m =
        measureLoudnessAndPeak(delivered.data(), frames, channels_, sampleRate_);
    outcome.outputTrimDb = trim;
    outcome.loudnessLufs = m.loudnessLufs;
    outcome.truePeakDb = m.truePeakDb;
    double change = 0.0;
    if (m.truePeakDb > goal_.ceilingDbtp) {
      change = goal_.ceilingDbtp - kCeilingMargin - m.truePeakDb;
    } else if (goal_.targetLufs && outcome.reached && std::isfinite(m.loudnessLufs) &&
               std::abs(m.loudnessLufs - target) > kLoudnessAim) {
      change = std::min(
          {target - m.loudnessLufs, -trim, goal_.ceilingDbtp - kCeilingMargin - m.truePeakDb});
    }
    if (std::abs(change) < 1e-4) {
      break;
    }
    trim += change;
  }
  if (!outcome.reached) {
    outcome.shortfall = whyUnreachable(best) + "; closest: " + db(outcome.loudnessLufs) +
                        " LUFS, " + db(outcome.loudnessLufs - target) + " LU from the target";
  }
  return outcome;
}

std::string LoudnessSearch::whyUnreachable(const Try& best) const {
  const double target = goal_.targetLufs.value_or(0.0);
  const std::string goal = db(target) + " LUFS under " + db(goal_.ceilingDbtp) + " dBTP";
  if (!std::isfinite(best.loudness)) {
    return "cannot reach " + goal + ": the output is silent (nothing above the loudness gate)";
  }
  const double ceiling = goal_.ceilingDbtp - kCeilingMargin;
  const double crest = best.peak - best.loudness;
  if (target - best.loudness >= crest - (ceiling - target)) {
    return "cannot reach " + goal + ": it needs more than " + db(kMaxInputGainDb, 0) +
           " dB of input gain (at " + db(best.gainDb) + " dB the output is at " +
           db(best.loudness) + " LUFS)";
  }
  return "cannot reach " + goal + ": at " + db(best.gainDb) +
         " dB of input gain the output's true peak is still " + db(crest) +
         " dB above its loudness, and the ceiling allows " + db(ceiling - target) +
         " dB; settings that limit harder, a lower target or a higher ceiling get there";
}
