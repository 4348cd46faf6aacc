#include "RenderHarness.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

void removeTree(const std::string& path) {
  if (DIR* dir = opendir(path.c_str())) {
    while (const dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") {
        const std::string child = path + "/" + name;
        if (unlink(child.c_str()) != 0) {
          removeTree(child);
        }
      }
    }
    closedir(dir);
  }
  rmdir(path.c_str());
}

} // namespace

std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

ScratchDir::ScratchDir() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/zembrac-render-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("mkdtemp failed");
  }
  path_ = pattern;
}

ScratchDir::~ScratchDir() { removeTree(path_); }

std::vector<std::string> ScratchDir::entries() const {
  std::vector<std::string> names;
  if (DIR* dir = opendir(path_.c_str())) {
    while (const dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") {
        names.push_back(name);
      }
    }
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

int startRenderer(const std::vector<std::string>& args, const std::string& outPath,
                  const std::string& errPath, const std::vector<std::string>& extraEnv,
                  const std::string& inPath) {
  std::vector<std::string> argStrings{rendererPath()};
  argStrings.insert(argStrings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : argStrings) {
    argv.push_back(a.data());
  }
  argv.push_back(nullptr);
  std::vector<std::string> envStrings(extraEnv);
  for (char** e = environ; *e != nullptr; ++e) {
    envStrings.emplace_back(*e);
  }
  std::vector<char*> envp;
  for (auto& e : envStrings) {
    envp.push_back(e.data());
  }
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, inPath.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  return spawned == 0 ? pid : -1;
}

RunResult runRenderer(const std::vector<std::string>& args,
                      const std::vector<std::string>& extraEnv, const std::string& inPath) {
  ScratchDir logs;
  const std::string outPath = logs.file("stdout"), errPath = logs.file("stderr");
  const pid_t pid = startRenderer(args, outPath, errPath, extraEnv, inPath);
  RunResult result;
  if (pid < 0) {
    result.err = "cannot start the renderer";
    return result;
  }
  int status = 0;
  waitpid(pid, &status, 0);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.out = fileBytes(outPath);
  result.err = fileBytes(errPath);
  return result;
}

Sound testSound(int channels, long long frames, float peak, int sampleRate) {
  Sound sound;
  sound.sampleRate = sampleRate;
  sound.channels = channels;
  sound.samples.resize(static_cast<std::size_t>(frames * channels));
  std::uint32_t seed = 12345;
  for (long long i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / sampleRate;
    for (int c = 0; c < channels; ++c) {
      seed = seed * 1664525u + 1013904223u;
      const double noise = static_cast<double>(seed >> 8) / 8388608.0 - 1.0;
      const double v = 0.5 * std::sin(2 * M_PI * (220.0 + 110.0 * c) * t) +
                       0.3 * std::sin(2 * M_PI * 1234.5 * t) + 0.2 * noise;
      sound.samples[static_cast<std::size_t>(i * channels + c)] = static_cast<float>(peak * v);
    }
  }
  return sound;
}

void writeSound(const std::string& path, const Sound& sound, int format) {
  SF_INFO info{};
  info.samplerate = sound.sampleRate;
  info.channels = sound.channels;
  info.format = format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr) {
    throw std::runtime_error("cannot write " + path + ": " + sf_strerror(nullptr));
  }
  for (const auto& [id, text] : sound.tags) {
    sf_set_string(file, id, text.c_str());
  }
  sf_writef_float(file, sound.samples.data(), sound.frames());
  sf_close(file);
}

Sound readSound(const std::string& path) {
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (file == nullptr) {
    throw std::runtime_error("cannot read " + path + ": " + sf_strerror(nullptr));
  }
  Sound sound;
  sound.sampleRate = info.samplerate;
  sound.channels = info.channels;
  sound.format = info.format;
  sound.samples.resize(static_cast<std::size_t>(info.frames * info.channels));
  sf_readf_float(file, sound.samples.data(), info.frames);
  for (int id = SF_STR_FIRST; id <= SF_STR_LAST; ++id) {
    if (const char* text = sf_get_string(file, id)) {
      sound.tags.emplace_back(id, text);
    }
  }
  sf_close(file);
  return sound;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    result.push_back(line);
  }
  return result;
}

const char* rendererPath() { return ZEMBRAC_RENDER_PATH; }
const char* zembracPath() { return ZEMBRAC_PLUGIN_PATH; }
const char* delayPluginPath() { return ZEMBRAC_DELAY_PLUGIN_PATH; }
