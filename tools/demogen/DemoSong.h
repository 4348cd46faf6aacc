// The bundled demo clip: 24 s of a small arrangement with real dynamics (sharp drum
// transients, a sustained bass, a quiet intro and breakdown, a melody over a pad), made from
// fixed arithmetic and a seeded generator so every build writes the same samples.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class DemoSong {
public:
  static constexpr int kSampleRate = 44100;
  static constexpr double kTempo = 120.0;
  static constexpr int kBars = 12;

  DemoSong();

  // Interleaved stereo, peaks at kPeakDb.
  std::vector<float> render();

private:
  void kick(double at, double level);
  void snare(double at, double level);
  void hat(double at, double level, double decay, double pan);
  void crash(double at, double level);
  void bass(double at, double length, double hz, double level);
  void pad(double at, double length, double hz, double level);
  void lead(double at, double length, double hz, double level, double pan);

  double noise();
  void add(std::size_t frame, double left, double right);
  std::size_t frameAt(double seconds) const;

  std::vector<double> left_;
  std::vector<double> right_;
  std::uint32_t seed_ = 0x5EED1234u;
};
