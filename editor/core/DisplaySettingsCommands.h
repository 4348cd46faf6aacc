// The context menu's commands as data: which setting each item sets to which value, which item
// carries a check mark, and the zoom ranges. Portable, so the rules are tested natively.
#pragma once

#include "DisplaySettings.h"

#include <array>
#include <cstdint>

enum class SettingsGroup { Ceiling, PeakHold, Colours, ZoomRange, Speed, Info, Help };

struct MenuCommand {
  std::int32_t id; // the IDM_ command id of menu resource 111 (ResourceIds.h)
  SettingsGroup group;
  std::int32_t value; // what the item stores in its group's setting (unused for Info, Help)
};

constexpr std::size_t kMenuCommandCount = 22;

// Every menu command, grouped as in the menu. The ceiling items are in menu order, which is
// not their index order: "-0.05 dBFS" stores 3 and "-0.09 dBFS" stores 2.
const std::array<MenuCommand, kMenuCommandCount>& menuCommands() noexcept;
// The command with this id, or null for ids the menu does not have.
const MenuCommand* findMenuCommand(std::int32_t id) noexcept;
// Whether the command changes a setting (everything but Info and Help).
bool isSettingsCommand(const MenuCommand& command) noexcept;
// The current value of a settings group.
std::int32_t settingValue(const DisplaySettings& settings, SettingsGroup group) noexcept;
// Stores the command's value in its setting; Info and Help change nothing.
void applyMenuCommand(DisplaySettings& settings, const MenuCommand& command) noexcept;
// Whether the item shows a check mark: its value is its group's current value.
bool menuItemChecked(const DisplaySettings& settings, const MenuCommand& command) noexcept;

// The colours of a fixed scheme, or null for Custom and unknown schemes.
const WaveColours* schemeColours(std::int32_t colourScheme) noexcept;

struct ZoomRangeLimits {
  std::int32_t min;
  std::int32_t max;
};

// The zoom slider's range for a zoom range setting (1..10, 1..20, 2..32); false when unknown.
bool zoomRangeLimits(std::int32_t zoomRange, ZoomRangeLimits& limits) noexcept;
// zoomSteps after choosing a range: lowered below the top of the two lower ranges, raised to the
// bottom of the highest one, otherwise unchanged.
std::int32_t zoomStepsForRange(std::int32_t zoomRange, std::int32_t zoomSteps) noexcept;

// The five single-number settings as both stores name them ("subAN", "subPH", "subCO", "subWZ",
// "subDS"); the colours travel beside them as one block named kColoursSettingName. A stored hold
// time the meters cannot divide by is read as the default.
struct SettingsField {
  const char* name;
  std::int32_t (*get)(const DisplaySettings&);
  void (*set)(DisplaySettings&, std::int32_t);
};
constexpr std::size_t kSettingsFieldCount = 5;
const std::array<SettingsField, kSettingsFieldCount>& settingsFields() noexcept;
inline constexpr const char* kColoursSettingName = "subIPOPTR";

// The registry form of the colours: fifteen little-endian int32 in the order R1 G1 B1 ... B5.
constexpr std::size_t kWaveColourBytes = 60;
std::array<std::uint8_t, kWaveColourBytes> encodeWaveColours(const WaveColours& colours) noexcept;
WaveColours decodeWaveColours(const std::array<std::uint8_t, kWaveColourBytes>& bytes) noexcept;
