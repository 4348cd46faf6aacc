#include "SettingsText.h"

#include "DisplaySettingsCommands.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kColoursName = kColoursSettingName;

std::optional<std::vector<std::int32_t>> readNumbers(std::string_view text) {
  std::vector<std::int32_t> numbers;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == ' ' || text[i] == '\t' || text[i] == '\r') {
      ++i;
      continue;
    }
    std::int32_t v = 0;
    const auto [end, error] = std::from_chars(text.data() + i, text.data() + text.size(), v);
    if (error != std::errc() ||
        (end != text.data() + text.size() && *end != ' ' && *end != '\t' && *end != '\r')) {
      return std::nullopt;
    }
    numbers.push_back(v);
    i = static_cast<std::size_t>(end - text.data());
  }
  return numbers;
}

} // namespace

std::string formatSettingsText(const DisplaySettings& settings) {
  std::string text;
  for (const SettingsField& s : settingsFields()) {
    text += std::string(s.name) + ' ' + std::to_string(s.get(settings)) + '\n';
  }
  text += kColoursName;
  for (const auto& colour : settings.waveColours) {
    for (std::int32_t component : colour) {
      text += ' ' + std::to_string(component);
    }
  }
  text += '\n';
  return text;
}

bool parseSettingsText(const std::string& text, DisplaySettings& settings) {
  DisplaySettings parsed = settings;
  std::string_view rest(text);
  while (!rest.empty()) {
    const std::size_t newline = rest.find('\n');
    const std::string_view line = rest.substr(0, newline);
    rest = newline == std::string_view::npos ? std::string_view() : rest.substr(newline + 1);
    if (line.find_first_not_of(" \t\r") == std::string_view::npos) {
      continue;
    }
    const std::size_t space = line.find(' ');
    const std::string_view name = line.substr(0, space);
    const auto numbers = readNumbers(space == std::string_view::npos ? "" : line.substr(space));
    if (!numbers) {
      return false;
    }
    bool known = false;
    for (const SettingsField& s : settingsFields()) {
      if (name == s.name && numbers->size() == 1) {
        s.set(parsed, numbers->front());
        known = true;
      }
    }
    if (name == kColoursName && numbers->size() == 15) {
      for (std::size_t i = 0; i < 15; ++i) {
        const std::int32_t v = (*numbers)[i];
        if (v < 0 || v > 255) {
          return false;
        }
        parsed.waveColours[i / 3][i % 3] = v;
      }
      known = true;
    }
    if (!known) {
      return false;
    }
  }
  settings = parsed;
  return true;
}
