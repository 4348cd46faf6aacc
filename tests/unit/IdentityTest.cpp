// Loading, the record a host reads at once, the identity answers and instances side by side.
#include "AEffEditor.h"
#include "PluginHarness.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

constexpr VstInt32 kHaZm = 0x48615A6D;

bool allZero(const char* bytes, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    if (bytes[i] != 0) {
      return false;
    }
  }
  return true;
}

} // namespace

TEST(Loading, AsksTheHostForItsVersionWithoutARecord) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  const auto asked = RecordingHost::instance().requests();
  ASSERT_FALSE(asked.empty());
  const HostRequest& first = asked.front();
  EXPECT_EQ(first.opcode, audioMasterVersion);
  EXPECT_EQ(first.effect, nullptr);
  EXPECT_EQ(first.index, 0);
  EXPECT_EQ(first.value, 0);
  EXPECT_EQ(first.ptr, nullptr);
  EXPECT_EQ(first.opt, 0.0f);
  // Construction itself asks nothing more of the host.
  EXPECT_EQ(asked.size(), 1u);
}

TEST(Loading, AHostAnsweringVersionZeroGetsNoInstance) {
  RecordingHost::instance().clear();
  RecordingHost::instance().setVersionAnswer(0);
  EXPECT_EQ(VSTPluginMain(RecordingHost::callback), nullptr);
  EXPECT_EQ(RecordingHost::instance().requests().size(), 1u);
  RecordingHost::instance().clear();
}

TEST(Loading, AnyNonZeroVersionLoads) {
  for (VstIntPtr version : {VstIntPtr{1}, VstIntPtr{2400}, VstIntPtr{-1}, VstIntPtr{1} << 40}) {
    RecordingHost::instance().clear();
    RecordingHost::instance().setVersionAnswer(version);
    AEffect* e = VSTPluginMain(RecordingHost::callback);
    ASSERT_NE(e, nullptr) << version;
    EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f), 1);
  }
  RecordingHost::instance().clear();
}

TEST(Loading, WithoutAHostCallbackStillLoads) {
  Plugin plugin(nullptr);
  ASSERT_TRUE(plugin);
  EXPECT_EQ(plugin.effect().getMasterVersion(), 1);
  EXPECT_EQ(plugin.record()->initialDelay, 439);
}

TEST(Record, IsCompleteWhenVSTPluginMainReturns) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  const AEffect& e = *plugin.record();
  EXPECT_EQ(e.magic, 0x56737450);
  EXPECT_NE(e.dispatcher, nullptr);
  EXPECT_NE(e.process, nullptr);
  EXPECT_NE(e.setParameter, nullptr);
  EXPECT_NE(e.getParameter, nullptr);
  EXPECT_NE(e.processReplacing, nullptr);
  EXPECT_NE(e.processDoubleReplacing, nullptr);
  EXPECT_EQ(e.numPrograms, 9);
  EXPECT_EQ(e.numParams, 13);
  EXPECT_EQ(e.numInputs, 2);
  EXPECT_EQ(e.numOutputs, 2);
  // This build has no editor: replacing processing only.
  EXPECT_EQ(e.flags, effFlagsCanReplacing);
  EXPECT_EQ(e.resvd1, 0);
  EXPECT_EQ(e.resvd2, 0);
  EXPECT_EQ(e.initialDelay, 439); // "Init": LookAhead 999 uses 440 slots
  EXPECT_EQ(e.realQualities, 0);
  EXPECT_EQ(e.offQualities, 0);
  EXPECT_EQ(e.ioRatio, 1.0f);
  EXPECT_EQ(e.object, static_cast<void*>(static_cast<AudioEffect*>(&plugin.effect())));
  EXPECT_EQ(e.user, nullptr);
  EXPECT_EQ(e.uniqueID, kHaZm);
  EXPECT_EQ(e.version, 1);
  EXPECT_TRUE(allZero(e.future, sizeof e.future));
}

TEST(Record, UniqueIdPutsTheFirstLetterInTheHighByte) {
  EXPECT_EQ(fourCharCode('H', 'a', 'Z', 'm'), kHaZm);
  EXPECT_EQ(static_cast<std::uint32_t>(fourCharCode('N', 'v', 'E', 'f')), 0x4E764566u);
}

TEST(Record, EditorFlagFollowsTheAttachedEditor) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  auto* editor = new AEffEditor(&plugin.effect());
  plugin.effect().setEditor(editor);
  EXPECT_EQ(plugin.record()->flags, effFlagsCanReplacing | effFlagsHasEditor);
  plugin.effect().setEditor(nullptr);
  EXPECT_EQ(plugin.record()->flags, effFlagsCanReplacing);
  delete editor;
  // Attached again, the instance deletes it when it is closed (ASan reports a leak otherwise).
  plugin.effect().setEditor(new AEffEditor(&plugin.effect()));
  EXPECT_EQ(plugin.close(), 1);
}

