#include "AudioReader.h"

#include "MemoryFile.h"
#include "RenderError.h"

#include <sndfile.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int bytesPerSample(int format) {
  switch (format & SF_FORMAT_SUBMASK) {
  case SF_FORMAT_PCM_S8:
  case SF_FORMAT_PCM_U8:
  case SF_FORMAT_ULAW:
  case SF_FORMAT_ALAW:
    return 1;
  case SF_FORMAT_PCM_16:
    return 2;
  case SF_FORMAT_PCM_24:
    return 3;
  case SF_FORMAT_PCM_32:
  case SF_FORMAT_FLOAT:
    return 4;
  case SF_FORMAT_DOUBLE:
    return 8;
  default:
    return 0;
  }
}

// libsndfile shortens a WAV or AIFF whose data chunk runs past the end of the file, and says
// so only in its log: "data : 192000 (should be 63924)" or "Frame count read from 'COMM'
// chunk (48000)". Sizes of 0 or all ones are the usual marks of a length not known when the
// header was written (a recording in progress, a stream), not of a lost end.
long long framesInLog(SNDFILE* file, const SF_INFO& info) {
  char log[16384] = {};
  sf_command(file, SFC_GET_LOG_INFO, log, sizeof log);
  std::istringstream lines(log);
  long long frames = 0;
  for (std::string line; std::getline(lines, line);) {
    const auto first = line.find_first_not_of(' ');
    if (first == std::string::npos) {
      continue;
    }
    line.erase(0, first);
    long long n = 0;
    char chunk[5] = {};
    if (std::sscanf(line.c_str(), "Frame count read from 'COMM' chunk (%lld)", &n) == 1) {
      frames = std::max(frames, n);
    } else if (line.find("(should be") != std::string::npos &&
               std::sscanf(line.c_str(), "%4s : %lld", chunk, &n) == 2 &&
               (std::strcmp(chunk, "data") == 0 || std::strcmp(chunk, "SSND") == 0) && n > 0 &&
               n < 0xFFFFFFFFLL && n != 0x7FFFFFFFLL) {
      const long long header = std::strcmp(chunk, "SSND") == 0 ? 8 : 0;
      const int width = bytesPerSample(info.format) * info.channels;
      if (width > 0) {
        frames = std::max(frames, (n - header) / width);
      }
    }
  }
  return frames;
}

} // namespace

AudioReader::AudioReader(const std::string& path) : path_(path) {
  if (path == "-") {
    path_ = "standard input";
    if (isatty(STDIN_FILENO) == 1) {
      throw RenderError("standard input is a terminal; pipe a sound file into it");
    }
    memory_ = std::make_unique<MemoryFile>(MemoryFile::readAll(STDIN_FILENO, path_));
  } else {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
      throw RenderError("cannot read '" + path + "': " + std::strerror(errno));
    }
    if (S_ISDIR(st.st_mode)) {
      throw RenderError("cannot read '" + path + "': it is a directory");
    }
  }
  open();
}

AudioReader::AudioReader(const std::string& name, std::unique_ptr<MemoryFile> memory)
    : path_(name), memory_(std::move(memory)) {
  open();
}

void AudioReader::open() {
  SF_INFO info{};
  file_ = memory_ ? memory_->open(SFM_READ, &info) : sf_open(path_.c_str(), SFM_READ, &info);
  const std::string quoted = memory_ ? path_ : "'" + path_ + "'";
  if (file_ == nullptr) {
    throw RenderError("cannot read " + quoted + ": " + sf_strerror(nullptr));
  }
  format_ = AudioFormat{info.samplerate, info.channels, info.format, info.frames};
  headerFrames_ = std::max<long long>(info.frames, framesInLog(file_, info));
  if (info.channels != 1 && info.channels != 2) {
    sf_close(file_);
    throw RenderError(quoted + " has " + std::to_string(info.channels) +
                      " channels; only mono and stereo files can be rendered");
  }
  if (info.samplerate <= 0) {
    sf_close(file_);
    throw RenderError(quoted + " has no valid sample rate");
  }
}

AudioReader::~AudioReader() { sf_close(file_); }

Tags AudioReader::tags() const {
  Tags tags;
  for (int id = SF_STR_FIRST; id <= SF_STR_LAST; ++id) {
    const char* text = sf_get_string(file_, id);
    if (text != nullptr && *text != '\0') {
      tags.emplace_back(id, text);
    }
  }
  return tags;
}

std::size_t AudioReader::read(float* frames, std::size_t count) {
  const sf_count_t got = sf_readf_float(file_, frames, static_cast<sf_count_t>(count));
  // A decoder that loses its way before the promised end has met a cut-off file: what came
  // before is the audio there is, and the caller compares its length with headerFrames().
  const bool cutOff = framesRead_ > 0 && framesRead_ < headerFrames_;
  if (got < 0 || (got == 0 && sf_error(file_) != SF_ERR_NO_ERROR && !cutOff)) {
    throw RenderError("cannot read '" + path_ + "': " + sf_strerror(file_));
  }
  framesRead_ += std::max<sf_count_t>(got, 0);
  return static_cast<std::size_t>(std::max<sf_count_t>(got, 0));
}
