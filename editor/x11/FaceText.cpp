#include "FaceText.h"

#include "EditorConstants.h"

#include <cairo.h>

#include <string>

namespace {

// Arial's (and Liberation Sans') em is 2048 units, its cell 1854 + 434 and its average
// character 904 units wide: a 14-pixel cell is a 12.53-pixel em, squeezed to 5 pixels a
// character.
constexpr double kUnitsPerEm = 2048.0;
constexpr double kCellUnits = 1854.0 + 434.0;
constexpr double kAscentUnits = 1854.0;
constexpr double kAverageWidthUnits = 904.0;
constexpr double kEm = kEditorFontHeight * kUnitsPerEm / kCellUnits;
constexpr double kAscent = kEditorFontHeight * kAscentUnits / kCellUnits;
constexpr double kWidthScale = kEditorFontWidth / (kEm * kAverageWidthUnits / kUnitsPerEm);

void selectFont(cairo_t* cr) noexcept {
  cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_matrix_t matrix;
  cairo_matrix_init_scale(&matrix, kEm * kWidthScale, kEm);
  cairo_set_font_matrix(cr, &matrix);
}

} // namespace

void drawFaceText(PixelImage& image, const PixelRect& rect, const char* text, Rgb colour,
                  TextAlign align) noexcept {
  if (image.empty() || text == nullptr) {
    return;
  }
  cairo_surface_t* surface = cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(image.pixels.data()), CAIRO_FORMAT_RGB24, image.width,
      image.height, image.width * 4);
  cairo_t* cr = cairo_create(surface);
  cairo_rectangle(cr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  cairo_clip(cr);
  selectFont(cr);
  cairo_set_source_rgb(cr, colour.r / 255.0, colour.g / 255.0, colour.b / 255.0);
  const std::string all(text);
  std::size_t start = 0;
  for (std::int32_t line = 0; start <= all.size(); ++line) {
    const std::size_t end = all.find('\n', start);
    const std::string piece = all.substr(start, end == std::string::npos ? end : end - start);
    double x = rect.left;
    if (align == TextAlign::centre) {
      cairo_text_extents_t extents;
      cairo_text_extents(cr, piece.c_str(), &extents);
      x += ((rect.right - rect.left) - extents.x_advance) / 2.0;
    }
    cairo_move_to(cr, static_cast<double>(static_cast<std::int32_t>(x)),
                  rect.top + line * kEditorFontHeight + static_cast<std::int32_t>(kAscent + 0.5));
    cairo_show_text(cr, piece.c_str());
    if (end == std::string::npos) {
      break;
    }
    start = end + 1;
  }
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  cairo_surface_destroy(surface);
}

double faceTextWidth(const char* text) noexcept {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
  cairo_t* cr = cairo_create(surface);
  selectFont(cr);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, text, &extents);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  return extents.x_advance;
}
