// The X11 editor's own small windows: the context menu, the Info box, the custom colour
// chooser and the help window. Each draws itself into an image that the server keeps as the
// window's background, and reads its events from the editor's connection. UI thread only.
#pragma once

#include "DisplaySettings.h"
#include "EditorSession.h"
#include "PixelImage.h"

#include <X11/Xlib.h>

#include <array>
#include <cstdint>
#include <memory>

class ADEditor;

// A window of ours showing an image.
class ImageWindow {
public:
  // A top-level window (title set) or, with no title, an unmanaged popup at (x, y).
  ImageWindow(Display* display, std::int32_t x, std::int32_t y, std::int32_t width,
              std::int32_t height, const char* title, Window owner, long events);
  ~ImageWindow();
  ImageWindow(const ImageWindow&) = delete;
  ImageWindow& operator=(const ImageWindow&) = delete;

  Window id() const noexcept { return window_; }
  PixelImage image;
  // Sends the whole image and shows it.
  void show() noexcept;

private:
  Display* display_;
  Window window_ = 0;
  Pixmap pixmap_ = 0;
  GC gc_ = nullptr;
};

// Menu geometry, in pixels of the screen: items are kMenuItemHeight high; a submenu opens to
// the right of its item's row.
inline constexpr std::int32_t kMenuItemHeight = 18;
inline constexpr std::int32_t kMenuWidth = 150;
inline constexpr std::int32_t kSubmenuWidth = 100;

class PopupMenu {
public:
  // The context menu at the screen point, with the check marks of settings.
  static std::unique_ptr<PopupMenu> open(EditorSession& s, const DisplaySettings& settings,
                                         std::int32_t x, std::int32_t y);
  ~PopupMenu();
  bool owns(Window window) const noexcept;
  // The command chosen with this event, or 0.
  std::int32_t handle(const XEvent& event) noexcept;
  bool finished() const noexcept { return finished_; }

private:
  PopupMenu(EditorSession& s, const DisplaySettings& settings, std::int32_t x, std::int32_t y);
  void openSubmenu(std::int32_t index);
  void paint(ImageWindow& window, std::int32_t entry, std::int32_t hot) noexcept;

  Display* display_;
  const DisplaySettings& settings_;
  std::int32_t x_;
  std::int32_t y_;
  std::unique_ptr<ImageWindow> main_;
  std::unique_ptr<ImageWindow> sub_;
  std::int32_t subIndex_ = -1;
  bool finished_ = false;
};

// A small dialog: the Info box or the custom colour chooser.
class SmallWindow {
public:
  virtual ~SmallWindow() = default;
  virtual bool owns(Window window) const noexcept = 0;
  // True when the dialog is done.
  virtual bool handle(const XEvent& event) noexcept = 0;
  // What the dialog's end changes in the editor.
  virtual void finish(ADEditor& editor) noexcept = 0;
};

class HelpWindow {
public:
  explicit HelpWindow(EditorSession& s);
  bool owns(Window window) const noexcept { return window_.id() == window; }
  // True when the user closed the window.
  bool handle(const XEvent& event) noexcept;
  void raise() noexcept;
  std::int32_t firstLine() const noexcept { return firstLine_; }

private:
  void scrollTo(std::int32_t line) noexcept;
  void paint() noexcept;

  Display* display_;
  ImageWindow window_;
  std::int32_t firstLine_ = 0;
  bool thumbDrag_ = false;
  std::int32_t dragOffset_ = 0;
};
