// The library's module instance handle, recorded when the operating system loads it.
#pragma once

void setModuleHandle(void* handle) noexcept;
void* moduleHandle() noexcept;
