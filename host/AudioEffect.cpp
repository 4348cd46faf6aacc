#include "AudioEffect.h"

#include "AEffEditor.h"
#include "HostText.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace {

AudioEffect* instanceOf(AEffect* e) noexcept {
  return e != nullptr ? static_cast<AudioEffect*>(e->object) : nullptr;
}

// Record entry points. Each reaches the instance through the record's object field and lets
// nothing escape to the host.

// The host's UI thread as a rule (some hosts call from a loader or worker thread).
VstIntPtr dispatchEntry(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                        float opt) noexcept {
  AudioEffect* effect = instanceOf(e);
  if (effect == nullptr) {
    return 0;
  }
  VstIntPtr result = 0;
  try {
    result = effect->dispatcher(opcode, index, value, ptr, opt);
  } catch (...) {
    result = 0;
  }
  if (opcode == effClose) {
    delete effect;
    return 1;
  }
  return result;
}

// The host's audio thread.
void processEntry(AEffect* e, float** inputs, float** outputs, VstInt32 sampleFrames) noexcept {
  if (AudioEffect* effect = instanceOf(e)) {
    effect->process(inputs, outputs, sampleFrames);
  }
}

// The host's audio thread.
void processReplacingEntry(AEffect* e, float** inputs, float** outputs,
                           VstInt32 sampleFrames) noexcept {
  if (AudioEffect* effect = instanceOf(e)) {
    effect->processReplacing(inputs, outputs, sampleFrames);
  }
}

// The host's audio thread.
void processDoubleReplacingEntry(AEffect* e, double** inputs, double** outputs,
                                 VstInt32 sampleFrames) noexcept {
  if (AudioEffect* effect = instanceOf(e)) {
    effect->processDoubleReplacing(inputs, outputs, sampleFrames);
  }
}

// Any thread: automation playback on the audio thread, edits on the UI thread.
void setParameterEntry(AEffect* e, VstInt32 index, float value) noexcept {
  if (AudioEffect* effect = instanceOf(e)) {
    effect->setParameter(index, value);
  }
}

// Any thread.
float getParameterEntry(AEffect* e, VstInt32 index) noexcept {
  AudioEffect* effect = instanceOf(e);
  return effect != nullptr ? effect->getParameter(index) : 0.0f;
}

} // namespace

AudioEffect::AudioEffect(audioMasterCallback audioMaster, VstInt32 programs,
                         VstInt32 params) noexcept
    : audioMaster_(audioMaster), numPrograms(programs), numParams(params) {
  std::memset(&cEffect, 0, sizeof cEffect);
  cEffect.magic = kEffectMagic;
  cEffect.dispatcher = dispatchEntry;
  cEffect.process = processEntry;
  cEffect.setParameter = setParameterEntry;
  cEffect.getParameter = getParameterEntry;
  cEffect.numPrograms = programs;
  cEffect.numParams = params;
  cEffect.numInputs = 1;
  cEffect.numOutputs = 2;
  cEffect.ioRatio = 1.0f;
  cEffect.object = this;
  cEffect.uniqueID = fourCharCode('N', 'o', 'E', 'f');
  cEffect.version = 1;
  cEffect.processReplacing = processReplacingEntry;
  cEffect.processDoubleReplacing = processDoubleReplacingEntry;
  canProcessReplacing(true);
}

AudioEffect::~AudioEffect() {
  AEffEditor* editor = editor_;
  editor_ = nullptr;
  delete editor;
}

void AudioEffect::setFlag(VstInt32 flag, bool state) noexcept {
  if (state) {
    cEffect.flags |= flag;
  } else {
    cEffect.flags &= ~flag;
  }
}

void AudioEffect::setEditor(AEffEditor* editor) noexcept {
  editor_ = editor;
  setFlag(effFlagsHasEditor, editor != nullptr);
}

void AudioEffect::setParameterAutomated(VstInt32 index, float value) {
  setParameter(index, value);
  callHost(audioMasterAutomate, index, 0, nullptr, value);
}

