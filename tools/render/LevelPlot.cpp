#include "LevelPlot.h"

#include "RenderError.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <functional>
#include <unistd.h>

namespace {

constexpr double kLeft = 78, kRight = 24, kTop = 100, kGap = 44, kBottom = 48;
constexpr const char* kFont = "Liberation Sans";

struct Colour {
  double r, g, b;
};
constexpr Colour kInput{0.20, 0.35, 0.65};
constexpr Colour kOutput{0.93, 0.50, 0.13};
constexpr Colour kGain{0.60, 0.20, 0.55};
constexpr Colour kTarget{0.15, 0.60, 0.30};
constexpr Colour kCeiling{0.80, 0.10, 0.10};
constexpr Colour kText{0.12, 0.12, 0.12};
constexpr Colour kGrid{0.86, 0.86, 0.86};

std::string fixed(double value, int precision) {
  char buffer[32];
  const auto r =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
  return std::string(buffer, r.ptr);
}

std::string clock(double seconds) {
  const int s = static_cast<int>(std::lround(seconds));
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%d:%02d", s / 60, s % 60);
  return buffer;
}

void setColour(cairo_t* cr, Colour c, double alpha = 1.0) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

void text(cairo_t* cr, double x, double y, const std::string& s, double size, double alignX,
          bool bold = false) {
  cairo_select_font_face(cr, kFont, CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
  cairo_text_extents_t e;
  cairo_text_extents(cr, s.c_str(), &e);
  cairo_move_to(cr, x - alignX * e.x_advance, y);
  cairo_show_text(cr, s.c_str());
}

// One panel: a value range mapped onto a rectangle, with time across.
struct Panel {
  double x, y, w, h;
  double low, high; // value range, bottom to top
  double seconds;

  double px(double t) const { return x + w * std::clamp(t / seconds, 0.0, 1.0); }
  double py(double v) const {
    return y + h * (1.0 - std::clamp((v - low) / (high - low), 0.0, 1.0));
  }
};

double niceStep(double range, int most) {
  for (const double step :
       {1.0, 2.0, 3.0, 5.0, 6.0, 10.0, 12.0, 15.0, 20.0, 30.0, 60.0, 120.0, 300.0, 600.0}) {
    if (range / step <= most) {
      return step;
    }
  }
  return 1200.0;
}

void drawFrame(cairo_t* cr, const Panel& p, const std::string& title, const std::string& unit,
               bool timeLabels) {
  cairo_set_line_width(cr, 1.0);
  const double vStep = niceStep(p.high - p.low, 6);
  for (double v = std::ceil(p.low / vStep) * vStep; v <= p.high + 1e-9; v += vStep) {
    setColour(cr, kGrid);
    cairo_move_to(cr, p.x, std::round(p.py(v)) + 0.5);
    cairo_line_to(cr, p.x + p.w, std::round(p.py(v)) + 0.5);
    cairo_stroke(cr);
    setColour(cr, kText);
    const double label = std::abs(v) < 1e-9 ? 0.0 : v; // no "-0"
    text(cr, p.x - 8, p.py(v) + 4, (label > 0 ? "+" : "") + fixed(label, 0), 12, 1.0);
  }
  const double tStep = niceStep(p.seconds, 12);
  for (double t = 0; t <= p.seconds + 1e-9; t += tStep) {
    setColour(cr, kGrid);
    cairo_move_to(cr, std::round(p.px(t)) + 0.5, p.y);
    cairo_line_to(cr, std::round(p.px(t)) + 0.5, p.y + p.h);
    cairo_stroke(cr);
    if (timeLabels) {
      setColour(cr, kText);
      text(cr, p.px(t), p.y + p.h + 16, clock(t), 12, 0.5);
    }
  }
  setColour(cr, kText);
  cairo_rectangle(cr, p.x + 0.5, p.y + 0.5, p.w - 1, p.h - 1);
  cairo_stroke(cr);
  text(cr, p.x, p.y - 8, title, 14, 0.0, true);
  cairo_save(cr);
  cairo_translate(cr, p.x - 50, p.y + p.h / 2);
  cairo_rotate(cr, -M_PI / 2);
  text(cr, 0, 0, unit, 12, 0.5);
  cairo_restore(cr);
}

void legend(cairo_t* cr, const Panel& p, const std::vector<std::pair<std::string, Colour>>& keys) {
  double x = p.x + p.w;
  for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
    cairo_select_font_face(cr, kFont, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 12);
    cairo_text_extents_t e;
    cairo_text_extents(cr, it->first.c_str(), &e);
    x -= e.x_advance;
    setColour(cr, kText);
    text(cr, x, p.y - 8, it->first, 12, 0.0);
    setColour(cr, it->second);
    cairo_rectangle(cr, x - 18, p.y - 16, 12, 8);
    cairo_fill(cr);
    x -= 34;
  }
}

void horizontal(cairo_t* cr, const Panel& p, double v, Colour c, bool dashed) {
  setColour(cr, c);
  cairo_set_line_width(cr, 1.5);
  const double dash[] = {6.0, 4.0};
  cairo_set_dash(cr, dash, dashed ? 2 : 0, 0);
  cairo_move_to(cr, p.x, p.py(v));
  cairo_line_to(cr, p.x + p.w, p.py(v));
  cairo_stroke(cr);
  cairo_set_dash(cr, nullptr, 0, 0);
}

// The largest value of the points (spaced step seconds apart) under each pixel column; a
// column narrower than a point takes the point it lies in.
std::vector<double> perColumn(const Panel& p, const std::vector<float>& points, double step,
                              const std::function<double(float)>& value) {
  const auto columns = static_cast<std::size_t>(p.w);
  std::vector<double> out(columns, -HUGE_VAL);
  const double pointsPerColumn = p.seconds / step / static_cast<double>(columns);
  for (std::size_t c = 0; c < columns; ++c) {
    const auto first = static_cast<std::size_t>(static_cast<double>(c) * pointsPerColumn);
    const auto last =
        std::max(first + 1, static_cast<std::size_t>(static_cast<double>(c + 1) * pointsPerColumn));
    for (std::size_t i = first; i < std::min(last, points.size()); ++i) {
      const double v = value(points[i]);
      if (!std::isnan(v)) {
        out[c] = std::max(out[c], v);
      }
    }
  }
  return out;
}

void area(cairo_t* cr, const Panel& p, const std::vector<double>& columns, Colour c, double alpha) {
  cairo_move_to(cr, p.x, p.y + p.h);
  for (std::size_t i = 0; i < columns.size(); ++i) {
    cairo_line_to(cr, p.x + static_cast<double>(i) + 0.5, p.py(std::max(columns[i], p.low)));
  }
  cairo_line_to(cr, p.x + static_cast<double>(columns.size()), p.y + p.h);
  cairo_close_path(cr);
  setColour(cr, c, alpha);
  cairo_fill(cr);
}

// Gaps (no value) break the line.
void curve(cairo_t* cr, const Panel& p, const std::vector<double>& columns, Colour c) {
  bool drawing = false;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (!std::isfinite(columns[i]) || columns[i] < p.low - 1e3) {
      drawing = false;
      continue;
    }
    const double x = p.x + static_cast<double>(i) + 0.5;
    if (drawing) {
      cairo_line_to(cr, x, p.py(columns[i]));
    } else {
      cairo_move_to(cr, x, p.py(columns[i]));
      drawing = true;
    }
  }
  setColour(cr, c);
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
}

