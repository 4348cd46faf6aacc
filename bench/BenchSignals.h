// Deterministic material the benchmarks process, made once per run.
#pragma once

#include "TestSignals.h"

// The bundled demo clip (24 s of drums, bass, pad and lead with a quiet intro and breakdown).
const StereoSignal& demoMusic();
// White noise at full scale.
const StereoSignal& loudNoise();
// The demo clip 10 dB hotter: "Mastering 1" limits it nearly all the time.
const StereoSignal& hotMusic();
// The deepening swell (DeepeningSwell.h): a reduction that deepens every frame for 10 ms.
const StereoSignal& deepeningSignal();
// Subnormal samples only (magnitudes near 1e-40), and the same shape 60 dB below full scale.
const StereoSignal& subnormalSignal();
const StereoSignal& quietSignal();
