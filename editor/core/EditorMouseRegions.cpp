#include "EditorMouseRegions.h"

namespace {

std::int32_t signedWord(std::intptr_t lParam, int shift) noexcept {
  const auto word =
      static_cast<std::uint16_t>((static_cast<std::uintptr_t>(lParam) >> shift) & 0xFFFFu);
  return word < 0x8000u ? std::int32_t{word} : std::int32_t{word} - 0x10000;
}

} // namespace

MousePoint mousePoint(std::intptr_t lParam) noexcept {
  return {signedWord(lParam, 0), signedWord(lParam, 16)};
}
