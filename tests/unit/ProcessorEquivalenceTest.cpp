// The optimised processor against the plain rules: same block sequence, same bits.
#include "ProcessorTestSupport.h"

#include "BlockSetup.h"
#include "DitherGenerator.h"
#include "DynamicsProcessor.h"
#include "GainRuns.h"
#include "LookAheadRamp.h"
#include "ReferenceDynamics.h"
#include "VectorStages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

void expectSameState(const DynamicsState& ref, const DynamicsState& opt, std::size_t block) {
  ASSERT_EQ(ref.delayPos, opt.delayPos) << "block " << block;
  ASSERT_TRUE(sameBits(ref.compGain, opt.compGain)) << "block " << block;
  ASSERT_TRUE(sameBits(ref.compStep, opt.compStep)) << "block " << block;
  ASSERT_TRUE(sameBits(ref.compDelta, opt.compDelta)) << "block " << block;
  ASSERT_TRUE(sameBits(ref.limGain, opt.limGain)) << "block " << block;
  ASSERT_TRUE(sameBits(ref.limStep, opt.limStep)) << "block " << block;
  ASSERT_TRUE(sameBits(ref.limDelta, opt.limDelta)) << "block " << block;
  for (std::size_t s = 0; s < ref.delayGain.size(); ++s) {
    ASSERT_TRUE(sameBits(ref.delayGain[s], opt.delayGain[s])) << "block " << block << " slot " << s;
    ASSERT_TRUE(sameBits(ref.delayInL[s], opt.delayInL[s])) << "block " << block << " slot " << s;
    ASSERT_TRUE(sameBits(ref.delayInR[s], opt.delayInR[s])) << "block " << block << " slot " << s;
  }
}

void expectSameFeed(const FeedValues& a, const FeedValues& b, std::size_t block) {
  for (int ch = 0; ch < 2; ++ch) {
    for (auto e : {&FeedValues::max, &FeedValues::min}) {
      const FeedValues::Extreme& x = (a.*e)[ch];
      const FeedValues::Extreme& y = (b.*e)[ch];
      ASSERT_TRUE(sameBits(x.value, y.value)) << "block " << block << " channel " << ch;
      ASSERT_TRUE(sameBits(x.totalGain, y.totalGain)) << "block " << block << " channel " << ch;
      ASSERT_TRUE(sameBits(x.compGain, y.compGain)) << "block " << block << " channel " << ch;
    }
  }
}

// Runs both processors over the same blocks and checks every output sample, the state, the
// feed, the block results and the dither sequence after each block.
class Twins {
public:
  // Reading the state writes out what the processor holds back (GainRuns), so checkState can
  // leave it alone for a block.
  void block(const BlockSettings& s, const StereoSignal& in, std::size_t at, std::int32_t frames,
             bool checkState = true) {
    const auto n = static_cast<std::size_t>(frames);
    std::vector<float> rL(n, 9.0f), rR(n, 9.0f), oL(n, 9.0f), oR(n, 9.0f);
    const float* ins[2] = {in.left.data() + at, in.right.data() + at};
    float* refOut[2] = {rL.data(), rR.data()};
    float* optOut[2] = {oL.data(), oR.data()};

    DitherGenerator::setThreadState(dither_);
    const BlockResult a = ReferenceDynamics::process(s, ref_, refFeed_, ins, refOut, frames);
    const std::uint32_t refDither = DitherGenerator::threadState();
    DitherGenerator::setThreadState(dither_);
    const BlockResult b = opt_.process(s, optFeed_, ins, optOut, frames);
    ASSERT_EQ(refDither, DitherGenerator::threadState()) << "block " << blocks_;
    dither_ = refDither;

    for (std::size_t i = 0; i < n; ++i) {
      ASSERT_TRUE(sameBits(rL[i], oL[i]))
          << "block " << blocks_ << " frame " << i << ": " << rL[i] << " vs " << oL[i];
      ASSERT_TRUE(sameBits(rR[i], oR[i]))
          << "block " << blocks_ << " frame " << i << ": " << rR[i] << " vs " << oR[i];
    }
    ASSERT_EQ(a.processed, b.processed);
    ASSERT_TRUE(sameBits(a.outputGain, b.outputGain)) << "block " << blocks_;
    ASSERT_EQ(a.outputGainLowered, b.outputGainLowered) << "block " << blocks_;
    ASSERT_EQ(a.releaseSamples, b.releaseSamples) << "block " << blocks_;
    ASSERT_EQ(a.releaseComputed, b.releaseComputed) << "block " << blocks_;
    ASSERT_TRUE(sameBits(a.sumL, b.sumL)) << "block " << blocks_;
    ASSERT_TRUE(sameBits(a.sumR, b.sumR)) << "block " << blocks_;
    if (checkState) {
      expectSameState(ref_, opt_.state(), blocks_);
    }
    expectSameFeed(refFeed_, optFeed_, blocks_);
    last_ = a;
    ++blocks_;
  }

