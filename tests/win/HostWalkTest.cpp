// The built DLL driven through its record in the order a host uses: identity, programs,
// parameter texts, sample rate and block size, processing on and off, automation, and two
// instances side by side.
#include "PluginLibrary.h"
#include "RecordingHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string text(AEffect* e, VstInt32 opcode, VstInt32 index = 0) {
  char buffer[256];
  std::memset(buffer, 0x5A, sizeof buffer);
  buffer[sizeof buffer - 1] = '\0';
  dispatch(e, opcode, index, 0, buffer);
  return buffer;
}

class HostWalk : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(lib.loaded()) << pluginPath();
    RecordingHost::instance().clear();
    e = lib.create(RecordingHost::callback);
    ASSERT_NE(e, nullptr);
  }
  void TearDown() override {
    if (e != nullptr) {
      EXPECT_EQ(dispatch(e, effClose), 1);
    }
  }
  PluginLibrary lib;
  AEffect* e = nullptr;
};

} // namespace

TEST_F(HostWalk, Identity) {
  dispatch(e, effOpen);
  EXPECT_EQ(dispatch(e, effIdentify), 0x4E764566);
  EXPECT_EQ(dispatch(e, effGetVstVersion), 2400);
  EXPECT_EQ(text(e, effGetEffectName), "Zembrac");
  EXPECT_EQ(text(e, effGetProductString), "Zembrac");
  EXPECT_EQ(text(e, effGetVendorString), "HalvaroWeb");
  EXPECT_EQ(dispatch(e, effGetVendorVersion), 2800);
  EXPECT_EQ(dispatch(e, effGetPlugCategory), 4);
  char yes[] = "2in2out";
  char no[] = "receiveVstMidiEvent";
  char prefix[] = "2in2";
  EXPECT_EQ(dispatch(e, effCanDo, 0, 0, yes), 1);
  EXPECT_EQ(dispatch(e, effCanDo, 0, 0, no), -1);
  EXPECT_EQ(dispatch(e, effCanDo, 0, 0, prefix), -1);
  EXPECT_EQ(dispatch(e, effCanDo, 0, 0, nullptr), 0);
  EXPECT_EQ(dispatch(e, effGetTailSize), 0);
  EXPECT_EQ(dispatch(e, effSetBypass, 0, 1), 0);
  EXPECT_EQ(dispatch(e, effGetCurrentMidiProgram), -1);
  EXPECT_EQ(dispatch(e, -1), 0);
  EXPECT_EQ(dispatch(e, 80), 0);
}

TEST_F(HostWalk, ProgramsAndTheirNames) {
  const char* names[] = {"Init",     "Mastering 1", "Mastering 2", "Mastering 3", "Mastering 4",
                         "Violator", "User 1",      "User 2",      "User 3"};
  for (VstInt32 p = 0; p < 9; ++p) {
    dispatch(e, effSetProgram, 0, p);
    EXPECT_EQ(dispatch(e, effGetProgram), p);
    EXPECT_EQ(text(e, effGetProgramName), names[p]);
  }
  dispatch(e, effSetProgram, 0, 9);
  dispatch(e, effSetProgram, 0, -1);
  EXPECT_EQ(dispatch(e, effGetProgram), 8);
  char renamed[] = "A name longer than twenty-three characters";
  dispatch(e, effSetProgramName, 0, 0, renamed);
  EXPECT_EQ(text(e, effGetProgramName), "A name longer than twen");

  dispatch(e, effSetProgram, 0, 1);
  EXPECT_EQ(text(e, effGetParamDisplay, 5), "7.00"); // Output linked to ThrLim 14
  EXPECT_EQ(e->initialDelay, 439);
  dispatch(e, effSetProgram, 0, 5);
  EXPECT_EQ(text(e, effGetParamDisplay, 7), "30.0 : 1");
  EXPECT_EQ(e->initialDelay, 0);
}

TEST_F(HostWalk, ParameterTexts) {
  const char* names[] = {"Soft     ", "Normalize", "Dither   ", "Bypass   ", "ThrComp  ",
                         "Output   ", "Release  ", "Ratio    ", "Zoom     ", "---      ",
                         "AutoRel  ", "ThrLim   ", "LookAhead", " --- "};
  const char* labels[] = {"   ", "   ", "   ", "   ", "dB ", "dB ", "ms ",
                          "   ", "   ", "---", "   ", "dB ", "ms ", " --- "};
  const char* displays[] = {"On",      "Off", "Off", "Off", "-10.0", "0.00", "250",
                            "3.0 : 1", " 2",  "---", "On",  "-0.5",  "10",   " --- "};
  for (VstInt32 i = 0; i < 14; ++i) {
    EXPECT_EQ(text(e, effGetParamName, i), names[i]) << i;
    EXPECT_EQ(text(e, effGetParamLabel, i), labels[i]) << i;
    EXPECT_EQ(text(e, effGetParamDisplay, i), displays[i]) << i;
    EXPECT_EQ(dispatch(e, effCanBeAutomated, i), 1) << i;
  }
  EXPECT_EQ(dispatch(e, effGetParamName, 0, 0, nullptr), 0);
}

