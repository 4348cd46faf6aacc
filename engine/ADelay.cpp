#include "ADelay.h"

#include "BlockSetup.h"
#include "Conversions.h"
#include "EditorFactory.h"
#include "HostText.h"
#include "ParameterTable.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>

namespace {

// What a step parameter hands the host: within 0..0.99999, so that the host never holds a
// value outside its range and anything it sends back is read as normalized. (Output passes
// 24000 steps when Auto Normalize lowers the gain below 0 dB; read back as the natural value 1
// it would become +24 dB.)
float hostNormalized(float steps, float scale) noexcept {
  const float normalized = steps / scale;
  if (!(normalized > 0.0f)) {
    return 0.0f;
  }
  return normalized < kNormalizedMax ? normalized : kNormalizedMax;
}

bool isStepKind(ParamKind kind) noexcept {
  return kind == ParamKind::Steps || kind == ParamKind::LookAhead;
}

} // namespace

ADelay::ADelay(audioMasterCallback audioMaster)
    : AudioEffectX(audioMaster, kNumPrograms, kNumParams) {
  helpWindow = createHelpWindow(this);
  for (std::size_t i = 0; i < programs_.size(); ++i) {
    programs_[i] = kFactoryPrograms[i];
  }
  setNumInputs(2);
  setNumOutputs(2);
  canProcessReplacing(true);
  setUniqueID(kUniqueId);
  releaseSamples = msToSamples(getSampleRate(), 250.0f);
  setInitialDelay(lookAheadLatency(lookAheadValue));
  initProcessor();
  setProgram(0);
}

ADelay::~ADelay() {
  destroyHelpWindow(helpWindow);
  helpWindow = nullptr;
}

void ADelay::storeSteps(VstInt32 index, std::int32_t steps) {
  PresetRecord& rec = currentRecord();
  const auto s16 = static_cast<std::int16_t>(steps); // callers limit int16 members beforehand
  switch (index) {
  case kThrComp:
    compThresholdSteps = s16;
    rec.compThresholdSteps = s16;
    compThreshold = thresholdFactorOfSteps(steps);
    break;
  case kOutput:
    outputSteps = steps;
    rec.outputSteps = steps;
    outputGain = outputGainOfSteps(steps);
    break;
  case kRelease:
    releaseMs = s16;
    rec.releaseMs = s16;
    releaseSamples = msToSamples(getSampleRate(), static_cast<float>(steps));
    break;
  case kRatio:
    ratioSteps = s16;
    rec.ratioSteps = s16;
    break;
  case kZoom:
    zoomSteps = steps;
    rec.zoomSteps = steps;
    break;
  case kThrLim:
    limThresholdSteps = s16;
    rec.limThresholdSteps = s16;
    limThreshold = thresholdFactorOfSteps(steps);
    if (normalizeOn) {
      // The output follows the limiter threshold up to the chosen ceiling.
      // A host's natural value far beyond the 48 steps would make the gain infinite; the link
      // never asks for more than the +24 dB that switching Normalize on starts from.
      const float gain = std::min(thresholdFactorOfSteps(-steps) *
                                      ceilingFactor(displaySettings.normalizeCeilingIndex),
                                  kNormalizeFullGain);
      outputGain = gain;
      const std::int32_t linked = outputStepsOfGain(gain);
      outputSteps = linked;
      rec.outputSteps = linked;
      normalizeHold = true;
      meterClampOnce = true;
    }
    break;
  default:
    break;
  }
}

