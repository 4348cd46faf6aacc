// The vector stages on 256-bit AVX2 vectors. Only this file's own functions are compiled for
// AVX2 (a region of target attributes, not a compiler flag), so nothing shared with the rest of
// the library can pick up instructions an older processor lacks; they run only when the
// processor reports AVX2 (VectorStages.cpp).
#include "VectorStages.h"

#if !defined(ZEMBRAC_NO_VECTORS) && (defined(__x86_64__) || defined(_M_X64)) && defined(__GNUC__)
// What LaneStages.h includes comes first, outside the region.
#include "BlockSetup.h"
#include "ChunkPasses.h"
#include "DynamicsConstants.h"
#include "LookAheadRamp.h"

#include <cstdint>
#include <immintrin.h>

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

#include "LaneStages.h"

namespace {

struct Avx2 {
  using F = __m256;
  using I = __m256i;
  using Sums = __m128;
  static constexpr int kWidth = 8;

  static F set1(float v) noexcept { return _mm256_set1_ps(v); }
  static F descending() noexcept {
    return _mm256_setr_ps(7.0f, 6.0f, 5.0f, 4.0f, 3.0f, 2.0f, 1.0f, 0.0f);
  }
  static F load(const float* p) noexcept { return _mm256_loadu_ps(p); }
  static void store(float* p, F v) noexcept { _mm256_storeu_ps(p, v); }
  static F add(F a, F b) noexcept { return _mm256_add_ps(a, b); }
  static F sub(F a, F b) noexcept { return _mm256_sub_ps(a, b); }
  static F mul(F a, F b) noexcept { return _mm256_mul_ps(a, b); }
  static F max(F a, F b) noexcept { return _mm256_max_ps(a, b); }
  static F min(F a, F b) noexcept { return _mm256_min_ps(a, b); }
  static F abs(F a) noexcept {
    return _mm256_and_ps(a, _mm256_castsi256_ps(_mm256_set1_epi32(0x7FFFFFFF)));
  }
  static F greater(F a, F b) noexcept { return _mm256_cmp_ps(a, b, _CMP_GT_OQ); }
  static F atMost(F a, F b) noexcept { return _mm256_cmp_ps(a, b, _CMP_LE_OQ); }
  static F both(F a, F b) noexcept { return _mm256_and_ps(a, b); }
  static F either(F a, F b) noexcept { return _mm256_or_ps(a, b); }
  static F keep(F v, F mask) noexcept { return _mm256_and_ps(v, mask); }
  static F select(F mask, F a, F b) noexcept { return _mm256_blendv_ps(b, a, mask); }
  static F lanesFrom(int lane) noexcept {
    return _mm256_cmp_ps(_mm256_setr_ps(0.0f, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7.0f),
                         _mm256_set1_ps(static_cast<float>(lane)), _CMP_GE_OQ);
  }
  static int moveMask(F mask) noexcept { return _mm256_movemask_ps(mask); }

  static I setInts(std::uint32_t v) noexcept { return _mm256_set1_epi32(static_cast<int>(v)); }
  static I loadInts(const std::uint32_t* p) noexcept {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
  }
  static I addInts(I a, I b) noexcept { return _mm256_add_epi32(a, b); }
  static I mulInts(I a, I b) noexcept { return _mm256_mullo_epi32(a, b); }
  static I bothInts(I a, I b) noexcept { return _mm256_and_si256(a, b); }
  static I shiftRight(I a, int bits) noexcept {
    return _mm256_srl_epi32(a, _mm_cvtsi32_si128(bits));
  }
  static F toFloats(I a) noexcept { return _mm256_cvtepi32_ps(a); }

  static Sums loadSums(const float* p) noexcept { return _mm_loadu_ps(p); }
  static void storeSums(float* p, Sums v) noexcept { _mm_storeu_ps(p, v); }
  // Frames k..k+3 go to lanes 0..3 before frames k+4..k+7: each partial sum keeps its order.
  static Sums addSquares(Sums acc, F sq) noexcept {
    return _mm_add_ps(_mm_add_ps(acc, _mm256_castps256_ps128(sq)), _mm256_extractf128_ps(sq, 1));
  }
};

constexpr VectorStages kTable{lanes::inputs<Avx2>, lanes::noise<Avx2>, lanes::outputs<Avx2>,
                              lanes::rampSweep<Avx2>};

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
