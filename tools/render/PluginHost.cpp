#include "PluginHost.h"

#include "HostText.h"
#include "Options.h"
#include "RenderError.h"

#include <algorithm>
#include <cctype>
#include <dlfcn.h>
#include <map>
#include <mutex>
#include <unistd.h>

namespace {

using PluginEntry = AEffect* (*)(audioMasterCallback);

// Hosts commonly hand out far larger buffers than the interface's limits, since plug-ins
// overrun them; the text is cut at its zero either way.
constexpr std::size_t kTextBuffer = 256;
constexpr char kHostVendor[] = "Zembrac";
constexpr char kHostProduct[] = "zembrac-render";
constexpr VstIntPtr kHostVersion = 1;
constexpr float kDefaultSampleRate = 44100.0f;
constexpr int kDefaultBlockSize = 512;

// Instances render different files on different threads at once, so the callback answers
// each from its own host: found by its record, or, while the entry point is still making
// the record, as the host this thread is constructing.
std::mutex hostsMutex;
std::map<const AEffect*, const PluginHost*> hosts;
thread_local const PluginHost* constructing = nullptr;

const PluginHost* hostOf(const AEffect* effect) {
  const std::lock_guard<std::mutex> lock(hostsMutex);
  const auto found = hosts.find(effect);
  return found != hosts.end() ? found->second : constructing;
}

bool equalIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

int findName(const std::vector<std::string>& names, const std::string& wanted) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == wanted) {
      return static_cast<int>(i);
    }
  }
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (equalIgnoringCase(names[i], wanted)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

} // namespace

VstIntPtr PluginHost::hostCallback(AEffect* effect, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr,
                                   float) {
  const PluginHost* host = opcode == audioMasterGetSampleRate || opcode == audioMasterGetBlockSize
                               ? hostOf(effect)
                               : nullptr;
  switch (opcode) {
  case audioMasterVersion:
    return kVstVersion;
  case audioMasterGetSampleRate:
    return static_cast<VstIntPtr>(host ? host->sampleRate_ : kDefaultSampleRate);
  case audioMasterGetBlockSize:
    return host ? host->blockSize_ : kDefaultBlockSize;
  case audioMasterGetVendorString:
    return writeHostText(static_cast<char*>(ptr), kHostVendor, kVstMaxVendorStrLen) ? 1 : 0;
  case audioMasterGetProductString:
    return writeHostText(static_cast<char*>(ptr), kHostProduct, kVstMaxProductStrLen) ? 1 : 0;
  case audioMasterGetVendorVersion:
    return kHostVersion;
  default:
    // Automation reports and everything else: an offline renderer has nothing to do with them.
    return 0;
  }
}

PluginHost::PluginHost(const std::string& libraryPath) : path_(libraryPath) {
  // dlopen searches the library path for a bare name; a file of that name here comes first.
  const bool bareLocal =
      libraryPath.find('/') == std::string::npos && access(libraryPath.c_str(), F_OK) == 0;
  const std::string openPath = bareLocal ? "./" + libraryPath : libraryPath;
  library_ = dlopen(openPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library_ == nullptr) {
    const char* why = dlerror();
    throw RenderError("cannot load plug-in '" + libraryPath + "': " + (why ? why : "unknown"));
  }
  auto entry = reinterpret_cast<PluginEntry>(dlsym(library_, "VSTPluginMain"));
  if (entry == nullptr) {
    dlclose(library_);
    throw RenderError("'" + libraryPath + "' is not a VST 2.4 plug-in (no VSTPluginMain)");
  }
  constructing = this;
  effect_ = entry(&PluginHost::hostCallback);
  constructing = nullptr;
  if (effect_ == nullptr || effect_->magic != kEffectMagic || effect_->dispatcher == nullptr) {
    const bool declined = effect_ == nullptr;
    effect_ = nullptr;
    dlclose(library_);
    throw RenderError("plug-in '" + libraryPath + "' " +
                      (declined ? "declined to load" : "returned an invalid record"));
  }
  if ((effect_->flags & effFlagsCanReplacing) == 0 || effect_->processReplacing == nullptr ||
      effect_->numOutputs < 1) {
    dispatch(effClose);
    effect_ = nullptr;
    dlclose(library_);
    throw RenderError("plug-in '" + libraryPath + "' has no 32-bit processReplacing output");
  }
  channelSlots_ = std::max({2, effect_->numInputs, effect_->numOutputs});
  {
    const std::lock_guard<std::mutex> lock(hostsMutex);
    hosts[effect_] = this;
  }
  dispatch(effOpen);
}

