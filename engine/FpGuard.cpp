#include "FpGuard.h"

#if defined(__SSE2__) || defined(_M_X64) || defined(__x86_64__)
#include <xmmintrin.h>
#define ZEMBRAC_HAVE_MXCSR 1
#endif

namespace {
#ifdef ZEMBRAC_HAVE_MXCSR
constexpr unsigned kFlushToZero = 0x8000u;
constexpr unsigned kDenormalsAreZero = 0x0040u;
constexpr unsigned kAllExceptionsMasked = 0x1F80u;
#endif
} // namespace

unsigned FpGuard::processingControlWord() noexcept {
#ifdef ZEMBRAC_HAVE_MXCSR
  return kFlushToZero | kDenormalsAreZero | kAllExceptionsMasked; // rounding bits 0: nearest
#else
  return 0u;
#endif
}

unsigned FpGuard::currentControlWord() noexcept {
#ifdef ZEMBRAC_HAVE_MXCSR
  return _mm_getcsr();
#else
  return 0u;
#endif
}

FpGuard::FpGuard() noexcept : saved_(currentControlWord()) {
#ifdef ZEMBRAC_HAVE_MXCSR
  _mm_setcsr(processingControlWord());
#endif
}

FpGuard::~FpGuard() {
#ifdef ZEMBRAC_HAVE_MXCSR
  _mm_setcsr(saved_);
#endif
}
