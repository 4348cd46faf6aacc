// Opens the editor in a host window and plays a recording through the plug-in in real time on
// a host audio thread, while the editor's own timers drive its display, then saves the editor
// as a binary PPM at the chosen moment of the recording.
// Usage: LiveShot PATH-TO-zembrac.dll AUDIO.f32 OUTPUT.ppm [PROGRAM] [FROM-S] [TO-S]
// AUDIO.f32 holds interleaved stereo 32-bit float samples at 44.1 kHz (sox -t f32 makes it).
#include "ShotSupport.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

constexpr int kWidth = 511;
constexpr int kHeight = 283;
constexpr double kSampleRate = 44100.0;
constexpr VstInt32 kBlock = 512;

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

  AEffect* effect = loadPlugin(argv[1]);
  if (effect == nullptr) {
    std::fprintf(stderr, "LiveShot: %s: cannot load the plug-in\n", argv[1]);
    return 1;
  }
  dispatch(effect, effOpen);
  dispatch(effect, effSetSampleRate, 0, 0, nullptr, static_cast<float>(kSampleRate));
  dispatch(effect, effSetBlockSize, 0, kBlock);
  dispatch(effect, effSetProgram, 0, static_cast<VstIntPtr>(program));
  dispatch(effect, effMainsChanged, 0, 1);

  HWND parent = createHostWindow("LiveShotHost", WS_POPUP | WS_VISIBLE, kWidth, kHeight);
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
      dispatchAndWait(5);
    }
    saved = savePpm(argv[3], captureWindow(editor, CaptureArea::Client));
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
