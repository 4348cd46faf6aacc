// A host with audio running: an audio thread feeds a test signal through the record's
// processReplacing while the editor is open and this (the UI) thread pumps its messages and
// posts the display ticks. The display speed is stored as one no timer has, so that only the
// ticks a test posts move the display, each after at least one more block.
#pragma once

#include "DisplaySettingsRegistry.h"
#include "EditorHarness.h"
#include "EngineConstants.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace tick_harness {

using namespace editor_harness;

constexpr UINT kDisplayTickMessage = WM_USER + 5;
constexpr float kSampleRate = 44100.0f;
constexpr int kBlockFrames = 256;
// One period of the test signals: 100 frames, so the sine's crest is a sample of exactly 1.0.
constexpr int kPeriodFrames = 100;
constexpr double kTwoPi = 6.283185307179586;

// Broken: what a faulty host or a broken source may send, 1e30, both infinities and NaN.
enum class Signal { Silence, Sine, Square, Broken };

// Processes blocks of a steady signal, one after the other, until it goes.
class AudioThread {
public:
  explicit AudioThread(AEffect* effect) : effect_(effect), thread_([this] { run(); }) {}
  ~AudioThread() {
    running_ = false;
    thread_.join();
  }
  AudioThread(const AudioThread&) = delete;
  AudioThread& operator=(const AudioThread&) = delete;

  // Switches to a new signal and waits until two blocks of it have been processed.
  void play(Signal signal, float amplitude) {
    signal_ = signal;
    amplitude_ = amplitude;
    const int generation = ++generation_;
    pumpUntil([&] { return doneGeneration_ == generation && blocksOfGeneration_ >= 2; });
  }
  std::uint64_t blocks() const { return blocks_; }

private:
  float sample(std::uint64_t frame, Signal signal, float amplitude) const {
    const auto phase = static_cast<int>(frame % kPeriodFrames);
    switch (signal) {
    case Signal::Sine:
      return amplitude * static_cast<float>(std::sin(kTwoPi * phase / kPeriodFrames));
    case Signal::Square:
      return phase < kPeriodFrames / 2 ? amplitude : -amplitude;
    case Signal::Broken: {
      constexpr float kBroken[] = {1e30f, std::numeric_limits<float>::infinity(),
                                   -std::numeric_limits<float>::infinity(),
                                   std::numeric_limits<float>::quiet_NaN(), -1e30f};
      return kBroken[static_cast<std::size_t>(phase) % std::size(kBroken)];
    }
    default:
      return 0.0f;
    }
  }

  void run() {
    std::vector<float> inL(kBlockFrames), inR(kBlockFrames), outL(kBlockFrames), outR(kBlockFrames);
    std::uint64_t frame = 0;
    while (running_) {
      const int generation = generation_;
      const Signal signal = signal_;
      const float amplitude = amplitude_;
      for (int i = 0; i < kBlockFrames; ++i) {
        inL[static_cast<std::size_t>(i)] = inR[static_cast<std::size_t>(i)] =
            sample(frame++, signal, amplitude);
      }
      float* inputs[] = {inL.data(), inR.data()};
      float* outputs[] = {outL.data(), outR.data()};
      effect_->processReplacing(effect_, inputs, outputs, kBlockFrames);
      blocksOfGeneration_ = doneGeneration_ == generation ? blocksOfGeneration_ + 1 : 1;
      doneGeneration_ = generation;
      ++blocks_;
      Sleep(1);
    }
  }

  AEffect* effect_;
  std::atomic<bool> running_{true};
  std::atomic<Signal> signal_{Signal::Silence};
  std::atomic<float> amplitude_{0.0f};
  std::atomic<int> generation_{0};
  std::atomic<int> doneGeneration_{0};
  std::atomic<int> blocksOfGeneration_{0};
  std::atomic<std::uint64_t> blocks_{0};
  std::thread thread_;
};

