// The library's resources as the editor loads them: sixteen bitmaps, menu 111, the version.
#include "PluginLibrary.h"
#include "ResourceIds.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct BitmapSpec {
  int id;
  int width;
  int height;
};

constexpr BitmapSpec kBitmaps[] = {
    {IDB_FACE, 511, 283},           {IDB_SOFT_LIT, 44, 21},
    {IDB_NORMALIZE_LIT, 44, 21},    {IDB_DITHER_LIT, 44, 21},
    {IDB_BYPASS_LIT, 44, 21},       {IDB_AUTO_RELEASE_LIT, 26, 14},
    {IDB_HANDLE_GREEN, 20, 34},     {IDB_HANDLE_BLUE, 20, 34},
    {IDB_HANDLE_GREY, 20, 34},      {IDB_HANDLE_NARROW_RED, 16, 34},
    {IDB_READOUT, 45, 12},          {IDB_ZOOM_HANDLE, 13, 21},
    {IDB_LOOKAHEAD_HANDLE, 21, 13}, {IDB_HIGHLIGHT_MASK, 44, 18},
    {IDB_OUTPUT_METER, 15, 257},    {IDB_REDUCTION_METER, 13, 257},
};

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

// A bitmap resource read straight from the library: the header and the bottom-up rows.
class RawBitmap {
public:
  RawBitmap(HMODULE module, int id) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));
    if (found == nullptr) {
      return;
    }
    size_ = SizeofResource(module, found);
    header_ = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, found)));
  }
  bool valid() const { return header_ != nullptr && size_ >= sizeof(BITMAPINFOHEADER); }
  const BITMAPINFOHEADER& header() const { return *header_; }
  // Pixel (x, y) with y counted from the top, as the editor's GDI calls see it.
  Rgb at(int x, int y) const {
    const auto* bits = reinterpret_cast<const std::uint8_t*>(header_) + header_->biSize;
    const int stride = (header_->biWidth * 3 + 3) & ~3;
    const std::uint8_t* p = bits + (header_->biHeight - 1 - y) * stride + x * 3;
    return {p[2], p[1], p[0]};
  }
  DWORD size() const { return size_; }

private:
  const BITMAPINFOHEADER* header_ = nullptr;
  DWORD size_ = 0;
};

class Resources : public testing::Test {
protected:
  static void SetUpTestSuite() { module_ = LoadLibraryA(pluginPath().c_str()); }
  static void TearDownTestSuite() {
    if (module_ != nullptr) {
      FreeLibrary(module_);
    }
  }
  void SetUp() override { ASSERT_NE(module_, nullptr) << pluginPath(); }
  static HMODULE module_;
};
HMODULE Resources::module_ = nullptr;

