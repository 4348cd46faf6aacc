// The automation report that follows each change the editor makes, and the host services.
#include "PluginHarness.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct EditorChange {
  VstInt32 index;
  float natural;
  float reported;
};

// Natural values across the editor's ranges and what the host is told for each.
// clang-format off
const EditorChange kChanges[] = {
    {kSoft, 1.0f, 1.0f},          {kSoft, 0.0f, 0.0f},          {kNormalize, 1.0f, 1.0f},
    {kDither, 1.0f, 1.0f},        {kBypass, 0.0f, 0.0f},        {kThrComp, 1.0f, 1.0f / 72},
    {kThrComp, 36.0f, 0.5f},      {kThrComp, 72.0f, 0.99999f},  {kOutput, 0.0f, 0.0f},
    {kOutput, 12000.0f, 0.5f},    {kOutput, 24000.0f, 0.99999f}, {kRelease, 10.0f, 10.0f / 999},
    {kRelease, 999.0f, 0.99999f}, {kRatio, 2.0f, 2.0f / 60},    {kRatio, 60.0f, 0.99999f},
    {kZoom, 1.0f, 0.05f},         {kZoom, 20.0f, 0.99999f},     {kZoom, 32.0f, 0.99999f},
    {kGainMemo, 3.5f, 3.5f},      {kAutoRel, 1.0f, 1.0f},       {kAutoRel, 0.0f, 0.0f},
    {kThrLim, 0.0f, 0.0f},        {kThrLim, 48.0f, 0.99999f},   {kLookAhead, 3.0f, 0.003f},
    {kLookAhead, 999.0f, 0.999f}, {kLookAhead, 1000.0f, 0.99999f},
};
// clang-format on

bool isStepParameter(VstInt32 index) {
  return index == kThrComp || index == kOutput || index == kRelease || index == kRatio ||
         index == kZoom || index == kThrLim || index == kLookAhead;
}

} // namespace

TEST(Automation, EachEditorChangeIsReportedOnceAfterItIsSet) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  ADelay& fx = plugin.effect();
  for (const EditorChange& c : kChanges) {
    RecordingHost::instance().clear();
    fx.setParameterAutomated(c.index, c.natural);
    const auto asked = RecordingHost::instance().requests();
    ASSERT_EQ(asked.size(), 1u) << c.index;
    const HostRequest& r = asked.front();
    EXPECT_EQ(r.opcode, audioMasterAutomate);
    EXPECT_EQ(r.effect, plugin.record());
    EXPECT_EQ(r.index, c.index);
    EXPECT_EQ(r.value, 0);
    EXPECT_EQ(r.ptr, nullptr);
    EXPECT_FLOAT_EQ(r.opt, c.reported) << c.index << " at " << c.natural;
    // The parameter already held its new value when the host was told.
    EXPECT_FLOAT_EQ(r.parameterAtCall, plugin.get(c.index)) << c.index;
    if (isStepParameter(c.index)) {
      EXPECT_GE(r.opt, 0.0f);
      EXPECT_LT(r.opt, 1.0f);
    }
  }
}

TEST(Automation, TheReportedValueSetsTheSameStepsWhenTheHostPlaysItBack) {
  Plugin host;
  Plugin editor;
  ASSERT_TRUE(host && editor);
  for (VstInt32 index : {kThrComp, kOutput, kRelease, kRatio, kZoom, kThrLim, kLookAhead}) {
    for (float natural : {1.0f, 2.0f, 10.0f, 20.0f}) {
      RecordingHost::instance().clear();
      editor.effect().setParameterAutomated(index, natural);
      const auto asked = RecordingHost::instance().requests(audioMasterAutomate);
      ASSERT_EQ(asked.size(), 1u);
      host.set(index, asked.front().opt);
      EXPECT_EQ(host.display(index), editor.display(index)) << index << " at " << natural;
    }
  }
}

TEST(Automation, OutOfRangeIndexIsReportedUnchanged) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  RecordingHost::instance().clear();
  plugin.effect().setParameterAutomated(13, 0.75f);
  const auto asked = RecordingHost::instance().requests();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked.front().index, 13);
  EXPECT_EQ(asked.front().opt, 0.75f);
}

TEST(Automation, BrokenValuesAreNeitherSetNorReported) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  RecordingHost::instance().clear();
  plugin.effect().setParameterAutomated(kRatio, std::numeric_limits<float>::quiet_NaN());
  plugin.effect().setParameterAutomated(kOutput, std::numeric_limits<float>::infinity());
  EXPECT_TRUE(RecordingHost::instance().requests().empty());
  EXPECT_EQ(plugin.display(kRatio), "3.0 : 1");
  EXPECT_EQ(plugin.display(kOutput), "0.00");
}

