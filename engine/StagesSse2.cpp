// The vector stages on 128-bit SSE2 vectors, which every x86-64 processor has.
#include "VectorStages.h"

#if !defined(ZEMBRAC_NO_VECTORS) && (defined(__SSE2__) || defined(_M_X64))
#include "LookAheadRamp.h"

#include <emmintrin.h>

namespace {

struct Sse2 {
  using F = __m128;
  static constexpr int kWidth = 4;
  static F set1(float v) noexcept { return _mm_set1_ps(v); }
  static F descending() noexcept { return _mm_setr_ps(3.0f, 2.0f, 1.0f, 0.0f); }
  static F load(const float* p) noexcept { return _mm_loadu_ps(p); }
  static void store(float* p, F v) noexcept { _mm_storeu_ps(p, v); }
  static F add(F a, F b) noexcept { return _mm_add_ps(a, b); }
  static F mul(F a, F b) noexcept { return _mm_mul_ps(a, b); }
  static F greater(F a, F b) noexcept { return _mm_cmpgt_ps(a, b); }
  static F both(F a, F b) noexcept { return _mm_and_ps(a, b); }
  static int moveMask(F mask) noexcept { return _mm_movemask_ps(mask); }
  static F select(F mask, F a, F b) noexcept {
    return _mm_or_ps(_mm_and_ps(mask, a), _mm_andnot_ps(mask, b));
  }
  static F lanesFrom(int lane) noexcept {
    return _mm_cmpge_ps(_mm_setr_ps(0.0f, 1.0f, 2.0f, 3.0f), _mm_set1_ps(static_cast<float>(lane)));
  }
};

} // namespace

#include "LaneStages.h"

namespace {
constexpr VectorStages kTable{lanes::rampSweep<Sse2>};
} // namespace

const VectorStages* const kSse2Stages = &kTable;

#else
const VectorStages* const kSse2Stages = nullptr;
#endif