TEST(Identity, NamesVendorAndProduct) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  char name[kVstMaxEffectNameLen] = {};
  char product[kVstMaxProductStrLen] = {};
  char vendor[kVstMaxVendorStrLen] = {};
  EXPECT_EQ(plugin.dispatch(effGetEffectName, 0, 0, name), 1);
  EXPECT_EQ(plugin.dispatch(effGetProductString, 0, 0, product), 1);
  EXPECT_EQ(plugin.dispatch(effGetVendorString, 0, 0, vendor), 1);
  EXPECT_STREQ(name, "Zembrac");
  EXPECT_STREQ(product, name);
  EXPECT_STREQ(vendor, "HalvaroWeb");
}

TEST(Identity, NumbersAndDeclinedFeatures) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  EXPECT_EQ(plugin.dispatch(effGetVendorVersion), 2800);
  EXPECT_EQ(plugin.dispatch(effGetVstVersion), 2400);
  EXPECT_EQ(plugin.dispatch(effGetPlugCategory), kPlugCategMastering);
  EXPECT_EQ(plugin.dispatch(effGetTailSize), 0);
  alignas(8) char pin[256] = {};
  EXPECT_EQ(plugin.dispatch(effGetInputProperties, 0, 0, pin), 0);
  EXPECT_EQ(plugin.dispatch(effGetOutputProperties, 1, 0, pin), 0);
  EXPECT_TRUE(allZero(pin, sizeof pin));
}

TEST(Identity, HostBypassIsDeclinedAndLeavesOwnBypassAlone) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  EXPECT_EQ(plugin.dispatch(effSetBypass, 0, 1), 0);
  EXPECT_FALSE(plugin.effect().bypassOn);
  EXPECT_EQ(plugin.get(kBypass), 0.0f);
  plugin.set(kBypass, 1.0f);
  EXPECT_EQ(plugin.dispatch(effSetBypass, 0, 0), 0);
  EXPECT_TRUE(plugin.effect().bypassOn);
}

TEST(CanDo, AnswersYesForExactlyThreeTexts) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  auto ask = [&](const char* text) {
    std::string copy = text;
    return plugin.dispatch(effCanDo, 0, 0, copy.data());
  };
  EXPECT_EQ(ask("1in1out"), 1);
  EXPECT_EQ(ask("2in2out"), 1);
  EXPECT_EQ(ask("plugAsChannelInsert"), 1);
  for (const char* no :
       {"2in2outs", "2in2out ", "2in2", "2In2Out", "2IN2OUT", "", "1in2out", "plugAsChannelInsertX",
        "plugAsChannel", "plugasChannelInsert", " 2in2out", "sendVstEvents", "sendVstMidiEvent",
        "receiveVstEvents", "receiveVstMidiEvent", "receiveVstTimeInfo", "offline",
        "midiProgramNames", "bypass"}) {
    EXPECT_EQ(ask(no), -1) << '"' << no << '"';
  }
}

TEST(CanDo, NullTextIsAnUnknownRequest) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  EXPECT_EQ(plugin.dispatch(effCanDo, 0, 0, nullptr), 0);
}

TEST(Instances, LiveSideBySideAndClosingOneLeavesTheOther) {
  Plugin first;
  ASSERT_TRUE(first);
  AEffect* second = VSTPluginMain(RecordingHost::callback);
  ASSERT_NE(second, nullptr);
  ASSERT_NE(second, first.record());
  ASSERT_NE(second->object, first.record()->object);

  first.dispatch(effSetProgram, 0, 5);
  first.set(kRatio, 0.5f);
  second->setParameter(second, kThrComp, 40.0f);
  second->setParameter(second, kLookAhead, 0.0f);
  char secondName[] = "Second";
  second->dispatcher(second, effSetProgramName, 0, 0, secondName, 0.0f);

  EXPECT_EQ(first.dispatch(effGetProgram), 5);
  EXPECT_EQ(second->dispatcher(second, effGetProgram, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(first.display(kThrComp), "-30.0");
  EXPECT_EQ(first.programName(), "Violator");
  EXPECT_EQ(first.record()->initialDelay, 0);

  const AEffect snapshot = *second;
  EXPECT_EQ(first.close(), 1);

  EXPECT_EQ(std::memcmp(&snapshot, second, sizeof snapshot), 0);
  char text[64] = {};
  second->dispatcher(second, effGetParamDisplay, kThrComp, 0, text, 0.0f);
  EXPECT_STREQ(text, "-20.0");
  second->dispatcher(second, effGetParamDisplay, kRatio, 0, text, 0.0f);
  EXPECT_STREQ(text, "3.0 : 1");
  second->dispatcher(second, effGetProgramName, 0, 0, text, 0.0f);
  EXPECT_STREQ(text, "Second");
  EXPECT_EQ(second->initialDelay, 0);
  second->setParameter(second, kLookAhead, 999.0f);
  EXPECT_EQ(second->initialDelay, 439);
  EXPECT_EQ(second->dispatcher(second, effClose, 0, 0, nullptr, 0.0f), 1);
}
