// One program: the 13 parameter values in their stored units and a name.
#pragma once

#include "VstAbi.h"

#include <cstdint>

struct PresetRecord {
  std::uint8_t softOn;
  std::uint8_t normalizeOn;
  std::uint8_t ditherOn;
  std::uint8_t bypassOn;
  std::int16_t compThresholdSteps;
  std::int32_t outputSteps;
  std::int16_t releaseMs;
  std::int16_t ratioSteps;
  std::int32_t zoomSteps;
  float gainMemo;
  float autoRelease;
  std::int16_t limThresholdSteps;
  float lookAheadValue;
  char name[kVstMaxProgNameLen];
};

// The nine factory programs in program order.
extern const PresetRecord kFactoryPrograms[9];
