// Opens the help window the way a user does (editor open in a host window, the context menu's
// "Help" command), optionally scrolls it, and saves the whole window as a 24-bit BMP.
// Usage: HelpShot PATH-TO-zembrac.dll OUTPUT.bmp [FIRST-LINE]
#include "VstAbi.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr WPARAM kHelpCommand = 40023;

VstIntPtr host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

void pump(DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  while (GetTickCount64() < end) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

bool saveBmp(const char* path, HWND window) {
  RECT frame{};
  GetWindowRect(window, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  HDC source = GetWindowDC(window);
  HDC memory = CreateCompatibleDC(source);
  HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
  SelectObject(memory, old);

  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const int stride = (width * 3 + 3) & ~3;
  std::vector<unsigned char> pixels(static_cast<std::size_t>(stride) *
                                    static_cast<std::size_t>(height));
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
            reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, source);

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
  FILE* out = std::fopen(path, "wb");
  if (out == nullptr) {
    return false;
  }
  const bool written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                       std::fwrite(&info, sizeof info, 1, out) == 1 &&
                       std::fwrite(pixels.data(), 1, pixels.size(), out) == pixels.size();
  return std::fclose(out) == 0 && written;
}

LRESULT CALLBACK hostProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  return DefWindowProcA(w, m, wp, lp);
}

} // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: HelpShot PATH-TO-zembrac.dll OUTPUT.bmp [FIRST-LINE]\n");
    return 2;
  }
  HMODULE library = LoadLibraryA(argv[1]);
  using Main = AEffect* (*)(audioMasterCallback);
  const auto entry = library == nullptr ? nullptr
                                        : reinterpret_cast<Main>(reinterpret_cast<void*>(
                                              GetProcAddress(library, "VSTPluginMain")));
  AEffect* effect = entry != nullptr ? entry(host) : nullptr;
  if (effect == nullptr) {
    std::fprintf(stderr, "HelpShot: %s: cannot load the plug-in\n", argv[1]);
    return 1;
  }
  WNDCLASSA wc{};
  wc.lpfnWndProc = hostProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "HelpShotHost";
  RegisterClassA(&wc);
  HWND parent = CreateWindowExA(0, "HelpShotHost", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                540, 330, nullptr, nullptr, wc.hInstance, nullptr);
  effect->dispatcher(effect, effEditOpen, 0, 0, parent, 0.0f);
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
  pump(500);
  const bool saved = saveBmp(argv[2], help);
  effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.0f);
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  DestroyWindow(parent);
  if (!saved) {
    std::fprintf(stderr, "HelpShot: %s: cannot write the picture\n", argv[2]);
    return 1;
  }
  return 0;
}
