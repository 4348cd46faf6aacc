#include "VectorStages.h"

namespace {

bool processorHasAvx2() noexcept {
#if (defined(__x86_64__) || defined(_M_X64)) && defined(__GNUC__)
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") != 0;
#else
  return false;
#endif
}

const bool kHaveAvx2 = kAvx2Stages != nullptr && processorHasAvx2();
bool useWide = kHaveAvx2;

} // namespace

const VectorStages* vectorStages() noexcept { return useWide ? kAvx2Stages : kSse2Stages; }

bool allowWideVectors(bool allow) noexcept {
  useWide = allow && kHaveAvx2;
  return useWide;
}
