#include "EditorWindows.h"

#include "ADEditor.h"
#include "ADelay.h"
#include "DisplaySettingsCommands.h"
#include "EditorParts.h"
#include "FaceText.h"
#include "HelpLayout.h"
#include "HelpTexts.h"
#include "ResourceIds.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstring>

namespace {

constexpr std::uint32_t kMenuFace = 0xF0F0F0;
constexpr std::uint32_t kMenuHot = 0x0078D7;
constexpr std::uint32_t kFrame = 0x808080;

void frame(PixelImage& image) noexcept {
  const std::int32_t w = image.width;
  const std::int32_t h = image.height;
  drawLine(image, 0, 0, w, 0, kFrame);
  drawLine(image, 0, h - 1, w, h - 1, kFrame);
  drawLine(image, 0, 0, 0, h, kFrame);
  drawLine(image, w - 1, 0, w - 1, h, kFrame);
}

void drawCheck(PixelImage& image, std::int32_t x, std::int32_t y, std::uint32_t colour) noexcept {
  for (std::int32_t i = 0; i < 3; ++i) {
    image.set(x + i, y + 3 + i, colour);
    image.set(x + i, y + 4 + i, colour);
  }
  for (std::int32_t i = 0; i < 5; ++i) {
    image.set(x + 3 + i, y + 4 - i, colour);
    image.set(x + 3 + i, y + 5 - i, colour);
  }
}

void drawButton(PixelImage& image, const PixelRect& r, const char* label) noexcept {
  fillRect(image, r, 0xE1E1E1);
  drawLine(image, r.left, r.top, r.right, r.top, kFrame);
  drawLine(image, r.left, r.bottom - 1, r.right, r.bottom - 1, kFrame);
  drawLine(image, r.left, r.top, r.left, r.bottom, kFrame);
  drawLine(image, r.right - 1, r.top, r.right - 1, r.bottom, kFrame);
  drawFaceText(image, {r.left, r.top + 3, r.right, r.bottom}, label, Rgb{0, 0, 0},
               TextAlign::centre);
}

bool inside(const PixelRect& r, std::int32_t x, std::int32_t y) noexcept {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// The menu's tree as the Windows resource has it.
struct MenuItem {
  const char* label;
  std::int32_t id;
};
struct MenuGroup {
  const char* label;
  std::int32_t count;
  std::array<MenuItem, 7> items;
};
constexpr std::int32_t kSubmenuCount = 5;
constexpr std::array<MenuGroup, kSubmenuCount> kSubmenus{{
    {"Auto Normalize to",
     4,
     {{{"0 dBFS", IDM_CEILING_0},
       {"-0.01 dBFS", IDM_CEILING_001},
       {"-0.05 dBFS", IDM_CEILING_005},
       {"-0.09 dBFS", IDM_CEILING_009}}}},
    {"WaveDisplay colors",
     3,
     {{{"Natural", IDM_COLOURS_NATURAL},
       {"Icy", IDM_COLOURS_ICY},
       {"Custom", IDM_COLOURS_CUSTOM}}}},
    {"WaveDisplay zoom",
     3,
     {{{"0.5x - 5x", IDM_ZOOM_RANGE_5X},
       {"0.5x - 10x", IDM_ZOOM_RANGE_10X},
       {"1x - 16x", IDM_ZOOM_RANGE_16X}}}},
    {"Peak hold time",
     7,
     {{{"2s", IDM_PEAK_HOLD_2S},
       {"4s", IDM_PEAK_HOLD_4S},
       {"6s", IDM_PEAK_HOLD_6S},
       {"8s", IDM_PEAK_HOLD_8S},
       {"10s", IDM_PEAK_HOLD_10S},
       {"20s", IDM_PEAK_HOLD_20S},
       {"30s", IDM_PEAK_HOLD_30S}}}},
    {"Display speed",
     3,
     {{{"Slow", IDM_SPEED_SLOW}, {"Normal", IDM_SPEED_NORMAL}, {"Fast", IDM_SPEED_FAST}}}},
}};
// Below the submenus: a separator row, then Info and Help.
constexpr std::int32_t kSeparatorRow = kSubmenuCount;
constexpr std::array<MenuItem, 2> kTailItems{{{"Info", IDM_INFO}, {"Help", IDM_HELP}}};
constexpr std::int32_t kMainRows = kSubmenuCount + 1 + 2;
constexpr std::int32_t kMainEntry = -1;

std::int32_t mainCommand(std::int32_t row) noexcept {
  return row > kSeparatorRow && row < kMainRows
             ? kTailItems[static_cast<std::size_t>(row - kSeparatorRow - 1)].id
             : 0;
}

} // namespace

ImageWindow::ImageWindow(Display* display, std::int32_t x, std::int32_t y, std::int32_t width,
                         std::int32_t height, const char* title, Window owner, long events)
    : image(width, height, kMenuFace), display_(display) {
  const int screen = DefaultScreen(display);
  XSetWindowAttributes attributes{};
  attributes.override_redirect = title == nullptr ? True : False;
  attributes.event_mask = events | ExposureMask | StructureNotifyMask;
  window_ = XCreateWindow(display, RootWindow(display, screen), x, y, static_cast<unsigned>(width),
                          static_cast<unsigned>(height), 0, CopyFromParent, InputOutput,
                          CopyFromParent, CWOverrideRedirect | CWEventMask, &attributes);
  pixmap_ =
      XCreatePixmap(display, window_, static_cast<unsigned>(width), static_cast<unsigned>(height),
                    static_cast<unsigned>(DefaultDepth(display, screen)));
  gc_ = XCreateGC(display, pixmap_, 0, nullptr);
  XSetWindowBackgroundPixmap(display, window_, pixmap_);
  if (title != nullptr) {
    XStoreName(display, window_, title);
    XSetTransientForHint(display, window_, owner);
    // A fixed size, as on Windows.
    XSizeHints hints{};
    hints.flags = PMinSize | PMaxSize;
    hints.min_width = hints.max_width = width;
    hints.min_height = hints.max_height = height;
    XSetWMNormalHints(display, window_, &hints);
    Atom deleteAtom = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window_, &deleteAtom, 1);
  }
}

