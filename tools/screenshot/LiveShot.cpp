// Opens the editor in a host window and plays a recording through the plug-in in real time on
// a host audio thread, while the editor's own timers drive its display, then saves the editor
// as a binary PPM at the chosen moment of the recording.
// Usage: LiveShot PATH-TO-zembrac.dll AUDIO.f32 OUTPUT.ppm [PROGRAM] [FROM-S] [TO-S]
// AUDIO.f32 holds interleaved stereo 32-bit float samples at 44.1 kHz (sox -t f32 makes it).
#include "VstAbi.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kWidth = 511;
constexpr int kHeight = 283;
constexpr double kSampleRate = 44100.0;
constexpr VstInt32 kBlock = 512;

VstIntPtr host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

LRESULT CALLBACK hostProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  return DefWindowProcA(w, m, wp, lp);
}

VstIntPtr dispatch(AEffect* e, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                   void* ptr = nullptr, float opt = 0.0f) {
  return e->dispatcher(e, opcode, index, value, ptr, opt);
}

bool readRecording(const char* path, std::vector<float>& samples) {
  FILE* in = std::fopen(path, "rb");
  if (in == nullptr) {
    return false;
  }
  float buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, sizeof(float), 4096, in)) > 0) {
    samples.insert(samples.end(), buffer, buffer + n);
  }
  std::fclose(in);
  return samples.size() >= 2;
}

// Plays frames [from, to) of the recording through the effect at the pace of the sound, the
// way a host's audio thread does, and tells how far it has got.
class Player {
public:
  Player(AEffect* effect, const std::vector<float>& samples, std::size_t from, std::size_t to)
      : effect_(effect), samples_(samples), from_(from), to_(to), position_(from),
        thread_([this] { run(); }) {}
  ~Player() {
    running_ = false;
    thread_.join();
  }
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;

  std::size_t position() const { return position_; }

private:
  void run() {
    std::vector<float> inL(kBlock), inR(kBlock), outL(kBlock), outR(kBlock);
    float* inputs[2] = {inL.data(), inR.data()};
    float* outputs[2] = {outL.data(), outR.data()};
    const ULONGLONG start = GetTickCount64();
    std::size_t frame = from_;
    while (running_) {
      for (VstInt32 i = 0; i < kBlock; ++i) {
        // After the section the recording holds its last frame's silence: the shot is taken
        // before that.
        const std::size_t f = frame + static_cast<std::size_t>(i);
        const bool inside = f < to_;
        inL[static_cast<std::size_t>(i)] = inside ? samples_[2 * f] : 0.0f;
        inR[static_cast<std::size_t>(i)] = inside ? samples_[2 * f + 1] : 0.0f;
      }
      effect_->processReplacing(effect_, inputs, outputs, kBlock);
      frame += kBlock;
      position_ = frame;
      const auto due =
          start + static_cast<ULONGLONG>(static_cast<double>(frame - from_) * 1000.0 / kSampleRate);
      while (running_ && GetTickCount64() < due) {
        Sleep(1);
      }
    }
  }

  AEffect* effect_;
  const std::vector<float>& samples_;
  std::size_t from_;
  std::size_t to_;
  std::atomic<std::size_t> position_;
  std::atomic<bool> running_{true};
  std::thread thread_;
};

bool savePpm(const std::string& path, HWND window) {
  HDC source = GetDC(window);
  HDC memory = CreateCompatibleDC(source);
  HBITMAP bitmap = CreateCompatibleBitmap(source, kWidth, kHeight);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, kWidth, kHeight, source, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kWidth;
  info.bmiHeader.biHeight = -kHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<unsigned char> bgrx(static_cast<std::size_t>(kWidth) * kHeight * 4);
  GetDIBits(memory, bitmap, 0, kHeight, bgrx.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, source);

  std::vector<unsigned char> rgb;
  rgb.reserve(static_cast<std::size_t>(kWidth) * kHeight * 3);
  for (std::size_t i = 0; i < bgrx.size(); i += 4) {
    rgb.insert(rgb.end(), {bgrx[i + 2], bgrx[i + 1], bgrx[i]});
  }
  const std::string temporary = path + ".part";
  FILE* out = std::fopen(temporary.c_str(), "wb");
  if (out == nullptr) {
    return false;
  }
  const bool written = std::fprintf(out, "P6\n%d %d\n255\n", kWidth, kHeight) > 0 &&
                       std::fwrite(rgb.data(), 1, rgb.size(), out) == rgb.size();
  if (std::fclose(out) != 0 || !written ||
      !MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileA(temporary.c_str());
    return false;
  }
  return true;
}

