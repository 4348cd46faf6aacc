#include "RecordingHost.h"

RecordingHost& RecordingHost::instance() {
  static RecordingHost host;
  return host;
}

VstIntPtr RecordingHost::callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                  void* ptr, float opt) {
  // Asked outside the lock: the plug-in answers without calling back.
  const float parameter =
      opcode == audioMasterAutomate && effect != nullptr && effect->getParameter != nullptr
          ? effect->getParameter(effect, index)
          : 0.0f;
  RecordingHost& self = instance();
  std::lock_guard<std::mutex> lock(self.mutex_);
  self.requests_.push_back({effect, opcode, index, value, ptr, opt, parameter});
  const auto answer = self.answers_.find(opcode);
  return answer != self.answers_.end() ? answer->second : 0;
}

void RecordingHost::clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  requests_.clear();
  answers_.clear();
  answers_[audioMasterVersion] = kVstVersion;
}

void RecordingHost::setVersionAnswer(VstIntPtr answer) { setAnswer(audioMasterVersion, answer); }

void RecordingHost::setAnswer(VstInt32 opcode, VstIntPtr answer) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_[opcode] = answer;
}

std::vector<HostRequest> RecordingHost::requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

std::vector<HostRequest> RecordingHost::requests(VstInt32 opcode) const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<HostRequest> out;
  for (const HostRequest& r : requests_) {
    if (r.opcode == opcode) {
      out.push_back(r);
    }
  }
  return out;
}
