#include "DisplaySettingsCommands.h"
#include "ResourceIds.h"

#include <gtest/gtest.h>

#include <set>

namespace {

DisplaySettings applied(std::int32_t id) {
  DisplaySettings s;
  const MenuCommand* c = findMenuCommand(id);
  EXPECT_NE(c, nullptr) << id;
  if (c != nullptr) {
    applyMenuCommand(s, *c);
  }
  return s;
}

TEST(DisplaySettingsCommands, CeilingItemsStoreTheirIndexNotTheirMenuPosition) {
  EXPECT_EQ(applied(IDM_CEILING_0).normalizeCeilingIndex, 0);
  EXPECT_EQ(applied(IDM_CEILING_001).normalizeCeilingIndex, 1);
  EXPECT_EQ(applied(IDM_CEILING_005).normalizeCeilingIndex, 3);
  EXPECT_EQ(applied(IDM_CEILING_009).normalizeCeilingIndex, 2);
}

TEST(DisplaySettingsCommands, InfoHelpAndUnknownIdsChangeNothing) {
  for (std::int32_t id : {IDM_INFO, IDM_HELP}) {
    const MenuCommand* c = findMenuCommand(id);
    ASSERT_NE(c, nullptr);
    EXPECT_FALSE(isSettingsCommand(*c));
    DisplaySettings s;
    s.peakHoldTicks = 48;
    applyMenuCommand(s, *c);
    EXPECT_EQ(s.peakHoldTicks, 48);
    EXPECT_FALSE(menuItemChecked(s, *c));
  }
  EXPECT_EQ(findMenuCommand(0), nullptr);
  EXPECT_EQ(findMenuCommand(40021), nullptr);
  EXPECT_EQ(findMenuCommand(40031), nullptr);
}

TEST(DisplaySettingsCommands, IdsAreUniqueAndEachGroupChecksExactlyOneItem) {
  std::set<std::int32_t> ids;
  for (const MenuCommand& c : menuCommands()) {
    EXPECT_TRUE(ids.insert(c.id).second) << c.id;
  }
  for (const MenuCommand& chosen : menuCommands()) {
    if (!isSettingsCommand(chosen)) {
      continue;
    }
    DisplaySettings s;
    applyMenuCommand(s, chosen);
    int checkedInGroup = 0;
    for (const MenuCommand& c : menuCommands()) {
      if (c.group == chosen.group && menuItemChecked(s, c)) {
        ++checkedInGroup;
        EXPECT_EQ(c.id, chosen.id);
      }
    }
    EXPECT_EQ(checkedInGroup, 1) << chosen.id;
  }
}

TEST(DisplaySettingsCommands, OutOfRangeValuesCheckNothingInTheirGroup) {
  DisplaySettings s;
  s.normalizeCeilingIndex = 7;
  s.peakHoldTicks = 33;
  s.colourScheme = -1;
  s.zoomRange = 3;
  s.displaySpeed = 0;
  for (const MenuCommand& c : menuCommands()) {
    EXPECT_FALSE(menuItemChecked(s, c)) << c.id;
  }
}

TEST(DisplaySettingsZoom, RangesAndTheirEffectOnZoomSteps) {
  ZoomRangeLimits l{};
  ASSERT_TRUE(zoomRangeLimits(0, l));
  EXPECT_EQ(l.min, 1);
  EXPECT_EQ(l.max, 10);
  ASSERT_TRUE(zoomRangeLimits(2, l));
  EXPECT_EQ(l.min, 2);
  EXPECT_EQ(l.max, 32);
  EXPECT_FALSE(zoomRangeLimits(3, l));
  EXPECT_FALSE(zoomRangeLimits(-1, l));

  EXPECT_EQ(zoomStepsForRange(0, 16), 10);
  EXPECT_EQ(zoomStepsForRange(2, 10), 10);
  EXPECT_EQ(zoomStepsForRange(1, 32), 20);
  EXPECT_EQ(zoomStepsForRange(2, 1), 2);
  EXPECT_EQ(zoomStepsForRange(2, 40), 40);
  EXPECT_EQ(zoomStepsForRange(0, 0), 0);
  EXPECT_EQ(zoomStepsForRange(5, 40), 40);
}

TEST(DisplaySettingsColours, RegistryBlockIsFifteenLittleEndianIntegers) {
  WaveColours c = kIcyColours;
  c[4][2] = 0x01020304;
  c[0][0] = -2;
  const auto bytes = encodeWaveColours(c);
  EXPECT_EQ(bytes[0], 0xFE);
  EXPECT_EQ(bytes[3], 0xFF);
  EXPECT_EQ(bytes[4], 116);  // G1 at offset 4
  EXPECT_EQ(bytes[12], 148); // R2 at offset 12
  EXPECT_EQ(bytes[56], 0x04);
  EXPECT_EQ(bytes[59], 0x01);
  EXPECT_EQ(decodeWaveColours(bytes), c);
}

} // namespace
