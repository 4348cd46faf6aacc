#include "AudioEffect.h"

#include <new>

#if defined(_WIN32)
#define ZEMBRAC_EXPORT extern "C" __declspec(dllexport)
#else
#define ZEMBRAC_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// Called once per plug-in slot by the host's loading thread.
ZEMBRAC_EXPORT AEffect* VSTPluginMain(audioMasterCallback audioMaster) noexcept {
  // Without a callback there is no host to decline; the services answer their defaults.
  if (audioMaster != nullptr &&
      audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) {
    return nullptr;
  }
  AudioEffect* effect = nullptr;
  try {
    effect = createEffectInstance(audioMaster);
  } catch (...) {
    effect = nullptr;
  }
  return effect != nullptr ? effect->getAeffect() : nullptr;
}
