// Opens the help window the way a user does (editor open in a host window, the context menu's
// "Help" command), optionally scrolls it, and saves the whole window as a 24-bit BMP.
// Usage: HelpShot PATH-TO-zembrac.dll OUTPUT.bmp [FIRST-LINE]
#include "ShotSupport.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr WPARAM kHelpCommand = 40023;

} // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: HelpShot PATH-TO-zembrac.dll OUTPUT.bmp [FIRST-LINE]\n");
    return 2;
  }
  AEffect* effect = loadPlugin(argv[1]);
  if (effect == nullptr) {
    std::fprintf(stderr, "HelpShot: %s: cannot load the plug-in\n", argv[1]);
    return 1;
  }
  HWND parent = createHostWindow("HelpShotHost", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 540, 330);
  dispatch(effect, effEditOpen, 0, 0, parent);
  HWND editor = FindWindowExA(parent, nullptr, "Zembrac", nullptr);
  SendMessageA(editor, WM_COMMAND, kHelpCommand, 0);
  HWND help = FindWindowA("ZembracHelp", nullptr);
  if (editor == nullptr || help == nullptr) {
    std::fprintf(stderr, "HelpShot: the help window did not open\n");
    return 1;
  }
  SetWindowPos(help, HWND_TOP, 560, 0, 0, 0, SWP_NOSIZE);
  if (argc > 3) {
    SendMessageA(help, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, std::atoi(argv[3])), 0);
  }
  pumpMessages(500);
  const bool saved = saveBmp(argv[2], captureWindow(help, CaptureArea::WholeWindow));
  dispatch(effect, effEditClose);
  dispatch(effect, effClose);
  DestroyWindow(parent);
  if (!saved) {
    std::fprintf(stderr, "HelpShot: %s: cannot write the picture\n", argv[2]);
    return 1;
  }
  return 0;
}
