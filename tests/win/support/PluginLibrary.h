// Loads the built zembrac.dll like a host: LoadLibrary, then VSTPluginMain.
#pragma once

#include "VstAbi.h"

#include <string>

// The DLL path given on the test program's command line (a Unix path under Wine is mapped to
// drive Z:). Set by main() before the tests run.
void setPluginPath(const char* unixOrWindowsPath);
const std::string& pluginPath();

using PluginMainProc = AEffect* (*)(audioMasterCallback);

class PluginLibrary {
public:
  PluginLibrary();
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  bool loaded() const { return module_ != nullptr && main_ != nullptr; }
  // A new instance through VSTPluginMain (null when the plug-in declines).
  AEffect* create(audioMasterCallback host) const;

private:
  void* module_ = nullptr;
  PluginMainProc main_ = nullptr;
};

// Shorthand for a dispatcher call.
VstIntPtr dispatch(AEffect* e, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                   void* ptr = nullptr, float opt = 0.0f);
