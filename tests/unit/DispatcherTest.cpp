// Every host request through the record's dispatcher entry, with the answer a host gets.
#include "AEffEditor.h"
#include "PluginHarness.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <map>
#include <vector>

namespace {

// Answers that are not 0, with a zeroed text buffer as ptr and every other argument 0.
// clang-format off
const std::map<VstInt32, VstIntPtr> kNonZeroAnswers = {
    {effIdentify, 0x4E764566}, {effCanBeAutomated, 1}, {effGetPlugCategory, 4},
    {effGetEffectName, 1},     {effGetVendorString, 1}, {effGetProductString, 1},
    {effGetVendorVersion, 2800}, {effCanDo, -1},        {effGetVstVersion, 2400},
    {effGetCurrentMidiProgram, -1}, {effGetProgramNameIndexed, 1},
};
// clang-format on

// The same with a null ptr: every request that would write or read through it answers 0.
// clang-format off
const std::map<VstInt32, VstIntPtr> kNonZeroAnswersWithoutBuffer = {
    {effIdentify, 0x4E764566}, {effCanBeAutomated, 1},      {effGetPlugCategory, 4},
    {effGetVendorVersion, 2800}, {effGetVstVersion, 2400}, {effGetCurrentMidiProgram, -1},
};
// clang-format on

VstIntPtr expected(const std::map<VstInt32, VstIntPtr>& table, VstInt32 opcode) {
  const auto it = table.find(opcode);
  return it != table.end() ? it->second : 0;
}

// Everything a host can observe of an instance without processing audio.
struct Observed {
  std::vector<float> values;
  std::vector<std::string> texts;
  VstIntPtr program;
  AEffect record;
  float sampleRate;
  VstInt32 blockSize;

  explicit Observed(const Plugin& p)
      : program(p.dispatch(effGetProgram)), record(*p.record()),
        sampleRate(p.effect().getSampleRate()), blockSize(p.effect().getBlockSize()) {
    for (VstInt32 i = 0; i < 13; ++i) {
      values.push_back(p.get(i));
      texts.push_back(p.display(i));
    }
    texts.push_back(p.programName());
  }
  bool operator==(const Observed& o) const {
    return values == o.values && texts == o.texts && program == o.program &&
           std::memcmp(&record, &o.record, sizeof record) == 0 && sampleRate == o.sampleRate &&
           blockSize == o.blockSize;
  }
};

// An editor that records what the dispatcher routes to it.
class ProbeEditor : public AEffEditor {
public:
  using AEffEditor::AEffEditor;
  bool getRect(ERect** rect) override {
    *rect = &rect_;
    return true;
  }
  bool open(void* parent) override {
    opened = parent;
    return true;
  }
  void close() override { ++closes; }
  void idle() override { ++idles; }
  bool onKeyDown(VstKeyCode& key) override {
    keys.push_back(key);
    return true;
  }
  bool onKeyUp(VstKeyCode& key) override {
    keys.push_back(key);
    return false;
  }
  bool setKnobMode(VstInt32 mode) override {
    knobMode = mode;
    return true;
  }

  ERect rect_{0, 0, 283, 511};
  void* opened = nullptr;
  int closes = 0;
  int idles = 0;
  VstInt32 knobMode = -1;
  std::vector<VstKeyCode> keys;
};

} // namespace

TEST(Dispatcher, AnswersEveryOpcodeOfTheTables) {
  for (VstInt32 opcode = 0; opcode <= 79; ++opcode) {
    if (opcode == effClose) {
      continue;
    }
    Plugin plugin;
    ASSERT_TRUE(plugin);
    alignas(8) char buffer[256] = {};
    EXPECT_EQ(plugin.dispatch(opcode, 0, 0, buffer), expected(kNonZeroAnswers, opcode))
        << "opcode " << opcode;
  }
}

