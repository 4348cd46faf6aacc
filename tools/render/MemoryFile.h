// A sound file held in memory, for libsndfile's virtual I/O: standard input is read into one
// before it is decoded (pipes cannot seek), and standard output is assembled in one.
#pragma once

#include <sndfile.h>

#include <string>
#include <vector>

class MemoryFile {
public:
  MemoryFile() = default;
  explicit MemoryFile(std::vector<char> bytes) : bytes_(std::move(bytes)) {}
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  // All of a file descriptor, to its end. Throws RenderError naming what.
  static std::vector<char> readAll(int fd, const std::string& what);

  SNDFILE* open(int mode, SF_INFO* info);
  const std::vector<char>& bytes() const { return bytes_; }
  void rewind() { position_ = 0; }

private:
  static SF_VIRTUAL_IO io_;
  static sf_count_t length(void* self);
  static sf_count_t seek(sf_count_t offset, int whence, void* self);
  static sf_count_t read(void* ptr, sf_count_t count, void* self);
  static sf_count_t write(const void* ptr, sf_count_t count, void* self);
  static sf_count_t tell(void* self);

  std::vector<char> bytes_;
  sf_count_t position_ = 0;
};
