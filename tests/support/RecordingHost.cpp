#include "RecordingHost.h"

RecordingHost& RecordingHost::instance() {
  static RecordingHost host;
  return host;
}

VstIntPtr RecordingHost::callback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                  VstIntPtr value, void* ptr, float opt) {
  RecordingHost& self = instance();
  std::lock_guard<std::mutex> lock(self.mutex_);
  self.requests_.push_back({effect, opcode, index, value, ptr, opt});
  return opcode == audioMasterVersion ? self.versionAnswer_ : 0;
}

void RecordingHost::clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  requests_.clear();
  versionAnswer_ = kVstVersion;
}

void RecordingHost::setVersionAnswer(VstIntPtr answer) {
  std::lock_guard<std::mutex> lock(mutex_);
  versionAnswer_ = answer;
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
