#include "DisplaySettingsCommands.h"

#include "ResourceIds.h"

namespace {

using G = SettingsGroup;

constexpr std::array<MenuCommand, kMenuCommandCount> kCommands = {{
    {IDM_CEILING_0, G::Ceiling, 0},
    {IDM_CEILING_001, G::Ceiling, 1},
    {IDM_CEILING_005, G::Ceiling, 3},
    {IDM_CEILING_009, G::Ceiling, 2},
    {IDM_COLOURS_NATURAL, G::Colours, kNaturalScheme},
    {IDM_COLOURS_ICY, G::Colours, kIcyScheme},
    {IDM_COLOURS_CUSTOM, G::Colours, kCustomScheme},
    {IDM_ZOOM_RANGE_5X, G::ZoomRange, 0},
    {IDM_ZOOM_RANGE_10X, G::ZoomRange, 1},
    {IDM_ZOOM_RANGE_16X, G::ZoomRange, 2},
    {IDM_PEAK_HOLD_2S, G::PeakHold, 16},
    {IDM_PEAK_HOLD_4S, G::PeakHold, 32},
    {IDM_PEAK_HOLD_6S, G::PeakHold, 48},
    {IDM_PEAK_HOLD_8S, G::PeakHold, 64},
    {IDM_PEAK_HOLD_10S, G::PeakHold, 80},
    {IDM_PEAK_HOLD_20S, G::PeakHold, 160},
    {IDM_PEAK_HOLD_30S, G::PeakHold, 240},
    {IDM_SPEED_SLOW, G::Speed, 1},
    {IDM_SPEED_NORMAL, G::Speed, 2},
    {IDM_SPEED_FAST, G::Speed, 3},
    {IDM_INFO, G::Info, 0},
    {IDM_HELP, G::Help, 0},
}};

constexpr std::array<ZoomRangeLimits, 3> kZoomRanges = {{{1, 10}, {1, 20}, {2, 32}}};
constexpr std::int32_t kHighestZoomRange = 2;

} // namespace

const std::array<MenuCommand, kMenuCommandCount>& menuCommands() noexcept { return kCommands; }

const MenuCommand* findMenuCommand(std::int32_t id) noexcept {
  for (const MenuCommand& c : kCommands) {
    if (c.id == id) {
      return &c;
    }
  }
  return nullptr;
}

bool isSettingsCommand(const MenuCommand& command) noexcept {
  return command.group != G::Info && command.group != G::Help;
}

std::int32_t settingValue(const DisplaySettings& settings, SettingsGroup group) noexcept {
  switch (group) {
  case G::Ceiling:
    return settings.normalizeCeilingIndex;
  case G::PeakHold:
    return settings.peakHoldTicks;
  case G::Colours:
    return settings.colourScheme;
  case G::ZoomRange:
    return settings.zoomRange;
  case G::Speed:
    return settings.displaySpeed;
  case G::Info:
  case G::Help:
    break;
  }
  return 0;
}

void applyMenuCommand(DisplaySettings& settings, const MenuCommand& command) noexcept {
  switch (command.group) {
  case G::Ceiling:
    settings.normalizeCeilingIndex = command.value;
    break;
  case G::PeakHold:
    settings.peakHoldTicks = command.value;
    break;
  case G::Colours:
    settings.colourScheme = command.value;
    break;
  case G::ZoomRange:
    settings.zoomRange = command.value;
    break;
  case G::Speed:
    settings.displaySpeed = command.value;
    break;
  case G::Info:
  case G::Help:
    break;
  }
}

bool menuItemChecked(const DisplaySettings& settings, const MenuCommand& command) noexcept {
  return isSettingsCommand(command) && settingValue(settings, command.group) == command.value;
}

const WaveColours* schemeColours(std::int32_t colourScheme) noexcept {
  switch (colourScheme) {
  case kNaturalScheme:
    return &kNaturalColours;
  case kIcyScheme:
    return &kIcyColours;
  default:
    return nullptr;
  }
}

bool zoomRangeLimits(std::int32_t zoomRange, ZoomRangeLimits& limits) noexcept {
  if (zoomRange < 0 || zoomRange >= static_cast<std::int32_t>(kZoomRanges.size())) {
    return false;
  }
  limits = kZoomRanges[static_cast<std::size_t>(zoomRange)];
  return true;
}

std::int32_t zoomStepsForRange(std::int32_t zoomRange, std::int32_t zoomSteps) noexcept {
  ZoomRangeLimits limits{};
  if (!zoomRangeLimits(zoomRange, limits)) {
    return zoomSteps;
  }
  // The two lower ranges only lower the zoom, the highest only raises it: a zoom the host set
  // outside the slider's range survives a change to the other end.
  if (zoomRange == kHighestZoomRange) {
    return zoomSteps < limits.min ? limits.min : zoomSteps;
  }
  return zoomSteps > limits.max ? limits.max : zoomSteps;
}

std::array<std::uint8_t, kWaveColourBytes> encodeWaveColours(const WaveColours& colours) noexcept {
  std::array<std::uint8_t, kWaveColourBytes> bytes{};
  std::size_t at = 0;
  for (const auto& colour : colours) {
    for (std::int32_t component : colour) {
      const auto u = static_cast<std::uint32_t>(component);
      for (unsigned shift = 0; shift < 32; shift += 8) {
        bytes[at++] = static_cast<std::uint8_t>(u >> shift);
      }
    }
  }
  return bytes;
}

WaveColours decodeWaveColours(const std::array<std::uint8_t, kWaveColourBytes>& bytes) noexcept {
  WaveColours colours{};
  std::size_t at = 0;
  for (auto& colour : colours) {
    for (std::int32_t& component : colour) {
      std::uint32_t u = 0;
      for (unsigned shift = 0; shift < 32; shift += 8) {
        u |= std::uint32_t{bytes[at++]} << shift;
      }
      component = static_cast<std::int32_t>(u);
    }
  }
  return colours;
}

const std::array<SettingsField, kSettingsFieldCount>& settingsFields() noexcept {
  static const std::array<SettingsField, kSettingsFieldCount> fields{{
      {"subAN", [](const DisplaySettings& s) { return s.normalizeCeilingIndex.load(); },
       [](DisplaySettings& s, std::int32_t v) { s.normalizeCeilingIndex = v; }},
      {"subPH", [](const DisplaySettings& s) { return s.peakHoldTicks; },
       [](DisplaySettings& s, std::int32_t v) {
         s.peakHoldTicks = usablePeakHoldTicks(v) ? v : kDefaultPeakHoldTicks;
       }},
      {"subCO", [](const DisplaySettings& s) { return s.colourScheme; },
       [](DisplaySettings& s, std::int32_t v) { s.colourScheme = v; }},
      {"subWZ", [](const DisplaySettings& s) { return s.zoomRange; },
       [](DisplaySettings& s, std::int32_t v) { s.zoomRange = v; }},
      {"subDS", [](const DisplaySettings& s) { return s.displaySpeed; },
       [](DisplaySettings& s, std::int32_t v) { s.displaySpeed = v; }},
  }};
  return fields;
}
