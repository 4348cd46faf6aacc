#include "DemoSong.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kBeat = 60.0 / DemoSong::kTempo;
constexpr double kBar = 4 * kBeat;
constexpr double kPeakDb = -1.0;

double noteHz(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

// Equal-power pan, -1 left .. +1 right.
double panLeft(double pan) { return std::cos((pan + 1.0) * kPi / 4.0); }
double panRight(double pan) { return std::sin((pan + 1.0) * kPi / 4.0); }

// Chord roots of the four-bar progression (A minor, F, C, G) and the triads on them.
constexpr int kRoots[4] = {45, 41, 48, 43};
constexpr int kTriads[4][3] = {{57, 60, 64}, {53, 57, 60}, {55, 60, 64}, {55, 59, 62}};
// A pentatonic phrase in eighths; -1 rests.
constexpr int kPhrase[16] = {69, -1, 72, 74, 76, -1, 74, 72, 69, -1, 67, 69, 72, -1, -1, 64};

} // namespace

DemoSong::DemoSong()
    : left_(static_cast<std::size_t>(kBars * kBar * kSampleRate) + kSampleRate, 0.0),
      right_(left_.size(), 0.0) {}

double DemoSong::noise() {
  // xorshift32: the same sequence on every machine.
  seed_ ^= seed_ << 13;
  seed_ ^= seed_ >> 17;
  seed_ ^= seed_ << 5;
  return static_cast<double>(seed_) / 2147483648.0 - 1.0;
}

std::size_t DemoSong::frameAt(double seconds) const {
  return static_cast<std::size_t>(std::lround(seconds * kSampleRate));
}

void DemoSong::add(std::size_t frame, double left, double right) {
  if (frame < left_.size()) {
    left_[frame] += left;
    right_[frame] += right;
  }
}

void DemoSong::kick(double at, double level) {
  const std::size_t start = frameAt(at);
  double phase = 0.0;
  for (std::size_t i = 0; i < frameAt(0.45); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double hz = 45.0 + 110.0 * std::exp(-t / 0.03);
    phase += 2.0 * kPi * hz / kSampleRate;
    const double click = t < 0.004 ? noise() * (1.0 - t / 0.004) * 0.5 : 0.0;
    const double v = level * (std::sin(phase) * std::exp(-t / 0.12) + click);
    add(start + i, v, v);
  }
}

void DemoSong::snare(double at, double level) {
  const std::size_t start = frameAt(at);
  double previous = 0.0;
  for (std::size_t i = 0; i < frameAt(0.3); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double n = noise();
    const double bright = n - previous; // first difference: a gentle high-pass
    previous = n;
    const double tone = std::sin(2.0 * kPi * 185.0 * t) * std::exp(-t / 0.05);
    const double v = level * (0.6 * bright * std::exp(-t / 0.07) + 0.5 * tone);
    add(start + i, v * panLeft(-0.05), v * panRight(-0.05));
  }
}

void DemoSong::hat(double at, double level, double decay, double pan) {
  const std::size_t start = frameAt(at);
  double a = 0.0, b = 0.0;
  for (std::size_t i = 0; i < frameAt(decay * 6.0); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double n = noise();
    const double hp = n - 2.0 * a + b; // second difference: mostly above 8 kHz
    b = a;
    a = n;
    const double v = level * 0.25 * hp * std::exp(-t / decay);
    add(start + i, v * panLeft(pan), v * panRight(pan));
  }
}

void DemoSong::crash(double at, double level) {
  const std::size_t start = frameAt(at);
  double a = 0.0;
  for (std::size_t i = 0; i < frameAt(2.5); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double nl = noise(), nr = noise();
    const double env = level * 0.12 * std::exp(-t / 0.5);
    add(start + i, env * (nl - a), env * (nr - nl));
    a = nl;
  }
}

void DemoSong::bass(double at, double length, double hz, double level) {
  const std::size_t start = frameAt(at);
  const std::size_t frames = frameAt(length);
  for (std::size_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double tail = static_cast<double>(frames - i) / kSampleRate;
    const double env = std::min({1.0, t / 0.008, tail / 0.06}) * (0.8 + 0.2 * std::exp(-t / 0.2));
    const double w = 2.0 * kPi * hz * t;
    const double raw = std::sin(w) + 0.35 * std::sin(2.0 * w) + 0.12 * std::sin(3.0 * w);
    const double v = level * env * std::tanh(1.4 * raw) / std::tanh(1.4);
    add(start + i, v, v);
  }
}

