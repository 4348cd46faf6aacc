// Deterministic material the benchmarks process, made once per run.
#pragma once

#include "TestSignals.h"

// The bundled demo clip (24 s of drums, bass, pad and lead with a quiet intro and breakdown).
const StereoSignal& demoMusic();
// A swell whose reduction deepens every frame for 10 ms, then rests: the longest sustained
// look-ahead ramp walks found.
const StereoSignal& deepeningSignal();
// Subnormal samples only (magnitudes near 1e-40), and the same shape 60 dB below full scale.
const StereoSignal& subnormalSignal();
const StereoSignal& quietSignal();
