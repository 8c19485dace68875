#include "player/engine/local_file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern "C" {
#include <libavformat/avio.h>
#include <libavutil/error.h>
#include <libavutil/mem.h>
}

namespace tunelark::engine {
namespace {
constexpr int kBufferSize = 32 * 1024;
}

LocalFileIo::LocalFileIo(const std::string& path) {
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
  fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) {
    error_ = errno == ENOENT ? "not found" : std::strerror(errno);
    return;
  }
  struct stat st {};
  if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
    error_ = S_ISDIR(st.st_mode) ? "is a folder" : "not a regular file";
    return;
  }
  size_ = st.st_size;
  auto* buffer = static_cast<unsigned char*>(av_malloc(kBufferSize));
  if (!buffer) {
    error_ = "out of memory";
    return;
  }
  context_ = avio_alloc_context(buffer, kBufferSize, 0, this, &LocalFileIo::read, nullptr,
                                &LocalFileIo::seek);
  if (!context_) {
    av_free(buffer);
    error_ = "out of memory";
  }
}

LocalFileIo::~LocalFileIo() {
  if (context_) {
    av_freep(&context_->buffer);
    avio_context_free(&context_);
  }
  if (fd_ >= 0) ::close(fd_);
}

int LocalFileIo::read(void* self, unsigned char* buffer, int size) {
  auto* io = static_cast<LocalFileIo*>(self);
  for (;;) {
    const auto n = ::read(io->fd_, buffer, static_cast<std::size_t>(size));
    if (n > 0) return static_cast<int>(n);
    if (n == 0) return AVERROR_EOF;
    if (errno != EINTR) return AVERROR(errno);
  }
}

std::int64_t LocalFileIo::seek(void* self, std::int64_t offset, int whence) {
  auto* io = static_cast<LocalFileIo*>(self);
  if (whence & AVSEEK_SIZE) return io->size_;
  const auto at = ::lseek(io->fd_, offset, whence & ~AVSEEK_FORCE);
  return at < 0 ? AVERROR(errno) : at;
}

}  // namespace tunelark::engine
