#include "AudioWriter.h"

#include "MemoryFile.h"
#include "RenderError.h"

#include <sndfile.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string systemError() { return std::strerror(errno); }

std::string directoryOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) {
    return ".";
  }
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a chain of symbolic links ends at (which need not exist yet).
std::string followLinks(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
      return path;
    }
    char target[PATH_MAX];
    const ssize_t n = readlink(path.c_str(), target, sizeof target - 1);
    if (n <= 0) {
      return path;
    }
    const std::string next(target, static_cast<std::size_t>(n));
    path = next.front() == '/' ? next : directoryOf(path) + "/" + next;
  }
  throw RenderError("cannot write '" + path + "': too many levels of symbolic links");
}

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

// rename() that fails when the destination exists, so a file that appeared during the render
// is not replaced either.
int renameNoReplace(const char* from, const char* to) {
  if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) {
    return 0;
  }
  if (errno != EINVAL && errno != ENOSYS) {
    return -1;
  }
  if (link(from, to) != 0) {
    return -1;
  }
  unlink(from);
  return 0;
}

} // namespace

AudioWriter::Temporary::~Temporary() {
  if (!path.empty() && !keep) {
    std::remove(path.c_str());
  }
  hasPendingTemporary = 0;
}

void AudioWriter::Closer::operator()(sf_private_tag* file) const { sf_close(file); }

AudioWriter::AudioWriter(const std::string& path, const std::string& inputPath,
                         const AudioFormat& format, const WriteOptions& options)
    : path_(path), target_(path), overwrite_(options.overwrite) {
  if (options.quality && !isLossy(format.format)) {
    throw RenderError("--quality: " + describeFormat(format.format) +
                      " is lossless; only ogg, opus and mp3 output take a quality");
  }
  SF_INFO info{};
  info.samplerate = format.sampleRate;
  info.channels = format.channels;
  info.format = format.format;
  if (path == "-") {
    if (isatty(STDOUT_FILENO) == 1) {
      throw RenderError("standard output is a terminal; redirect it to a file or a pipe");
    }
    memory_ = std::make_unique<MemoryFile>();
    file_.reset(memory_->open(SFM_WRITE, &info));
  } else {
    target_ = followLinks(path);
    struct stat in {
    }, out{};
    const bool exists = stat(target_.c_str(), &out) == 0;
    if (exists) {
      if (stat(inputPath.c_str(), &in) == 0 && in.st_dev == out.st_dev && in.st_ino == out.st_ino) {
        throw RenderError("output '" + path + "' is the input file; refusing to write over it");
      }
      if (!S_ISREG(out.st_mode)) {
        throw RenderError("cannot write '" + path + "': it is not a regular file");
      }
      if (!overwrite_) {
        throw RenderError("output '" + path + "' exists; give -y to replace it");
      }
    }
    openFile(info, exists ? &out : nullptr);
  }
  if (!file_) {
    throw RenderError("cannot write '" + path + "' as " + describeFormat(format.format) + ": " +
                      sf_strerror(nullptr));
  }
  if (options.quality) {
    // libsndfile's level runs from 0 (best) to 1 (smallest).
    double level = 1.0 - *options.quality / 10.0;
    sf_command(file_.get(), SFC_SET_COMPRESSION_LEVEL, &level, sizeof level);
  }
}

void AudioWriter::openFile(SF_INFO& info, const struct stat* replaced) {
  const std::string dir = directoryOf(target_);
  const auto slash = target_.find_last_of('/');
  const std::string base = slash == std::string::npos ? target_ : target_.substr(slash + 1);
  std::string pattern = dir + "/." + base + ".XXXXXX";
  const int fd = mkstemp(pattern.data());
  if (fd < 0) {
    throw RenderError("cannot write '" + path_ + "': " + systemError());
  }
  temporary_.path = pattern;
  setPendingTemporary(pattern);
  if (replaced != nullptr) {
    // A replaced file keeps its permissions and, where allowed, its owner.
    fchmod(fd, replaced->st_mode & 07777);
    if (fchown(fd, replaced->st_uid, replaced->st_gid) != 0) {
      fchmod(fd, replaced->st_mode & 0777);
    }
  } else {
    // mkstemp makes the file private; a new output gets the usual permissions.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, static_cast<mode_t>(0666 & ~mask));
  }
  file_.reset(sf_open_fd(fd, SFM_WRITE, &info, SF_TRUE));
  if (!file_) {
    ::close(fd);
  }
}

AudioWriter::~AudioWriter() = default;

void AudioWriter::removeTemporaryOnSignals() {
  for (const int s : {SIGINT, SIGTERM, SIGHUP}) {
    std::signal(s, removePendingTemporary);
  }
}

void AudioWriter::setTags(const Tags& tags) {
  for (const auto& [id, text] : tags) {
    sf_set_string(file_.get(), id, text.c_str());
  }
}

void AudioWriter::checkWritten(long long wrote, std::size_t count) {
  if (wrote != static_cast<long long>(count)) {
    throw RenderError("cannot write '" + path_ + "': " + sf_strerror(file_.get()));
  }
}

void AudioWriter::write(const std::int32_t* frames, std::size_t count) {
  checkWritten(sf_writef_int(file_.get(), frames, static_cast<sf_count_t>(count)), count);
}

void AudioWriter::write(const float* frames, std::size_t count) {
  checkWritten(sf_writef_float(file_.get(), frames, static_cast<sf_count_t>(count)), count);
}

void AudioWriter::finish() {
  if (!file_) {
    return;
  }
  const int status = sf_close(file_.release());
  if (status != 0) {
    throw RenderError("cannot write '" + path_ + "': " + sf_error_number(status));
  }
}

std::unique_ptr<AudioReader> AudioWriter::finishAndReadBack() {
  finish();
  if (memory_) {
    return std::make_unique<AudioReader>(
        "standard output", std::make_unique<MemoryFile>(std::vector<char>(memory_->bytes())));
  }
  return std::make_unique<AudioReader>(temporary_.path);
}

void AudioWriter::commit() {
  finish();
  if (memory_) {
    const auto& bytes = memory_->bytes();
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(STDOUT_FILENO, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) {
        continue;
      }
      if (n <= 0) {
        throw RenderError("cannot write standard output: " + systemError());
      }
      done += static_cast<std::size_t>(n);
    }
    return;
  }
  const char* from = temporary_.path.c_str();
  const int status =
      overwrite_ ? std::rename(from, target_.c_str()) : renameNoReplace(from, target_.c_str());
  if (status != 0) {
    throw RenderError(errno == EEXIST
                          ? "output '" + path_ + "' appeared while rendering; give -y to replace it"
                          : "cannot write '" + path_ + "': " + systemError());
  }
  temporary_.keep = true;
  hasPendingTemporary = 0;
}
