// The display settings in the current user's registry, shared by every instance of the
// plug-in: HKEY_CURRENT_USER\Software\HalvaroPlugIns\Zembrac. UI thread only; failures are
// silent and leave the settings as they are.
#pragma once

class ADelay;

// Writes all six values, creating the key when needed.
void saveDisplaySettings(const ADelay& effect) noexcept;
// Replaces each setting whose value is stored with the right type and size; creates nothing.
// A stored peak-hold time the meters cannot count with (0 or below) gives the default.
void loadDisplaySettings(ADelay& effect) noexcept;
