// A plug-in instance made through VSTPluginMain and driven through its record, as a host does.
#pragma once

#include "ADelay.h"
#include "RecordingHost.h"
#include "VstAbi.h"

#include <cstring>
#include <string>

extern "C" AEffect* VSTPluginMain(audioMasterCallback audioMaster) noexcept;

class Plugin {
public:
  // Clears the recording host first, so requests() holds this instance's requests only.
  explicit Plugin(audioMasterCallback host = RecordingHost::callback) {
    RecordingHost::instance().clear();
    record_ = VSTPluginMain(host);
  }
  ~Plugin() { close(); }
  Plugin(const Plugin&) = delete;
  Plugin& operator=(const Plugin&) = delete;

  AEffect* record() const { return record_; }
  explicit operator bool() const { return record_ != nullptr; }
  ADelay& effect() const {
    return *static_cast<ADelay*>(static_cast<AudioEffect*>(record_->object));
  }

  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) const {
    return record_->dispatcher(record_, opcode, index, value, ptr, opt);
  }
  void set(VstInt32 index, float value) const { record_->setParameter(record_, index, value); }
  float get(VstInt32 index) const { return record_->getParameter(record_, index); }

  std::string text(VstInt32 opcode, VstInt32 index = 0) const {
    char buffer[256];
    std::memset(buffer, 0x5A, sizeof buffer);
    buffer[sizeof buffer - 1] = '\0';
    dispatch(opcode, index, 0, buffer);
    return buffer;
  }
  std::string name(VstInt32 index) const { return text(effGetParamName, index); }
  std::string label(VstInt32 index) const { return text(effGetParamLabel, index); }
  std::string display(VstInt32 index) const { return text(effGetParamDisplay, index); }
  std::string programName() const { return text(effGetProgramName); }

  VstIntPtr close() {
    VstIntPtr answer = 0;
    if (record_ != nullptr) {
      answer = dispatch(effClose);
      record_ = nullptr;
    }
    return answer;
  }

private:
  AEffect* record_ = nullptr;
};
