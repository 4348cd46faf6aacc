#include "MemoryFile.h"

#include "RenderError.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

SF_VIRTUAL_IO MemoryFile::io_ = {&MemoryFile::length, &MemoryFile::seek, &MemoryFile::read,
                                 &MemoryFile::write, &MemoryFile::tell};

std::vector<char> MemoryFile::readAll(int fd, const std::string& what) {
  std::vector<char> bytes;
  std::size_t used = 0;
  for (;;) {
    if (bytes.size() - used < 65536) {
      bytes.resize(std::max<std::size_t>(bytes.size() * 2, 1 << 20));
    }
    const ssize_t got = ::read(fd, bytes.data() + used, bytes.size() - used);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      throw RenderError("cannot read " + what + ": " + std::strerror(errno));
    }
    if (got == 0) {
      break;
    }
    used += static_cast<std::size_t>(got);
  }
  bytes.resize(used);
  return bytes;
}

SNDFILE* MemoryFile::open(int mode, SF_INFO* info) {
  position_ = 0;
  return sf_open_virtual(&io_, mode, info, this);
}

sf_count_t MemoryFile::length(void* self) {
  return static_cast<sf_count_t>(static_cast<MemoryFile*>(self)->bytes_.size());
}

sf_count_t MemoryFile::seek(sf_count_t offset, int whence, void* self) {
  auto* file = static_cast<MemoryFile*>(self);
  const sf_count_t base = whence == SEEK_CUR   ? file->position_
                          : whence == SEEK_END ? length(self)
                                               : 0;
  if (base + offset < 0) {
    return -1;
  }
  file->position_ = base + offset;
  return file->position_;
}

sf_count_t MemoryFile::read(void* ptr, sf_count_t count, void* self) {
  auto* file = static_cast<MemoryFile*>(self);
  const sf_count_t n = std::max<sf_count_t>(0, std::min(count, length(self) - file->position_));
  if (n > 0) {
    std::memcpy(ptr, file->bytes_.data() + file->position_, static_cast<std::size_t>(n));
  }
  file->position_ += n;
  return n;
}

sf_count_t MemoryFile::write(const void* ptr, sf_count_t count, void* self) {
  auto* file = static_cast<MemoryFile*>(self);
  const auto end = static_cast<std::size_t>(file->position_ + count);
  if (end > file->bytes_.size()) {
    file->bytes_.resize(end);
  }
  std::memcpy(file->bytes_.data() + file->position_, ptr, static_cast<std::size_t>(count));
  file->position_ += count;
  return count;
}

sf_count_t MemoryFile::tell(void* self) { return static_cast<MemoryFile*>(self)->position_; }