void AudioEffect::getProgramName(char* name) { writeHostText(name, "", kVstMaxProgNameLen); }
void AudioEffect::getParameterLabel(VstInt32, char* label) {
  writeHostText(label, "", kParamTextCapacity);
}
void AudioEffect::getParameterDisplay(VstInt32, char* text) {
  writeHostText(text, "", kParamTextCapacity);
}
void AudioEffect::getParameterName(VstInt32, char* text) {
  writeHostText(text, "", kParamTextCapacity);
}

VstIntPtr AudioEffect::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                float opt) {
  return audioMaster_ != nullptr ? audioMaster_(&cEffect, opcode, index, value, ptr, opt) : 0;
}

VstInt32 AudioEffect::getMasterVersion() {
  if (audioMaster_ == nullptr) {
    return 1;
  }
  const auto version = static_cast<VstInt32>(callHost(audioMasterVersion));
  return version != 0 ? version : 1;
}

VstInt32 AudioEffect::getCurrentUniqueId() {
  return static_cast<VstInt32>(callHost(audioMasterCurrentId));
}

void AudioEffect::masterIdle() { callHost(audioMasterIdle); }

bool AudioEffect::isInputConnected(VstInt32 input) {
  return audioMaster_ == nullptr || callHost(audioMasterPinConnected, input, 0) == 0;
}

bool AudioEffect::isOutputConnected(VstInt32 output) {
  return audioMaster_ == nullptr || callHost(audioMasterPinConnected, output, 1) == 0;
}

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt) {
  auto* text = static_cast<char*>(ptr);
  switch (opcode) {
  case effOpen:
    open();
    return 0;
  case effClose:
    close();
    return 0;
  case effSetProgram:
    if (value >= 0 && value < numPrograms) {
      setProgram(static_cast<VstInt32>(value));
    }
    return 0;
  case effGetProgram:
    return getProgram();
  case effSetProgramName:
    if (text != nullptr) {
      setProgramName(text);
    }
    return 0;
  case effGetProgramName:
    if (text != nullptr) {
      getProgramName(text);
    }
    return 0;
  case effGetParamLabel:
    if (text != nullptr) {
      getParameterLabel(index, text);
    }
    return 0;
  case effGetParamDisplay:
    if (text != nullptr) {
      getParameterDisplay(index, text);
    }
    return 0;
  case effGetParamName:
    if (text != nullptr) {
      getParameterName(index, text);
    }
    return 0;
  case effSetSampleRate:
    // A rate the processor could not divide by keeps the previous one.
    if (std::isfinite(opt) && opt > 0.0f) {
      setSampleRate(opt);
    }
    return 0;
  case effSetBlockSize:
    if (value > 0 && value <= std::numeric_limits<VstInt32>::max()) {
      setBlockSize(static_cast<VstInt32>(value));
    }
    return 0;
  case effMainsChanged:
    if (value != 0) {
      resume();
    } else {
      suspend();
    }
    return 0;
  case effEditGetRect:
    return editor_ != nullptr && ptr != nullptr && editor_->getRect(static_cast<ERect**>(ptr)) ? 1
                                                                                               : 0;
  case effEditOpen:
    return editor_ != nullptr && ptr != nullptr && editor_->open(ptr) ? 1 : 0;
  case effEditClose:
    if (editor_ != nullptr) {
      editor_->close();
    }
    return 0;
  case effEditIdle:
    if (editor_ != nullptr) {
      editor_->idle();
    }
    return 0;
  case effIdentify:
    return fourCharCode('N', 'v', 'E', 'f');
  case effGetChunk:
    return ptr != nullptr ? getChunk(static_cast<void**>(ptr), index != 0) : 0;
  case effSetChunk:
    return ptr != nullptr ? setChunk(ptr, static_cast<VstInt32>(value), index != 0) : 0;
  default:
    return 0;
  }
}
