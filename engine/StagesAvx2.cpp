// The vector stages on 256-bit AVX2 vectors. Only this file's own functions are compiled for
// AVX2 (a region of target attributes, not a compiler flag), so nothing shared with the rest of
// the library can pick up instructions an older processor lacks; they run only when the
// processor reports AVX2 (VectorStages.cpp).
#include "VectorStages.h"

#if !defined(ZEMBRAC_NO_VECTORS) && (defined(__x86_64__) || defined(_M_X64)) && defined(__GNUC__)
// Everything LaneStages.h includes comes first, outside the region.
#include "LookAheadRamp.h"

#include <immintrin.h>

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

namespace {

struct Avx2 {
  using F = __m256;
  static constexpr int kWidth = 8;
  static F set1(float v) noexcept { return _mm256_set1_ps(v); }
  static F descending() noexcept {
    return _mm256_setr_ps(7.0f, 6.0f, 5.0f, 4.0f, 3.0f, 2.0f, 1.0f, 0.0f);
  }
  static F load(const float* p) noexcept { return _mm256_loadu_ps(p); }
  static void store(float* p, F v) noexcept { _mm256_storeu_ps(p, v); }
  static F add(F a, F b) noexcept { return _mm256_add_ps(a, b); }
  static F mul(F a, F b) noexcept { return _mm256_mul_ps(a, b); }
  static F greater(F a, F b) noexcept { return _mm256_cmp_ps(a, b, _CMP_GT_OQ); }
  static F both(F a, F b) noexcept { return _mm256_and_ps(a, b); }
  static int moveMask(F mask) noexcept { return _mm256_movemask_ps(mask); }
  static F select(F mask, F a, F b) noexcept { return _mm256_blendv_ps(b, a, mask); }
  static F lanesFrom(int lane) noexcept {
    return _mm256_cmp_ps(_mm256_setr_ps(0.0f, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7.0f),
                         _mm256_set1_ps(static_cast<float>(lane)), _CMP_GE_OQ);
  }
};

} // namespace

#include "LaneStages.h"

namespace {
constexpr VectorStages kTable{lanes::rampSweep<Avx2>};
} // namespace

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

const VectorStages* const kAvx2Stages = &kTable;

#else
const VectorStages* const kAvx2Stages = nullptr;
#endif