void drawLevels(cairo_t* cr, const Panel& p, const PlotData& d) {
  drawFrame(cr, p, "Peak level", "dBFS", false);
  const auto db = [](float v) { return toDb(v); };
  area(cr, p, perColumn(p, d.output->envelope, LevelAnalysis::kEnvelopeSeconds, db), kOutput, 0.55);
  curve(cr, p, perColumn(p, d.input->envelope, LevelAnalysis::kEnvelopeSeconds, db), kInput);
  std::vector<std::pair<std::string, Colour>> keys = {{"input", kInput}, {"output", kOutput}};
  if (d.ceilingDbtp) {
    horizontal(cr, p, *d.ceilingDbtp, kCeiling, true);
    keys.push_back({"ceiling " + fixed(*d.ceilingDbtp, 1) + " dBTP", kCeiling});
  }
  legend(cr, p, keys);
}

void drawGain(cairo_t* cr, Panel p, const PlotData& d) {
  double low = 0.0, high = 0.0;
  for (const float g : d.gain) {
    if (!std::isnan(g)) {
      low = std::min(low, static_cast<double>(g));
      high = std::max(high, static_cast<double>(g));
    }
  }
  p.low = std::floor(low / 3.0) * 3.0 - 3.0;
  p.high = std::ceil(high / 3.0) * 3.0 + 3.0;
  drawFrame(cr, p, "Gain (output over input)", "dB", false);
  horizontal(cr, p, 0.0, kText, false);
  const auto columns = perColumn(p, d.gain, 5 * LevelAnalysis::kEnvelopeSeconds,
                                 [](float v) { return -static_cast<double>(v); });
  std::vector<double> lowest(columns.size());
  std::transform(columns.begin(), columns.end(), lowest.begin(), [](double v) { return -v; });
  curve(cr, p, lowest, kGain);
  legend(cr, p, {{"lowest gain in each column", kGain}});
}

