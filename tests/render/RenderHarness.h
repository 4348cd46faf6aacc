// Runs the built zembrac-render as a user would and reads and writes the sound files it sees.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

// libsndfile string tags by their SF_STR_ number.
using SoundTags = std::vector<std::pair<int, std::string>>;

struct Sound {
  int sampleRate = 44100;
  int channels = 2;
  int format = 0;             // libsndfile format of the file it was read from
  std::vector<float> samples; // interleaved
  SoundTags tags;             // written with the sound, and read back

  long long frames() const { return static_cast<long long>(samples.size()) / channels; }
  float at(long long frame, int channel) const {
    return samples[static_cast<std::size_t>(frame * channels + channel)];
  }
};

// A fresh directory, removed with everything in it at the end of the test.
class ScratchDir {
public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  std::string file(const std::string& name) const { return path_ + "/" + name; }
  // Names in the directory, sorted: shows stray temporary files too.
  std::vector<std::string> entries() const;

private:
  std::string path_;
};

// Starts the renderer with standard output and error going to the given files; returns its
// process id, or -1.
int startRenderer(const std::vector<std::string>& args, const std::string& outPath,
                  const std::string& errPath, const std::vector<std::string>& extraEnv = {},
                  const std::string& inPath = "/dev/null");

// Arguments after the program name; extraEnv entries are NAME=VALUE; standard input reads
// inPath.
RunResult runRenderer(const std::vector<std::string>& args,
                      const std::vector<std::string>& extraEnv = {},
                      const std::string& inPath = "/dev/null");

std::string fileBytes(const std::string& path);

// Deterministic test material: a few sines plus seeded noise, peaking near peak.
Sound testSound(int channels, long long frames, float peak, int sampleRate = 44100);

void writeSound(const std::string& path, const Sound& sound, int format);
Sound readSound(const std::string& path);

std::vector<std::string> lines(const std::string& text);

const char* rendererPath();
const char* zembracPath();
const char* delayPluginPath();
