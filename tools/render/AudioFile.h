// Sound files through libsndfile: a reader, and a writer that only replaces OUTPUT when the
// whole file has been written.
#pragma once

#include <cstddef>
#include <string>

struct sf_private_tag;

struct AudioFormat {
  int sampleRate = 0;
  int channels = 0;
  int format = 0; // libsndfile's major format | subtype | endianness
  long long frames = 0;
};

// "FLAC, 24-bit" and the like.
std::string describeFormat(int format);

// The format OUTPUT gets: --format's name, else OUTPUT's extension when it names a format,
// else the input's. A subtype the new container cannot hold becomes a sensible one.
// Throws RenderError for an unknown --format name.
int chooseOutputFormat(int inputFormat, int channels, const std::string& formatName,
                       const std::string& outputPath);

class AudioReader {
public:
  explicit AudioReader(const std::string& path);
  ~AudioReader();
  AudioReader(const AudioReader&) = delete;
  AudioReader& operator=(const AudioReader&) = delete;

  const AudioFormat& format() const { return format_; }
  // Interleaved frames; fewer than asked only at the end of the file.
  std::size_t read(float* frames, std::size_t count);

private:
  std::string path_;
  sf_private_tag* file_ = nullptr;
  AudioFormat format_;
};

class AudioWriter {
public:
  // Creates a temporary file beside path; refuses a path that is the input file itself.
  AudioWriter(const std::string& path, const std::string& inputPath, const AudioFormat& format);
  // Removes the temporary file unless commit() succeeded.
  ~AudioWriter();
  AudioWriter(const AudioWriter&) = delete;
  AudioWriter& operator=(const AudioWriter&) = delete;

  void write(const float* frames, std::size_t count);
  // Closes the file and renames it to its final name.
  void commit();

  // Installs handlers for SIGINT, SIGTERM and SIGHUP that remove the temporary file of the
  // writer in progress before the process ends as the signal asks.
  static void removeTemporaryOnSignals();

private:
  int close() noexcept;

  std::string path_;
  std::string tempPath_;
  sf_private_tag* file_ = nullptr;
  bool committed_ = false;
};
