#include "platform/profile_file.h"

#include "platform/atomic_file.h"
#include "platform/profile_text.h"
#include "platform/regular_file.h"

namespace tunelark {

namespace {

enum class Load { Ok, Missing, Failed };

// Reads the whole file; anything but an ordinary file of a settings file's size is refused.
Load loadFile(const std::string& path, std::string& bytes, std::string& why) {
  RegularFileRead read = readRegularFile(path, ProfileFile::kMaxBytes);
  switch (read.status) {
    case RegularFileRead::Status::Missing:
      return Load::Missing;
    case RegularFileRead::Status::Ok:
      if (!read.cut) {
        bytes = std::move(read.bytes);
        return Load::Ok;
      }
      why = "it is too large to be a settings file";
      return Load::Failed;
    default:
      why = read.why;
      return Load::Failed;
  }
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
