#pragma once
// The folder and the name of a path, by its last "/": the folder of "/a" is "/", of "a" is ".".

#include <string>

namespace tunelark {

inline std::string folderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

inline std::string baseName(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace tunelark
