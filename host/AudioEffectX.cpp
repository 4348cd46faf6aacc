#include "AudioEffectX.h"

#include "AEffEditor.h"
#include "HostText.h"

namespace {
VstIntPtr flag(bool b) noexcept { return b ? 1 : 0; }

// The modifier byte of a key record: opt truncated toward zero, low byte. A value no integer
// can hold gives no modifiers rather than an undefined conversion.
unsigned char modifierByte(float opt) noexcept {
  if (!(opt > -2147483648.0f && opt < 2147483648.0f)) {
    return 0;
  }
  return static_cast<unsigned char>(static_cast<std::uint32_t>(static_cast<VstInt32>(opt)) & 0xFFu);
}
} // namespace

VstIntPtr AudioEffectX::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt) {
  auto* text = static_cast<char*>(ptr);
  switch (opcode) {
  case effProcessEvents:
    return ptr != nullptr ? processEvents(static_cast<VstEvents*>(ptr)) : 0;
  case effCanBeAutomated:
    return flag(canParameterBeAutomated(index));
  case effString2Parameter:
    return text != nullptr ? flag(string2parameter(index, text)) : 0;
  case effGetProgramNameIndexed:
    return text != nullptr ? flag(getProgramNameIndexed(static_cast<VstInt32>(value), index, text))
                           : 0;
  case effGetInputProperties:
    return ptr != nullptr ? flag(getInputProperties(index, static_cast<VstPinProperties*>(ptr)))
                          : 0;
  case effGetOutputProperties:
    return ptr != nullptr ? flag(getOutputProperties(index, static_cast<VstPinProperties*>(ptr)))
                          : 0;
  case effGetPlugCategory:
    return getPlugCategory();
  case effOfflineNotify:
    return ptr != nullptr ? flag(offlineNotify(static_cast<VstAudioFile*>(ptr),
                                               static_cast<VstInt32>(value), index != 0))
                          : 0;
  case effOfflinePrepare:
    return ptr != nullptr ? flag(offlinePrepare(static_cast<VstOfflineTask*>(ptr),
                                                static_cast<VstInt32>(value)))
                          : 0;
  case effOfflineRun:
    return ptr != nullptr
               ? flag(offlineRun(static_cast<VstOfflineTask*>(ptr), static_cast<VstInt32>(value)))
               : 0;
  case effProcessVarIo:
    return ptr != nullptr ? flag(processVariableIo(static_cast<VstVariableIo*>(ptr))) : 0;
  case effSetSpeakerArrangement:
    return flag(setSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(value),
                                      static_cast<VstSpeakerArrangement*>(ptr)));
  case effSetBypass:
    return flag(setBypass(value != 0));
  case effGetEffectName:
    return text != nullptr ? flag(getEffectName(text)) : 0;
  case effGetVendorString:
    return text != nullptr ? flag(getVendorString(text)) : 0;
  case effGetProductString:
    return text != nullptr ? flag(getProductString(text)) : 0;
  case effGetVendorVersion:
    return getVendorVersion();
  case effVendorSpecific:
    return vendorSpecific(index, value, ptr, opt);
  case effCanDo:
    return text != nullptr ? canDo(text) : 0;
  case effGetTailSize:
    return getGetTailSize();
  case effGetParameterProperties:
    return ptr != nullptr
               ? flag(getParameterProperties(index, static_cast<VstParameterProperties*>(ptr)))
               : 0;
  case effGetVstVersion:
    return getVstVersion();
  case effEditKeyDown:
  case effEditKeyUp: {
    if (editor_ == nullptr) {
      return 0;
    }
    VstKeyCode key{};
    key.character = index;
    key.virt = static_cast<unsigned char>(value & 0xFF);
    key.modifier = modifierByte(opt);
    return flag(opcode == effEditKeyDown ? editor_->onKeyDown(key) : editor_->onKeyUp(key));
  }
  case effSetEditKnobMode:
    return editor_ != nullptr ? flag(editor_->setKnobMode(static_cast<VstInt32>(value))) : 0;
  case effGetMidiProgramName:
    return ptr != nullptr ? getMidiProgramName(index, static_cast<MidiProgramName*>(ptr)) : 0;
  case effGetCurrentMidiProgram:
    return getCurrentMidiProgram(index, static_cast<MidiProgramName*>(ptr));
  case effGetMidiProgramCategory:
    return ptr != nullptr ? getMidiProgramCategory(index, static_cast<MidiProgramCategory*>(ptr))
                          : 0;
  case effHasMidiProgramsChanged:
    return flag(hasMidiProgramsChanged(index));
  case effGetMidiKeyName:
    return ptr != nullptr ? flag(getMidiKeyName(index, static_cast<MidiKeyName*>(ptr))) : 0;
  case effBeginSetProgram:
    return flag(beginSetProgram());
  case effEndSetProgram:
    return flag(endSetProgram());
  case effGetSpeakerArrangement:
    return flag(getSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement**>(value),
                                      static_cast<VstSpeakerArrangement**>(ptr)));
  case effShellGetNextPlugin:
    return text != nullptr ? getNextShellPlugin(text) : 0;
  case effStartProcess:
    return startProcess();
  case effStopProcess:
    return stopProcess();
  case effSetTotalSampleToProcess:
    return setTotalSampleToProcess(static_cast<VstInt32>(value));
  case effSetPanLaw:
    return flag(setPanLaw(static_cast<VstInt32>(value), opt));
  case effBeginLoadBank:
    return ptr != nullptr ? beginLoadBank(static_cast<VstPatchChunkInfo*>(ptr)) : 0;
  case effBeginLoadProgram:
    return ptr != nullptr ? beginLoadProgram(static_cast<VstPatchChunkInfo*>(ptr)) : 0;
  case effSetProcessPrecision:
    return flag(setProcessPrecision(static_cast<VstInt32>(value)));
  case effGetNumMidiInputChannels:
    return getNumMidiInputChannels();
  case effGetNumMidiOutputChannels:
    return getNumMidiOutputChannels();
  default:
    return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
  }
}

