// The reference host callback every suite uses: it records each request the plug-in makes.
#pragma once

#include "VstAbi.h"

#include <map>
#include <mutex>
#include <vector>

struct HostRequest {
  AEffect* effect;
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr value;
  void* ptr;
  float opt;
  // For audioMasterAutomate: what the record's getParameter answered while the host was being
  // told, so a test can see that the value was set before the report.
  float parameterAtCall;
};

class RecordingHost {
public:
  // One recorder per process: a host callback is a plain function pointer.
  static RecordingHost& instance();
  static VstIntPtr callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                            void* ptr, float opt);

  // Forgets every request and answer; audioMasterVersion answers 2400 again.
  void clear();
  void setVersionAnswer(VstIntPtr answer);
  // What the host answers to one opcode (0 for every opcode without an answer).
  void setAnswer(VstInt32 opcode, VstIntPtr answer);
  std::vector<HostRequest> requests() const;
  std::vector<HostRequest> requests(VstInt32 opcode) const;

private:
  mutable std::mutex mutex_;
  std::vector<HostRequest> requests_;
  std::map<VstInt32, VstIntPtr> answers_{{audioMasterVersion, kVstVersion}};
};