  // Feeds the write-backs into the next block's settings as the plug-in does.
  void carry(BlockSettings& s) const {
    if (!last_.processed) {
      return;
    }
    if (last_.outputGainLowered) {
      s.outputGain = last_.outputGain;
    }
    if (last_.releaseComputed) {
      s.releaseSamples = last_.releaseSamples;
    }
    s.normalizeHold = false;
  }

  // What the host's suspend does.
  void suspend() {
    ref_.clearRings();
    opt_.clearRings();
  }

  // What the editor does on a display tick.
  void resetFeed() {
    refFeed_ = FeedValues{};
    optFeed_ = FeedValues{};
  }

  std::size_t blocks() const { return blocks_; }

private:
  DynamicsState ref_;
  DynamicsProcessor opt_;
  FeedValues refFeed_;
  FeedValues optFeed_;
  std::uint32_t dither_ = DitherGenerator::kSeed;
  BlockResult last_;
  std::size_t blocks_ = 0;
};

BlockSettings programSettings(VstInt32 program) {
  TestEffect t;
  t.fx.setProgram(program);
  return t.fx.blockSettings();
}

void runInBlocks(Twins& twins, BlockSettings s, const StereoSignal& in, std::mt19937& rng,
                 const std::vector<std::int32_t>& sizes) {
  std::uniform_int_distribution<std::size_t> pick(0, sizes.size() - 1);
  std::size_t at = 0;
  while (at < in.frames()) {
    const auto frames = static_cast<std::int32_t>(
        std::min<std::size_t>(static_cast<std::size_t>(sizes[pick(rng)]), in.frames() - at));
    twins.carry(s);
    if (pick(rng) % 3 == 0) {
      twins.resetFeed();
    }
    twins.block(s, in, at, frames);
    if (::testing::Test::HasFatalFailure()) {
      return;
    }
    at += static_cast<std::size_t>(frames);
  }
}

// Rises by the factor every frame from the start level, again every period frames; the left
// channel alternates in sign.
StereoSignal swellSignal(int frames, int period, float start, float factor, float right) {
  StereoSignal s;
  for (int i = 0; i < frames; ++i) {
    const float v = start * std::pow(factor, static_cast<float>(i % period));
    s.left.push_back(i % 2 == 0 ? v : -v);
    s.right.push_back(right * v);
  }
  return s;
}

} // namespace

TEST(ProcessorEquivalence, FactoryProgramsOnMusicInBlocksOf32To4096) {
  const StereoSignal music = musicalSignal(44100 * 12);
  for (VstInt32 program = 0; program < kNumPrograms; ++program) {
    SCOPED_TRACE(program);
    Twins twins;
    std::mt19937 rng(static_cast<unsigned>(program) + 11u);
    runInBlocks(twins, programSettings(program), music, rng,
                {32, 64, 128, 256, 441, 512, 1024, 4096});
    ASSERT_FALSE(HasFatalFailure());
  }
}

TEST(ProcessorEquivalence, EverySwitchCombinationOnLoudNoiseWithOddBlocks) {
  const StereoSignal noise = randomSignal(60000, 5);
  for (unsigned mask = 0; mask < 16; ++mask) {
    SCOPED_TRACE(mask);
    BlockSettings s = programSettings(1);
    s.softOn = (mask & 1u) != 0;
    s.autoRelease = (mask & 2u) != 0 ? 1.0f : 0.0f;
    s.ditherOn = (mask & 4u) != 0;
    s.normalizeOn = (mask & 8u) != 0;
    s.outputGain = s.normalizeOn ? kNormalizeFullGain : 1.5f;
    Twins twins;
    std::mt19937 rng(mask + 100u);
    runInBlocks(twins, s, noise, rng, {0, 1, 2, 7, 439, 440, 441, 1000, 3000});
    ASSERT_FALSE(HasFatalFailure());
  }
}