void AudioEffectX::resume() {
  char midi[] = "receiveVstMidiEvent";
  if ((cEffect.flags & effFlagsIsSynth) != 0 || canDo(midi) == 1) {
    wantEvents(1);
  }
}

bool AudioEffectX::getSpeakerArrangement(VstSpeakerArrangement** input,
                                         VstSpeakerArrangement** output) {
  if (input != nullptr) {
    *input = nullptr;
  }
  if (output != nullptr) {
    *output = nullptr;
  }
  return false;
}

VstPlugCategory AudioEffectX::getPlugCategory() {
  return (cEffect.flags & effFlagsIsSynth) != 0 ? kPlugCategSynth : kPlugCategUnknown;
}

bool AudioEffectX::isSynth(bool state) {
  setFlag(effFlagsIsSynth, state);
  return state;
}

void AudioEffectX::noTail(bool state) { setFlag(effFlagsNoSoundInStop, state); }

// Host services: with no host callback each answers its neutral value and calls nothing.

VstInt32 AudioEffectX::wantEvents(VstInt32 filter) {
  return static_cast<VstInt32>(callHost(audioMasterWantMidi, 0, filter));
}
VstTimeInfo* AudioEffectX::getTimeInfo(VstInt32 filter) {
  return reinterpret_cast<VstTimeInfo*>(callHost(audioMasterGetTime, 0, filter));
}
bool AudioEffectX::ioChanged() { return callHost(audioMasterIOChanged) != 0; }
bool AudioEffectX::sizeWindow(VstInt32 width, VstInt32 height) {
  return callHost(audioMasterSizeWindow, width, height) != 0;
}
double AudioEffectX::updateSampleRate() {
  const VstIntPtr answer = callHost(audioMasterGetSampleRate);
  if (answer > 0) {
    sampleRate_ = static_cast<float>(answer);
  }
  return sampleRate_;
}
VstInt32 AudioEffectX::updateBlockSize() {
  const auto answer = static_cast<VstInt32>(callHost(audioMasterGetBlockSize));
  if (answer > 0) {
    blockSize_ = answer;
  }
  return blockSize_;
}
VstInt32 AudioEffectX::getInputLatency() {
  return static_cast<VstInt32>(callHost(audioMasterGetInputLatency));
}
VstInt32 AudioEffectX::getOutputLatency() {
  return static_cast<VstInt32>(callHost(audioMasterGetOutputLatency));
}
VstInt32 AudioEffectX::getCurrentProcessLevel() {
  return static_cast<VstInt32>(callHost(audioMasterGetCurrentProcessLevel));
}
VstInt32 AudioEffectX::getAutomationState() {
  return static_cast<VstInt32>(callHost(audioMasterGetAutomationState));
}
bool AudioEffectX::getHostVendorString(char* text) {
  return text != nullptr && callHost(audioMasterGetVendorString, 0, 0, text) != 0;
}
bool AudioEffectX::getHostProductString(char* text) {
  return text != nullptr && callHost(audioMasterGetProductString, 0, 0, text) != 0;
}
VstInt32 AudioEffectX::getHostVendorVersion() {
  return static_cast<VstInt32>(callHost(audioMasterGetVendorVersion));
}
VstIntPtr AudioEffectX::hostVendorSpecific(VstInt32 lArg1, VstIntPtr lArg2, void* ptrArg,
                                           float floatArg) {
  return callHost(audioMasterVendorSpecific, lArg1, lArg2, ptrArg, floatArg);
}
VstInt32 AudioEffectX::canHostDo(char* text) {
  return text != nullptr && callHost(audioMasterCanDo, 0, 0, text) != 0 ? 1 : 0;
}
VstInt32 AudioEffectX::getHostLanguage() {
  return static_cast<VstInt32>(callHost(audioMasterGetLanguage));
}
void* AudioEffectX::getDirectory() {
  return reinterpret_cast<void*>(callHost(audioMasterGetDirectory));
}
bool AudioEffectX::updateDisplay() { return callHost(audioMasterUpdateDisplay) != 0; }
bool AudioEffectX::beginEdit(VstInt32 index) { return callHost(audioMasterBeginEdit, index) != 0; }
bool AudioEffectX::endEdit(VstInt32 index) { return callHost(audioMasterEndEdit, index) != 0; }
bool AudioEffectX::openFileSelector(VstFileSelect* ptr) {
  return ptr != nullptr && callHost(audioMasterOpenFileSelector, 0, 0, ptr) != 0;
}
bool AudioEffectX::closeFileSelector(VstFileSelect* ptr) {
  return ptr != nullptr && callHost(audioMasterCloseFileSelector, 0, 0, ptr) != 0;
}