ImageWindow::~ImageWindow() {
  XFreeGC(display_, gc_);
  XDestroyWindow(display_, window_);
  XFreePixmap(display_, pixmap_);
  XFlush(display_);
}

void ImageWindow::show() noexcept {
  XImage* ximage =
      XCreateImage(display_, DefaultVisual(display_, DefaultScreen(display_)), 24, ZPixmap, 0,
                   reinterpret_cast<char*>(image.pixels.data()), static_cast<unsigned>(image.width),
                   static_cast<unsigned>(image.height), 32, image.width * 4);
  if (ximage != nullptr) {
    XPutImage(display_, pixmap_, gc_, ximage, 0, 0, 0, 0, static_cast<unsigned>(image.width),
              static_cast<unsigned>(image.height));
    ximage->data = nullptr;
    XDestroyImage(ximage);
  }
  XMapRaised(display_, window_);
  XClearWindow(display_, window_);
  XFlush(display_);
}

std::unique_ptr<PopupMenu> PopupMenu::open(EditorSession& s, const DisplaySettings& settings,
                                           std::int32_t x, std::int32_t y) {
  return std::unique_ptr<PopupMenu>(new PopupMenu(s, settings, x, y));
}

PopupMenu::PopupMenu(EditorSession& s, const DisplaySettings& settings, std::int32_t x,
                     std::int32_t y)
    : display_(s.display), settings_(settings), x_(x), y_(y) {
  constexpr long kEvents = ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask;
  main_ = std::make_unique<ImageWindow>(display_, x, y, kMenuWidth, kMainRows * kMenuItemHeight,
                                        nullptr, s.window, kEvents);
  paint(*main_, kMainEntry, -1);
  // Clicks anywhere else close the menu, as a menu of the desktop does.
  XGrabPointer(display_, main_->id(), True, ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
               GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
  XGrabKeyboard(display_, main_->id(), True, GrabModeAsync, GrabModeAsync, CurrentTime);
}

PopupMenu::~PopupMenu() {
  XUngrabPointer(display_, CurrentTime);
  XUngrabKeyboard(display_, CurrentTime);
  sub_.reset();
  main_.reset();
}

bool PopupMenu::owns(Window window) const noexcept {
  return (main_ && main_->id() == window) || (sub_ && sub_->id() == window);
}

void PopupMenu::paint(ImageWindow& window, std::int32_t entry, std::int32_t hot) noexcept {
  PixelImage& image = window.image;
  fillRect(image, {0, 0, image.width, image.height}, kMenuFace);
  const std::int32_t rows =
      entry == kMainEntry ? kMainRows : kSubmenus[static_cast<std::size_t>(entry)].count;
  for (std::int32_t row = 0; row < rows; ++row) {
    const std::int32_t top = row * kMenuItemHeight;
    if (entry == kMainEntry && row == kSeparatorRow) {
      drawLine(image, 4, top + kMenuItemHeight / 2, image.width - 4, top + kMenuItemHeight / 2,
               kFrame);
      continue;
    }
    const bool isHot = row == hot;
    const Rgb ink = isHot ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
    if (isHot) {
      fillRect(image, {1, top, image.width - 1, top + kMenuItemHeight}, kMenuHot);
    }
    const char* label = nullptr;
    if (entry == kMainEntry) {
      label = row < kSubmenuCount
                  ? kSubmenus[static_cast<std::size_t>(row)].label
                  : kTailItems[static_cast<std::size_t>(row - kSeparatorRow - 1)].label;
      if (row < kSubmenuCount) {
        drawFaceText(image, {image.width - 14, top + 2, image.width, top + kMenuItemHeight}, ">",
                     ink, TextAlign::left);
      }
    } else {
      const MenuItem& item =
          kSubmenus[static_cast<std::size_t>(entry)].items[static_cast<std::size_t>(row)];
      label = item.label;
      const MenuCommand* command = findMenuCommand(item.id);
      if (command != nullptr && menuItemChecked(settings_, *command)) {
        drawCheck(image, 6, top + 5, pixelOf(ink));
      }
    }
    drawFaceText(image, {20, top + 2, image.width, top + kMenuItemHeight}, label, ink,
                 TextAlign::left);
  }
  frame(image);
  window.show();
}

void PopupMenu::openSubmenu(std::int32_t index) {
  if (index == subIndex_) {
    return;
  }
  sub_.reset();
  subIndex_ = index;
  if (index < 0) {
    return;
  }
  const MenuGroup& group = kSubmenus[static_cast<std::size_t>(index)];
  sub_ = std::make_unique<ImageWindow>(display_, x_ + kMenuWidth, y_ + index * kMenuItemHeight,
                                       kSubmenuWidth, group.count * kMenuItemHeight, nullptr,
                                       main_->id(),
                                       ButtonPressMask | ButtonReleaseMask | PointerMotionMask);
  paint(*sub_, index, -1);
}

std::int32_t PopupMenu::handle(const XEvent& event) noexcept {
  if (event.type == KeyPress) {
    KeySym key = XLookupKeysym(const_cast<XKeyEvent*>(&event.xkey), 0);
    finished_ = key == XK_Escape;
    return 0;
  }
  if (event.type != MotionNotify && event.type != ButtonPress && event.type != ButtonRelease) {
    return 0;
  }
  const std::int32_t rx = event.type == MotionNotify ? event.xmotion.x_root : event.xbutton.x_root;
  const std::int32_t ry = event.type == MotionNotify ? event.xmotion.y_root : event.xbutton.y_root;
  const bool inMain =
      rx >= x_ && rx < x_ + kMenuWidth && ry >= y_ && ry < y_ + kMainRows * kMenuItemHeight;
  std::int32_t subRows = subIndex_ >= 0 ? kSubmenus[static_cast<std::size_t>(subIndex_)].count : 0;
  const std::int32_t subY = y_ + subIndex_ * kMenuItemHeight;
  const bool inSub = sub_ && rx >= x_ + kMenuWidth && rx < x_ + kMenuWidth + kSubmenuWidth &&
                     ry >= subY && ry < subY + subRows * kMenuItemHeight;
  if (inMain) {
    const std::int32_t row = (ry - y_) / kMenuItemHeight;
    if (row < kSubmenuCount) {
      openSubmenu(row);
      subRows = kSubmenus[static_cast<std::size_t>(row)].count;
    }
    paint(*main_, kMainEntry, row == kSeparatorRow ? -1 : row);
    if (event.type == ButtonRelease && mainCommand(row) != 0) {
      finished_ = true;
      return mainCommand(row);
    }
  } else if (inSub) {
    const std::int32_t row = (ry - subY) / kMenuItemHeight;
    paint(*sub_, subIndex_, row);
    if (event.type == ButtonRelease) {
      finished_ = true;
      return kSubmenus[static_cast<std::size_t>(subIndex_)].items[static_cast<std::size_t>(row)].id;
    }
  } else if (event.type == ButtonPress) {
    finished_ = true;
  }
  return 0;
}

namespace {

constexpr std::int32_t kInfoWidth = 330;
constexpr std::int32_t kInfoHeight = 110;
constexpr PixelRect kInfoOk{kInfoWidth / 2 - 40, kInfoHeight - 34, kInfoWidth / 2 + 40,
                            kInfoHeight - 10};

class InfoBox final : public SmallWindow {
public:
  explicit InfoBox(EditorSession& s)
      : window_(s.display, 200, 200, kInfoWidth, kInfoHeight, kInfoCaption, s.window,
                ButtonPressMask | KeyPressMask) {
    PixelImage& image = window_.image;
    drawFaceText(image, {14, 12, kInfoWidth - 8, kInfoHeight - 36}, kInfoText, Rgb{0, 0, 0},
                 TextAlign::left);
    drawButton(image, kInfoOk, "OK");
    window_.show();
  }
  bool owns(Window window) const noexcept override { return window_.id() == window; }
  bool handle(const XEvent& event) noexcept override {
    if (event.type == ButtonPress) {
      return inside(kInfoOk, event.xbutton.x, event.xbutton.y);
    }
    if (event.type == KeyPress) {
      const KeySym key = XLookupKeysym(const_cast<XKeyEvent*>(&event.xkey), 0);
      return key == XK_Return || key == XK_Escape || key == XK_space;
    }
    return event.type == ClientMessage;
  }
  void finish(ADEditor& /*editor*/) noexcept override {}

private:
  ImageWindow window_;
};

// The five wave colours, each with a swatch and a red, a green and a blue bar: a click on a
// bar sets that component.
constexpr std::int32_t kChooserWidth = 340;
constexpr std::int32_t kChooserRow = 30;
constexpr std::int32_t kChooserHeight = kWaveColourCount * kChooserRow + 50;
constexpr std::int32_t kBarLeft = 110;
constexpr std::int32_t kBarWidth = 64;
constexpr std::int32_t kBarGap = 4;
constexpr PixelRect kChooserOk{kChooserWidth - 180, kChooserHeight - 34, kChooserWidth - 100,
                               kChooserHeight - 10};
constexpr PixelRect kChooserCancel{kChooserWidth - 90, kChooserHeight - 34, kChooserWidth - 10,
                                   kChooserHeight - 10};
constexpr std::array<const char*, kWaveColourCount> kColourNames{
    {"Input", "Compressed", "Limited", "Comp. threshold", "Lim. threshold"}};

class ColourChooser final : public SmallWindow {
public:
  ColourChooser(EditorSession& s, const WaveColours& colours)
      : window_(s.display, 220, 180, kChooserWidth, kChooserHeight, "Custom colors", s.window,
                ButtonPressMask | KeyPressMask),
        colours_(colours) {
    paint();
  }
  bool owns(Window window) const noexcept override { return window_.id() == window; }
  bool handle(const XEvent& event) noexcept override {
    if (event.type == ClientMessage) {
      return true;
    }
    if (event.type == KeyPress) {
      const KeySym key = XLookupKeysym(const_cast<XKeyEvent*>(&event.xkey), 0);
      accepted_ = key == XK_Return;
      return key == XK_Return || key == XK_Escape;
    }
    if (event.type != ButtonPress) {
      return false;
    }
    const std::int32_t x = event.xbutton.x;
    const std::int32_t y = event.xbutton.y;
    if (inside(kChooserOk, x, y) || inside(kChooserCancel, x, y)) {
      accepted_ = inside(kChooserOk, x, y);
      return true;
    }
    const std::int32_t row = (y - 8) / kChooserRow;
    const std::int32_t bar = (x - kBarLeft) / (kBarWidth + kBarGap);
    const std::int32_t along = (x - kBarLeft) % (kBarWidth + kBarGap);
    if (row >= 0 && row < kWaveColourCount && x >= kBarLeft && bar < 3 && along < kBarWidth) {
      colours_[static_cast<std::size_t>(row)][static_cast<std::size_t>(bar)] =
          along * 255 / (kBarWidth - 1);
      paint();
    }
    return false;
  }
  void finish(ADEditor& editor) noexcept override {
    if (!accepted_) {
      return;
    }
    ADelay& effect = editor.delay();
    effect.displaySettings.waveColours = colours_;
    applyDisplaySettings(effect, editor.session());
    saveDisplaySettings(effect.displaySettings);
  }

private:
  void paint() noexcept {
    PixelImage& image = window_.image;
    fillRect(image, {0, 0, image.width, image.height}, kMenuFace);
    for (std::int32_t row = 0; row < kWaveColourCount; ++row) {
      const auto& c = colours_[static_cast<std::size_t>(row)];
      const std::int32_t top = 8 + row * kChooserRow;
      drawFaceText(image, {8, top + 5, kBarLeft - 30, top + 22},
                   kColourNames[static_cast<std::size_t>(row)], Rgb{0, 0, 0}, TextAlign::left);
      fillRect(image, {kBarLeft - 26, top + 2, kBarLeft - 4, top + 22},
               pixelOf(Rgb{static_cast<std::uint8_t>(c[0]), static_cast<std::uint8_t>(c[1]),
                           static_cast<std::uint8_t>(c[2])}));
      for (std::int32_t bar = 0; bar < 3; ++bar) {
        const std::int32_t left = kBarLeft + bar * (kBarWidth + kBarGap);
        for (std::int32_t i = 0; i < kBarWidth; ++i) {
          const auto v = static_cast<std::uint32_t>(i * 255 / (kBarWidth - 1));
          drawLine(image, left + i, top + 6, left + i, top + 18, v << (16 - 8 * bar));
        }
        const std::int32_t mark = left + c[static_cast<std::size_t>(bar)] * (kBarWidth - 1) / 255;
        drawLine(image, mark, top + 2, mark, top + 22, 0x000000);
      }
    }
    drawButton(image, kChooserOk, "OK");
    drawButton(image, kChooserCancel, "Cancel");
    window_.show();
  }

  ImageWindow window_;
  WaveColours colours_;
  bool accepted_ = false;
};

constexpr std::int32_t kScrollBarWidth = 16;
constexpr std::int32_t kHelpTextWidth = kHelpWindowWidth - kScrollBarWidth;
constexpr std::int32_t kWheelLines = 3;
constexpr std::int32_t kHelpClientHeight = kHelpWindowHeight;

// The scroll bar's arrow buttons, one line up and one down, square at its ends; the thumb
// travels between them.
constexpr std::int32_t kArrowHeight = kScrollBarWidth;
constexpr std::int32_t kThumbTrack = kHelpClientHeight - 2 * kArrowHeight;
constexpr std::int32_t kThumbLength = kThumbTrack * kHelpPageLines / (kHelpScrollMax + 1);

PixelRect thumbRect(std::int32_t firstLine) noexcept {
  const std::int32_t top =
      kArrowHeight + (kThumbTrack - kThumbLength) * firstLine / kHelpLastFirstLine;
  return {kHelpTextWidth + 1, top, kHelpWindowWidth - 1, top + kThumbLength};
}

// A small triangle pointing up or down, centred in the arrow button at top.
void drawArrow(PixelImage& image, std::int32_t top, bool up) noexcept {
  const std::int32_t centre = kHelpTextWidth + kScrollBarWidth / 2;
  for (std::int32_t row = 0; row < 4; ++row) {
    const std::int32_t y = up ? top + 6 + row : top + 9 - row;
    drawLine(image, centre - row, y, centre + row + 1, y, 0x606060);
  }
}

} // namespace

HelpWindow::HelpWindow(EditorSession& s)
    : display_(s.display),
      window_(s.display, 120, 60, kHelpWindowWidth, kHelpClientHeight, "Zembrac Help", s.window,
              ButtonPressMask | ButtonReleaseMask | Button1MotionMask | KeyPressMask) {
  paint();
}

void HelpWindow::raise() noexcept {
  XMapRaised(display_, window_.id());
  XFlush(display_);
}

void HelpWindow::paint() noexcept {
  PixelImage& image = window_.image;
  fillRect(image, {0, 0, image.width, image.height}, 0xFFFFFF);
  for (const HelpBand& band : kHelpBands) {
    const std::int32_t top = helpBandTop(band, firstLine_);
    fillRect(image, {0, top, kHelpTextWidth, top + band.height},
             band.height == kHelpMainBandHeight ? pixelOf(Rgb{220, 242, 255})
                                                : pixelOf(Rgb{240, 240, 240}));
  }
  for (const HelpBlock& block : kHelpBlocks) {
    const std::int32_t top = (block.firstLine - firstLine_) * kHelpLineHeight;
    drawFaceText(image, {kHelpTextMargin, top, kHelpTextWidth - kHelpTextMargin, kHelpTextBottom},
                 block.text, Rgb{0, 0, 0}, TextAlign::left);
  }
  fillRect(image, {kHelpTextWidth, 0, kHelpWindowWidth, kHelpClientHeight}, 0xF0F0F0);
  for (const bool up : {true, false}) {
    const std::int32_t top = up ? 0 : kHelpClientHeight - kArrowHeight;
    fillRect(image, {kHelpTextWidth + 1, top, kHelpWindowWidth - 1, top + kArrowHeight}, 0xE0E0E0);
    drawArrow(image, top, up);
  }
  fillRect(image, thumbRect(firstLine_), 0xC0C0C0);
  window_.show();
}

void HelpWindow::scrollTo(std::int32_t line) noexcept {
  line = line < 0 ? 0 : line > kHelpLastFirstLine ? kHelpLastFirstLine : line;
  if (line != firstLine_) {
    firstLine_ = line;
    paint();
  }
}

bool HelpWindow::handle(const XEvent& event) noexcept {
  switch (event.type) {
  case ClientMessage:
    return true;
  case ButtonPress: {
    const std::int32_t x = event.xbutton.x;
    const std::int32_t y = event.xbutton.y;
    if (event.xbutton.button == Button4 || event.xbutton.button == Button5) {
      scrollTo(firstLine_ + (event.xbutton.button == Button4 ? -kWheelLines : kWheelLines));
    } else if (event.xbutton.button == Button1 && x >= kHelpTextWidth) {
      const PixelRect thumb = thumbRect(firstLine_);
      if (y < kArrowHeight || y >= kHelpClientHeight - kArrowHeight) {
        scrollTo(firstLine_ + (y < kArrowHeight ? -1 : 1));
      } else if (y < thumb.top) {
        scrollTo(firstLine_ - kHelpPageStep);
      } else if (y >= thumb.bottom) {
        scrollTo(firstLine_ + kHelpPageStep);
      } else {
        thumbDrag_ = true;
        dragOffset_ = y - thumb.top;
      }
    }
    return false;
  }
  case ButtonRelease:
    thumbDrag_ = false;
    return false;
  case MotionNotify:
    if (thumbDrag_) {
      constexpr std::int32_t kRoom = kThumbTrack - kThumbLength;
      scrollTo((event.xmotion.y - dragOffset_ - kArrowHeight) * kHelpLastFirstLine / kRoom);
    }
    return false;
  case KeyPress: {
    const KeySym key = XLookupKeysym(const_cast<XKeyEvent*>(&event.xkey), 0);
    if (key == XK_Down || key == XK_Up) {
      scrollTo(firstLine_ + (key == XK_Down ? 1 : -1));
    } else if (key == XK_Next || key == XK_Prior) {
      scrollTo(firstLine_ + (key == XK_Next ? kHelpPageStep : -kHelpPageStep));
    }
    return false;
  }
  default:
    return false;
  }
}

void showInfoBox(EditorSession& s) noexcept {
  try {
    s.dialog = std::make_unique<InfoBox>(s);
  } catch (...) {
  }
}

void showHelp(EditorSession& s) noexcept {
  try {
    if (s.help) {
      s.help->raise();
    } else {
      s.help = std::make_unique<HelpWindow>(s);
    }
  } catch (...) {
  }
}

void chooseCustomColours(ADEditor& editor) noexcept {
  EditorSession& s = *editor.session();
  try {
    s.dialog = std::make_unique<ColourChooser>(s, editor.delay().displaySettings.waveColours);
  } catch (...) {
  }
}
