// The display settings as the registry sees them: every settings command writes all six
// values, every editor opening reads them, and what does not fit is left alone.
#include "DisplaySettingsRegistry.h"

#include <gtest/gtest.h>

using namespace display_settings;

namespace {

constexpr int kNoMenuCommand = IDM_INFO + 1000;

float zoomOf(const editor_harness::Instance& fx) { return fx->getParameter(fx.get(), 8); }

class DisplaySettingsRegistry : public SettingsFixture {};

TEST_F(DisplaySettingsRegistry, ACommandWritesAllSixValuesWithTheirTypesAndSizes) {
  OpenEditor editor(fx, host);
  ASSERT_NE(editor.window(), nullptr);
  editor.command(IDM_PEAK_HOLD_20S);

  const struct {
    const char* name;
    std::int32_t value;
  } dwords[] = {{"subAN", 0}, {"subPH", 160}, {"subCO", 1}, {"subWZ", 1}, {"subDS", 2}};
  for (const auto& d : dwords) {
    const StoredValue v = readValue(d.name);
    EXPECT_TRUE(v.present) << d.name;
    EXPECT_EQ(v.type, static_cast<DWORD>(REG_DWORD)) << d.name;
    EXPECT_EQ(v.bytes.size(), 4u) << d.name;
    EXPECT_EQ(v.dword(), d.value) << d.name;
  }
  const StoredValue colours = readValue("subIPOPTR");
  EXPECT_EQ(colours.type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(colours.bytes.size(), 60u);
  // Opening applied the Icy scheme, which stores its colours.
  EXPECT_EQ(colours.colours(), kIcy);
}

TEST_F(DisplaySettingsRegistry, CeilingItemsStoreTheirIndexAndEveryGroupIsWritten) {
  OpenEditor editor(fx, host);
  ASSERT_NE(editor.window(), nullptr);
  const struct {
    int id;
    const char* name;
    std::int32_t value;
  } cases[] = {
      {IDM_CEILING_005, "subAN", 3},     {IDM_CEILING_009, "subAN", 2},
      {IDM_CEILING_001, "subAN", 1},     {IDM_CEILING_0, "subAN", 0},
      {IDM_PEAK_HOLD_2S, "subPH", 16},   {IDM_PEAK_HOLD_30S, "subPH", 240},
      {IDM_COLOURS_NATURAL, "subCO", 0}, {IDM_ZOOM_RANGE_16X, "subWZ", 2},
      {IDM_ZOOM_RANGE_5X, "subWZ", 0},   {IDM_SPEED_FAST, "subDS", 3},
      {IDM_SPEED_SLOW, "subDS", 1},
  };
  for (const auto& c : cases) {
    editor.command(c.id);
    EXPECT_EQ(readValue(c.name).dword(), c.value) << c.id;
  }
  EXPECT_EQ(readValue("subIPOPTR").colours(), kNatural);
}

TEST_F(DisplaySettingsRegistry, OpeningWithoutAKeyCreatesNothing) {
  {
    OpenEditor editor(fx, host);
    ASSERT_NE(editor.window(), nullptr);
    editor.command(kNoMenuCommand);
    editor_harness::drainMessages();
  }
  {
    OpenEditor again(fx, host);
    ASSERT_NE(again.window(), nullptr);
  }
  EXPECT_FALSE(keyExists(kVendorPath));
}

TEST_F(DisplaySettingsRegistry, AnOpeningEditorReadsWhatIsStored) {
  writeDword("subAN", 3);
  writeDword("subPH", 48);
  writeDword("subCO", 2);
  std::array<std::int32_t, 15> custom{};
  for (std::size_t i = 0; i < custom.size(); ++i) {
    custom[i] = static_cast<std::int32_t>(10 * i + 5);
  }
  writeColours(custom);
  writeDword("subWZ", 0);
  writeDword("subDS", 3);

  fx.setParameter(8, 16.0f);
  OpenEditor editor(fx, host);
  ASSERT_NE(editor.window(), nullptr);
  // The stored zoom range (0.5x - 5x) lowered the zoom on opening.
  EXPECT_FLOAT_EQ(zoomOf(fx), 10.0f / 20.0f);

  // With the key gone, the next write shows all six values the editor holds.
  deleteSettingsKey();
  editor.command(IDM_SPEED_NORMAL);
  EXPECT_EQ(readValue("subAN").dword(), 3);
  EXPECT_EQ(readValue("subPH").dword(), 48);
  EXPECT_EQ(readValue("subCO").dword(), 2);
  EXPECT_EQ(readValue("subIPOPTR").colours(), custom);
  EXPECT_EQ(readValue("subWZ").dword(), 0);
  EXPECT_EQ(readValue("subDS").dword(), 2);
}

TEST_F(DisplaySettingsRegistry, ValuesOfTheWrongTypeOrSizeCountAsMissing) {
  const char text[] = "48";
  writeValue("subPH", REG_SZ, text, sizeof text);
  const std::uint16_t shortValue = 3;
  writeValue("subDS", REG_BINARY, &shortValue, sizeof shortValue);
  const std::uint64_t longValue = 2;
  writeValue("subWZ", REG_QWORD, &longValue, sizeof longValue);
  writeValue("subAN", REG_BINARY, "\x02\x00\x00\x00", 4); // the right size, the wrong type
  writeDword("subCO", 2);
  writeValue("subIPOPTR", REG_BINARY, kIcy.data(), 56);

  OpenEditor editor(fx, host);
  ASSERT_NE(editor.window(), nullptr);
  deleteSettingsKey();
  editor.command(IDM_PEAK_HOLD_4S);
  EXPECT_EQ(readValue("subAN").dword(), 0);
  EXPECT_EQ(readValue("subDS").dword(), 2);
  EXPECT_EQ(readValue("subWZ").dword(), 1);
  EXPECT_EQ(readValue("subCO").dword(), 2);
  // The short colour block was not taken: Custom keeps the colours the instance had.
  EXPECT_EQ(readValue("subIPOPTR").colours(), kNatural);
}

TEST_F(DisplaySettingsRegistry, APeakHoldTimeTheMetersCannotCountWithGivesTheDefault) {
  {
    OpenEditor editor(fx, host);
    ASSERT_NE(editor.window(), nullptr);
    editor.command(IDM_PEAK_HOLD_2S);
    ASSERT_EQ(readValue("subPH").dword(), 16);
  }
  for (std::int32_t stored : {0, -16}) {
    writeDword("subPH", stored);
    OpenEditor editor(fx, host);
    ASSERT_NE(editor.window(), nullptr);
    editor.command(IDM_SPEED_FAST);
    EXPECT_EQ(readValue("subPH").dword(), 32) << stored;
  }
}

TEST_F(DisplaySettingsRegistry, ZoomRangeLowersOrRaisesTheZoomWithoutTellingTheHost) {
  fx.setParameter(8, 16.0f);
  OpenEditor editor(fx, host);
  ASSERT_NE(editor.window(), nullptr);
  RecordingHost::instance().clear();

  editor.command(IDM_ZOOM_RANGE_5X);
  EXPECT_FLOAT_EQ(zoomOf(fx), 10.0f / 20.0f);
  editor.command(IDM_ZOOM_RANGE_16X);
  EXPECT_FLOAT_EQ(zoomOf(fx), 10.0f / 20.0f);
  fx.setParameter(8, 1.0f);
  editor.command(IDM_ZOOM_RANGE_16X);
  EXPECT_FLOAT_EQ(zoomOf(fx), 2.0f / 20.0f);
  EXPECT_TRUE(RecordingHost::instance().requests(audioMasterAutomate).empty());
}

} // namespace
