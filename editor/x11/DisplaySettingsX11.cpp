// The context menu's commands and the settings file: $XDG_CONFIG_HOME/zembrac/settings, or
// ~/.config/zembrac/settings, in the text form of SettingsText.h.
#include "ADEditor.h"
#include "ADelay.h"
#include "DisplaySettingsCommands.h"
#include "EditorParts.h"
#include "EditorWindows.h"
#include "ResourceIds.h"
#include "SettingsText.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// The folder of the settings file, or an empty text when neither variable gives one.
std::string settingsFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') {
    return std::string(config) + "/zembrac";
  }
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') {
    return std::string(home) + "/.config/zembrac";
  }
  return {};
}

} // namespace

void loadDisplaySettings(DisplaySettings& settings) noexcept {
  try {
    const std::string folder = settingsFolder();
    if (folder.empty()) {
      return;
    }
    std::ifstream file(folder + "/settings");
    if (!file) {
      return;
    }
    std::ostringstream text;
    text << file.rdbuf();
    parseSettingsText(text.str(), settings);
  } catch (...) {
  }
}

// Written to a temporary name and renamed, so no reader ever sees half a file.
void saveDisplaySettings(const DisplaySettings& settings) noexcept {
  try {
    const std::string folder = settingsFolder();
    if (folder.empty()) {
      return;
    }
    const std::string parent = folder.substr(0, folder.rfind('/'));
    mkdir(parent.c_str(), 0755);
    mkdir(folder.c_str(), 0755);
    const std::string path = folder + "/settings";
    const std::string temporary = path + ".tmp" + std::to_string(getpid());
    {
      std::ofstream file(temporary, std::ios::trunc);
      file << formatSettingsText(settings);
      if (!file.flush()) {
        std::remove(temporary.c_str());
        return;
      }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
      std::remove(temporary.c_str());
    }
  } catch (...) {
  }
}

void applyDisplaySettings(ADelay& effect, EditorSession* s) noexcept {
  DisplaySettings& settings = effect.displaySettings;
  if (const WaveColours* fixed = schemeColours(settings.colourScheme)) {
    settings.waveColours = *fixed;
  }
  if (s != nullptr &&
      (schemeColours(settings.colourScheme) != nullptr || settings.colourScheme == kCustomScheme)) {
    s->penColours = settings.waveColours;
  }
  ZoomRangeLimits limits{};
  if (!zoomRangeLimits(settings.zoomRange, limits)) {
    return;
  }
  if (s != nullptr) {
    s->zoomSlider->setRange(static_cast<float>(limits.min), static_cast<float>(limits.max));
  }
  const std::int32_t steps = zoomStepsForRange(settings.zoomRange, effect.zoomSteps);
  effect.setParameter(kZoom, static_cast<float>(steps));
}

void handleMenuCommand(ADEditor& editor, std::int32_t id) noexcept {
  const MenuCommand* command = findMenuCommand(id);
  EditorSession* s = editor.session();
  if (command == nullptr || s == nullptr) {
    return;
  }
  if (command->group == SettingsGroup::Info) {
    showInfoBox(*s);
    return;
  }
  if (command->group == SettingsGroup::Help) {
    showHelp(*s);
    return;
  }
  ADelay& effect = editor.delay();
  applyMenuCommand(effect.displaySettings, *command);
  // Custom is the scheme from here on, whether the chooser ends with OK or not.
  applyDisplaySettings(effect, s);
  saveDisplaySettings(effect.displaySettings);
  if (command->id == IDM_COLOURS_CUSTOM) {
    chooseCustomColours(editor);
  }
}
