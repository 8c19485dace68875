#pragma once
// Reading a local clip through a descriptor we opened ourselves, so FFmpeg's own protocols are
// never asked to open a local path: only regular files are read (no FIFO, no device), and the
// check is made on the open descriptor, leaving no window for the file to be swapped.

#include <cstdint>
#include <string>

struct AVIOContext;

namespace tunelark::engine {

class LocalFileIo {
 public:
  // Opens `path`; on failure context() is null and error() says why ("not found", ...).
  explicit LocalFileIo(const std::string& path);
  ~LocalFileIo();
  LocalFileIo(const LocalFileIo&) = delete;
  LocalFileIo& operator=(const LocalFileIo&) = delete;

  AVIOContext* context() const { return context_; }
  const std::string& error() const { return error_; }

 private:
  static int read(void* self, unsigned char* buffer, int size);
  static std::int64_t seek(void* self, std::int64_t offset, int whence);

  int fd_ = -1;
  std::int64_t size_ = 0;
  AVIOContext* context_ = nullptr;
  std::string error_;
};

}  // namespace tunelark::engine
