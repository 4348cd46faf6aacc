// The effect: 13 parameters, 9 programs, the dynamics processor and the display feed.
#pragma once

#include "AudioEffectX.h"
#include "Conversions.h"
#include "DisplaySettings.h"
#include "DynamicsProcessor.h"
#include "EditorState.h"
#include "EngineConstants.h"
#include "PresetRecord.h"
#include "RelaxedAtomic.h"
#include "WavePeakFeed.h"

#include <array>
#include <cstdint>

class HelpWindow;

class ADelay : public AudioEffectX {
public:
  explicit ADelay(audioMasterCallback audioMaster);
  ~ADelay() override;

  // Audio thread. Allocates nothing, locks nothing.
  void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
  // UI thread (effMainsChanged 0); clears the look-ahead rings.
  void suspend() override;

  // Any thread; a whole word per member, no lock.
  void setParameter(VstInt32 index, float value) override;
  float getParameter(VstInt32 index) override;
  // Editor thread: sets the natural value, then reports a normalized one to the host.
  void setParameterAutomated(VstInt32 index, float value) override;

  // UI thread.
  void setProgram(VstInt32 program) override;
  void setProgramName(char* name) override;
  void getProgramName(char* name) override;
  // Any category: the nine programs are one list.
  bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;
  void getParameterLabel(VstInt32 index, char* label) override;
  void getParameterDisplay(VstInt32 index, char* text) override;
  void getParameterName(VstInt32 index, char* text) override;

  // UI thread (through the dispatcher).
  bool getEffectName(char* name) override;
  bool getVendorString(char* text) override;
  bool getProductString(char* text) override;
  VstInt32 getVendorVersion() override { return kVendorVersion; }
  VstInt32 canDo(char* text) override;
  VstPlugCategory getPlugCategory() override { return kPlugCategMastering; }

  const PresetRecord& program(VstInt32 index) const noexcept {
    return programs_[static_cast<std::size_t>(index)];
  }

  // Parameter members (the live values the processor and the editor read).
  RelaxedAtomic<bool> softOn{true};
  RelaxedAtomic<bool> normalizeOn{false};
  RelaxedAtomic<bool> ditherOn{false};
  RelaxedAtomic<bool> bypassOn{false};
  RelaxedAtomic<std::int16_t> compThresholdSteps{10};
  RelaxedAtomic<std::int32_t> outputSteps{kUnityOutputSteps};
  RelaxedAtomic<std::int16_t> releaseMs{250};
  RelaxedAtomic<std::int16_t> ratioSteps{3};
  RelaxedAtomic<std::int32_t> zoomSteps{1};
  RelaxedAtomic<float> gainMemo{1.0f};
  RelaxedAtomic<float> autoRelease{0.0f};
  RelaxedAtomic<std::int16_t> limThresholdSteps{1};
  RelaxedAtomic<float> lookAheadValue{5.0f};

  // Derived members, recomputed by setParameter (and written back by the processor).
  RelaxedAtomic<float> compThreshold{1.0f};
  RelaxedAtomic<float> outputGain{1.0f};
  RelaxedAtomic<std::int32_t> releaseSamples{0};
  RelaxedAtomic<float> limThreshold{1.0f};

  // Flags shared with the editor and the processor.
  RelaxedAtomic<bool> paramsChanged{false};
  RelaxedAtomic<bool> normalizeHold{false};
  RelaxedAtomic<bool> meterClampOnce{false};
  RelaxedAtomic<float> shownOutputGain{1.0f};

  // Display feed: written by the processor at block end, read and zeroed by the editor.
  WavePeakFeed wavePeakFeed;
  RelaxedAtomic<float> rmsSumL{0.0f};
  RelaxedAtomic<float> rmsSumR{0.0f};
  RelaxedAtomic<std::int32_t> rmsCount{0};

  // Dynamics processor: look-ahead rings, compressor and limiter state (audio thread only;
  // suspend clears the rings while processing is stopped).
  DynamicsProcessor processor;
  // The parameter members as one block sees them (any thread; whole-word loads).
  BlockSettings blockSettings();

  DisplaySettings displaySettings;
  EditorState editorState;

  // Null in builds without an editor.
  HelpWindow* helpWindow = nullptr;

private:
  void initProcessor();
  PresetRecord& currentRecord() noexcept { return programs_[static_cast<std::size_t>(curProgram)]; }
  void storeSteps(VstInt32 index, std::int32_t steps);

  std::array<PresetRecord, kNumPrograms> programs_{};
};
