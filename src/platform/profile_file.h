#pragma once
// A settings file in the initialisation-file format, read and written with the semantics of
// the Windows private profile calls (see profile_text.h); every write replaces the file
// atomically, so a failed write leaves the old file as it was.

#include <optional>
#include <string>
#include <string_view>

namespace tunelark {

class ProfileFile {
 public:
  explicit ProfileFile(std::string path) : path_(std::move(path)) {}

  // The value of `key` in `section`, whole. Nothing when the file is missing or cannot be read
  // as a settings file (not an ordinary file, larger than kMaxBytes), or when the section or
  // the key is missing; an empty string when the key is there with an empty value.
  std::optional<std::string> read(std::string_view section, std::string_view key) const;

  // Like read, with `fallback` standing in for a missing value.
  std::string readString(std::string_view section, std::string_view key,
                         std::string_view fallback) const;

  // Sets `key` in `section` to `value`, creating the file, the section or the key as needed and
  // keeping every other line. False, with the reason in `error`, when it was not stored.
  bool write(std::string_view section, std::string_view key, std::string_view value,
             std::string* error = nullptr) const;

  const std::string& path() const { return path_; }

  // A settings file holds a few short lines; anything this large is not one, and is neither
  // read into memory nor rewritten.
  static constexpr std::size_t kMaxBytes = 16 * 1024 * 1024;

 private:
  std::string path_;
};

}  // namespace tunelark
