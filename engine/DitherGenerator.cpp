#include "DitherGenerator.h"

#ifdef _WIN32
// mingw's thread_local is emulated and allocates on a thread's first access, which would land
// in an audio callback. A Win32 TLS slot holds the word itself, so no access allocates.
#include <windows.h>

namespace {
struct ThreadSlot {
  DWORD index = TlsAlloc();
  std::uint32_t shared = DitherGenerator::kSeed; // only if the process ran out of slots
  ThreadSlot() = default;
  ThreadSlot(const ThreadSlot&) = delete;
  ThreadSlot& operator=(const ThreadSlot&) = delete;
  ~ThreadSlot() {
    if (index != TLS_OUT_OF_INDEXES) {
      TlsFree(index);
    }
  }
};

ThreadSlot& slot() noexcept {
  static ThreadSlot s;
  return s;
}
} // namespace

// A fresh slot reads 0 in every thread; stored XOR the seed, that reads as the seed.
std::uint32_t DitherGenerator::threadState() noexcept {
  ThreadSlot& s = slot();
  if (s.index == TLS_OUT_OF_INDEXES) {
    return s.shared;
  }
  const DWORD lastError = GetLastError(); // TlsGetValue clears the host's error code
  const auto word = reinterpret_cast<std::uintptr_t>(TlsGetValue(s.index));
  SetLastError(lastError);
  return static_cast<std::uint32_t>(word) ^ kSeed;
}

void DitherGenerator::setThreadState(std::uint32_t state) noexcept {
  ThreadSlot& s = slot();
  if (s.index == TLS_OUT_OF_INDEXES) {
    s.shared = state;
    return;
  }
  TlsSetValue(s.index, reinterpret_cast<void*>(static_cast<std::uintptr_t>(state ^ kSeed)));
}

#else

namespace {
// Initial-exec: a plain thread-pointer offset, reserved when the library is loaded, so the
// audio thread's first access neither calls into the loader nor allocates.
#if defined(__GNUC__)
__attribute__((tls_model("initial-exec")))
#endif
thread_local std::uint32_t threadDitherState = DitherGenerator::kSeed;
} // namespace

std::uint32_t DitherGenerator::threadState() noexcept { return threadDitherState; }
void DitherGenerator::setThreadState(std::uint32_t state) noexcept { threadDitherState = state; }

#endif
