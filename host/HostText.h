// The one way texts reach host buffers: always terminated, never past the given capacity.
#pragma once

#include <cstddef>

// Parameter names, labels and display texts: hosts hand buffers larger than the nominal 8 bytes,
// and the nine-character names and texts such as "30.0 : 1" need more. No text is longer.
constexpr std::size_t kParamTextCapacity = 16;

// Copies src into dst, at most capacity - 1 characters and a terminating zero. Returns false
// and writes nothing when dst is null or capacity is 0. A null src writes an empty text.
bool writeHostText(char* dst, const char* src, std::size_t capacity) noexcept;

// Formats value like printf's "%W.Pf" (fixed, right-aligned to width), with a decimal point
// whatever the process locale. Writes at most capacity - 1 characters and a zero.
bool formatFixed(char* dst, std::size_t capacity, double value, int width, int precision) noexcept;