void ADelay::setParameter(VstInt32 index, float value) {
  const ParameterInfo* info = parameterInfo(index);
  if (info == nullptr) {
    paramsChanged = true;
    return;
  }
  if (!std::isfinite(value)) {
    return; // a broken automation value never replaces a good one
  }
  const bool normalized = value > 0.0f && value < 1.0f;
  PresetRecord& rec = currentRecord();
  switch (info->kind) {
  case ParamKind::Switch: {
    const bool on = value != 0.0f;
    const auto stored = static_cast<std::uint8_t>(on ? 1 : 0);
    if (index == kSoft) {
      softOn = on;
      rec.softOn = stored;
    } else if (index == kNormalize) {
      normalizeOn = on;
      rec.normalizeOn = stored;
      if (on) {
        outputGain = kNormalizeFullGain;
        outputSteps = outputStepsOfGain(kNormalizeFullGain);
      } else {
        shownOutputGain = 0.0f;
      }
    } else if (index == kDither) {
      ditherOn = on;
      rec.ditherOn = stored;
    } else {
      bypassOn = on;
      rec.bypassOn = stored;
    }
    break;
  }
  case ParamKind::Steps: {
    float v = normalized ? value * info->scale + 0.5f : value;
    v = v < info->minStep ? info->minStep : (v > info->maxStep ? info->maxStep : v);
    storeSteps(index, truncateToInt32(v));
    break;
  }
  case ParamKind::LookAhead: {
    float v = normalized ? std::trunc(value * info->scale + 0.5f) : value;
    // The ring holds 1000 hundredths of a millisecond; -0 is stored as 0.
    v = v <= 0.0f ? 0.0f : (v > kLookAheadMax ? kLookAheadMax : v);
    lookAheadValue = v;
    rec.lookAheadValue = v;
    setInitialDelay(lookAheadLatency(v));
    break;
  }
  case ParamKind::Plain:
    if (index == kGainMemo) {
      gainMemo = value;
      rec.gainMemo = value;
    } else {
      autoRelease = value;
      rec.autoRelease = value;
    }
    break;
  }
  paramsChanged = true;
}

float ADelay::getParameter(VstInt32 index) {
  const ParameterInfo* info = parameterInfo(index);
  if (info == nullptr) {
    return 0.0f;
  }
  float steps = 0.0f;
  switch (index) {
  case kSoft:
    return softOn ? 1.0f : 0.0f;
  case kNormalize:
    return normalizeOn ? 1.0f : 0.0f;
  case kDither:
    return ditherOn ? 1.0f : 0.0f;
  case kBypass:
    return bypassOn ? 1.0f : 0.0f;
  case kGainMemo:
    return gainMemo;
  case kAutoRel:
    return autoRelease;
  case kThrComp:
    steps = compThresholdSteps.load();
    break;
  case kOutput:
    steps = static_cast<float>(outputSteps.load());
    break;
  case kRelease:
    steps = releaseMs.load();
    break;
  case kRatio:
    steps = ratioSteps.load();
    break;
  case kZoom:
    steps = static_cast<float>(zoomSteps.load());
    break;
  case kThrLim:
    steps = limThresholdSteps.load();
    break;
  default:
    steps = lookAheadValue;
    break;
  }
  return hostNormalized(steps, info->scale);
}

void ADelay::setParameterAutomated(VstInt32 index, float value) {
  setParameter(index, value);
  // An ignored value changed nothing, so there is nothing to report.
  if (getHostCallback() == nullptr || !std::isfinite(value)) {
    return;
  }
  const ParameterInfo* info = parameterInfo(index);
  const bool steps = info != nullptr && isStepKind(info->kind);
  callHost(audioMasterAutomate, index, 0, nullptr,
           steps ? hostNormalized(value, info->scale) : value);
}

void ADelay::setProgram(VstInt32 program) {
  if (program < 0 || program >= kNumPrograms) {
    return;
  }
  curProgram = program;
  wavePeakFeed.clear();
  const PresetRecord rec = currentRecord();
  auto flag = [](std::uint8_t b) { return b != 0 ? 1.0f : 0.0f; };
  // Output before Normalize and ThrLim after it: a program with Normalize on ends with its
  // output linked to its limiter threshold.
  setParameter(kSoft, flag(rec.softOn));
  setParameter(kGainMemo, rec.gainMemo);
  setParameter(kOutput, static_cast<float>(rec.outputSteps));
  setParameter(kNormalize, flag(rec.normalizeOn));
  setParameter(kDither, flag(rec.ditherOn));
  setParameter(kBypass, flag(rec.bypassOn));
  setParameter(kThrComp, rec.compThresholdSteps);
  setParameter(kRatio, rec.ratioSteps);
  setParameter(kRelease, rec.releaseMs);
  setParameter(kZoom, static_cast<float>(rec.zoomSteps));
  setParameter(kAutoRel, rec.autoRelease);
  setParameter(kThrLim, rec.limThresholdSteps);
  setParameter(kLookAhead, rec.lookAheadValue);
}

