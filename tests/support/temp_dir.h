#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it at the end
// of the test.

#include <filesystem>
#include <string>

namespace tunelark::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }
  // Writes `bytes` to a file below the folder, creating folders on the way; returns its path.
  std::string write(const std::string& relative, const std::string& bytes) const;

 private:
  std::filesystem::path path_;
};

std::string readFile(const std::string& path);

}  // namespace tunelark::testing
