// The display settings as a small text file, one "name value" line per setting, with the names
// the Windows registry uses: subAN, subPH, subCO, subIPOPTR (fifteen numbers R1 G1 B1 ... B5),
// subWZ and subDS.
#pragma once

#include "DisplaySettings.h"

#include <string>

std::string formatSettingsText(const DisplaySettings& settings);

// Replaces the settings the text holds. A text with any line that cannot be read changes
// nothing at all and answers false: a garbled file means the settings stay as they are.
bool parseSettingsText(const std::string& text, DisplaySettings& settings);
