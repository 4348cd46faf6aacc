// The record as a host sees it right after VSTPluginMain, through LoadLibrary.
#include "PluginLibrary.h"
#include "RecordingHost.h"

#include <gtest/gtest.h>

TEST(Record, LoadsAndFillsTheRecord) {
  PluginLibrary lib;
  ASSERT_TRUE(lib.loaded()) << pluginPath();
  RecordingHost::instance().clear();
  AEffect* e = lib.create(RecordingHost::callback);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->magic, kEffectMagic);
  EXPECT_EQ(e->numPrograms, 9);
  EXPECT_EQ(e->numParams, 13);
  EXPECT_EQ(e->numInputs, 2);
  EXPECT_EQ(e->numOutputs, 2);
  EXPECT_EQ(e->uniqueID, fourCharCode('H', 'a', 'Z', 'm'));
  EXPECT_EQ(e->initialDelay, 439);
  EXPECT_EQ(dispatch(e, effClose), 1);
}
