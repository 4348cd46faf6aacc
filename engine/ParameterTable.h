// How each parameter is named, converted and shown.
#pragma once

#include "VstAbi.h"

enum class ParamKind { Switch, Steps, LookAhead, Plain };

struct ParameterInfo {
  const char* name;  // filled with blanks to nine characters
  const char* label; // three characters
  ParamKind kind;
  float scale;   // steps at normalized 1.0 (Steps and LookAhead)
  float minStep; // natural integer limits of the member type (Steps)
  float maxStep;
};

constexpr const char* kUnknownParamText = " --- ";

// Null for an index outside 0..12.
const ParameterInfo* parameterInfo(VstInt32 index) noexcept;
