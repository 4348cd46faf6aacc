#include "ParameterTable.h"

#include "EngineConstants.h"

namespace {
constexpr float kInt16Min = -32768.0f;
constexpr float kInt16Max = 32767.0f;
// Largest floats that convert to int32 without overflow.
constexpr float kInt32Min = -2147483648.0f;
constexpr float kInt32Max = 2147483520.0f;

// clang-format off
constexpr ParameterInfo kParameters[kNumParams] = {
  {"Soft     ", "   ", ParamKind::Switch,    0.0f,    0.0f,      0.0f},
  {"Normalize", "   ", ParamKind::Switch,    0.0f,    0.0f,      0.0f},
  {"Dither   ", "   ", ParamKind::Switch,    0.0f,    0.0f,      0.0f},
  {"Bypass   ", "   ", ParamKind::Switch,    0.0f,    0.0f,      0.0f},
  {"ThrComp  ", "dB ", ParamKind::Steps,     72.0f,   kInt16Min, kInt16Max},
  {"Output   ", "dB ", ParamKind::Steps,     24000.0f, kInt32Min, kInt32Max},
  {"Release  ", "ms ", ParamKind::Steps,     999.0f,  kInt16Min, kInt16Max},
  {"Ratio    ", "   ", ParamKind::Steps,     60.0f,   kInt16Min, kInt16Max},
  {"Zoom     ", "   ", ParamKind::Steps,     20.0f,   kInt32Min, kInt32Max},
  {"---      ", "---", ParamKind::Plain,     0.0f,    0.0f,      0.0f},
  {"AutoRel  ", "   ", ParamKind::Plain,     0.0f,    0.0f,      0.0f},
  {"ThrLim   ", "dB ", ParamKind::Steps,     48.0f,   kInt16Min, kInt16Max},
  {"LookAhead", "ms ", ParamKind::LookAhead, 1000.0f, 0.0f,      kLookAheadMax},
};
// clang-format on
} // namespace

const ParameterInfo* parameterInfo(VstInt32 index) noexcept {
  return index >= 0 && index < kNumParams ? &kParameters[index] : nullptr;
}
