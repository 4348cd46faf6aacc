// What the editor's drags, clicks and entries change in the effect, and what the host hears:
// one audioMasterAutomate per change, with the parameter's index and its normalized value.
#include "EditorChanges.h"
#include "PluginHarness.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Report {
  VstInt32 index;
  float value;
  bool operator==(const Report& other) const {
    return index == other.index && value == other.value;
  }
};

std::ostream& operator<<(std::ostream& os, const Report& r) {
  return os << '(' << r.index << ", " << r.value << ')';
}

// The automation reports since the last call.
std::vector<Report> reports() {
  RecordingHost& host = RecordingHost::instance();
  std::vector<Report> seen;
  for (const HostRequest& r : host.requests(audioMasterAutomate)) {
    seen.push_back({r.index, r.opt});
  }
  host.clear();
  return seen;
}

class EditorChanges : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(plugin);
    RecordingHost::instance().clear();
  }
  ADelay& fx() { return plugin.effect(); }
  // As a host sets it: no report.
  void hostSets(VstInt32 index, float natural) {
    plugin.set(index, natural);
    RecordingHost::instance().clear();
  }

  Plugin plugin;
};

TEST_F(EditorChanges, TheCompressorThresholdPullsTheLimiterThresholdUpToIt) {
  hostSets(kThrLim, 48.0f);
  passTrackValue(fx(), Track::CompThreshold, 40.0f);
  EXPECT_EQ(reports(), (std::vector<Report>{{kThrComp, 40.0f / 72}, {kThrLim, 40.0f / 48}}));
  EXPECT_EQ(fx().limThresholdSteps, 40);

  hostSets(kThrLim, 30.0f);
  passTrackValue(fx(), Track::CompThreshold, 30.9f);
  EXPECT_EQ(reports(), (std::vector<Report>{{kThrComp, 30.0f / 72}}))
      << "equal thresholds are no reason to move the limiter";
  passTrackValue(fx(), Track::CompThreshold, 12.0f);
  EXPECT_EQ(reports(), (std::vector<Report>{{kThrComp, 12.0f / 72}, {kThrLim, 12.0f / 48}}));
}

TEST_F(EditorChanges, TheLimiterThresholdPushesTheCompressorThresholdDownWithIt) {
  hostSets(kThrComp, 20.0f);
  passTrackValue(fx(), Track::LimThreshold, 44.0f);
  EXPECT_EQ(reports(), (std::vector<Report>{{kThrLim, 44.0f / 48}, {kThrComp, 44.0f / 72}}));
  EXPECT_EQ(fx().compThresholdSteps, 44);

  passTrackValue(fx(), Track::LimThreshold, 10.5f);
  EXPECT_EQ(reports(), (std::vector<Report>{{kThrLim, 10.0f / 48}}));
  EXPECT_EQ(fx().compThresholdSteps, 44);
}

TEST_F(EditorChanges, EachTrackSetsItsParameterInWholeStepsButLookAhead) {
  struct Case {
    Track track;
    float value;
    VstInt32 index;
    float reported;
  };
  const Case cases[] = {
      {Track::Ratio, 6.6f, kRatio, 6.0f / 60},
      {Track::Release, 250.7f, kRelease, 250.0f / 999},
      {Track::Zoom, 5.9f, kZoom, 5.0f / 20},
      {Track::Output, 23990.5f, kOutput, 23990.0f / 24000},
      {Track::LookAhead, 979.5f, kLookAhead, 979.5f / 1000},
  };
  for (const Case& c : cases) {
    passTrackValue(fx(), c.track, c.value);
    EXPECT_EQ(reports(), (std::vector<Report>{{c.index, c.reported}})) << static_cast<int>(c.track);
    EXPECT_FLOAT_EQ(plugin.get(c.index), c.reported);
  }
  EXPECT_EQ(fx().lookAheadValue, 979.5f);
  passTrackValue(fx(), Track::None, 3.0f);
  EXPECT_TRUE(reports().empty());
}

TEST_F(EditorChanges, ACommittedReleaseSetsTheReleaseLength) {
  plugin.dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
  passEntryValue(fx(), Track::Release, 100.4f);
  EXPECT_EQ(reports(), (std::vector<Report>{{kRelease, 100.0f / 999}}));
  EXPECT_EQ(fx().releaseMs, 100);
  EXPECT_EQ(fx().releaseSamples, 4800);
  passEntryValue(fx(), Track::Ratio, 6.6f);
  EXPECT_EQ(reports(), (std::vector<Report>{{kRatio, 6.0f / 60}}));
}

TEST_F(EditorChanges, AutoNormalizeOnKeepsTheFullGainInParameterNine) {
  toggleSwitch(fx(), EditorSwitch::Normalize, 0);
  EXPECT_EQ(reports(), (std::vector<Report>{{kNormalize, 1.0f}, {kGainMemo, 15.84931f}}));
  EXPECT_EQ(fx().gainMemo, 15.84931f);
}

TEST_F(EditorChanges, AutoReleaseTogglesOnlyFromExactlyZeroAndRestoresTheManualRelease) {
  hostSets(kRelease, 600.0f);
  hostSets(kAutoRel, 1.0f);
  EXPECT_TRUE(toggleSwitch(fx(), EditorSwitch::AutoRelease, 1));
  EXPECT_EQ(reports(), (std::vector<Report>{{kAutoRel, 0.0f}, {kRelease, 600.0f / 999}}));
  EXPECT_EQ(fx().autoRelease, 0.0f);

  EXPECT_TRUE(toggleSwitch(fx(), EditorSwitch::AutoRelease, 0));
  EXPECT_EQ(reports(), (std::vector<Report>{{kAutoRel, 1.0f}, {kRelease, 600.0f / 999}}));
  EXPECT_EQ(fx().autoRelease, 1.0f);

  // A host value that is neither 0 nor 1 reads as off but is no 0: the click turns it off.
  hostSets(kAutoRel, 0.3f);
  toggleSwitch(fx(), EditorSwitch::AutoRelease, 0);
  EXPECT_EQ(reports(), (std::vector<Report>{{kAutoRel, 0.0f}, {kRelease, 600.0f / 999}}));
  EXPECT_EQ(fx().releaseSamples, static_cast<std::int32_t>(fx().getSampleRate() / 1000 * 600));
}

} // namespace
