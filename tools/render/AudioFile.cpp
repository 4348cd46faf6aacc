#include "AudioFile.h"

#include "RenderError.h"

#include <sndfile.h>

#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct NamedFormat {
  const char* name;
  int major;
};

constexpr NamedFormat kFormats[] = {
    {"wav", SF_FORMAT_WAV},   {"flac", SF_FORMAT_FLAC}, {"aiff", SF_FORMAT_AIFF},
    {"aif", SF_FORMAT_AIFF},  {"caf", SF_FORMAT_CAF},   {"w64", SF_FORMAT_W64},
    {"rf64", SF_FORMAT_RF64}, {"au", SF_FORMAT_AU},     {"ogg", SF_FORMAT_OGG},
};

int majorFromName(std::string name) {
  for (auto& c : name) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  for (const auto& f : kFormats) {
    if (name == f.name) {
      return f.major;
    }
  }
  return 0;
}

std::string extensionOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  const auto dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
    return {};
  }
  return path.substr(dot + 1);
}

std::string formatName(int format) {
  SF_FORMAT_INFO info{};
  info.format = format;
  if (sf_command(nullptr, SFC_GET_FORMAT_INFO, &info, sizeof info) != 0 || info.name == nullptr) {
    return "unknown";
  }
  return info.name;
}

bool isInteger(int format) {
  switch (format & SF_FORMAT_SUBMASK) {
  case SF_FORMAT_FLOAT:
  case SF_FORMAT_DOUBLE:
  case SF_FORMAT_VORBIS:
  case SF_FORMAT_OPUS:
    return false;
  default:
    return true;
  }
}

std::string directoryOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) {
    return ".";
  }
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string systemError() { return std::strerror(errno); }

// What a signal handler may touch: a fixed buffer, set while a temporary file exists.
char pendingTemporary[4096];
volatile std::sig_atomic_t hasPendingTemporary = 0;

void setPendingTemporary(const std::string& path) {
  hasPendingTemporary = 0;
  if (path.size() < sizeof pendingTemporary) {
    std::memcpy(pendingTemporary, path.c_str(), path.size() + 1);
    hasPendingTemporary = 1;
  }
}

extern "C" void removePendingTemporary(int signal) {
  if (hasPendingTemporary != 0) {
    unlink(pendingTemporary);
  }
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

} // namespace

std::string describeFormat(int format) {
  return formatName(format & SF_FORMAT_TYPEMASK) + ", " + formatName(format & SF_FORMAT_SUBMASK);
}

int chooseOutputFormat(int inputFormat, int channels, const std::string& requested,
                       const std::string& outputPath) {
  int major = inputFormat & SF_FORMAT_TYPEMASK;
  if (!requested.empty()) {
    major = majorFromName(requested);
    if (major == 0) {
      throw RenderError("--format '" + requested +
                        "': expected wav, flac, aiff, caf, w64, rf64, au or ogg");
    }
  } else if (const int fromExtension = majorFromName(extensionOf(outputPath))) {
    major = fromExtension;
  }
  if (major == (inputFormat & SF_FORMAT_TYPEMASK)) {
    return inputFormat;
  }
  SF_INFO probe{};
  probe.samplerate = 44100;
  probe.channels = channels;
  probe.format = major | (inputFormat & SF_FORMAT_SUBMASK);
  if (sf_format_check(&probe)) {
    return probe.format;
  }
  const int fallbacks[] = {major == SF_FORMAT_OGG ? SF_FORMAT_VORBIS : SF_FORMAT_PCM_24,
                           SF_FORMAT_PCM_16, SF_FORMAT_FLOAT};
  for (const int subtype : fallbacks) {
    probe.format = major | subtype;
    if (sf_format_check(&probe)) {
      return probe.format;
    }
  }
  throw RenderError("no sample format of " + formatName(major) + " can hold this audio");
}