// An instance processing audio with its editor open in a host window. Starts with the signal
// passing unchanged: Ratio 1:1, the limiter at 0 dB, everything else off.
class LiveEditor : public testing::Test {
protected:
  void SetUp() override {
    display_settings::deleteSettingsKey();
    display_settings::writeDword("subDS", 0); // no timer posts ticks
    display_settings::writeDword("subPH", 16);
    display_settings::writeDword("subCO", 0); // Natural colours
    display_settings::writeDword("subWZ", 2); // zoom 2..32
    ASSERT_TRUE(library.loaded()) << pluginPath();
    fx = std::make_unique<Instance>(library);
    ASSERT_NE(fx->get(), nullptr);
    dispatch(fx->get(), effSetSampleRate, 0, 0, nullptr, kSampleRate);
    dispatch(fx->get(), effSetBlockSize, 0, kBlockFrames);
    dispatch(fx->get(), effMainsChanged, 0, 1);
    for (const auto& [index, value] : {std::pair{kSoft, 0.0f},
                                       {kNormalize, 0.0f},
                                       {kDither, 0.0f},
                                       {kBypass, 0.0f},
                                       {kAutoRel, 0.0f},
                                       {kRatio, 2.0f},
                                       {kThrComp, 1.0f},
                                       {kThrLim, 0.0f},
                                       {kOutput, 24000.0f},
                                       {kLookAhead, 3.0f},
                                       {kZoom, 2.0f}}) {
      fx->setParameter(index, value);
    }
    ASSERT_TRUE(fx->openEditor(host.handle()));
    editor = editorWindowOf(host.handle());
    ASSERT_NE(editor, nullptr);
    audio = std::make_unique<AudioThread>(fx->get());
    RecordingHost::instance().clear();
  }

  void TearDown() override {
    audio.reset();
    if (fx) {
      fx->closeEditor();
      fx.reset();
    }
    display_settings::deleteSettingsKey();
  }

  // One display tick, after at least one more block, and whatever it painted.
  void tick() {
    const std::uint64_t before = audio->blocks();
    pumpUntil([&] { return audio->blocks() > before; });
    PostMessageA(editor, kDisplayTickMessage, 0, 0);
    drainMessages();
  }
  void ticks(int n) {
    for (int i = 0; i < n; ++i) {
      tick();
    }
  }
  // Ticks until done() holds for what the window shows; false after `limit` ticks.
  template <typename Done> bool tickUntil(Done done, int limit = 200) {
    for (int i = 0; i < limit; ++i) {
      tick();
      if (done(captureWindow(editor))) {
        return true;
      }
    }
    return false;
  }

  PluginLibrary library;
  std::unique_ptr<Instance> fx;
  HostWindow host;
  HWND editor = nullptr;
  std::unique_ptr<AudioThread> audio;
};

// The meters' strips on the face, their lit images and the face under them.
struct MeterPlace {
  int x;
  int width;
};
constexpr MeterPlace kReductionMeter{328, 13};
constexpr MeterPlace kLeftOutputMeter{460, 15};
constexpr MeterPlace kRightOutputMeter{476, 15};
constexpr int kMeterTop = 13;
constexpr int kMeterRows = 257;

// Rows of the meter as they show: 'L' lit, 'U' unlit face, '?' anything else (a peak line).
inline std::string meterRows(const Image& shown, MeterPlace meter, const Image& lit,
                             const Image& face) {
  std::string rows(kMeterRows, '?');
  for (int r = 0; r < kMeterRows; ++r) {
    if (sameBlock(shown, meter.x, kMeterTop + r, lit, 0, r, meter.width, 1)) {
      rows[static_cast<std::size_t>(r)] = 'L';
    } else if (sameBlock(shown, meter.x, kMeterTop + r, face, meter.x, kMeterTop + r, meter.width,
                         1)) {
      rows[static_cast<std::size_t>(r)] = 'U';
    }
  }
  return rows;
}

// The lit rows of an output meter, counted from the bottom; -1 unless the rest is unlit or a
// single peak line.
inline int outputLevel(const std::string& rows) {
  const std::size_t firstLit = rows.find('L');
  const std::size_t lit = firstLit == std::string::npos ? 0 : rows.size() - firstLit;
  if (rows.find_first_not_of('L', rows.size() - lit) != std::string::npos) {
    return -1;
  }
  const std::string above = rows.substr(0, rows.size() - lit);
  const auto others = std::count_if(above.begin(), above.end(), [](char c) { return c != 'U'; });
  return others <= 1 ? static_cast<int>(lit) : -1;
}

// The lit rows of the reduction meter, counted from the top; -1 as above.
inline int reductionLevel(const std::string& rows) {
  const std::size_t lit = rows.find_first_not_of('L');
  const std::size_t n = lit == std::string::npos ? rows.size() : lit;
  if (rows.find('L', n) != std::string::npos) {
    return -1;
  }
  const std::string below = rows.substr(n);
  const auto others = std::count_if(below.begin(), below.end(), [](char c) { return c != 'U'; });
  return others <= 1 ? static_cast<int>(n) : -1;
}

} // namespace tick_harness