void drawLoudness(cairo_t* cr, Panel p, const PlotData& d) {
  double top = d.targetLufs.value_or(-HUGE_VAL);
  for (const auto* a : {d.input, d.output}) {
    top = std::max(top, a->maxShortTermLufs);
  }
  p.high = std::isfinite(top) ? std::ceil(top / 3.0) * 3.0 + 3.0 : 0.0;
  p.low = p.high - 36.0;
  drawFrame(cr, p, "Short-term loudness (3 s)", "LUFS", true);
  const auto lufs = [](float v) { return static_cast<double>(v); };
  for (const auto& [a, c] : {std::pair{d.input, kInput}, std::pair{d.output, kOutput}}) {
    curve(cr, p, perColumn(p, a->shortTerm, LevelAnalysis::kShortTermSeconds, lufs), c);
  }
  std::vector<std::pair<std::string, Colour>> keys = {{"input", kInput}, {"output", kOutput}};
  if (d.targetLufs) {
    horizontal(cr, p, *d.targetLufs, kTarget, true);
    keys.push_back({"target " + fixed(*d.targetLufs, 1) + " LUFS", kTarget});
  }
  legend(cr, p, keys);
}

} // namespace

void drawLevelPlot(const std::string& path, const PlotData& d) {
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, kPlotWidth, kPlotHeight);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  setColour(cr, kText);
  text(cr, kLeft, 30, d.title, 18, 0.0, true);
  text(cr, kLeft, 54, d.subtitle, 13, 0.0);

  const double seconds = std::max(d.seconds, 1e-3);
  const double h = (kPlotHeight - kTop - kBottom - 2 * kGap) / 3.0;
  const double w = kPlotWidth - kLeft - kRight;
  drawLevels(cr, Panel{kLeft, kTop, w, h, -48.0, 3.0, seconds}, d);
  drawGain(cr, Panel{kLeft, kTop + h + kGap, w, h, 0.0, 0.0, seconds}, d);
  drawLoudness(cr, Panel{kLeft, kTop + 2 * (h + kGap), w, h, 0.0, 0.0, seconds}, d);
  cairo_destroy(cr);

  const std::string temp = path + ".part.png";
  const bool ok = cairo_surface_write_to_png(surface, temp.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
    unlink(temp.c_str());
    throw RenderError("cannot write the plot '" + path + "'");
  }
}

void releasePlotCaches() {
  cairo_debug_reset_static_data();
  FcFini();
}