TEST_F(HostWalk, HostAutomationThroughTheRecord) {
  e->setParameter(e, 4, 0.5f);
  EXPECT_EQ(text(e, effGetParamDisplay, 4), "-18.0");
  EXPECT_FLOAT_EQ(e->getParameter(e, 4), 0.5f);
  e->setParameter(e, 12, 0.0f);
  EXPECT_EQ(e->initialDelay, 0);
  e->setParameter(e, 12, 0.99999f);
  EXPECT_EQ(e->initialDelay, 440);
  e->setParameter(e, 5, 24000.0f);
  EXPECT_EQ(e->getParameter(e, 5), 0.99999f);
  e->setParameter(e, 5, e->getParameter(e, 5));
  EXPECT_EQ(text(e, effGetParamDisplay, 5), "0.00");
  e->setParameter(e, 7, std::nanf(""));
  EXPECT_EQ(text(e, effGetParamDisplay, 7), "3.0 : 1");
  EXPECT_EQ(e->getParameter(e, 13), 0.0f);
  // The host's own changes are never reported back to it.
  EXPECT_TRUE(RecordingHost::instance().requests(audioMasterAutomate).empty());
}

TEST_F(HostWalk, SampleRateBlockSizeAndProcessing) {
  constexpr VstInt32 kFrames = 512;
  dispatch(e, effSetSampleRate, 0, 0, nullptr, 48000.0f);
  dispatch(e, effSetBlockSize, 0, kFrames);
  dispatch(e, effMainsChanged, 0, 1);
  std::vector<float> inL(kFrames), inR(kFrames), outL(kFrames, 9.0f), outR(kFrames, 9.0f);
  for (VstInt32 i = 0; i < kFrames; ++i) {
    inL[static_cast<std::size_t>(i)] = 0.25f * std::sin(static_cast<float>(i) * 0.05f);
    inR[static_cast<std::size_t>(i)] = -inL[static_cast<std::size_t>(i)];
  }
  float* inputs[] = {inL.data(), inR.data()};
  float* outputs[] = {outL.data(), outR.data()};
  for (int block = 0; block < 8; ++block) {
    e->processReplacing(e, inputs, outputs, kFrames);
  }
  for (VstInt32 i = 0; i < kFrames; ++i) {
    ASSERT_TRUE(std::isfinite(outL[static_cast<std::size_t>(i)]));
    ASSERT_TRUE(std::isfinite(outR[static_cast<std::size_t>(i)]));
  }
  EXPECT_NE(outL.front(), 9.0f);
  dispatch(e, effMainsChanged, 0, 0);
  dispatch(e, effMainsChanged, 0, 1);
  e->processReplacing(e, inputs, outputs, kFrames);
  dispatch(e, effMainsChanged, 0, 0);
  // Turning processing on or off asks the host for nothing.
  EXPECT_EQ(RecordingHost::instance().requests().size(), 1u);
}

TEST_F(HostWalk, TwoInstancesSideBySide) {
  AEffect* other = lib.create(RecordingHost::callback);
  ASSERT_NE(other, nullptr);
  ASSERT_NE(other, e);
  dispatch(other, effSetProgram, 0, 5);
  other->setParameter(other, 7, 20.0f);
  e->setParameter(e, 7, 4.0f);
  EXPECT_EQ(text(other, effGetParamDisplay, 7), "10.0 : 1");
  EXPECT_EQ(text(e, effGetParamDisplay, 7), "2.0 : 1");
  EXPECT_EQ(dispatch(e, effClose), 1);
  e = nullptr;
  EXPECT_EQ(text(other, effGetProgramName), "Violator");
  EXPECT_EQ(text(other, effGetParamDisplay, 7), "10.0 : 1");
  EXPECT_EQ(other->initialDelay, 0);
  EXPECT_EQ(other->uniqueID, fourCharCode('H', 'a', 'Z', 'm'));
  e = other; // closed by TearDown
}