// Parameters change between blocks as automation would: the look-ahead shrinks below the ring
// position, Bypass comes and goes, ratios and releases reach the values no editor sends, the sample
// rate breaks.
TEST(ProcessorEquivalence, ParametersChangingBetweenBlocks) {
  const StereoSignal noise = randomSignal(200000, 9);
  std::mt19937 rng(4242);
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  const float rates[] = {44100.0f, 48000.0f, 192000.0f, 0.0f, NAN, 8.0f, INFINITY};
  Twins twins;
  BlockSettings s = programSettings(4);
  std::size_t at = 0;
  while (at < noise.frames()) {
    s.lookAheadValue = std::floor(unit(rng) * 1000.0f);
    s.ratioSteps = static_cast<std::int32_t>(unit(rng) * 64.0f) - 2;
    s.compThreshold = std::pow(10.0f, -std::floor(unit(rng) * 73.0f) / 40.0f);
    s.limThreshold = std::pow(10.0f, -std::floor(unit(rng) * 49.0f) / 40.0f);
    s.releaseSamples = static_cast<std::int32_t>(unit(rng) * 44100.0f) - 100;
    s.softOn = unit(rng) > 0.5f;
    s.ditherOn = unit(rng) > 0.5f;
    s.normalizeOn = unit(rng) > 0.7f;
    s.normalizeHold = unit(rng) > 0.9f;
    s.autoRelease = unit(rng) > 0.5f ? 1.0f : 0.3f;
    s.sampleRate = rates[static_cast<std::size_t>(unit(rng) * 6.99f)];
    s.bypassOn = unit(rng) > 0.8f;
    const auto frames = static_cast<std::int32_t>(
        std::min<std::size_t>(static_cast<std::size_t>(unit(rng) * 900.0f), noise.frames() - at));
    twins.carry(s);
    if (unit(rng) > 0.6f) {
      twins.resetFeed();
    }
    twins.block(s, noise, at, frames);
    ASSERT_FALSE(HasFatalFailure());
    at += static_cast<std::size_t>(frames);
  }
  EXPECT_GT(twins.blocks(), 300u);
}

// Every frame deeper than the last: the look-ahead ramp walks the whole ring each time.
TEST(ProcessorEquivalence, ReductionDeepeningEveryFrame) {
  const StereoSignal rising = swellSignal(20000, 10000, 0.2f, 1.0002f, 0.5f);
  for (VstInt32 program : {0, 1, 5}) {
    SCOPED_TRACE(program);
    Twins twins;
    std::mt19937 rng(7);
    runInBlocks(twins, programSettings(program), rising, rng, {64, 512, 4096});
    ASSERT_FALSE(HasFatalFailure());
  }
}

// The same with the passes kept to SSE2 on a processor that has wider vectors.
TEST(ProcessorEquivalence, NarrowVectorsGiveTheSameBits) {
  struct Restore {
    ~Restore() { allowWideVectors(true); }
  } restore;
  allowWideVectors(false);
  const StereoSignal music = musicalSignal(44100 * 4);
  for (VstInt32 program : {1, 3}) {
    SCOPED_TRACE(program);
    Twins twins;
    std::mt19937 rng(static_cast<unsigned>(program));
    runInBlocks(twins, programSettings(program), music, rng, {31, 64, 500, 4096});
    ASSERT_FALSE(HasFatalFailure());
  }
}