TEST_F(Resources, EveryBitmapLoadsWithItsSize) {
  for (const BitmapSpec& bmp : kBitmaps) {
    HBITMAP bitmap = LoadBitmapA(module_, MAKEINTRESOURCEA(bmp.id));
    ASSERT_NE(bitmap, nullptr) << "bitmap " << bmp.id;
    BITMAP info{};
    ASSERT_EQ(GetObjectA(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, bmp.width) << "bitmap " << bmp.id;
    EXPECT_EQ(info.bmHeight, bmp.height) << "bitmap " << bmp.id;
    DeleteObject(bitmap);
  }
}

TEST_F(Resources, BitmapsAreUncompressedBottomUp24Bit) {
  for (const BitmapSpec& bmp : kBitmaps) {
    RawBitmap raw(module_, bmp.id);
    ASSERT_TRUE(raw.valid()) << "bitmap " << bmp.id;
    const BITMAPINFOHEADER& h = raw.header();
    EXPECT_EQ(h.biSize, sizeof(BITMAPINFOHEADER)) << bmp.id;
    EXPECT_EQ(h.biBitCount, 24) << bmp.id;
    EXPECT_EQ(h.biCompression, static_cast<DWORD>(BI_RGB)) << bmp.id;
    EXPECT_EQ(h.biHeight, bmp.height) << bmp.id; // positive: rows stored bottom-up
    const DWORD stride = static_cast<DWORD>((bmp.width * 3 + 3) & ~3);
    EXPECT_GE(raw.size(), h.biSize + stride * static_cast<DWORD>(bmp.height)) << bmp.id;
  }
}

// The read-out face is painted over the boxes drawn on the face and must cover them seamlessly;
// the lit switches replace the face under them, so their corners must be the face's.
TEST_F(Resources, OverlaysMatchTheFaceUnderThem) {
  RawBitmap face(module_, IDB_FACE), readout(module_, IDB_READOUT);
  ASSERT_TRUE(face.valid() && readout.valid());
  const POINT boxes[] = {{14, 13}, {66, 13}, {118, 13}, {398, 51}};
  for (const POINT& box : boxes) {
    for (int y = 0; y < 12; ++y) {
      for (int x = 0; x < 45; ++x) {
        ASSERT_EQ(readout.at(x, y), face.at(box.x + x, box.y + y))
            << "box (" << box.x << "," << box.y << ") pixel " << x << "," << y;
      }
    }
  }
  struct Lit {
    int id, x, y, w, h;
  };
  const Lit lit[] = {{IDB_SOFT_LIT, 354, 118, 44, 21},
                     {IDB_NORMALIZE_LIT, 354, 144, 44, 21},
                     {IDB_DITHER_LIT, 354, 170, 44, 21},
                     {IDB_BYPASS_LIT, 354, 196, 44, 21},
                     {IDB_AUTO_RELEASE_LIT, 124, 223, 26, 14}};
  for (const Lit& s : lit) {
    RawBitmap image(module_, s.id);
    ASSERT_TRUE(image.valid());
    const POINT corners[] = {{0, 0}, {s.w - 1, 0}, {0, s.h - 1}, {s.w - 1, s.h - 1}};
    for (const POINT& c : corners) {
      EXPECT_EQ(image.at(c.x, c.y), face.at(s.x + c.x, s.y + c.y)) << "switch " << s.id;
    }
    EXPECT_FALSE(image.at(s.w / 2, s.h / 2) == face.at(s.x + s.w / 2, s.y + s.h / 2))
        << "switch " << s.id << " looks the same lit as unlit";
  }
}

TEST_F(Resources, FaceCarriesTheRmsBoxAndADarkWaveDisplay) {
  RawBitmap face(module_, IDB_FACE);
  ASSERT_TRUE(face.valid());
  for (int y = 14; y < 28; ++y) {
    for (int x = 398; x < 444; ++x) {
      ASSERT_EQ(face.at(x, y), (Rgb{154, 172, 194})) << x << "," << y;
    }
  }
  long sum = 0;
  for (int y = 13; y < 269; ++y) {
    for (int x = 175; x < 297; ++x) {
      const Rgb c = face.at(x, y);
      sum += c.r + c.g + c.b;
    }
  }
  EXPECT_LT(sum / (122 * 256 * 3), 16); // mean component: near black, so envelopes stand out
}

// The handle's mark sits on the row that lands on the value (row 16 of 34): its colour tells
// the compressor (green), the other faders (blue) and the limiter (red) apart.
TEST_F(Resources, HandleMarksAreOnTheValueRow) {
  auto mark = [&](int id) { return RawBitmap(module_, id).at(8, 16); };
  const Rgb green = mark(IDB_HANDLE_GREEN), blue = mark(IDB_HANDLE_BLUE);
  const Rgb red = mark(IDB_HANDLE_NARROW_RED), grey = mark(IDB_HANDLE_GREY);
  EXPECT_GT(green.g, green.r + 60);
  EXPECT_GT(green.g, green.b + 60);
  EXPECT_GT(blue.b, blue.r + 60);
  EXPECT_GT(red.r, red.g + 60);
  EXPECT_LT(std::abs(grey.r - grey.b), 20);
  const Rgb plainRow = RawBitmap(module_, IDB_HANDLE_BLUE).at(8, 26);
  EXPECT_FALSE(plainRow == blue);
}

TEST_F(Resources, MeterBarsAreOrientedLikeTheirMeters) {
  // Output meters fill from the bottom: quiet (green) at the bottom, clipping (red) at the top.
  RawBitmap out(module_, IDB_OUTPUT_METER);
  ASSERT_TRUE(out.valid());
  const Rgb top = out.at(7, 10), bottom = out.at(7, 250);
  EXPECT_GT(top.r, top.g + 80);
  EXPECT_GT(bottom.g, bottom.r + 60);
  // Rows at and above full scale (bar row 64, window row 77) are red.
  EXPECT_GT(out.at(7, 63).r, out.at(7, 63).g + 80);
  RawBitmap reduction(module_, IDB_REDUCTION_METER);
  ASSERT_TRUE(reduction.valid());
  const Rgb r0 = reduction.at(6, 0);
  EXPECT_GT(r0.b, r0.r);
  EXPECT_GT(r0.r + r0.g + r0.b, 200);
}

TEST_F(Resources, HighlightMaskIsAGlintInTheUsedCorner) {
  RawBitmap mask(module_, IDB_HIGHLIGHT_MASK);
  ASSERT_TRUE(mask.valid());
  int peak = 0;
  for (int y = 0; y < 18; ++y) {
    for (int x = 0; x < 44; ++x) {
      const int m = mask.at(x, y).r;
      if (x >= 42 || y >= 16) {
        EXPECT_EQ(m, 0) << x << "," << y; // outside the 42 x 16 the editor blends
      }
      peak = std::max(peak, m);
    }
  }
  EXPECT_GT(peak, 40);
  EXPECT_LT(peak, 160); // a glint, not a white patch
}

std::string itemText(HMENU menu, UINT position) {
  char text[64] = {};
  GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
  return text;
}

struct Item {
  const char* text;
  UINT id;
};

void expectSubmenu(HMENU menu, UINT position, const char* title, const std::vector<Item>& items) {
  EXPECT_EQ(itemText(menu, position), title);
  HMENU sub = GetSubMenu(menu, static_cast<int>(position));
  ASSERT_NE(sub, nullptr) << title;
  ASSERT_EQ(GetMenuItemCount(sub), static_cast<int>(items.size())) << title;
  for (UINT i = 0; i < items.size(); ++i) {
    EXPECT_EQ(itemText(sub, i), items[i].text) << title;
    EXPECT_EQ(GetMenuItemID(sub, static_cast<int>(i)), items[i].id)
        << title << " " << items[i].text;
  }
}

TEST_F(Resources, ContextMenuHasTheItemsAndCommands) {
  HMENU menu = LoadMenuA(module_, MAKEINTRESOURCEA(IDR_CONTEXT_MENU));
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(GetMenuItemCount(menu), 1);
  EXPECT_EQ(itemText(menu, 0), "Nobody");
  HMENU context = GetSubMenu(menu, 0);
  ASSERT_NE(context, nullptr);
  ASSERT_EQ(GetMenuItemCount(context), 8);
  expectSubmenu(
      context, 0, "Auto Normalize to",
      {{"0 dBFS", 40004}, {"-0.01 dBFS", 40024}, {"-0.05 dBFS", 40030}, {"-0.09 dBFS", 40005}});
  expectSubmenu(context, 1, "WaveDisplay colors",
                {{"Natural", 40013}, {"Icy", 40014}, {"Custom", 40025}});
  expectSubmenu(context, 2, "WaveDisplay zoom",
                {{"0.5x - 5x", 40017}, {"0.5x - 10x", 40020}, {"1x - 16x", 40019}});
  expectSubmenu(context, 3, "Peak hold time",
                {{"2s", 40006},
                 {"4s", 40007},
                 {"6s", 40008},
                 {"8s", 40009},
                 {"10s", 40010},
                 {"20s", 40011},
                 {"30s", 40012}});
  expectSubmenu(context, 4, "Display speed", {{"Slow", 40027}, {"Normal", 40028}, {"Fast", 40029}});
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  ASSERT_TRUE(GetMenuItemInfoA(context, 5, TRUE, &info));
  EXPECT_TRUE((info.fType & MFT_SEPARATOR) != 0);
  EXPECT_EQ(itemText(context, 6), "Info");
  EXPECT_EQ(GetMenuItemID(context, 6), 40022u);
  EXPECT_EQ(itemText(context, 7), "Help");
  EXPECT_EQ(GetMenuItemID(context, 7), 40023u);
  DestroyMenu(menu);
}

bool containsWide(const std::uint8_t* data, DWORD size, const char* text) {
  std::vector<std::uint8_t> wide;
  for (const char* c = text; *c != '\0'; ++c) {
    wide.push_back(static_cast<std::uint8_t>(*c));
    wide.push_back(0);
  }
  for (DWORD i = 0; i + wide.size() <= size; ++i) {
    if (std::memcmp(data + i, wide.data(), wide.size()) == 0) {
      return true;
    }
  }
  return false;
}

TEST_F(Resources, VersionInformationNamesProductMakerAndVersion) {
  HRSRC found = FindResourceA(module_, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16));
  ASSERT_NE(found, nullptr);
  const DWORD size = SizeofResource(module_, found);
  const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(module_, found)));
  ASSERT_NE(data, nullptr);
  const VS_FIXEDFILEINFO* fixed = nullptr;
  for (DWORD i = 0; i + sizeof(VS_FIXEDFILEINFO) <= size; i += 4) {
    DWORD signature;
    std::memcpy(&signature, data + i, sizeof signature);
    if (signature == 0xFEEF04BDu) {
      fixed = reinterpret_cast<const VS_FIXEDFILEINFO*>(data + i);
      break;
    }
  }
  ASSERT_NE(fixed, nullptr);
  EXPECT_EQ(fixed->dwFileVersionMS, (2u << 16) | 75u);
  EXPECT_EQ(fixed->dwProductVersionMS, (2u << 16) | 75u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
  EXPECT_TRUE(containsWide(data, size, "HalvaroWeb"));
  EXPECT_TRUE(containsWide(data, size, "Zembrac"));
  EXPECT_TRUE(containsWide(data, size, "2.75 x64"));
}

} // namespace
