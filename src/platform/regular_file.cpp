#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace tunelark {

namespace {

std::string errorText(int err) { return std::generic_category().message(err); }

}  // namespace

RegularFileRead readRegularFile(const std::string& path, std::size_t maxBytes) {
  RegularFileRead result;
  // O_NONBLOCK keeps a FIFO from waiting for a writer; it is refused a moment later, and fstat
  // on the open descriptor leaves no window for the file to be swapped in between.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    result.status = errno == ENOENT || errno == ENOTDIR ? RegularFileRead::Status::Missing
                                                        : RegularFileRead::Status::Failed;
    result.why = errorText(errno);
    return result;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    result.why = errorText(errno);
    ::close(fd);
    return result;
  }
  if (!S_ISREG(st.st_mode)) {
    result.status = RegularFileRead::Status::NotRegular;
    result.why = "it is not an ordinary file";
    ::close(fd);
    return result;
  }
  result.status = RegularFileRead::Status::Ok;
  char chunk[65536];
  while (result.bytes.size() <= maxBytes) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      result.status = RegularFileRead::Status::Failed;
      result.why = errorText(errno);
      break;
    }
    if (n == 0) break;
    result.bytes.append(chunk, static_cast<std::size_t>(n));
  }
  ::close(fd);
  if (result.bytes.size() > maxBytes) {
    result.bytes.resize(maxBytes);
    result.cut = true;
  }
  return result;
}

}  // namespace tunelark
