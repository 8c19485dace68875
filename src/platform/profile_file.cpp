#include "platform/profile_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "platform/atomic_file.h"
#include "platform/profile_text.h"

namespace tunelark {

namespace {

enum class Load { Ok, Missing, Failed };

// Reads the whole file. O_NONBLOCK keeps a FIFO in the file's place from hanging start-up; it
// is refused a moment later as not an ordinary file.
Load loadFile(const std::string& path, std::string& bytes, std::string& why) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return Load::Missing;
    why = std::generic_category().message(errno);
    return Load::Failed;
  }
  struct stat st {};
  Load result = Load::Ok;
  if (::fstat(fd, &st) != 0) {
    why = std::generic_category().message(errno);
    result = Load::Failed;
  } else if (!S_ISREG(st.st_mode)) {
    why = "it is not an ordinary file";
    result = Load::Failed;
  } else if (static_cast<unsigned long long>(st.st_size) > ProfileFile::kMaxBytes) {
    why = "it is too large to be a settings file";
    result = Load::Failed;
  }
  char chunk[8192];
  while (result == Load::Ok) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      why = std::generic_category().message(errno);
      result = Load::Failed;
    } else if (n == 0) {
      break;
    } else if (bytes.size() + static_cast<std::size_t>(n) > ProfileFile::kMaxBytes) {
      // The file grew after fstat; still not a settings file.
      why = "it is too large to be a settings file";
      result = Load::Failed;
    } else {
      bytes.append(chunk, static_cast<std::size_t>(n));
    }
  }
  ::close(fd);
  return result;
}

}  // namespace

std::optional<std::string> ProfileFile::read(std::string_view section, std::string_view key) const {
  std::string bytes;
  std::string why;
  if (loadFile(path_, bytes, why) != Load::Ok) return std::nullopt;
  return findProfileValue(bytes, section, key);
}

std::string ProfileFile::readString(std::string_view section, std::string_view key,
                                    std::string_view fallback) const {
  auto value = read(section, key);
  return value ? std::move(*value) : std::string(fallback);
}

bool ProfileFile::write(std::string_view section, std::string_view key, std::string_view value,
                        std::string* error) const {
  std::string bytes;
  std::string why;
  // A file that exists but cannot be read is never replaced: its other lines would be lost.
  if (loadFile(path_, bytes, why) == Load::Failed) {
    if (error) *error = "Cannot read \"" + path_ + "\": " + why + ".";
    return false;
  }
  const auto updated = setProfileValue(bytes, section, key, value);
  if (!updated) {
    if (error)
      *error = "Cannot write \"" + path_ +
               "\": a line break or NUL byte cannot be kept in a settings file.";
    return false;
  }
  return writeFileAtomically(path_, *updated, error);
}

}  // namespace tunelark
