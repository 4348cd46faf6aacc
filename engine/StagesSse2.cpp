// The vector stages on 128-bit SSE2 vectors, which every x86-64 processor has.
#include "VectorStages.h"

#if !defined(ZEMBRAC_NO_VECTORS) && (defined(__SSE2__) || defined(_M_X64))
#include "LaneStages.h"

#include <emmintrin.h>

namespace {

struct Sse2 {
  using F = __m128;
  using I = __m128i;
  using Sums = __m128;
  static constexpr int kWidth = 4;

  static F set1(float v) noexcept { return _mm_set1_ps(v); }
  static F descending() noexcept { return _mm_setr_ps(3.0f, 2.0f, 1.0f, 0.0f); }
  static F load(const float* p) noexcept { return _mm_loadu_ps(p); }
  static void store(float* p, F v) noexcept { _mm_storeu_ps(p, v); }
  static F add(F a, F b) noexcept { return _mm_add_ps(a, b); }
  static F sub(F a, F b) noexcept { return _mm_sub_ps(a, b); }
  static F mul(F a, F b) noexcept { return _mm_mul_ps(a, b); }
  static F max(F a, F b) noexcept { return _mm_max_ps(a, b); }
  static F min(F a, F b) noexcept { return _mm_min_ps(a, b); }
  static F abs(F a) noexcept { return _mm_and_ps(a, _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF))); }
  static F greater(F a, F b) noexcept { return _mm_cmpgt_ps(a, b); }
  static F atMost(F a, F b) noexcept { return _mm_cmple_ps(a, b); }
  static F both(F a, F b) noexcept { return _mm_and_ps(a, b); }
  static F either(F a, F b) noexcept { return _mm_or_ps(a, b); }
  static F keep(F v, F mask) noexcept { return _mm_and_ps(v, mask); }
  static F select(F mask, F a, F b) noexcept {
    return _mm_or_ps(_mm_and_ps(mask, a), _mm_andnot_ps(mask, b));
  }
  static F lanesFrom(int lane) noexcept {
    return _mm_cmpge_ps(_mm_setr_ps(0.0f, 1.0f, 2.0f, 3.0f), _mm_set1_ps(static_cast<float>(lane)));
  }
  static int moveMask(F mask) noexcept { return _mm_movemask_ps(mask); }

  static I setInts(std::uint32_t v) noexcept { return _mm_set1_epi32(static_cast<int>(v)); }
  static I loadInts(const std::uint32_t* p) noexcept {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  }
  static I addInts(I a, I b) noexcept { return _mm_add_epi32(a, b); }
  // 32-bit products of the four lanes from two 64-bit multiplies (SSE2 has no pmulld).
  static I mulInts(I a, I b) noexcept {
    const __m128i even = _mm_mul_epu32(a, b);
    const __m128i odd = _mm_mul_epu32(_mm_srli_epi64(a, 32), _mm_srli_epi64(b, 32));
    return _mm_unpacklo_epi32(_mm_shuffle_epi32(even, _MM_SHUFFLE(0, 0, 2, 0)),
                              _mm_shuffle_epi32(odd, _MM_SHUFFLE(0, 0, 2, 0)));
  }
  static I bothInts(I a, I b) noexcept { return _mm_and_si128(a, b); }
  static I shiftRight(I a, int bits) noexcept { return _mm_srl_epi32(a, _mm_cvtsi32_si128(bits)); }
  static F toFloats(I a) noexcept { return _mm_cvtepi32_ps(a); }

  static Sums loadSums(const float* p) noexcept { return _mm_loadu_ps(p); }
  static void storeSums(float* p, Sums v) noexcept { _mm_storeu_ps(p, v); }
  static Sums addSquares(Sums acc, F sq) noexcept { return _mm_add_ps(acc, sq); }
};

constexpr VectorStages kTable{lanes::inputs<Sse2>, lanes::noise<Sse2>, lanes::outputs<Sse2>,
                              lanes::rampSweep<Sse2>};

} // namespace

const VectorStages* const kSse2Stages = &kTable;

#else
const VectorStages* const kSse2Stages = nullptr;
#endif