TEST(Dispatcher, NullPointersAreAnsweredLikeUnknownRequests) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  for (VstInt32 opcode = 0; opcode <= 79; ++opcode) {
    if (opcode == effClose) {
      continue;
    }
    for (VstInt32 index : {0, 3, 12, 13}) {
      EXPECT_EQ(plugin.dispatch(opcode, index, 0, nullptr),
                expected(kNonZeroAnswersWithoutBuffer, opcode))
          << "opcode " << opcode << " index " << index;
    }
  }
  EXPECT_EQ(plugin.programName(), "Init");
}

TEST(Dispatcher, ObsoleteAndUnknownOpcodesAnswerZeroAndChangeNothing) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  plugin.dispatch(effSetProgram, 0, 2);
  plugin.set(kRatio, 0.25f);
  const Observed before(plugin);
  for (VstInt32 opcode : {9,  16, 17, 18, 20, 21, 28, 30, 31, 32,   36,      37,
                          43, 46, 53, 54, 55, 57, -1, 80, 81, 1000, INT_MIN, INT_MAX}) {
    char buffer[256] = "2in2out";
    EXPECT_EQ(plugin.dispatch(opcode, 4, 7, buffer, 0.5f), 0) << "opcode " << opcode;
    EXPECT_EQ(plugin.dispatch(opcode, 0, 0, nullptr, 0.0f), 0) << "opcode " << opcode;
  }
  EXPECT_TRUE(before == Observed(plugin));
  EXPECT_TRUE(RecordingHost::instance().requests(audioMasterAutomate).empty());
}

TEST(Dispatcher, CloseAnswersOne) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  EXPECT_EQ(plugin.close(), 1);
}

TEST(Dispatcher, SetProgramOnlyWithinTheNinePrograms) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  EXPECT_EQ(plugin.dispatch(effGetProgram), 0);
  EXPECT_EQ(plugin.dispatch(effSetProgram, 0, 3), 0);
  EXPECT_EQ(plugin.dispatch(effGetProgram), 3);
  EXPECT_EQ(plugin.programName(), "Mastering 3");
  // The value is pointer-sized: a high word must not be cut off into a valid program.
  for (VstIntPtr bad : {VstIntPtr{9}, VstIntPtr{-1}, VstIntPtr{100}, (VstIntPtr{1} << 32) | 2,
                        std::numeric_limits<VstIntPtr>::min()}) {
    EXPECT_EQ(plugin.dispatch(effSetProgram, 0, bad), 0);
    EXPECT_EQ(plugin.dispatch(effGetProgram), 3) << bad;
  }
  EXPECT_EQ(plugin.programName(), "Mastering 3");
  // The program index travels in value, never in index.
  plugin.dispatch(effSetProgram, 7, 8);
  EXPECT_EQ(plugin.dispatch(effGetProgram), 8);
}

TEST(Dispatcher, CanBeAutomatedForEveryIndex) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  for (VstInt32 index : {INT_MIN, -1, 0, 5, 12, 13, 1000, INT_MAX}) {
    EXPECT_EQ(plugin.dispatch(effCanBeAutomated, index), 1) << index;
  }
}

TEST(Dispatcher, NumbersPassedThrough) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  EXPECT_EQ(plugin.dispatch(effSetTotalSampleToProcess, 0, 4096), 4096);
  EXPECT_EQ(plugin.dispatch(effSetTotalSampleToProcess, 0, -7), -7);
  EXPECT_EQ(plugin.dispatch(effGetCurrentMidiProgram, 0, 0, nullptr), -1);
  EXPECT_EQ(plugin.dispatch(effVendorSpecific, 1, 2, nullptr, 3.0f), 0);
}

