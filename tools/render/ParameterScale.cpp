#include "ParameterScale.h"

#include "Options.h"
#include "PluginHost.h"
#include "RenderError.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace {

// Positions read to tell numbers from choices and to check that the display never turns back.
constexpr int kSweepPoints = 256;
// Bisection stops here; far finer than any parameter's steps.
constexpr float kFinest = 1e-9f;

std::string lowered(std::string_view text) {
  std::string out(text);
  for (auto& c : out) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return out;
}

std::string withoutBlanks(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c != ' ' && c != '\t') {
      out += c;
    }
  }
  return out;
}

// The number a text starts with and the rest of it, trimmed.
std::optional<std::pair<double, std::string>> leadingNumber(std::string_view text) {
  text = trimmed(text);
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
  }
  double value = 0.0;
  const auto [ptr, ec] =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
  if (ec != std::errc{} || !std::isfinite(value) || ptr == text.data()) {
    return std::nullopt;
  }
  return std::make_pair(value,
                        std::string(trimmed(std::string_view(
                            ptr, static_cast<std::size_t>(text.data() + text.size() - ptr)))));
}

bool hasDigit(const std::string& text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

int decimalsOf(const std::string& text) {
  const auto dot = text.find('.');
  if (dot == std::string::npos) {
    return 0;
  }
  int n = 0;
  while (dot + 1 + static_cast<std::size_t>(n) < text.size() &&
         std::isdigit(static_cast<unsigned char>(text[dot + 1 + static_cast<std::size_t>(n)]))) {
    ++n;
  }
  return n;
}

std::string fixed(double value, int decimals) {
  char buffer[64];
  const auto r =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  return std::string(buffer, r.ptr);
}

// Words a switch is set with, whatever its own texts are.
std::optional<bool> switchWord(const std::string& text) {
  const std::string t = lowered(text);
  if (t == "on" || t == "1" || t == "true" || t == "yes") {
    return true;
  }
  if (t == "off" || t == "0" || t == "false" || t == "no") {
    return false;
  }
  return std::nullopt;
}

} // namespace

ParameterScale::ParameterScale(PluginHost& probe, int index)
    : probe_(probe), index_(index), name_(probe.parameterName(index)),
      unit_(probe.parameterLabel(index)) {
  top_ = std::nextafter(1.0f, 0.0f);
  std::vector<double> values;
  for (int i = 0; i <= kSweepPoints; ++i) {
    const auto value =
        displayValue(i == kSweepPoints ? top_ : static_cast<float>(i) / kSweepPoints);
    if (!value) {
      break;
    }
    values.push_back(*value);
  }
  if (values.size() == kSweepPoints + 1) {
    sign_ = values.back() < values.front() ? -1.0 : 1.0;
    bool monotone = true;
    for (std::size_t i = 1; i < values.size(); ++i) {
      monotone = monotone && (values[i] - values[i - 1]) * sign_ >= 0.0;
    }
    if (monotone) {
      // Exactly 1.0 counts only where it continues the sweep: some plug-ins read it as a
      // natural value rather than as the top of the range.
      const auto atOne = displayValue(1.0f);
      if (atOne && (*atOne - values.back()) * sign_ >= 0.0) {
        top_ = 1.0f;
      }
      low_ = orientedValue(0.0f);
      high_ = orientedValue(top_);
      const std::string rest = leadingNumber(displayText(0.0f))->second;
      ratio_ = withoutBlanks(rest) == ":1";
      if (unit_.empty() && !ratio_) {
        unit_ = rest;
      }
      kind_ = Kind::Numeric;
      return;
    }
  }
  // Choices: each text once, set where the plug-in shows it, preferring the ends of the range
  // (0 and exactly 1), which every plug-in reads alike, then the middle of its run.
  std::vector<std::pair<std::string, std::vector<float>>> seen;
  for (int i = 0; i <= kSweepPoints + 1; ++i) {
    const float v = i > kSweepPoints ? 1.0f : static_cast<float>(i) / kSweepPoints;
    const std::string text = displayText(v);
    auto it =
        std::find_if(seen.begin(), seen.end(), [&](const auto& s) { return s.first == text; });
    if (it == seen.end()) {
      seen.push_back({text, {}});
      it = seen.end() - 1;
    }
    it->second.push_back(v);
  }
  for (const auto& [text, positions] : seen) {
    float chosen = positions[positions.size() / 2];
    if (positions.front() == 0.0f || positions.back() == 1.0f) {
      chosen = positions.front() == 0.0f ? 0.0f : 1.0f;
    }
    choices_.push_back({text, chosen});
  }
}

std::optional<double> ParameterScale::displayValue(float v) const {
  const auto number = leadingNumber(displayText(v));
  if (!number) {
    return std::nullopt;
  }
  const std::string& rest = number->second;
  if (withoutBlanks(rest) == ":1") {
    return number->first;
  }
  if (!rest.empty() && (hasDigit(rest) || rest == "-")) {
    return std::nullopt;
  }
  return number->first;
}

std::string ParameterScale::displayText(float v) const {
  probe_.setParameter(index_, v);
  return probe_.parameterDisplay(index_);
}

double ParameterScale::orientedValue(float v) const {
  const auto value = displayValue(v);
  return value ? *value * sign_ : 0.0;
}