// The ramps against the rules' chain of additions, for every ring length, on rings that stop
// them early or let them run, and on steps that tie half-way between two floats of a binade the
// ramp passes: one frame's ramp written to the slots, in every sweep the build has, and two
// frames' kept as runs, the second over what the first left.
TEST(ProcessorEquivalence, RampMatchesTheChainOfAdditions) {
  struct Restore {
    ~Restore() { allowWideVectors(true); }
  } restore;
  std::vector<RampSweep> sweeps = {sweepFrameByFrame};
  for (bool wide : {false, true}) {
    if (allowWideVectors(wide) == wide && vectorStages() != nullptr) {
      sweeps.push_back(vectorStages()->rampSweep);
    }
  }
  std::mt19937 rng(99);
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  int ties = 0;
  int crossings = 0;
  // One frame of the rules on a plain ring: store, ramp, and the gain read.
  auto rulesFrame = [&](std::vector<float>& ring, std::int32_t w, float gw) {
    const auto n = static_cast<std::int32_t>(ring.size());
    const auto slot = [&](std::int32_t j) { return static_cast<std::size_t>((w - j + n) % n); };
    ring[slot(0)] = gw;
    const float step = (1.0f - gw) / static_cast<float>(n - 1);
    float g = gw + step;
    for (std::int32_t j = 1; j < n && ring[slot(1)] > gw; ++j) {
      if (!(ring[slot(j)] > g)) {
        break;
      }
      ring[slot(j)] = g;
      const float next = g + step;
      const float ulp = std::nextafter(g, 2.0f) - g;
      ties += std::fmod(step, ulp) == 0.5f * ulp ? 1 : 0;
      crossings += bitsOf(next) >> 23 != bitsOf(g) >> 23 ? 1 : 0;
      g = next;
    }
    return ring[slot(n - 1)];
  };
  for (std::int32_t n = 2; n <= kLookAheadSlots; ++n) {
    for (int trial = 0; trial < 24; ++trial) {
      // Dyadic gains make steps with few bits, whose remainders are often exact halves.
      const float gw = trial % 2 == 0 ? unit(rng) : std::floor(unit(rng) * 4096.0f) / 4096.0f;
      const float gw2 = std::fmin(1.0f, gw * (0.9f + 0.2f * unit(rng)));
      std::vector<float> ring(static_cast<std::size_t>(n));
      for (float& g : ring) {
        g = trial % 3 == 0 ? 1.0f : gw + (1.0f - gw) * unit(rng) * (trial % 3 == 1 ? 1.0f : 0.1f);
      }
      const auto w = static_cast<std::int32_t>(unit(rng) * static_cast<float>(n - 1));
      std::vector<float> expected = ring;
      const float read1 = rulesFrame(expected, w, gw);
      for (RampSweep sweep : sweeps) {
        // In runs always, and as the processor chooses (runs, or one addition at a time).
        for (const bool always : {true, false}) {
          std::vector<float> got = ring;
          got[static_cast<std::size_t>(w)] = gw;
          if (always) {
            rampInRuns(got.data(), w, n, gw, sweep);
          } else {
            rampDown(got.data(), w, n, gw, sweep);
          }
          for (std::size_t i = 0; i < got.size(); ++i) {
            ASSERT_TRUE(sameBits(expected[i], got[i]))
                << "n " << n << " w " << w << " gw " << gw << " slot " << i;
          }
        }
      }
      const float read2 = rulesFrame(expected, (w + 1) % n, gw2);
      std::vector<float> got = ring;
      GainRuns runs;
      runs.attach(got.data(), n, w);
      const float gains[2] = {gw, gw2};
      float reads[2];
      runs.frames([&](int k) { return gains[k]; }, 2,
                  got[static_cast<std::size_t>((w + n - 1) % n)], reads);
      ASSERT_TRUE(sameBits(read1, reads[0]));
      ASSERT_TRUE(sameBits(read2, reads[1]));
      runs.settle();
      for (std::size_t i = 0; i < got.size(); ++i) {
        ASSERT_TRUE(sameBits(expected[i], got[i]))
            << "n " << n << " w " << w << " gw " << gw << " slot " << i;
      }
    }
  }
  EXPECT_GT(ties, 1000);
  EXPECT_GT(crossings, 1000);
}

// A swell that deepens the reduction every frame, at every look-ahead, in blocks that split
// the ramps anywhere.
TEST(ProcessorEquivalence, DeepeningSwellAtEveryLookAhead) {
  const StereoSignal swell = swellSignal(1500, 500, 0.5f, 1.003f, 0.25f);
  for (std::int32_t n = 1; n <= kLookAheadSlots; ++n) {
    SCOPED_TRACE(n);
    BlockSettings s = programSettings(n % 2 == 0 ? 0 : 5);
    s.lookAheadValue = static_cast<float>(n) * kLookAheadDivisor + 0.01f;
    ASSERT_EQ(lookAheadSlots(s.lookAheadValue), n);
    Twins twins;
    std::mt19937 rng(static_cast<unsigned>(n));
    runInBlocks(twins, s, swell, rng, {1, 37, 128, 500});
    ASSERT_FALSE(HasFatalFailure());
  }
  // And a gentler swell, whose ramps reach far and are held back (GainRuns), then silence in
  // which they come out, while the look-ahead changes, longer or shorter, or Bypass is on for
  // longer than the ring, or a suspend comes.
  StereoSignal gentle = swellSignal(1000, 1000, 0.9f, 1.0005f, 0.5f);
  std::fill(gentle.left.begin() + 250, gentle.left.end(), 0.0f);
  std::fill(gentle.right.begin() + 250, gentle.right.end(), 0.0f);
  for (const std::int32_t event : {0, 1, 2, 3}) {
    SCOPED_TRACE(event);
    BlockSettings s = programSettings(0);
    s.ratioSteps = 2;
    s.lookAheadValue = 342 * kLookAheadDivisor + 0.01f;
    Twins twins;
    for (std::size_t at = 0; at < gentle.frames(); at += 100) {
      if (at == 300 && event < 2) {
        s.lookAheadValue = (event == 0 ? 420 : 235) * kLookAheadDivisor + 0.01f;
      }
      s.bypassOn = event == 2 && at >= 300 && at < 700;
      if (at == 300 && event == 3) {
        twins.suspend();
      }
      twins.carry(s);
      twins.block(s, gentle, at, 100, at == 0 || at == 900);
      ASSERT_FALSE(HasFatalFailure());
    }
  }
}
