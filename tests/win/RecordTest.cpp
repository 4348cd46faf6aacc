// The record as a host sees it right after VSTPluginMain, through LoadLibrary.
#include "PluginLibrary.h"
#include "RecordingHost.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

VstIntPtr noHostVersion(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 0 : 1;
}

} // namespace

TEST(Record, LoadsAndFillsTheRecord) {
  PluginLibrary lib;
  ASSERT_TRUE(lib.loaded()) << pluginPath();
  RecordingHost::instance().clear();
  AEffect* e = lib.create(RecordingHost::callback);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->magic, kEffectMagic);
  EXPECT_NE(e->dispatcher, nullptr);
  EXPECT_NE(e->process, nullptr);
  EXPECT_NE(e->setParameter, nullptr);
  EXPECT_NE(e->getParameter, nullptr);
  EXPECT_NE(e->processReplacing, nullptr);
  EXPECT_NE(e->processDoubleReplacing, nullptr);
  EXPECT_EQ(e->numPrograms, 9);
  EXPECT_EQ(e->numParams, 13);
  EXPECT_EQ(e->numInputs, 2);
  EXPECT_EQ(e->numOutputs, 2);
  // Replacing processing always; the editor bit once the DLL carries its editor (0x11).
  EXPECT_EQ(e->flags & effFlagsCanReplacing, effFlagsCanReplacing);
  EXPECT_EQ(e->flags & ~(effFlagsCanReplacing | effFlagsHasEditor), 0);
  EXPECT_EQ(e->resvd1, 0);
  EXPECT_EQ(e->resvd2, 0);
  EXPECT_EQ(e->initialDelay, 439);
  EXPECT_EQ(e->realQualities, 0);
  EXPECT_EQ(e->offQualities, 0);
  EXPECT_EQ(e->ioRatio, 1.0f);
  EXPECT_NE(e->object, nullptr);
  EXPECT_EQ(e->user, nullptr);
  EXPECT_EQ(e->uniqueID, fourCharCode('H', 'a', 'Z', 'm'));
  EXPECT_EQ(e->version, 1);
  const char zero[sizeof e->future] = {};
  EXPECT_EQ(std::memcmp(e->future, zero, sizeof zero), 0);
  EXPECT_EQ(dispatch(e, effClose), 1);
}

TEST(Record, EditorFlagMatchesTheEditorRequests) {
  PluginLibrary lib;
  ASSERT_TRUE(lib.loaded()) << pluginPath();
  AEffect* e = lib.create(RecordingHost::callback);
  ASSERT_NE(e, nullptr);
  ERect* rect = nullptr;
  const VstIntPtr hasRect = dispatch(e, effEditGetRect, 0, 0, &rect);
  if ((e->flags & effFlagsHasEditor) != 0) {
    EXPECT_EQ(hasRect, 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right - rect->left, 511);
    EXPECT_EQ(rect->bottom - rect->top, 283);
  } else {
    EXPECT_EQ(hasRect, 0);
    EXPECT_EQ(rect, nullptr);
  }
  EXPECT_EQ(dispatch(e, effClose), 1);
}

TEST(Record, AsksForTheHostVersionFirstWithoutARecord) {
  PluginLibrary lib;
  ASSERT_TRUE(lib.loaded()) << pluginPath();
  RecordingHost::instance().clear();
  AEffect* e = lib.create(RecordingHost::callback);
  ASSERT_NE(e, nullptr);
  const auto asked = RecordingHost::instance().requests();
  ASSERT_FALSE(asked.empty());
  EXPECT_EQ(asked.front().opcode, audioMasterVersion);
  EXPECT_EQ(asked.front().effect, nullptr);
  EXPECT_EQ(asked.front().index, 0);
  EXPECT_EQ(asked.front().value, 0);
  EXPECT_EQ(asked.front().ptr, nullptr);
  EXPECT_EQ(dispatch(e, effClose), 1);
}

TEST(Record, AHostAnsweringVersionZeroGetsNull) {
  PluginLibrary lib;
  ASSERT_TRUE(lib.loaded()) << pluginPath();
  EXPECT_EQ(lib.create(noHostVersion), nullptr);
  RecordingHost::instance().clear();
  RecordingHost::instance().setVersionAnswer(0);
  EXPECT_EQ(lib.create(RecordingHost::callback), nullptr);
  EXPECT_EQ(RecordingHost::instance().requests().size(), 1u);
  RecordingHost::instance().clear();
}

TEST(Record, WithoutAHostCallbackTheInstanceStillLoads) {
  PluginLibrary lib;
  ASSERT_TRUE(lib.loaded()) << pluginPath();
  AEffect* e = lib.create(nullptr);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->numParams, 13);
  EXPECT_EQ(dispatch(e, effClose), 1);
}
