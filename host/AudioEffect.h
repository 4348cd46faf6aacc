// Framework base of an effect: owns the record handed to the host, the host callback, the
// editor pointer and the base dispatcher for opcodes 0..24.
#pragma once

#include "RelaxedAtomic.h"
#include "VstAbi.h"

class AEffEditor;

class AudioEffect {
public:
  AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams) noexcept;
  virtual ~AudioEffect();
  AudioEffect(const AudioEffect&) = delete;
  AudioEffect& operator=(const AudioEffect&) = delete;

  // Host request entry (UI thread as a rule); routes opcodes 0..24.
  virtual VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                               float opt);

  // UI thread (through the dispatcher), never while a block runs for suspend and the rates.
  virtual void open() {}
  virtual void close() {}
  virtual void suspend() {}
  virtual void resume() {}
  virtual void setSampleRate(float sampleRate) { sampleRate_ = sampleRate; }
  virtual void setBlockSize(VstInt32 blockSize) { blockSize_ = blockSize; }

  // Audio thread: no allocation, no lock, no system call.
  virtual void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) = 0;
  virtual void processDoubleReplacing(double** /*inputs*/, double** /*outputs*/,
                                      VstInt32 /*sampleFrames*/) {}

  // Any thread, also while a block runs.
  virtual void setParameter(VstInt32 /*index*/, float /*value*/) {}
  virtual float getParameter(VstInt32 /*index*/) { return 0.0f; }
  virtual void setParameterAutomated(VstInt32 index, float value);

  // UI thread (through the dispatcher).
  virtual VstInt32 getProgram() { return curProgram; }
  virtual void setProgram(VstInt32 program) { curProgram = program; }
  virtual void setProgramName(char* /*name*/) {}
  virtual void getProgramName(char* name);
  virtual void getParameterLabel(VstInt32 index, char* label);
  virtual void getParameterDisplay(VstInt32 index, char* text);
  virtual void getParameterName(VstInt32 index, char* text);
  virtual VstInt32 getChunk(void** /*data*/, bool /*isPreset*/) { return 0; }
  virtual VstInt32 setChunk(void* /*data*/, VstInt32 /*byteSize*/, bool /*isPreset*/) { return 0; }

  virtual void setUniqueID(VstInt32 iD) { cEffect.uniqueID = iD; }
  virtual void setNumInputs(VstInt32 inputs) { cEffect.numInputs = inputs; }
  virtual void setNumOutputs(VstInt32 outputs) { cEffect.numOutputs = outputs; }
  virtual void canProcessReplacing(bool state) { setFlag(effFlagsCanReplacing, state); }
  virtual void canDoubleReplacing(bool state) { setFlag(effFlagsCanDoubleReplacing, state); }
  virtual void programsAreChunks(bool state) { setFlag(effFlagsProgramChunks, state); }
  virtual void setInitialDelay(VstInt32 delay) { cEffect.initialDelay = delay; }
  void setEditor(AEffEditor* editor) noexcept;
  virtual AEffEditor* getEditor() { return editor_; }
  virtual AEffect* getAeffect() { return &cEffect; }
  virtual float getSampleRate() { return sampleRate_; }
  virtual VstInt32 getBlockSize() { return blockSize_; }

  // Host services: each is one call of the host callback, or its neutral answer without one.
  virtual VstInt32 getMasterVersion();
  virtual VstInt32 getCurrentUniqueId();
  virtual void masterIdle();
  virtual bool isInputConnected(VstInt32 input);
  virtual bool isOutputConnected(VstInt32 output);

  // Obsolete accumulating process, reached only through the record's process entry.
  virtual void process(float** /*inputs*/, float** /*outputs*/, VstInt32 /*sampleFrames*/) {}

  audioMasterCallback getHostCallback() const noexcept { return audioMaster_; }

protected:
  VstIntPtr callHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);
  void setFlag(VstInt32 flag, bool state) noexcept;

  audioMasterCallback audioMaster_;
  AEffEditor* editor_ = nullptr;
  // Set on the UI thread (effSetSampleRate), read by the audio thread at every block.
  RelaxedAtomic<float> sampleRate_{44100.0f};
  VstInt32 blockSize_ = 1024;
  VstInt32 numPrograms;
  VstInt32 numParams;
  // Written by program changes on the UI thread, read by setParameter on any thread.
  RelaxedAtomic<VstInt32> curProgram{0};
  AEffect cEffect{};
};

// Defined by the plug-in: creates the one effect object behind a new record, or null.
AudioEffect* createEffectInstance(audioMasterCallback audioMaster);
