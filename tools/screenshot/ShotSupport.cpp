#include "ShotSupport.h"

#include <cstdio>

namespace {

VstIntPtr host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

LRESULT CALLBACK hostProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  return DefWindowProcA(w, m, wp, lp);
}

template <typename T> void append(std::vector<unsigned char>& bytes, const T& value) {
  const auto* first = reinterpret_cast<const unsigned char*>(&value);
  bytes.insert(bytes.end(), first, first + sizeof value);
}

bool writeFile(const std::string& path, const std::vector<unsigned char>& bytes) {
  const std::string temporary = path + ".part";
  FILE* out = std::fopen(temporary.c_str(), "wb");
  if (out == nullptr) {
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  if (std::fclose(out) != 0 || !written ||
      !MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileA(temporary.c_str());
    return false;
  }
  return true;
}

BITMAPINFOHEADER bitmapInfo(const Picture& picture) {
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = picture.width;
  info.biHeight = picture.height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  return info;
}

} // namespace

AEffect* loadPlugin(const char* path) {
  HMODULE library = LoadLibraryA(path);
  using Main = AEffect* (*)(audioMasterCallback);
  const auto entry = library == nullptr ? nullptr
                                        : reinterpret_cast<Main>(reinterpret_cast<void*>(
                                              GetProcAddress(library, "VSTPluginMain")));
  return entry != nullptr ? entry(host) : nullptr;
}

VstIntPtr dispatch(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                   float opt) {
  return e->dispatcher(e, opcode, index, value, ptr, opt);
}

HWND createHostWindow(const char* className, DWORD style, int width, int height) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = hostProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = className;
  RegisterClassA(&wc);
  return CreateWindowExA(0, className, "host", style, 0, 0, width, height, nullptr, nullptr,
                         wc.hInstance, nullptr);
}

void drainMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void dispatchAndWait(DWORD milliseconds) {
  drainMessages();
  MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds, QS_ALLINPUT);
}

void pumpMessages(DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  while (GetTickCount64() < end) {
    dispatchAndWait(20);
  }
}

Picture captureWindow(HWND window, CaptureArea area) {
  RECT bounds{};
  const bool whole = area == CaptureArea::WholeWindow;
  if (whole) {
    GetWindowRect(window, &bounds);
  } else {
    GetClientRect(window, &bounds);
  }
  Picture picture;
  picture.width = bounds.right - bounds.left;
  picture.height = bounds.bottom - bounds.top;
  HDC source = whole ? GetWindowDC(window) : GetDC(window);
  HDC memory = CreateCompatibleDC(source);
  HBITMAP bitmap = CreateCompatibleBitmap(source, picture.width, picture.height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, picture.width, picture.height, source, 0, 0, SRCCOPY);
  SelectObject(memory, old);

  BITMAPINFOHEADER info = bitmapInfo(picture);
  picture.bgr.resize(picture.stride() * static_cast<std::size_t>(picture.height));
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(picture.height), picture.bgr.data(),
            reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, source);
  return picture;
}

bool saveBmp(const std::string& path, const Picture& picture) {
  const BITMAPINFOHEADER info = bitmapInfo(picture);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + picture.bgr.size());
  std::vector<unsigned char> bytes;
  bytes.reserve(file.bfSize);
  append(bytes, file);
  append(bytes, info);
  bytes.insert(bytes.end(), picture.bgr.begin(), picture.bgr.end());
  return writeFile(path, bytes);
}

bool savePpm(const std::string& path, const Picture& picture) {
  char header[32];
  const int length =
      std::snprintf(header, sizeof header, "P6\n%d %d\n255\n", picture.width, picture.height);
  if (length <= 0 || static_cast<std::size_t>(length) >= sizeof header) {
    return false;
  }
  const auto width = static_cast<std::size_t>(picture.width);
  const auto height = static_cast<std::size_t>(picture.height);
  std::vector<unsigned char> bytes(header, header + length);
  bytes.reserve(bytes.size() + width * height * 3);
  for (std::size_t row = height; row-- > 0;) {
    const unsigned char* pixel = picture.bgr.data() + row * picture.stride();
    for (std::size_t x = 0; x < width; ++x, pixel += 3) {
      bytes.insert(bytes.end(), {pixel[2], pixel[1], pixel[0]});
    }
  }
  return writeFile(path, bytes);
}
