// Loads a VST 2.4 library and drives its record the way a host does. Several instances may
// live at once, on several threads (one renders, one is swept to read parameter ranges; a
// batch has a pair per file in flight); the host callback answers each with its own sample
// rate and block size. One instance is driven by one thread at a time.
#pragma once

#include "VstAbi.h"

#include <string>
#include <vector>

struct PluginIdentity {
  std::string effectName;
  std::string vendor;
  std::string product;
  VstIntPtr vendorVersion = 0;
  VstIntPtr category = 0;
  VstInt32 uniqueId = 0;
  VstInt32 inputs = 0;
  VstInt32 outputs = 0;
};

class PluginHost {
public:
  // Throws RenderError when the library cannot be loaded or declines to.
  explicit PluginHost(const std::string& libraryPath);
  ~PluginHost();
  PluginHost(const PluginHost&) = delete;
  PluginHost& operator=(const PluginHost&) = delete;

  const std::string& path() const { return path_; }
  PluginIdentity identity() const;

  void setSampleRate(float sampleRate);
  void setBlockSize(int blockSize);
  void setMains(bool on);

  int parameterCount() const { return effect_->numParams; }
  std::string parameterName(int index) const;
  std::vector<std::string> parameterNames() const;
  std::string parameterDisplay(int index) const;
  std::string parameterLabel(int index) const;
  // Index of the parameter with that name (exact match first, then ignoring case), or -1.
  int findParameter(const std::string& name) const;
  void setParameter(int index, float value);
  float parameterValue(int index) const; // getParameter

  int programCount() const { return effect_->numPrograms; }
  int currentProgram() const;
  std::string currentProgramName() const;
  std::vector<std::string> programNames();
  void setProgram(int index);
  // A number in range or a program name; -1 when neither matches.
  int findProgram(const std::string& text);

  VstInt32 latency() const { return effect_->initialDelay; }
  int channelSlots() const { return channelSlots_; }
  int outputCount() const { return effect_->numOutputs; }
  // inputs and outputs hold channelSlots() pointers each.
  void process(float** inputs, float** outputs, int frames);

private:
  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) const;
  std::string text(VstInt32 opcode, VstInt32 index = 0) const;
  static VstIntPtr hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                void* ptr, float opt);

  std::string path_;
  void* library_ = nullptr;
  AEffect* effect_ = nullptr;
  int channelSlots_ = 2;
  bool mainsOn_ = false;
  float sampleRate_ = 44100.0f; // what the host callback answers this instance
  int blockSize_ = 512;
};
