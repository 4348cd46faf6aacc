// The four numeric-entry boxes over the read-outs: a click on a read-out opens one, Enter or
// a click anywhere else commits it. No key cancels an entry. UI thread only.
#pragma once

#include "EditorChanges.h"
#include "EditorMessages.h"

#include <cstdint>

// First step of a click: commits the open entry unless the point lies on its fader's shown
// read-out. While an entry is open its read-out is hidden, so every click commits it.
void commitEntryOnClick(const EditorContext& context, std::int32_t x, std::int32_t y) noexcept;
// Second step: with no entry open, opens the box of the shown read-out under the point with
// the fader's value and unit selected, and gives it the keyboard focus.
void openEntryOnClick(const EditorContext& context, std::int32_t x, std::int32_t y) noexcept;

// EN_CHANGE from source: commits the open entry once Enter has made its box two lines long.
void onNumericEntryChange(const EditorContext& context, HWND source) noexcept;