bool parseNumber(const char* text, double min, double max, double& value) {
  char* end = nullptr;
  value = std::strtod(text, &end);
  return end != text && *end == '\0' && value >= min && value <= max;
}

} // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: LiveShot PATH-TO-zembrac.dll AUDIO.f32 OUTPUT.ppm [PROGRAM] "
                         "[FROM-S] [TO-S]\n");
    return 2;
  }
  double program = 1.0;
  double from = 5.3;
  double to = 21.45;
  if ((argc > 4 && !parseNumber(argv[4], 0.0, 8.0, program)) ||
      (argc > 5 && !parseNumber(argv[5], 0.0, 3600.0, from)) ||
      (argc > 6 && !parseNumber(argv[6], from, 3600.0, to))) {
    std::fprintf(stderr, "LiveShot: PROGRAM must be 0..8 and FROM-S < TO-S seconds\n");
    return 2;
  }
  std::vector<float> samples;
  if (!readRecording(argv[2], samples)) {
    std::fprintf(stderr, "LiveShot: %s: cannot read the recording\n", argv[2]);
    return 1;
  }
  const std::size_t frames = samples.size() / 2;
  const auto first = static_cast<std::size_t>(from * kSampleRate);
  const auto shot = static_cast<std::size_t>(to * kSampleRate);
  if (shot > frames) {
    std::fprintf(stderr, "LiveShot: %s: shorter than %.1f s\n", argv[2], to);
    return 1;
  }

  HMODULE library = LoadLibraryA(argv[1]);
  using Main = AEffect* (*)(audioMasterCallback);
  const auto entry = library == nullptr ? nullptr
                                        : reinterpret_cast<Main>(reinterpret_cast<void*>(
                                              GetProcAddress(library, "VSTPluginMain")));
  AEffect* effect = entry != nullptr ? entry(host) : nullptr;
  if (effect == nullptr) {
    std::fprintf(stderr, "LiveShot: %s: cannot load the plug-in\n", argv[1]);
    return 1;
  }
  dispatch(effect, effOpen);
  dispatch(effect, effSetSampleRate, 0, 0, nullptr, static_cast<float>(kSampleRate));
  dispatch(effect, effSetBlockSize, 0, kBlock);
  dispatch(effect, effSetProgram, 0, static_cast<VstIntPtr>(program));
  dispatch(effect, effMainsChanged, 0, 1);

  WNDCLASSA wc{};
  wc.lpfnWndProc = hostProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "LiveShotHost";
  RegisterClassA(&wc);
  HWND parent = CreateWindowExA(0, "LiveShotHost", "host", WS_POPUP | WS_VISIBLE, 0, 0, kWidth,
                                kHeight, nullptr, nullptr, wc.hInstance, nullptr);
  if (dispatch(effect, effEditOpen, 0, 0, parent) != 1) {
    std::fprintf(stderr, "LiveShot: the editor did not open (is there a display?)\n");
    return 1;
  }
  HWND editor = FindWindowExA(parent, nullptr, "Zembrac", nullptr);

  bool saved = false;
  {
    // The editor's timers tick while this thread pumps its messages, as in a host.
    Player player(effect, samples, first, frames);
    while (player.position() < shot) {
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    saved = savePpm(argv[3], editor);
  }
  dispatch(effect, effEditClose);
  dispatch(effect, effMainsChanged, 0, 0);
  dispatch(effect, effClose);
  DestroyWindow(parent);
  if (!saved) {
    std::fprintf(stderr, "LiveShot: %s: cannot write the picture\n", argv[3]);
    return 1;
  }
  return 0;
}