AudioReader::AudioReader(const std::string& path) : path_(path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) {
    throw RenderError("cannot read '" + path + "': " + systemError());
  }
  if (S_ISDIR(st.st_mode)) {
    throw RenderError("cannot read '" + path + "': it is a directory");
  }
  SF_INFO info{};
  file_ = sf_open(path.c_str(), SFM_READ, &info);
  if (file_ == nullptr) {
    throw RenderError("cannot read '" + path + "': " + sf_strerror(nullptr));
  }
  format_ = AudioFormat{info.samplerate, info.channels, info.format, info.frames};
  if (info.channels != 1 && info.channels != 2) {
    sf_close(file_);
    throw RenderError("'" + path + "' has " + std::to_string(info.channels) +
                      " channels; only mono and stereo files can be rendered");
  }
  if (info.samplerate <= 0) {
    sf_close(file_);
    throw RenderError("'" + path + "' has no valid sample rate");
  }
}

AudioReader::~AudioReader() { sf_close(file_); }

std::size_t AudioReader::read(float* frames, std::size_t count) {
  const sf_count_t got = sf_readf_float(file_, frames, static_cast<sf_count_t>(count));
  if (got < 0 || (got == 0 && sf_error(file_) != SF_ERR_NO_ERROR)) {
    throw RenderError("cannot read '" + path_ + "': " + sf_strerror(file_));
  }
  return static_cast<std::size_t>(got);
}

AudioWriter::AudioWriter(const std::string& path, const std::string& inputPath,
                         const AudioFormat& format)
    : path_(path) {
  struct stat in {
  }, out{};
  if (stat(path.c_str(), &out) == 0) {
    if (stat(inputPath.c_str(), &in) == 0 && in.st_dev == out.st_dev && in.st_ino == out.st_ino) {
      throw RenderError("output '" + path + "' is the input file; refusing to write over it");
    }
    if (!S_ISREG(out.st_mode)) {
      throw RenderError("cannot write '" + path + "': it is not a regular file");
    }
  }
  const std::string dir = directoryOf(path);
  const auto slash = path.find_last_of('/');
  const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string pattern = dir + "/." + base + ".XXXXXX";
  const int fd = mkstemp(pattern.data());
  if (fd < 0) {
    throw RenderError("cannot write '" + path + "': " + systemError());
  }
  tempPath_ = pattern;
  setPendingTemporary(tempPath_);
  // mkstemp makes the file private; a finished output gets the usual permissions.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, static_cast<mode_t>(0666 & ~mask));

  SF_INFO info{};
  info.samplerate = format.sampleRate;
  info.channels = format.channels;
  info.format = format.format;
  file_ = sf_open_fd(fd, SFM_WRITE, &info, SF_TRUE);
  if (file_ == nullptr) {
    const std::string why = sf_strerror(nullptr);
    ::close(fd);
    std::remove(tempPath_.c_str());
    hasPendingTemporary = 0;
    throw RenderError("cannot write '" + path + "' as " + describeFormat(format.format) + ": " +
                      why);
  }
  if (isInteger(format.format)) {
    // Without it, samples above full scale wrap around instead of clipping.
    sf_command(file_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  }
}

AudioWriter::~AudioWriter() {
  close();
  if (!committed_) {
    std::remove(tempPath_.c_str());
  }
  hasPendingTemporary = 0;
}

void AudioWriter::removeTemporaryOnSignals() {
  for (const int s : {SIGINT, SIGTERM, SIGHUP}) {
    std::signal(s, removePendingTemporary);
  }
}

void AudioWriter::write(const float* frames, std::size_t count) {
  const sf_count_t wrote = sf_writef_float(file_, frames, static_cast<sf_count_t>(count));
  if (wrote != static_cast<sf_count_t>(count)) {
    throw RenderError("cannot write '" + path_ + "': " + sf_strerror(file_));
  }
}

int AudioWriter::close() noexcept {
  if (file_ == nullptr) {
    return 0;
  }
  const int status = sf_close(file_);
  file_ = nullptr;
  return status;
}

void AudioWriter::commit() {
  if (const int status = close(); status != 0) {
    throw RenderError("cannot write '" + path_ + "': " + sf_error_number(status));
  }
  if (std::rename(tempPath_.c_str(), path_.c_str()) != 0) {
    throw RenderError("cannot write '" + path_ + "': " + systemError());
  }
  committed_ = true;
  hasPendingTemporary = 0;
}
