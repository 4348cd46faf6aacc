// No request writes into a host buffer past its text and terminating zero, nor before it.
#include "HostText.h"
#include "PluginHarness.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr unsigned char kCanary = 0xA5;
constexpr std::size_t kGuard = 64;
constexpr std::size_t kBufferSize = 256;

// A host buffer with guard bytes on both sides, all filled with the canary pattern.
struct GuardedBuffer {
  unsigned char bytes[kGuard + kBufferSize + kGuard];
  GuardedBuffer() { std::memset(bytes, kCanary, sizeof bytes); }
  char* text() { return reinterpret_cast<char*>(bytes + kGuard); }
  // Index of the first byte after `written` bytes of the buffer that is not the canary, or -1.
  long firstTouchedAfter(std::size_t written) const {
    for (std::size_t i = kGuard + written; i < sizeof bytes; ++i) {
      if (bytes[i] != kCanary) {
        return static_cast<long>(i - kGuard);
      }
    }
    return -1;
  }
  bool guardBeforeIntact() const {
    for (std::size_t i = 0; i < kGuard; ++i) {
      if (bytes[i] != kCanary) {
        return false;
      }
    }
    return true;
  }
  // Length of the text, or -1 when no zero byte ends it within the buffer.
  long textLength() const {
    const void* zero = std::memchr(bytes + kGuard, 0, kBufferSize);
    return zero != nullptr ? static_cast<const unsigned char*>(zero) - (bytes + kGuard) : -1;
  }
};

// The opcodes that write a text, with the most bytes (zero included) each may use.
const std::map<VstInt32, std::size_t> kTextRequests = {
    {effGetProgramName, kVstMaxProgNameLen},     {effGetParamLabel, kParamTextCapacity},
    {effGetParamDisplay, kParamTextCapacity},    {effGetParamName, kParamTextCapacity},
    {effGetEffectName, kVstMaxEffectNameLen},    {effGetVendorString, kVstMaxVendorStrLen},
    {effGetProductString, kVstMaxProductStrLen},
};

void expectTextWithinLimit(const Plugin& plugin, VstInt32 opcode, VstInt32 index, std::size_t limit,
                           const char* state) {
  GuardedBuffer buffer;
  plugin.dispatch(opcode, index, 0, buffer.text());
  const long length = buffer.textLength();
  ASSERT_GE(length, 0) << "opcode " << opcode << " index " << index << " (" << state << ")";
  EXPECT_LT(static_cast<std::size_t>(length), limit) << "opcode " << opcode << " index " << index;
  EXPECT_EQ(buffer.firstTouchedAfter(static_cast<std::size_t>(length) + 1), -1)
      << "opcode " << opcode << " index " << index << " (" << state << ")";
  EXPECT_TRUE(buffer.guardBeforeIntact()) << "opcode " << opcode;
}

void expectAllTextsWithinLimits(const Plugin& plugin, const char* state) {
  for (const auto& [opcode, limit] : kTextRequests) {
    for (VstInt32 index :
         {INT_MIN, -1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, INT_MAX}) {
      expectTextWithinLimit(plugin, opcode, index, limit, state);
    }
  }
}

} // namespace

TEST(HostBuffers, TextsOfEveryProgramStayWithinTheirLimits) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  for (VstInt32 p = 0; p < 9; ++p) {
    plugin.dispatch(effSetProgram, 0, p);
    expectAllTextsWithinLimits(plugin, "factory program");
  }
}

TEST(HostBuffers, LongestTextsStayWithinTheirLimits) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  // The widest numbers each member type can hold.
  for (float extreme : {-1e12f, 1e12f, -32768.0f, 32767.0f, 0.0f}) {
    for (VstInt32 i = 0; i < 13; ++i) {
      plugin.set(i, extreme);
    }
    expectAllTextsWithinLimits(plugin, "extreme values");
  }
  std::string longName(100, 'n');
  plugin.dispatch(effSetProgramName, 0, 0, longName.data());
  expectAllTextsWithinLimits(plugin, "long program name");
}

TEST(HostBuffers, RequestsWithoutTextsLeaveTheBufferAlone) {
  for (VstInt32 opcode = -1; opcode <= 80; ++opcode) {
    if (opcode == effClose || opcode == effSetProgramName || opcode == effGetProgramNameIndexed ||
        kTextRequests.count(opcode) != 0) {
      continue;
    }
    Plugin plugin;
    ASSERT_TRUE(plugin);
    for (VstInt32 index : {0, 5, 13}) {
      GuardedBuffer buffer;
      plugin.dispatch(opcode, index, 0, buffer.text(), 0.0f);
      // The speaker-arrangement request stores null through the place it is given.
      const std::size_t written = opcode == effGetSpeakerArrangement ? sizeof(void*) : 0;
      EXPECT_EQ(buffer.firstTouchedAfter(written), -1) << "opcode " << opcode << " index " << index;
      EXPECT_TRUE(buffer.guardBeforeIntact()) << "opcode " << opcode;
    }
  }
}

TEST(HostBuffers, AnUnterminatedProgramNameIsReadNoFurtherThanItsLimit) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  // 24 bytes without a zero: anything past them is outside the host's buffer.
  char name[kVstMaxProgNameLen];
  std::memset(name, 'u', sizeof name);
  plugin.dispatch(effSetProgramName, 0, 0, name);
  EXPECT_EQ(plugin.programName(), std::string(23, 'u'));
}

// Hosts list the programs by index without switching: the nine names, however long, and
// nothing at all for any other index, whatever the category.
TEST(HostBuffers, IndexedProgramNamesOnlyForTheNinePrograms) {
  Plugin plugin;
  ASSERT_TRUE(plugin);
  plugin.dispatch(effSetProgram, 0, 4);
  std::string longName(40, 'n');
  plugin.dispatch(effSetProgramName, 0, 0, longName.data());
  std::vector<std::string> names;
  for (VstInt32 p = 0; p < 9; ++p) {
    plugin.dispatch(effSetProgram, 0, p);
    names.push_back(plugin.programName());
  }
  plugin.dispatch(effSetProgram, 0, 2);
  for (VstIntPtr category : {VstIntPtr{-1}, VstIntPtr{0}, VstIntPtr{3}}) {
    for (VstInt32 index : {INT_MIN, -1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, INT_MAX}) {
      GuardedBuffer buffer;
      const VstIntPtr answer =
          plugin.dispatch(effGetProgramNameIndexed, index, category, buffer.text());
      if (index < 0 || index > 8) {
        EXPECT_EQ(answer, 0) << "index " << index;
        EXPECT_EQ(buffer.firstTouchedAfter(0), -1) << "index " << index;
        continue;
      }
      EXPECT_EQ(answer, 1) << "index " << index;
      ASSERT_EQ(buffer.textLength(),
                static_cast<long>(names[static_cast<std::size_t>(index)].size()));
      EXPECT_EQ(std::string(buffer.text()), names[static_cast<std::size_t>(index)]);
      EXPECT_EQ(buffer.firstTouchedAfter(names[static_cast<std::size_t>(index)].size() + 1), -1);
      EXPECT_TRUE(buffer.guardBeforeIntact());
    }
  }
  EXPECT_EQ(names[4], std::string(kVstMaxProgNameLen - 1, 'n'));
  EXPECT_EQ(plugin.dispatch(effGetProgram), 2) << "listing switches no program";
}
