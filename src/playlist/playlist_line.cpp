#include "playlist/playlist_line.h"

#include <sys/stat.h>

#include "platform/path_parts.h"

namespace tunelark {

std::string clipLine(std::string_view folder, std::string_view name) {
  std::string line = "file:";
  line += folder;
  line += '/';
  line += name;
  return line;
}

std::string_view linePath(std::string_view line) {
  return line.size() <= 5 ? std::string_view() : line.substr(5);
}

std::string fileNameOf(const std::string& path) {
  std::string name = baseName(path);
  if (name.empty() || name.front() == '.') return {};
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
  return name;
}

std::string rowText(int index, std::string_view name) {
  std::string row = std::to_string(index + 1);
  row += ". ";
  row += name;
  return row;
}

std::string rowFromLine(int index, std::string_view line) {
  return rowText(index, fileNameOf(std::string(linePath(line))));
}

}  // namespace tunelark
