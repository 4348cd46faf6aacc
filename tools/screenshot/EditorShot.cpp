// Opens the editor in a host window for one program, plays a short beat through the plug-in so
// that the wave display, meters and read-outs show a signal, and saves the editor as a 24-bit
// BMP. Usage: EditorShot PATH-TO-zembrac.dll OUTPUT.bmp [PROGRAM [TICKS]]; with 0 ticks the
// picture is the still face right after the first refresh, which the Linux editor's suite
// compares with its own.
#include "ShotSupport.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kWidth = 511;
constexpr int kHeight = 283;
constexpr float kSampleRate = 44100.0f;
constexpr VstInt32 kBlock = 512;
// One display tick of audio at the Normal display speed (125 ms), and enough ticks to fill
// the wave display's 122 columns.
constexpr int kFramesPerTick = 5512;
constexpr int kTicks = 130;
constexpr UINT kDisplayTickMessage = WM_USER + 5;
constexpr double kPi = 3.14159265358979;

// Kick, snare, hats and a plucked bass line at 120 bpm that swells over two bars, peaking
// near full scale, so that the wave display shows transients over a moving body.
class Beat {
public:
  void next(float& left, float& right) {
    const double t = static_cast<double>(frame_++) / kSampleRate;
    const double beat = std::fmod(t, 0.5);
    const double kick = std::sin(2.0 * kPi * (45.0 * beat + 1.5 * (1.0 - std::exp(-beat * 30.0)))) *
                        std::exp(-beat * 9.0) * 0.8;
    const double backBeat = std::fmod(t + 0.5, 1.0);
    const double snare =
        (noise() * 0.45 + std::sin(2.0 * kPi * 185.0 * t) * 0.3) * std::exp(-backBeat * 16.0);
    const double eighth = std::fmod(t, 0.25);
    const double hat = noise() * std::exp(-eighth * 90.0) * 0.14;
    static constexpr double kBassHz[4] = {55.0, 55.0, 65.41, 73.42};
    const auto note = static_cast<std::size_t>(std::fmod(t, 1.0) * 4.0);
    const double bass = std::sin(2.0 * kPi * kBassHz[note] * t) * std::exp(-eighth * 5.0) * 0.3;
    const double swell = 0.55 + 0.45 * std::sin(kPi * std::fmod(t, 4.0) / 4.0);
    left = static_cast<float>((kick + bass + snare * 0.9 + hat * 0.7) * swell);
    right = static_cast<float>((kick + bass + snare + hat) * swell);
  }

private:
  double noise() {
    seed_ = seed_ * 1664525u + 1013904223u;
    return static_cast<double>(seed_ >> 8) / 8388608.0 - 1.0;
  }
  std::int64_t frame_ = 0;
  std::uint32_t seed_ = 0x2545F491u;
};

void play(AEffect* effect, Beat& beat, int frames) {
  std::vector<float> inL(kBlock), inR(kBlock), outL(kBlock), outR(kBlock);
  float* inputs[2] = {inL.data(), inR.data()};
  float* outputs[2] = {outL.data(), outR.data()};
  while (frames > 0) {
    const VstInt32 n = frames < kBlock ? frames : kBlock;
    for (VstInt32 i = 0; i < n; ++i) {
      beat.next(inL[static_cast<std::size_t>(i)], inR[static_cast<std::size_t>(i)]);
    }
    effect->processReplacing(effect, inputs, outputs, n);
    frames -= n;
  }
}

} // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: EditorShot PATH-TO-zembrac.dll OUTPUT.bmp [PROGRAM [TICKS]]\n");
    return 2;
  }
  char* end = nullptr;
  const long program = argc > 3 ? std::strtol(argv[3], &end, 10) : 0;
  if (argc > 3 && (*end != '\0' || program < 0 || program > 8)) {
    std::fprintf(stderr, "EditorShot: program '%s' is not a number from 0 to 8\n", argv[3]);
    return 2;
  }
  const long ticks = argc > 4 ? std::strtol(argv[4], &end, 10) : kTicks;
  if (argc > 4 && (*end != '\0' || ticks < 0 || ticks > 100000)) {
    std::fprintf(stderr, "EditorShot: ticks '%s' is not a count\n", argv[4]);
    return 2;
  }
  AEffect* effect = loadPlugin(argv[1]);
  if (effect == nullptr) {
    std::fprintf(stderr, "EditorShot: %s: cannot load the plug-in\n", argv[1]);
    return 1;
  }
  dispatch(effect, effOpen);
  dispatch(effect, effSetSampleRate, 0, 0, nullptr, kSampleRate);
  dispatch(effect, effSetBlockSize, 0, kBlock);
  dispatch(effect, effSetProgram, 0, program);
  dispatch(effect, effMainsChanged, 0, 1);

  HWND parent = createHostWindow("EditorShotHost", WS_POPUP | WS_VISIBLE, kWidth, kHeight);
  if (dispatch(effect, effEditOpen, 0, 0, parent) != 1) {
    std::fprintf(stderr, "EditorShot: the editor did not open (is there a display?)\n");
    return 1;
  }
  HWND editor = FindWindowExA(parent, nullptr, "Zembrac", nullptr);
  // The first timer ticks bring every control up to date.
  pumpMessages(400);
  // The display follows the audio it is fed, one tick per 125 ms of sound.
  Beat beat;
  for (long tick = 0; tick < ticks; ++tick) {
    play(effect, beat, kFramesPerTick);
    PostMessageA(editor, kDisplayTickMessage, 0, 0);
    drainMessages();
  }
  const bool saved = saveBmp(argv[2], captureWindow(editor, CaptureArea::Client));
  dispatch(effect, effEditClose);
  dispatch(effect, effMainsChanged, 0, 0);
  dispatch(effect, effClose);
  DestroyWindow(parent);
  if (!saved) {
    std::fprintf(stderr, "EditorShot: %s: cannot write the picture\n", argv[2]);
    return 1;
  }
  return 0;
}
