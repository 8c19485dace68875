#pragma once
// What tells one version of a file from the next without reading it: the file itself (a file
// written whole and renamed into place is a new one), its size and its modification time.

#include <cstdint>
#include <optional>
#include <string>

namespace tunelark::engine {

struct FileStamp {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::int64_t size = 0;
  std::int64_t modifiedNs = 0;
  bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at `path`, or nothing when there is none.
std::optional<FileStamp> stampOf(const std::string& path);

}  // namespace tunelark::engine
