#include "DisplaySettingsStore.h"

#include "ADelay.h"
#include "DisplaySettingsCommands.h"

#include <windows.h>

#include <array>
#include <cstring>

namespace {

constexpr const char* kSoftwareKey = "Software";
constexpr const char* kVendorKey = "HalvaroPlugIns";
constexpr const char* kProductKey = "Zembrac";
// Closes whatever it holds when it goes, so every exit path releases the keys.
class RegistryKey {
public:
  RegistryKey() = default;
  ~RegistryKey() {
    if (key_ != nullptr) {
      RegCloseKey(key_);
    }
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  HKEY* out() noexcept { return &key_; }
  HKEY get() const noexcept { return key_; }
  explicit operator bool() const noexcept { return key_ != nullptr; }

private:
  HKEY key_ = nullptr;
};

bool openKey(HKEY parent, const char* name, REGSAM access, RegistryKey& key) noexcept {
  return parent != nullptr && RegOpenKeyExA(parent, name, 0, access, key.out()) == ERROR_SUCCESS;
}

bool createKey(HKEY parent, const char* name, REGSAM access, RegistryKey& key) noexcept {
  char keyClass[] = "zeq";
  return parent != nullptr && RegCreateKeyExA(parent, name, 0, keyClass, REG_OPTION_NON_VOLATILE,
                                              access, nullptr, key.out(), nullptr) == ERROR_SUCCESS;
}

// A value counts only when it has exactly the expected type and size; anything else is taken
// as missing rather than read with undefined bytes.
bool queryExact(HKEY key, const char* name, DWORD expectedType, void* data, DWORD size) noexcept {
  DWORD type = 0;
  DWORD got = size;
  return RegQueryValueExA(key, name, nullptr, &type, static_cast<BYTE*>(data), &got) ==
             ERROR_SUCCESS &&
         type == expectedType && got == size;
}

void setValue(HKEY key, const char* name, DWORD type, const void* data, DWORD size) noexcept {
  RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
}

} // namespace

void saveDisplaySettings(const ADelay& effect) noexcept {
  RegistryKey software;
  RegistryKey vendor;
  RegistryKey product;
  if (!openKey(HKEY_CURRENT_USER, kSoftwareKey, KEY_ALL_ACCESS, software) ||
      !createKey(software.get(), kVendorKey, KEY_ALL_ACCESS, vendor) ||
      !createKey(vendor.get(), kProductKey, KEY_SET_VALUE, product)) {
    return;
  }
  const DisplaySettings& s = effect.displaySettings;
  for (const SettingsField& v : settingsFields()) {
    const DWORD dword = static_cast<DWORD>(v.get(s));
    setValue(product.get(), v.name, REG_DWORD, &dword, sizeof dword);
  }
  const std::array<std::uint8_t, kWaveColourBytes> colours = encodeWaveColours(s.waveColours);
  setValue(product.get(), kColoursSettingName, REG_BINARY, colours.data(),
           static_cast<DWORD>(colours.size()));
}

void loadDisplaySettings(ADelay& effect) noexcept {
  RegistryKey software;
  RegistryKey vendor;
  RegistryKey product;
  if (!openKey(HKEY_CURRENT_USER, kSoftwareKey, KEY_QUERY_VALUE, software) ||
      !openKey(software.get(), kVendorKey, KEY_QUERY_VALUE, vendor) ||
      !openKey(vendor.get(), kProductKey, KEY_QUERY_VALUE, product)) {
    return;
  }
  DisplaySettings& s = effect.displaySettings;
  for (const SettingsField& v : settingsFields()) {
    DWORD dword = 0;
    if (queryExact(product.get(), v.name, REG_DWORD, &dword, sizeof dword)) {
      v.set(s, static_cast<std::int32_t>(dword));
    }
  }
  std::array<std::uint8_t, kWaveColourBytes> colours{};
  if (queryExact(product.get(), kColoursSettingName, REG_BINARY, colours.data(),
                 static_cast<DWORD>(colours.size()))) {
    s.waveColours = decodeWaveColours(colours);
  }
}