void DemoSong::pad(double at, double length, double hz, double level) {
  const std::size_t start = frameAt(at);
  const std::size_t frames = frameAt(length);
  // Two slightly detuned band-limited saws, one per side, for width.
  const double detune[2] = {0.997, 1.003};
  for (std::size_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double tail = static_cast<double>(frames - i) / kSampleRate;
    const double env = std::min({1.0, t / 0.6, tail / 0.4});
    double side[2] = {0.0, 0.0};
    for (int s = 0; s < 2; ++s) {
      for (int h = 1; h <= 8; ++h) {
        side[s] += std::sin(2.0 * kPi * hz * detune[s] * h * t) / (h * h * 0.5 + 0.5);
      }
    }
    add(start + i, level * env * side[0], level * env * side[1]);
  }
}

void DemoSong::lead(double at, double length, double hz, double level, double pan) {
  const std::size_t start = frameAt(at);
  const std::size_t frames = frameAt(length + 0.3);
  for (std::size_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double env = std::min(1.0, t / 0.004) * std::exp(-t / (0.35 * length + 0.05));
    const double vibrato = 1.0 + 0.003 * std::sin(2.0 * kPi * 5.5 * t) * std::min(1.0, t / 0.2);
    double v = 0.0;
    for (int h = 1; h <= 9; h += 2) {
      v += std::sin(2.0 * kPi * hz * vibrato * h * t) / h;
    }
    v *= level * env;
    add(start + i, v * panLeft(pan), v * panRight(pan));
  }
}

std::vector<float> DemoSong::render() {
  for (int bar = 0; bar < kBars; ++bar) {
    const double t0 = bar * kBar;
    const int chord = bar % 4;
    const bool intro = bar < 2;
    const bool breakdown = bar == 6 || bar == 7;
    const bool finale = bar >= 8;
    const double padLevel = intro ? 0.035 : breakdown ? 0.05 : 0.04;
    for (const int note : kTriads[chord]) {
      pad(t0, kBar + 0.3, noteHz(note), padLevel);
    }
    const double leadLevel = intro ? 0.05 : breakdown ? 0.07 : finale ? 0.13 : 0.1;
    for (int step = 0; step < 16; ++step) {
      const int note = kPhrase[(step + 4 * (bar % 2)) % 16];
      if (note >= 0 && !(intro && step % 2 == 1)) {
        const int octave = finale && bar % 2 == 1 ? 12 : 0;
        const double accent = 0.7 + 0.3 * (noise() * 0.5 + 0.5);
        lead(t0 + step * kBeat / 2, kBeat / 2, noteHz(note + octave), leadLevel * accent, -0.35);
      }
    }
    if (intro || breakdown) {
      continue;
    }
    const int bassRoot = kRoots[chord] - 12;
    bass(t0, kBar * 0.5 - 0.02, noteHz(bassRoot), 0.30);
    bass(t0 + kBar * 0.5, kBar * 0.5 - 0.02, noteHz(bassRoot + (bar % 2 ? 7 : 0)), 0.28);
    const double drums = finale ? 1.0 : 0.8;
    for (int beat = 0; beat < 4; ++beat) {
      const double tb = t0 + beat * kBeat;
      if (beat % 2 == 0) {
        kick(tb, 0.9 * drums);
      } else {
        snare(tb, 0.75 * drums);
      }
      hat(tb, 0.5 * drums, 0.03, 0.4);
      hat(tb + kBeat / 2, 0.35 * drums, beat == 3 ? 0.12 : 0.025, 0.4);
    }
    if (bar % 4 == 3) {
      // A fill into the next phrase: quick snares rising in level.
      for (int k = 0; k < 4; ++k) {
        snare(t0 + 3 * kBeat + k * kBeat / 4, (0.3 + 0.15 * k) * drums);
      }
    }
    if (bar == 8 || bar == 2) {
      crash(t0, 0.8);
    }
  }
  kick(kBars * kBar, 1.0);
  crash(kBars * kBar, 0.6);

  double peak = 0.0;
  for (std::size_t i = 0; i < left_.size(); ++i) {
    peak = std::max({peak, std::fabs(left_[i]), std::fabs(right_[i])});
  }
  const double gain = std::pow(10.0, kPeakDb / 20.0) / peak;
  // A short fade so the clip ends in silence, not a cut.
  const std::size_t fade = frameAt(0.5);
  std::vector<float> frames(2 * left_.size());
  for (std::size_t i = 0; i < left_.size(); ++i) {
    const std::size_t toEnd = left_.size() - i;
    const double g =
        gain * (toEnd < fade ? static_cast<double>(toEnd) / static_cast<double>(fade) : 1.0);
    frames[2 * i] = static_cast<float>(left_[i] * g);
    frames[2 * i + 1] = static_cast<float>(right_[i] * g);
  }
  return frames;
}
