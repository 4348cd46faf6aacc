#include "PresetRecord.h"

// clang-format off
const PresetRecord kFactoryPrograms[9] = {
  // Soft Norm Dith Byp ThrComp Output Release Ratio Zoom gainMemo AutoRel ThrLim LookAhead name
  {1, 0, 0, 0, 20, 24000, 250,  6, 2, 1.0f, 1.0f,  1, 999.0f, "Init"},
  {1, 1, 1, 0, 24, 16000, 250,  6, 2, 1.0f, 1.0f, 14, 999.0f, "Mastering 1"},
  {1, 1, 1, 0, 28, 24000, 250,  4, 2, 1.0f, 1.0f, 12, 999.0f, "Mastering 2"},
  {1, 1, 1, 0, 28, 14020, 250,  8, 5, 1.0f, 1.0f, 20, 999.0f, "Mastering 3"},
  {1, 1, 1, 0, 41,  7520, 250, 12, 9, 1.0f, 1.0f, 33, 999.0f, "Mastering 4"},
  {1, 1, 0, 0, 60, 16000,  10, 60, 4, 1.0f, 0.0f, 48,   3.0f, "Violator"},
  {1, 0, 0, 0, 20, 24000, 600, 20, 2, 1.0f, 0.0f,  1,   3.0f, "User 1"},
  {1, 0, 0, 0, 20, 24000, 600, 20, 2, 1.0f, 0.0f,  1,   3.0f, "User 2"},
  {1, 0, 0, 0, 20, 24000, 600, 20, 2, 1.0f, 0.0f,  1,   3.0f, "User 3"},
};
// clang-format on