void ADelay::setProgramName(char* name) {
  writeHostText(currentRecord().name, name, sizeof currentRecord().name);
}

void ADelay::getProgramName(char* name) {
  writeHostText(name, currentRecord().name, kVstMaxProgNameLen);
}

bool ADelay::getProgramNameIndexed(VstInt32 /*category*/, VstInt32 index, char* text) {
  return index >= 0 && index < kNumPrograms &&
         writeHostText(text, program(index).name, kVstMaxProgNameLen);
}

void ADelay::getParameterName(VstInt32 index, char* text) {
  const ParameterInfo* info = parameterInfo(index);
  writeHostText(text, info != nullptr ? info->name : kUnknownParamText, kParamTextCapacity);
}

void ADelay::getParameterLabel(VstInt32 index, char* label) {
  const ParameterInfo* info = parameterInfo(index);
  writeHostText(label, info != nullptr ? info->label : kUnknownParamText, kParamTextCapacity);
}

void ADelay::getParameterDisplay(VstInt32 index, char* text) {
  const auto onOff = [&](bool on) { writeHostText(text, on ? "On" : "Off", kParamTextCapacity); };
  switch (index) {
  case kSoft:
    return onOff(softOn);
  case kNormalize:
    return onOff(normalizeOn);
  case kDither:
    return onOff(ditherOn);
  case kBypass:
    return onOff(bypassOn);
  case kThrComp:
    formatFixed(text, kParamTextCapacity, -compThresholdSteps.load() * 0.5, 2, 1);
    return;
  case kOutput:
    formatFixed(text, kParamTextCapacity, outputDbOfSteps(static_cast<double>(outputSteps.load())),
                2, 2);
    return;
  case kRelease:
    formatFixed(text, kParamTextCapacity, releaseMs.load(), 3, 0);
    return;
  case kRatio: {
    char number[kParamTextCapacity];
    formatFixed(number, sizeof number, ratioSteps.load() * 0.5, 2, 1);
    std::strcat(number, " : 1");
    writeHostText(text, number, kParamTextCapacity);
    return;
  }
  case kZoom:
    formatFixed(text, kParamTextCapacity, zoomSteps.load(), 2, 0);
    return;
  case kGainMemo:
    writeHostText(text, "---", kParamTextCapacity);
    return;
  case kAutoRel:
    return onOff(autoRelease == 1.0f);
  case kThrLim:
    formatFixed(text, kParamTextCapacity, -limThresholdSteps.load() * 0.5, 2, 1);
    return;
  case kLookAhead:
    formatFixed(text, kParamTextCapacity, static_cast<double>(lookAheadValue.load()) / 100.0, 2, 0);
    return;
  default:
    writeHostText(text, kUnknownParamText, kParamTextCapacity);
    return;
  }
}

bool ADelay::getEffectName(char* name) {
  return writeHostText(name, kEffectName, kVstMaxEffectNameLen);
}
bool ADelay::getVendorString(char* text) {
  return writeHostText(text, kVendorName, kVstMaxVendorStrLen);
}
bool ADelay::getProductString(char* text) {
  return writeHostText(text, kEffectName, kVstMaxProductStrLen);
}

VstInt32 ADelay::canDo(char* text) {
  if (text == nullptr) {
    return -1;
  }
  for (const char* known : {"1in1out", "2in2out", "plugAsChannelInsert"}) {
    if (std::strcmp(text, known) == 0) {
      return 1;
    }
  }
  return -1;
}
