#include "WidePasses.h"

#include "BlockSetup.h"
#include "DynamicsConstants.h"

#if (defined(__x86_64__) || defined(_M_X64)) && defined(__GNUC__) && !defined(__clang__)
#define ZEMBRAC_WIDE 1
#include <immintrin.h>
#endif

#ifdef ZEMBRAC_WIDE

namespace {

__attribute__((target("avx2"))) void levels(const std::uint32_t* mul, const std::uint32_t* add,
                                            std::uint32_t state, float* out) noexcept {
  const __m256i f = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(mul));
  const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(add));
  const __m256i s = _mm256_set1_epi32(static_cast<int>(state));
  const __m256i next = _mm256_add_epi32(_mm256_mullo_epi32(s, f), a);
  const __m256i mask = _mm256_set1_epi32(static_cast<int>(kDitherLevels - 1));
  const __m256i drawn = _mm256_and_si256(_mm256_srli_epi32(next, 16), mask);
  _mm256_storeu_ps(out, _mm256_mul_ps(_mm256_cvtepi32_ps(drawn), _mm256_set1_ps(kDitherLevel)));
}

} // namespace

__attribute__((target("avx2"))) int noiseWide(const std::uint32_t* mulL, const std::uint32_t* addL,
                                              const std::uint32_t* mulR, const std::uint32_t* addR,
                                              std::uint32_t state, int m, Chunk& c) noexcept {
  int k = 0;
  for (; k + 8 <= m; k += 8) {
    const auto i = static_cast<std::size_t>(k);
    levels(mulL + i, addL + i, state, c.noiseL + k);
    levels(mulR + i, addR + i, state, c.noiseR + k);
  }
  return k;
}

__attribute__((target("avx2"))) int outputsWide(Chunk& c, int m, bool dither, bool normalize,
                                                float ceiling, float e, float* outL, float* outR,
                                                float* lanesL, float* lanesR) noexcept {
  const __m256 magnitude = _mm256_castsi256_ps(_mm256_set1_epi32(0x7FFFFFFF));
  const __m256 gain = _mm256_set1_ps(e);
  const __m256 q = _mm256_set1_ps(ceiling);
  const __m256 offset = _mm256_set1_ps(kDitherOffset);
  __m128 accL = _mm_loadu_ps(lanesL);
  __m128 accR = _mm_loadu_ps(lanesR);
  int k = 0;
  for (; k + 8 <= m; k += 8) {
    const __m256 o = _mm256_loadu_ps(c.o + k);
    const __m256 dL = _mm256_mul_ps(o, _mm256_loadu_ps(c.dL + k));
    const __m256 dR = _mm256_mul_ps(o, _mm256_loadu_ps(c.dR + k));
    if (normalize) {
      // maxps(a, b) is exactly "a > b ? a : b"
      const __m256 p = _mm256_mul_ps(
          _mm256_max_ps(_mm256_and_ps(dL, magnitude), _mm256_and_ps(dR, magnitude)), gain);
      if (_mm256_movemask_ps(_mm256_cmp_ps(p, q, _CMP_GT_OQ)) != 0) {
        break;
      }
    }
    __m256 yL = _mm256_mul_ps(dL, gain);
    __m256 yR = _mm256_mul_ps(dR, gain);
    if (dither) {
      yL = _mm256_sub_ps(_mm256_add_ps(_mm256_loadu_ps(c.noiseL + k), yL), offset);
      yR = _mm256_sub_ps(_mm256_add_ps(_mm256_loadu_ps(c.noiseR + k), yR), offset);
    }
    _mm256_storeu_ps(outL + k, yL);
    _mm256_storeu_ps(outR + k, yR);
    // Frames k..k+3 go to lanes 0..3 before frames k+4..k+7: each lane keeps its order.
    const __m256 sqL = _mm256_mul_ps(yL, yL);
    const __m256 sqR = _mm256_mul_ps(yR, yR);
    accL = _mm_add_ps(_mm_add_ps(accL, _mm256_castps256_ps128(sqL)), _mm256_extractf128_ps(sqL, 1));
    accR = _mm_add_ps(_mm_add_ps(accR, _mm256_castps256_ps128(sqR)), _mm256_extractf128_ps(sqR, 1));
  }
  _mm_storeu_ps(lanesL, accL);
  _mm_storeu_ps(lanesR, accR);
  return k;
}

#else

int noiseWide(const std::uint32_t*, const std::uint32_t*, const std::uint32_t*,
              const std::uint32_t*, std::uint32_t, int, Chunk&) noexcept {
  return 0;
}
int outputsWide(Chunk&, int, bool, bool, float, float, float*, float*, float*, float*) noexcept {
  return 0;
}

#endif
