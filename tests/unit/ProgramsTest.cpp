// The nine factory programs as a host reads them, program switching and program names.
#include "PluginHarness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

struct ShownProgram {
  const char* name;
  std::vector<std::string> displays; // parameters 0..12
  VstInt32 latency;
};

// With Normalize on, the Output shown is the one linked to ThrLim, not the stored one.
// clang-format off
const ShownProgram kShown[9] = {
    {"Init", {"On", "Off", "Off", "Off", "-10.0", "0.00", "250", "3.0 : 1", " 2", "---", "On", "-0.5", "10"}, 439},
    {"Mastering 1", {"On", "On", "On", "Off", "-12.0", "7.00", "250", "3.0 : 1", " 2", "---", "On", "-7.0", "10"}, 439},
    {"Mastering 2", {"On", "On", "On", "Off", "-14.0", "6.00", "250", "2.0 : 1", " 2", "---", "On", "-6.0", "10"}, 439},
    {"Mastering 3", {"On", "On", "On", "Off", "-14.0", "10.00", "250", "4.0 : 1", " 5", "---", "On", "-10.0", "10"}, 439},
    {"Mastering 4", {"On", "On", "On", "Off", "-20.5", "16.50", "250", "6.0 : 1", " 9", "---", "On", "-16.5", "10"}, 439},
    {"Violator", {"On", "On", "Off", "Off", "-30.0", "24.00", " 10", "30.0 : 1", " 4", "---", "Off", "-24.0", " 0"}, 0},
    {"User 1", {"On", "Off", "Off", "Off", "-10.0", "0.00", "600", "10.0 : 1", " 2", "---", "Off", "-0.5", " 0"}, 0},
    {"User 2", {"On", "Off", "Off", "Off", "-10.0", "0.00", "600", "10.0 : 1", " 2", "---", "Off", "-0.5", " 0"}, 0},
    {"User 3", {"On", "Off", "Off", "Off", "-10.0", "0.00", "600", "10.0 : 1", " 2", "---", "Off", "-0.5", " 0"}, 0},
};
// clang-format on

// Records the order and values in which a program is applied.
class OrderProbe : public ADelay {
public:
  using ADelay::ADelay;
  void setParameter(VstInt32 index, float value) override {
    calls.emplace_back(index, value);
    ADelay::setParameter(index, value);
  }
  std::vector<std::pair<VstInt32, float>> calls;
};

} // namespace

TEST(Programs, EveryFactoryProgramAsTheHostReadsIt) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  // Walk them in an order that leaves no trace of the previous program.
  for (VstInt32 p : {0, 5, 1, 6, 2, 8, 3, 7, 4, 0}) {
    plugin.dispatch(effSetProgram, 0, p);
    EXPECT_EQ(plugin.dispatch(effGetProgram), p);
    EXPECT_EQ(plugin.programName(), kShown[p].name);
    for (VstInt32 i = 0; i < 13; ++i) {
      EXPECT_EQ(plugin.display(i), kShown[p].displays[static_cast<std::size_t>(i)])
          << kShown[p].name << " parameter " << i;
    }
    EXPECT_EQ(plugin.record()->initialDelay, kShown[p].latency) << kShown[p].name;
  }
}

TEST(Programs, InitValuesAsNormalizedHostValues) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  const float expected[13] = {1.0f, 0.0f, 0.0f, 0.0f, 20.0f / 72.0f, 0.99999f, 250.0f / 999,
                              0.1f, 0.1f, 1.0f, 1.0f, 1.0f / 48.0f,  0.999f};
  for (VstInt32 i = 0; i < 13; ++i) {
    EXPECT_FLOAT_EQ(plugin.get(i), expected[i]) << i;
  }
}

TEST(Programs, ANewInstanceStartsWithInitAndChangedParameters) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  const ADelay& fx = plugin.effect();
  EXPECT_TRUE(fx.paramsChanged);
  EXPECT_EQ(fx.compThresholdSteps, 20);
  EXPECT_EQ(fx.ratioSteps, 6);
  EXPECT_EQ(fx.releaseSamples, 11025);
  EXPECT_EQ(fx.autoRelease, 1.0f);
  EXPECT_EQ(fx.shownOutputGain, 0.0f); // "Init" switches Normalize off
  EXPECT_FALSE(fx.normalizeHold);
  EXPECT_FALSE(fx.meterClampOnce);
  EXPECT_EQ(fx.displaySettings.normalizeCeilingIndex, 0);
}

