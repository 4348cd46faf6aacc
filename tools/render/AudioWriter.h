// Writes OUTPUT so that it only appears when complete: a file goes to a temporary name beside
// its destination and is renamed over it; standard output is assembled in memory and sent
// whole. An existing file is only replaced when the user allowed it.
#pragma once

#include "AudioFormat.h"
#include "AudioReader.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

struct sf_private_tag;
struct SF_INFO;
struct stat;
class MemoryFile;

struct WriteOptions {
  bool overwrite = false;
  std::optional<double> quality; // 0..10, lossy formats only
};

class AudioWriter {
public:
  // Refuses OUTPUT when it is the input file, not a regular file, or exists without
  // overwrite. A symlinked OUTPUT is written through to its target.
  AudioWriter(const std::string& path, const std::string& inputPath, const AudioFormat& format,
              const WriteOptions& options);
  // Removes the temporary file unless commit() succeeded.
  ~AudioWriter();
  AudioWriter(const AudioWriter&) = delete;
  AudioWriter& operator=(const AudioWriter&) = delete;

  // Before the first frame; tags the format cannot hold are dropped.
  void setTags(const Tags& tags);
  // Integer samples at 32-bit full scale (the format's low bits zero), or floats.
  void write(const std::int32_t* frames, std::size_t count);
  void write(const float* frames, std::size_t count);
  // Completes the file and opens it again for reading, as a player would see it.
  std::unique_ptr<AudioReader> finishAndReadBack();
  // Moves the finished file to its name, or sends it to standard output.
  void commit();

  // Installs handlers for SIGINT, SIGTERM and SIGHUP that remove the temporary file of the
  // writer in progress before the process ends as the signal asks.
  static void removeTemporaryOnSignals();

private:
  // The file being written under its temporary name; removed unless kept, also when the
  // constructor fails after making it.
  struct Temporary {
    std::string path;
    bool keep = false;
    Temporary() = default;
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;
    ~Temporary();
  };
  struct Closer {
    void operator()(sf_private_tag* file) const;
  };

  // A temporary file beside the target; replaced: the file it will replace, if any.
  void openFile(SF_INFO& info, const struct stat* replaced);
  void finish();
  void checkWritten(long long wrote, std::size_t count);

  std::string path_;   // as the user gave it
  std::string target_; // where the bytes land: path_ with symbolic links followed
  Temporary temporary_;
  std::unique_ptr<MemoryFile> memory_; // standard output
  std::unique_ptr<sf_private_tag, Closer> file_;
  bool overwrite_ = false;
};
