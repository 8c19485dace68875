#pragma once
// Reads an ordinary file, and only an ordinary file, up to a byte limit. A FIFO, a device or a
// folder in a file's place is refused without blocking, so a path from outside (a settings
// value, a dialog's choice, a playlist line) can never hang the program or exhaust its memory.

#include <cstddef>
#include <string>

namespace tunelark {

struct RegularFileRead {
  enum class Status {
    Ok,          // `bytes` holds the file, or its first `maxBytes` bytes when `cut`
    Missing,     // nothing of that name
    NotRegular,  // a folder, FIFO, device or socket
    Failed,      // could not be opened or read; `bytes` holds what was read before
  };
  Status status = Status::Failed;
  std::string bytes;
  bool cut = false;  // the file holds more than `maxBytes` bytes
  std::string why;   // for NotRegular and Failed, in words a user can read
};

// Reads at most `maxBytes` bytes of `path`.
RegularFileRead readRegularFile(const std::string& path, std::size_t maxBytes);

}  // namespace tunelark