TEST(Automation, WithoutAHostTheValueIsStillSet) {
  Plugin plugin(nullptr);
  ASSERT_TRUE(plugin);
  plugin.effect().setParameterAutomated(kRatio, 12.0f);
  plugin.effect().setParameterAutomated(kLookAhead, 0.0f);
  EXPECT_EQ(plugin.display(kRatio), "6.0 : 1");
  EXPECT_EQ(plugin.record()->initialDelay, 0);
  EXPECT_TRUE(RecordingHost::instance().requests().empty());
}

TEST(Automation, HostChangesAreNeverReported) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  RecordingHost::instance().clear();
  for (VstInt32 i = -1; i <= 13; ++i) {
    plugin.set(i, 0.5f);
  }
  plugin.dispatch(effSetProgram, 0, 3);
  plugin.dispatch(effMainsChanged, 0, 1);
  plugin.dispatch(effMainsChanged, 0, 0);
  plugin.set(kLookAhead, 20.0f);
  EXPECT_EQ(plugin.record()->initialDelay, 7);
  EXPECT_TRUE(RecordingHost::instance().requests().empty());
}

TEST(HostServices, VersionQueryNeverAnswersZero) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  RecordingHost::instance().setVersionAnswer(0);
  EXPECT_EQ(plugin.effect().getMasterVersion(), 1);
  RecordingHost::instance().setVersionAnswer(2300);
  EXPECT_EQ(plugin.effect().getMasterVersion(), 2300);
  const auto asked = RecordingHost::instance().requests(audioMasterVersion);
  ASSERT_EQ(asked.size(), 3u);
  EXPECT_EQ(asked.back().effect, plugin.record());
}

TEST(HostServices, UpdatesKeepOnlyPositiveAnswers) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  ADelay& fx = plugin.effect();
  RecordingHost::instance().setAnswer(audioMasterGetSampleRate, 48000);
  RecordingHost::instance().setAnswer(audioMasterGetBlockSize, 64);
  EXPECT_EQ(fx.updateSampleRate(), 48000.0);
  EXPECT_EQ(fx.updateBlockSize(), 64);
  RecordingHost::instance().setAnswer(audioMasterGetSampleRate, -1);
  RecordingHost::instance().setAnswer(audioMasterGetBlockSize, 0);
  EXPECT_EQ(fx.updateSampleRate(), 48000.0);
  EXPECT_EQ(fx.updateBlockSize(), 64);
  RecordingHost::instance().setAnswer(audioMasterGetBlockSize, (VstIntPtr{1} << 32) | 128);
  EXPECT_EQ(fx.updateBlockSize(), 128); // read as a 32-bit integer
  RecordingHost::instance().setAnswer(audioMasterGetBlockSize, VstIntPtr{1} << 32);
  EXPECT_EQ(fx.updateBlockSize(), 128);
}

TEST(HostServices, ConnectionAnswersAreInverted) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  ADelay& fx = plugin.effect();
  EXPECT_TRUE(fx.isInputConnected(1));
  RecordingHost::instance().setAnswer(audioMasterPinConnected, 1);
  EXPECT_FALSE(fx.isOutputConnected(0));
  const auto asked = RecordingHost::instance().requests(audioMasterPinConnected);
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0].index, 1);
  EXPECT_EQ(asked[0].value, 0);
  EXPECT_EQ(asked[1].index, 0);
  EXPECT_EQ(asked[1].value, 1);
}

TEST(HostServices, WithoutAHostEachAnswersItsDefault) {
  Plugin plugin(nullptr);
  ASSERT_TRUE(plugin);
  ADelay& fx = plugin.effect();
  EXPECT_EQ(fx.getMasterVersion(), 1);
  EXPECT_EQ(fx.getCurrentUniqueId(), 0);
  EXPECT_TRUE(fx.isInputConnected(0));
  EXPECT_TRUE(fx.isOutputConnected(0));
  EXPECT_EQ(fx.getTimeInfo(0), nullptr);
  EXPECT_EQ(fx.updateSampleRate(), 44100.0);
  EXPECT_EQ(fx.updateBlockSize(), 1024);
  EXPECT_FALSE(fx.ioChanged());
  EXPECT_FALSE(fx.sizeWindow(511, 283));
  EXPECT_EQ(fx.getDirectory(), nullptr);
  char text[] = "sizeWindow";
  EXPECT_EQ(fx.canHostDo(text), 0);
  EXPECT_FALSE(fx.openFileSelector(nullptr));
  fx.masterIdle();
}

TEST(HostServices, ResumeAsksForNoMidi) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  plugin.dispatch(effMainsChanged, 0, 1);
  EXPECT_TRUE(RecordingHost::instance().requests(audioMasterWantMidi).empty());
  // The framework would ask a synth for them.
  plugin.effect().isSynth(true);
  plugin.dispatch(effMainsChanged, 0, 1);
  const auto asked = RecordingHost::instance().requests(audioMasterWantMidi);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked.front().value, 1);
  EXPECT_EQ(plugin.dispatch(effGetPlugCategory), kPlugCategMastering);
}