ParameterScale::Edge ParameterScale::edge(double target, bool strict) const {
  const auto reached = [&](float v) {
    const double value = orientedValue(v);
    return strict ? value > target : value >= target;
  };
  if (reached(0.0f)) {
    return {0.0f, 0.0f, true};
  }
  if (!reached(top_)) {
    return {top_, top_, false};
  }
  float before = 0.0f, at = top_;
  while (at - before > kFinest) {
    const float mid = before + (at - before) / 2.0f;
    if (mid <= before || mid >= at) {
      break;
    }
    (reached(mid) ? at : before) = mid;
  }
  return {before, at, true};
}

double ParameterScale::stepSize(bool atTop) const {
  if (atTop) {
    return high_ - orientedValue(edge(high_, false).before);
  }
  const Edge next = edge(low_, true);
  return next.found ? orientedValue(next.at) - low_ : 0.0;
}

std::string ParameterScale::withUnit(const std::string& text) const {
  return unit_.empty() || ratio_ ? text : text + " " + unit_;
}

std::string ParameterScale::rangeText() const {
  if (kind_ == Kind::Choice) {
    std::string text;
    for (std::size_t i = 0; i < choices_.size(); ++i) {
      text += (i == 0 ? "" : i + 1 == choices_.size() ? " or " : ", ") + choices_[i].text;
    }
    const bool numbers = std::any_of(choices_.begin(), choices_.end(),
                                     [](const Choice& c) { return leadingNumber(c.text); });
    return choices_.size() > 1 && !numbers ? text : text + " (normalized 0 to 1)";
  }
  const float lowEnd = sign_ > 0 ? 0.0f : top_, highEnd = sign_ > 0 ? top_ : 0.0f;
  std::string text = withUnit(displayText(lowEnd) + " to " + displayText(highEnd));
  const double first = stepSize(false), last = stepSize(true);
  if (high_ > low_ && std::fabs(first - last) <= 1e-6 * std::fabs(first)) {
    text += " in steps of " + fixed(first, decimalsOf(displayText(0.0f)));
  }
  return text;
}

std::optional<double> ParameterScale::parseUserNumber(const std::string& value) const {
  const auto number = leadingNumber(value);
  if (!number) {
    return std::nullopt;
  }
  const std::string rest = lowered(withoutBlanks(number->second));
  if (rest.empty() || (ratio_ && rest == ":1") ||
      (!unit_.empty() && rest == lowered(withoutBlanks(unit_)))) {
    return number->first;
  }
  return std::nullopt;
}

ResolvedValue ParameterScale::resolve(const std::string& value) const {
  return kind_ == Kind::Numeric ? resolveNumber(value) : resolveChoice(value);
}

ResolvedValue ParameterScale::resolveNumber(const std::string& value) const {
  const auto number = parseUserNumber(value);
  if (!number) {
    throw RenderError("--set " + name_ + "=" + value + ": expected a number" +
                      (unit_.empty() ? std::string() : " in " + unit_) + ", " + rangeText());
  }
  const double wanted = *number * sign_;
  const double tolerance = 1e-9 * std::max(1.0, std::fabs(wanted));
  if (wanted < low_ - tolerance || wanted > high_ + tolerance) {
    throw RenderError("--set " + name_ + "=" + value + ": out of range; " + name_ + " takes " +
                      rangeText());
  }
  // The steps on either side of the wanted value; the nearer one wins.
  const Edge up = edge(wanted - tolerance, false);
  double step = orientedValue(up.at);
  const bool exact = std::fabs(step - wanted) <= tolerance;
  if (!exact && up.at > 0.0f) {
    const double below = orientedValue(up.before);
    if (wanted - below < step - wanted) {
      step = below;
    }
  }
  // Within the step, the position a straight line through the ends of the range gives: the
  // plug-in's own value for it when the parameter is linear, as most are. Otherwise the middle.
  const float from = edge(step - tolerance, false).at;
  const Edge next = edge(step + tolerance, true);
  const float last = next.found ? next.before : top_;
  const double line = high_ > low_ ? (step - low_) / (high_ - low_) * top_ : 0.0;
  const bool onLine = line >= from && line <= last;
  const float chosen = onLine ? static_cast<float>(line) : from + (last - from) / 2.0f;
  const std::string shown = withUnit(displayText(chosen));
  const auto got = orientedValue(chosen);
  if (std::fabs(got - step) > tolerance) {
    throw RenderError("--set " + name_ + "=" + value +
                      ": the plug-in does not settle on a step (it shows " + shown + ")");
  }
  ResolvedValue resolved{chosen, shown, std::nullopt};
  if (!exact) {
    resolved.note = name_ + "=" + value + " is taken as " + shown + ", the nearest step";
  }
  return resolved;
}

ResolvedValue ParameterScale::resolveChoice(const std::string& value) const {
  const std::string wanted = lowered(std::string(trimmed(value)));
  for (const auto& c : choices_) {
    if (lowered(std::string(trimmed(c.text))) == wanted) {
      return {c.normalized, c.text, std::nullopt};
    }
  }
  // A switch: two texts, the lower one off.
  if (const auto on = switchWord(wanted); on && choices_.size() == 2) {
    for (const auto& c : choices_) {
      if (switchWord(c.text) == on) {
        return {c.normalized, c.text, std::nullopt};
      }
    }
  }
  if (const auto normalized = parseNumber(trimmed(value));
      normalized && *normalized >= 0.0 && *normalized <= 1.0) {
    const auto v = static_cast<float>(*normalized);
    return {v, displayText(v), std::nullopt};
  }
  throw RenderError("--set " + name_ + "=" + value + ": " + name_ + " takes " + rangeText());
}
