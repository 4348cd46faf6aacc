#include "PluginLibrary.h"

#include <windows.h>

namespace {
std::string& path() {
  static std::string p;
  return p;
}
} // namespace

void setPluginPath(const char* given) {
  std::string p = given != nullptr ? given : "";
  if (!p.empty() && p[0] == '/') {
    p = "Z:" + p;
  }
  for (char& c : p) {
    if (c == '/') {
      c = '\\';
    }
  }
  path() = p;
}

const std::string& pluginPath() { return path(); }

PluginLibrary::PluginLibrary() {
  HMODULE m = LoadLibraryA(pluginPath().c_str());
  module_ = m;
  if (m != nullptr) {
    main_ = reinterpret_cast<PluginMainProc>(
        reinterpret_cast<void*>(GetProcAddress(m, "VSTPluginMain")));
  }
}

PluginLibrary::~PluginLibrary() {
  if (module_ != nullptr) {
    FreeLibrary(static_cast<HMODULE>(module_));
  }
}

AEffect* PluginLibrary::create(audioMasterCallback host) const {
  return main_ != nullptr ? main_(host) : nullptr;
}

VstIntPtr dispatch(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                   float opt) {
  return e->dispatcher(e, opcode, index, value, ptr, opt);
}