TEST(Programs, Mastering1LinksOutputToItsLimiterThreshold) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  plugin.dispatch(effSetProgram, 0, 1);
  const ADelay& fx = plugin.effect();
  EXPECT_NEAR(fx.outputGain, std::pow(10.0, 14.0 / 40.0) * 0.99995, 1e-5);
  EXPECT_EQ(fx.outputSteps, 17000);
  EXPECT_EQ(fx.program(1).outputSteps, 17000); // the stored 16000 (8.00 dB) is replaced
  EXPECT_TRUE(fx.normalizeHold);
  EXPECT_TRUE(fx.meterClampOnce);
  // "Violator" links to ThrLim 48: +24 dB times the ceiling, shown as 24.00.
  plugin.dispatch(effSetProgram, 0, 5);
  EXPECT_EQ(fx.outputSteps, 0);
  EXPECT_EQ(fx.program(5).outputSteps, 0);
}

TEST(Programs, AreAppliedInTheirFixedOrderWithNaturalValues) {
  OrderProbe probe(nullptr);
  probe.calls.clear();
  probe.setProgram(1);
  const std::vector<std::pair<VstInt32, float>> expected = {
      {kSoft, 1.0f},    {kGainMemo, 1.0f}, {kOutput, 16000.0f}, {kNormalize, 1.0f}, {kDither, 1.0f},
      {kBypass, 0.0f},  {kThrComp, 24.0f}, {kRatio, 6.0f},      {kRelease, 250.0f}, {kZoom, 2.0f},
      {kAutoRel, 1.0f}, {kThrLim, 14.0f},  {kLookAhead, 999.0f}};
  EXPECT_EQ(probe.calls, expected);
  EXPECT_EQ(probe.getProgram(), 1);
}

TEST(Programs, SwitchingClearsTheWaveFeedOnly) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  ADelay& fx = plugin.effect();
  WavePeakFeed& feed = fx.wavePeakFeed;
  for (RelaxedAtomic<float>* v :
       {&feed.maxL, &feed.minL, &feed.maxR, &feed.minR, &feed.totalGainAtMinL,
        &feed.totalGainAtMaxL, &feed.totalGainAtMinR, &feed.totalGainAtMaxR, &feed.compGainAtMinL,
        &feed.compGainAtMaxL, &feed.compGainAtMinR, &feed.compGainAtMaxR}) {
    v->store(0.5f);
  }
  fx.rmsSumL = 2.0f;
  fx.displaySettings.normalizeCeilingIndex = 2;
  plugin.dispatch(effSetProgram, 0, 6);
  for (const RelaxedAtomic<float>* v :
       {&feed.maxL, &feed.minL, &feed.maxR, &feed.minR, &feed.totalGainAtMinL,
        &feed.totalGainAtMaxL, &feed.totalGainAtMinR, &feed.totalGainAtMaxR, &feed.compGainAtMinL,
        &feed.compGainAtMaxL, &feed.compGainAtMinR, &feed.compGainAtMaxR}) {
    EXPECT_EQ(v->load(), 0.0f);
  }
  EXPECT_EQ(fx.rmsSumL, 2.0f);
  EXPECT_EQ(fx.displaySettings.normalizeCeilingIndex, 2);
}

TEST(Programs, EachProgramKeepsItsOwnEditedValues) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  plugin.dispatch(effSetProgram, 0, 6);
  plugin.set(kRatio, 40.0f);
  plugin.set(kLookAhead, 500.0f);
  plugin.dispatch(effSetProgram, 0, 7);
  EXPECT_EQ(plugin.display(kRatio), "10.0 : 1");
  plugin.dispatch(effSetProgram, 0, 6);
  EXPECT_EQ(plugin.display(kRatio), "20.0 : 1");
  EXPECT_EQ(plugin.record()->initialDelay, 219);
}

TEST(Programs, NamesAreSetForTheCurrentProgramOnly) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  plugin.dispatch(effSetProgram, 0, 8);
  char name[] = "Loud master";
  EXPECT_EQ(plugin.dispatch(effSetProgramName, 0, 0, name), 0);
  EXPECT_EQ(plugin.programName(), "Loud master");
  plugin.dispatch(effSetProgram, 0, 7);
  EXPECT_EQ(plugin.programName(), "User 2");
  plugin.dispatch(effSetProgram, 0, 8);
  EXPECT_EQ(plugin.programName(), "Loud master");
  EXPECT_EQ(plugin.dispatch(effSetProgramName, 0, 0, nullptr), 0);
  EXPECT_EQ(plugin.programName(), "Loud master");
  char empty[] = "";
  plugin.dispatch(effSetProgramName, 0, 0, empty);
  EXPECT_EQ(plugin.programName(), "");
}

TEST(Programs, NamesKeepAtMostTwentyThreeCharacters) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  std::string exact(23, 'x');
  plugin.dispatch(effSetProgramName, 0, 0, exact.data());
  EXPECT_EQ(plugin.programName(), exact);
  std::string longer = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  plugin.dispatch(effSetProgramName, 0, 0, longer.data());
  EXPECT_EQ(plugin.programName(), longer.substr(0, 23));
  EXPECT_EQ(plugin.effect().program(0).name[23], '\0');
  EXPECT_EQ(longer, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"); // the host's text is only read
}