TEST(Dispatcher, SpeakerArrangementClearsOnlyTheGivenPlaces) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  int dummy = 0;
  auto* sentinel = reinterpret_cast<VstSpeakerArrangement*>(&dummy);
  VstSpeakerArrangement* input = sentinel;
  VstSpeakerArrangement* output = sentinel;
  EXPECT_EQ(
      plugin.dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&input), &output),
      0);
  EXPECT_EQ(input, nullptr);
  EXPECT_EQ(output, nullptr);
  input = sentinel;
  output = sentinel;
  EXPECT_EQ(plugin.dispatch(effGetSpeakerArrangement, 0, 0, &output), 0);
  EXPECT_EQ(output, nullptr);
  EXPECT_EQ(
      plugin.dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&input), nullptr),
      0);
  EXPECT_EQ(input, nullptr);
  EXPECT_EQ(
      plugin.dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(sentinel), sentinel),
      0);
}

TEST(Dispatcher, ChunksAreNotOffered) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  int dummy = 0;
  void* place = &dummy;
  EXPECT_EQ(plugin.dispatch(effGetChunk, 0, 0, &place), 0);
  EXPECT_EQ(plugin.dispatch(effGetChunk, 1, 0, &place), 0);
  EXPECT_EQ(place, &dummy);
  EXPECT_EQ(plugin.dispatch(effSetChunk, 0, 4, &dummy), 0);
  EXPECT_EQ(plugin.record()->flags & effFlagsProgramChunks, 0);
}

TEST(Dispatcher, SampleRateAndBlockSizeAreStored) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  ADelay& fx = plugin.effect();
  EXPECT_EQ(fx.getSampleRate(), 44100.0f);
  EXPECT_EQ(fx.getBlockSize(), 1024);
  EXPECT_EQ(plugin.dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f), 0);
  EXPECT_EQ(plugin.dispatch(effSetBlockSize, 0, 512), 0);
  EXPECT_EQ(fx.getSampleRate(), 48000.0f);
  EXPECT_EQ(fx.getBlockSize(), 512);
  // The release length follows the new rate only at the next Release change.
  EXPECT_EQ(fx.releaseSamples, 11025);
  plugin.set(kRelease, 250.0f);
  EXPECT_EQ(fx.releaseSamples, 12000);
  EXPECT_TRUE(RecordingHost::instance().requests(audioMasterGetSampleRate).empty());
}

TEST(Dispatcher, NonsensicalSampleRatesAndBlockSizesAreIgnored) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  ADelay& fx = plugin.effect();
  plugin.dispatch(effSetSampleRate, 0, 0, nullptr, 96000.0f);
  plugin.dispatch(effSetBlockSize, 0, 256);
  for (float rate : {0.0f, -44100.0f, std::numeric_limits<float>::quiet_NaN(),
                     std::numeric_limits<float>::infinity()}) {
    plugin.dispatch(effSetSampleRate, 0, 0, nullptr, rate);
    EXPECT_EQ(fx.getSampleRate(), 96000.0f) << rate;
  }
  for (VstIntPtr size : {VstIntPtr{0}, VstIntPtr{-512}, VstIntPtr{1} << 33}) {
    plugin.dispatch(effSetBlockSize, 0, size);
    EXPECT_EQ(fx.getBlockSize(), 256) << size;
  }
}

TEST(Dispatcher, MainsOnChangesNothingAndAsksNothing) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  plugin.dispatch(effSetProgram, 0, 4);
  const Observed before(plugin);
  const auto asked = RecordingHost::instance().requests().size();
  EXPECT_EQ(plugin.dispatch(effMainsChanged, 0, 1), 0);
  EXPECT_EQ(plugin.dispatch(effMainsChanged, 0, 1), 0);
  EXPECT_TRUE(before == Observed(plugin));
  EXPECT_EQ(plugin.dispatch(effMainsChanged, 0, 0), 0);
  EXPECT_EQ(plugin.dispatch(effMainsChanged, 0, 0), 0);
  EXPECT_EQ(plugin.dispatch(effMainsChanged, 0, 1), 0);
  EXPECT_TRUE(before == Observed(plugin));
  EXPECT_EQ(RecordingHost::instance().requests().size(), asked);
}

