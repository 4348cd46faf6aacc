// Placeholder until the dynamics processor lands: passes audio through unchanged.
#include "ADelay.h"

void ADelay::initProcessor() {}

void ADelay::suspend() {}

void ADelay::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
  if (inputs == nullptr || outputs == nullptr) {
    return;
  }
  for (VstInt32 i = 0; i < sampleFrames; ++i) {
    const float l = inputs[0][i];
    const float r = inputs[1][i];
    outputs[0][i] = l;
    outputs[1][i] = r;
  }
}
