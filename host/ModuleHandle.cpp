#include "ModuleHandle.h"

#include <atomic>

namespace {
std::atomic<void*> module{nullptr};
}

void setModuleHandle(void* handle) noexcept { module.store(handle, std::memory_order_relaxed); }
void* moduleHandle() noexcept { return module.load(std::memory_order_relaxed); }
