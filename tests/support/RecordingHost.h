// The reference host callback every suite uses: it records each request the plug-in makes.
#pragma once

#include "VstAbi.h"

#include <mutex>
#include <vector>

struct HostRequest {
  AEffect* effect;
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr value;
  void* ptr;
  float opt;
};

class RecordingHost {
public:
  // One recorder per process: a host callback is a plain function pointer.
  static RecordingHost& instance();
  static VstIntPtr callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                            void* ptr, float opt);

  void clear();
  void setVersionAnswer(VstIntPtr answer);
  std::vector<HostRequest> requests() const;
  std::vector<HostRequest> requests(VstInt32 opcode) const;

private:
  mutable std::mutex mutex_;
  std::vector<HostRequest> requests_;
  VstIntPtr versionAnswer_ = kVstVersion;
};