TEST(Dispatcher, EditorRequestsWithoutEditorAnswerZero) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  int dummy = 0;
  auto* place = reinterpret_cast<ERect*>(&dummy);
  EXPECT_EQ(plugin.dispatch(effEditGetRect, 0, 0, &place), 0);
  EXPECT_EQ(place, reinterpret_cast<ERect*>(&dummy));
  EXPECT_EQ(plugin.dispatch(effEditOpen, 0, 0, &dummy), 0);
  EXPECT_EQ(plugin.dispatch(effEditClose), 0);
  EXPECT_EQ(plugin.dispatch(effEditIdle), 0);
  EXPECT_EQ(plugin.dispatch(effEditKeyDown, 'a', 0x41, nullptr, 1.0f), 0);
  EXPECT_EQ(plugin.dispatch(effEditKeyUp, 'a', 0x41, nullptr, 1.0f), 0);
  EXPECT_EQ(plugin.dispatch(effSetEditKnobMode, 0, 2), 0);
}

TEST(Dispatcher, EditorRequestsReachAnAttachedEditor) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  auto* editor = new ProbeEditor(&plugin.effect());
  plugin.effect().setEditor(editor);
  ERect* rect = nullptr;
  EXPECT_EQ(plugin.dispatch(effEditGetRect, 0, 0, &rect), 1);
  EXPECT_EQ(rect, &editor->rect_);
  EXPECT_EQ(plugin.dispatch(effEditGetRect, 0, 0, nullptr), 0);
  int window = 0;
  EXPECT_EQ(plugin.dispatch(effEditOpen, 0, 0, &window), 1);
  EXPECT_EQ(editor->opened, &window);
  EXPECT_EQ(plugin.dispatch(effEditIdle), 0);
  EXPECT_EQ(editor->idles, 1);
  EXPECT_EQ(plugin.dispatch(effEditClose), 0);
  EXPECT_EQ(editor->closes, 1);
  EXPECT_EQ(plugin.dispatch(effSetEditKnobMode, 0, 2), 1);
  EXPECT_EQ(editor->knobMode, 2);
}

TEST(Dispatcher, KeyRecordIsBuiltFromTheArguments) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  auto* editor = new ProbeEditor(&plugin.effect());
  plugin.effect().setEditor(editor);
  EXPECT_EQ(plugin.dispatch(effEditKeyDown, 'q', 0x1234, nullptr, 3.9f), 1);
  EXPECT_EQ(plugin.dispatch(effEditKeyUp, -5, -1, nullptr, -1.9f), 0);
  EXPECT_EQ(plugin.dispatch(effEditKeyDown, 0, 0x100, nullptr, 258.0f), 1);
  const float odd[] = {std::numeric_limits<float>::quiet_NaN(),
                       std::numeric_limits<float>::infinity(),
                       -std::numeric_limits<float>::infinity(), 1e20f};
  for (float opt : odd) {
    plugin.dispatch(effEditKeyDown, 1, 2, nullptr, opt);
  }
  ASSERT_EQ(editor->keys.size(), 7u);
  EXPECT_EQ(editor->keys[0].character, 'q');
  EXPECT_EQ(editor->keys[0].virt, 0x34);
  EXPECT_EQ(editor->keys[0].modifier, 3); // truncated toward zero
  EXPECT_EQ(editor->keys[1].character, -5);
  EXPECT_EQ(editor->keys[1].virt, 0xFF);
  EXPECT_EQ(editor->keys[1].modifier, 0xFF); // -1, low byte
  EXPECT_EQ(editor->keys[2].virt, 0x00);
  EXPECT_EQ(editor->keys[2].modifier, 2);
  for (std::size_t i = 3; i < 7; ++i) {
    EXPECT_EQ(editor->keys[i].modifier, 0) << i; // no integer holds it: no modifiers
    EXPECT_EQ(editor->keys[i].virt, 2);
  }
}
