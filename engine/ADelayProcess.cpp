// The plug-in side of processing: one snapshot of the parameter members per block, the block
// itself in DynamicsProcessor, then the few write-backs the processor is allowed.
#include "ADelay.h"

#include "DitherGenerator.h"
#include "FpGuard.h"

#include <cstdint>

void ADelay::initProcessor() {
  processor.reset();
  DitherGenerator::resetThreadState();
}

void ADelay::suspend() { processor.clearRings(); }

BlockSettings ADelay::blockSettings() {
  BlockSettings s;
  s.compThreshold = compThreshold;
  s.ratioSteps = ratioSteps;
  s.releaseSamples = releaseSamples;
  s.autoRelease = autoRelease;
  s.limThreshold = limThreshold;
  s.outputGain = outputGain;
  s.ceiling = ceilingFactor(displaySettings.normalizeCeilingIndex);
  s.lookAheadValue = lookAheadValue;
  s.sampleRate = getSampleRate();
  s.softOn = softOn;
  s.normalizeOn = normalizeOn;
  s.normalizeHold = normalizeHold;
  s.ditherOn = ditherOn;
  s.bypassOn = bypassOn;
  return s;
}

void ADelay::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
  // The write-backs below do arithmetic too: in the processing mode, not the host's.
  FpGuard guard;
  const BlockSettings s = blockSettings();
  FeedValues feed = FeedValues::loadFrom(wavePeakFeed);
  const BlockResult r = processor.process(s, feed, inputs, outputs, sampleFrames);
  if (!r.processed) {
    return;
  }
  feed.storeTo(wavePeakFeed);
  rmsSumL = rmsSumL + r.sumL;
  rmsSumR = rmsSumR + r.sumR;
  // Saturates rather than overflowing when no editor ever takes the count.
  const std::int64_t count = std::int64_t{rmsCount} + (sampleFrames > 0 ? sampleFrames : 0);
  rmsCount = count > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(count);

  // A ThrLim change under Normalize during the block set its own output gain: it wins.
  const bool held = normalizeHold.exchange(false);
  if (!held && r.outputGainLowered) {
    outputGain = r.outputGain;
  }
  // Only a newly computed length is stored, so a Release change made meanwhile stays.
  if (s.autoRelease == 1.0f && r.releaseComputed) {
    releaseSamples = r.releaseSamples;
  }
}
