// Reads and writes the display settings' registry key the way a user or another instance
// would, for the suites that set or check the display settings. The Wine prefix is private to
// the build tree.
#pragma once

#include "EditorHarness.h"
#include "ResourceIds.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace display_settings {

constexpr const char* kVendorPath = "Software\\HalvaroPlugIns";
constexpr const char* kKeyPath = "Software\\HalvaroPlugIns\\Zembrac";

inline void deleteSettingsKey() { RegDeleteTreeA(HKEY_CURRENT_USER, kVendorPath); }

inline bool keyExists(const char* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

struct StoredValue {
  bool present = false;
  DWORD type = 0;
  std::vector<std::uint8_t> bytes;

  std::int32_t dword() const {
    std::int32_t v = 0;
    if (bytes.size() == sizeof v) {
      std::memcpy(&v, bytes.data(), sizeof v);
    }
    return v;
  }
  // The fifteen colour integers of "subIPOPTR" (zeros when the size is wrong).
  std::array<std::int32_t, 15> colours() const {
    std::array<std::int32_t, 15> c{};
    if (bytes.size() == sizeof c) {
      std::memcpy(c.data(), bytes.data(), sizeof c);
    }
    return c;
  }
};

inline StoredValue readValue(const char* name) {
  StoredValue v;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return v;
  }
  std::uint8_t buffer[256];
  DWORD size = sizeof buffer;
  if (RegQueryValueExA(key, name, nullptr, &v.type, buffer, &size) == ERROR_SUCCESS) {
    v.present = true;
    v.bytes.assign(buffer, buffer + size);
  }
  RegCloseKey(key);
  return v;
}

inline void writeValue(const char* name, DWORD type, const void* data, DWORD size) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) == ERROR_SUCCESS) {
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
  }
}

inline void writeDword(const char* name, std::int32_t value) {
  writeValue(name, REG_DWORD, &value, sizeof value);
}

inline void writeColours(const std::array<std::int32_t, 15>& colours) {
  writeValue("subIPOPTR", REG_BINARY, colours.data(), sizeof colours);
}

constexpr std::array<std::int32_t, 15> kNatural = {0,   140, 0,   0, 180, 0, 200, 220,
                                                   255, 0,   200, 0, 200, 0, 0};
constexpr std::array<std::int32_t, 15> kIcy = {108, 116, 188, 148, 156, 218, 200, 220,
                                               255, 0,   200, 0,   200, 0,   0};

// The editor of an instance, open in a host window until this goes, whatever the test did.
class OpenEditor {
public:
  OpenEditor(editor_harness::Instance& fx, editor_harness::HostWindow& host) : fx_(fx) {
    if (fx.get() != nullptr && fx.openEditor(host.handle())) {
      window_ = editor_harness::editorWindowOf(host.handle());
      opened_ = true;
    }
  }
  ~OpenEditor() { close(); }
  OpenEditor(const OpenEditor&) = delete;
  OpenEditor& operator=(const OpenEditor&) = delete;

  HWND window() const { return window_; }
  void command(int id) const { SendMessageA(window_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
  void close() {
    if (opened_) {
      fx_.closeEditor();
      opened_ = false;
      window_ = nullptr;
    }
  }

private:
  editor_harness::Instance& fx_;
  HWND window_ = nullptr;
  bool opened_ = false;
};

// One instance and a host window for it; the key is gone before and after every test.
class SettingsFixture : public testing::Test {
protected:
  void SetUp() override {
    deleteSettingsKey();
    ASSERT_TRUE(library.loaded()) << pluginPath();
    ASSERT_NE(fx.get(), nullptr);
  }
  void TearDown() override { deleteSettingsKey(); }

  PluginLibrary library;
  editor_harness::Instance fx{library};
  editor_harness::HostWindow host;
};

} // namespace display_settings