PluginHost::~PluginHost() {
  if (mainsOn_) {
    dispatch(effMainsChanged, 0, 0);
  }
  dispatch(effClose);
  {
    const std::lock_guard<std::mutex> lock(hostsMutex);
    hosts.erase(effect_);
  }
  dlclose(library_);
}

VstIntPtr PluginHost::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                               float opt) const {
  return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

std::string PluginHost::text(VstInt32 opcode, VstInt32 index) const {
  char buffer[kTextBuffer] = {};
  dispatch(opcode, index, 0, buffer);
  buffer[kTextBuffer - 1] = '\0';
  return std::string(trimmed(buffer));
}

PluginIdentity PluginHost::identity() const {
  PluginIdentity id;
  id.effectName = text(effGetEffectName);
  id.vendor = text(effGetVendorString);
  id.product = text(effGetProductString);
  id.vendorVersion = dispatch(effGetVendorVersion);
  id.category = dispatch(effGetPlugCategory);
  id.uniqueId = effect_->uniqueID;
  id.inputs = effect_->numInputs;
  id.outputs = effect_->numOutputs;
  return id;
}

void PluginHost::setSampleRate(float sampleRate) {
  sampleRate_ = sampleRate;
  dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
}

void PluginHost::setBlockSize(int blockSize) {
  blockSize_ = blockSize;
  dispatch(effSetBlockSize, 0, blockSize);
}

void PluginHost::setMains(bool on) {
  dispatch(effMainsChanged, 0, on ? 1 : 0);
  mainsOn_ = on;
}

std::string PluginHost::parameterName(int index) const { return text(effGetParamName, index); }
std::string PluginHost::parameterDisplay(int index) const {
  return text(effGetParamDisplay, index);
}
std::string PluginHost::parameterLabel(int index) const { return text(effGetParamLabel, index); }

std::vector<std::string> PluginHost::parameterNames() const {
  std::vector<std::string> names;
  for (int i = 0; i < parameterCount(); ++i) {
    names.push_back(parameterName(i));
  }
  return names;
}

int PluginHost::findParameter(const std::string& name) const {
  return findName(parameterNames(), name);
}

void PluginHost::setParameter(int index, float value) {
  effect_->setParameter(effect_, index, value);
}

float PluginHost::parameterValue(int index) const { return effect_->getParameter(effect_, index); }

int PluginHost::currentProgram() const { return static_cast<int>(dispatch(effGetProgram)); }

std::string PluginHost::currentProgramName() const { return text(effGetProgramName); }

std::vector<std::string> PluginHost::programNames() {
  std::vector<std::string> names;
  const int current = currentProgram();
  bool switched = false;
  for (int i = 0; i < programCount(); ++i) {
    char buffer[kTextBuffer] = {};
    if (dispatch(effGetProgramNameIndexed, i, -1, buffer) != 0) {
      buffer[kTextBuffer - 1] = '\0';
      names.emplace_back(trimmed(buffer));
    } else {
      // Without indexed names the only way to read a name is to make it current.
      setProgram(i);
      switched = true;
      names.push_back(currentProgramName());
    }
  }
  if (switched && current >= 0 && current < programCount()) {
    setProgram(current);
  }
  return names;
}

void PluginHost::setProgram(int index) { dispatch(effSetProgram, 0, index); }

int PluginHost::findProgram(const std::string& wanted) {
  if (const auto number = parseInteger(wanted)) {
    return *number >= 0 && *number < programCount() ? static_cast<int>(*number) : -1;
  }
  return findName(programNames(), wanted);
}

void PluginHost::process(float** inputs, float** outputs, int frames) {
  effect_->processReplacing(effect_, inputs, outputs, frames);
}
