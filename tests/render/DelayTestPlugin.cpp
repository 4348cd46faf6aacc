// A minimal VST 2.4 effect for the renderer's tests: it delays by "Delay" frames (its
// reported latency), scales by "Gain", and inverts the right side, so alignment and channel
// routing can be checked exactly. Its parameters take normalized values, as most plug-ins'
// do: Gain 0 to 4 in quarters, Delay 0 to 8192 frames. Blocks longer than the block size it was
// given come out as NaN, so a host that breaks that promise is caught. "Stall" makes processing
// wait for a signal, so a test can interrupt a render in progress.
#include "VstAbi.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kMaxDelay = 8192;
constexpr float kGainSteps = 16.0f;
constexpr float kGainStep = 0.25f;
constexpr int kGain = 0;
constexpr int kDelay = 1;
constexpr int kStall = 2;
constexpr const char* kNames[] = {"Gain  ", "Delay ", "Stall"};

struct Program {
  const char* name;
  float gain;
  int delay;
};
constexpr Program kPrograms[] = {{"Unity", 1.0f, 100}, {"Half Gain", 0.5f, 1000}};

struct DelayEffect {
  AEffect record{};
  float gain = 1.0f;
  int delay = 0;
  int program = 0;
  int blockSize = 0;
  bool stall = false;
  std::vector<float> ring[2];
  std::size_t position = 0;

  DelayEffect() {
    for (auto& r : ring) {
      r.assign(kMaxDelay + 1, 0.0f);
    }
  }
  void setDelay(int frames) {
    delay = frames < 0 ? 0 : frames > kMaxDelay ? kMaxDelay : frames;
    record.initialDelay = delay;
  }
  void load(int index) {
    program = index;
    gain = kPrograms[index].gain;
    setDelay(kPrograms[index].delay);
  }
};

DelayEffect* self(AEffect* e) { return static_cast<DelayEffect*>(e->object); }

void copyText(void* ptr, const char* text, std::size_t capacity) {
  if (ptr != nullptr) {
    std::strncpy(static_cast<char*>(ptr), text, capacity - 1);
    static_cast<char*>(ptr)[capacity - 1] = '\0';
  }
}

VstIntPtr dispatcher(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                     float opt) {
  DelayEffect* fx = self(e);
  switch (opcode) {
  case effClose:
    delete fx;
    return 1;
  case effSetProgram:
    if (value >= 0 && value < 2) {
      fx->load(static_cast<int>(value));
    }
    return 0;
  case effGetProgram:
    return fx->program;
  case effGetProgramName:
    copyText(ptr, kPrograms[fx->program].name, kVstMaxProgNameLen);
    return 0;
  case effGetParamName:
    // Padded like many plug-ins pad theirs; hosts trim.
    copyText(ptr, index >= 0 && index <= kStall ? kNames[index] : "", kVstMaxParamStrLen);
    return 0;
  case effGetParamLabel:
    copyText(ptr, index == kGain ? "x" : "frames", kVstMaxParamStrLen);
    return 0;
  case effGetParamDisplay: {
    char text[32];
    if (index == kStall) {
      std::snprintf(text, sizeof text, "%s", fx->stall ? "On" : "Off");
    } else {
      std::snprintf(text, sizeof text, "%g", index == kGain ? fx->gain : float(fx->delay));
    }
    copyText(ptr, text, kVstMaxParamStrLen);
    return 0;
  }
  case effSetBlockSize:
    fx->blockSize = static_cast<int>(value);
    return 0;
  case effMainsChanged:
    if (value == 0) {
      for (auto& r : fx->ring) {
        std::fill(r.begin(), r.end(), 0.0f);
      }
    }
    return 0;
  case effGetEffectName:
    copyText(ptr, "Delay Test", kVstMaxEffectNameLen);
    return 1;
  case effGetVendorString:
    copyText(ptr, "Zembrac Tests", kVstMaxVendorStrLen);
    return 1;
  case effGetVendorVersion:
    return 7;
  default:
    (void)opt;
    return 0;
  }
}

void setParameter(AEffect* e, VstInt32 index, float value) {
  if (index == kGain) {
    self(e)->gain = std::floor(value * kGainSteps + 0.5f) * kGainStep;
  } else if (index == kDelay) {
    self(e)->setDelay(static_cast<int>(value * kMaxDelay + 0.5f));
  } else if (index == kStall) {
    self(e)->stall = value >= 0.5f;
  }
}

float getParameter(AEffect* e, VstInt32 index) {
  return index == kGain    ? self(e)->gain / (kGainSteps * kGainStep)
         : index == kDelay ? static_cast<float>(self(e)->delay) / kMaxDelay
                           : (self(e)->stall ? 1.0f : 0.0f);
}

void processReplacing(AEffect* e, float** inputs, float** outputs, VstInt32 frames) {
  DelayEffect* fx = self(e);
  while (fx->stall) {
    pause();
  }
  const float broken = std::numeric_limits<float>::quiet_NaN();
  const std::size_t size = kMaxDelay + 1;
  for (VstInt32 i = 0; i < frames; ++i) {
    const std::size_t read = (fx->position + size - static_cast<std::size_t>(fx->delay)) % size;
    for (int c = 0; c < 2; ++c) {
      fx->ring[c][fx->position] = inputs[c][i];
      const float sign = c == 0 ? 1.0f : -1.0f;
      outputs[c][i] = frames > fx->blockSize ? broken : sign * fx->gain * fx->ring[c][read];
    }
    fx->position = (fx->position + 1) % size;
  }
}

void process(AEffect*, float**, float**, VstInt32) {}

} // namespace

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback host) {
  if (host == nullptr || host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) {
    return nullptr;
  }
  auto* fx = new (std::nothrow) DelayEffect;
  if (fx == nullptr) {
    return nullptr;
  }
  AEffect& r = fx->record;
  r.magic = kEffectMagic;
  r.dispatcher = dispatcher;
  r.process = process;
  r.setParameter = setParameter;
  r.getParameter = getParameter;
  r.processReplacing = processReplacing;
  r.numPrograms = 2;
  r.numParams = 3;
  r.numInputs = 2;
  r.numOutputs = 2;
  r.flags = effFlagsCanReplacing;
  r.ioRatio = 1.0f;
  r.object = fx;
  r.uniqueID = fourCharCode('Z', 't', 'D', 'l');
  r.version = 1;
  fx->load(0);
  return &r;
}
