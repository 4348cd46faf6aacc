// Text in the editor's font: Liberation Sans, metric-compatible with the Arial the Windows
// editor asks for, scaled as CreateFontA(14, 5, ...) scales it there: a 14-pixel cell and a
// 5-pixel average character width. Drawn with cairo into a PixelImage. UI thread only.
#pragma once

#include "ControlConstants.h"
#include "PixelImage.h"

enum class TextAlign { left, centre };

// Lines of text (split at '\n', 14 pixels apart) from the top of rect, clipped to rect.
void drawFaceText(PixelImage& image, const PixelRect& rect, const char* text, Rgb colour,
                  TextAlign align) noexcept;
// Width in pixels of one line of text.
double faceTextWidth(const char* text) noexcept;
