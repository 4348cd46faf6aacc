// Reads a sound file (or standard input) through libsndfile, with its tags and the length its
// header promised.
#pragma once

#include "AudioFormat.h"

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

struct sf_private_tag;
class MemoryFile;

// libsndfile's string tags (title, artist, ...), by its SF_STR_ number.
using Tags = std::vector<std::pair<int, std::string>>;

class AudioReader {
public:
  // "-" reads all of standard input first. Throws RenderError naming the file.
  explicit AudioReader(const std::string& path);
  // A file assembled in memory; the reader keeps it.
  AudioReader(const std::string& name, std::unique_ptr<MemoryFile> memory);
  ~AudioReader();
  AudioReader(const AudioReader&) = delete;
  AudioReader& operator=(const AudioReader&) = delete;

  const std::string& name() const { return path_; }
  const AudioFormat& format() const { return format_; }
  Tags tags() const;
  // Frames the header announced; more than format().frames when libsndfile already noticed
  // that the data ends early. Compare with what read() delivers.
  long long headerFrames() const { return headerFrames_; }
  // Interleaved frames; fewer than asked only at the end of the file.
  std::size_t read(float* frames, std::size_t count);

private:
  void open();

  std::string path_;
  std::unique_ptr<MemoryFile> memory_;
  sf_private_tag* file_ = nullptr;
  AudioFormat format_;
  long long headerFrames_ = 0;
  long long framesRead_ = 0;
};
