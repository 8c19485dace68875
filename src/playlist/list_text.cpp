#include "playlist/list_text.h"

#include "playlist/line_reading.h"

namespace tunelark {

ListLines readListLines(std::string_view text, std::size_t maxEntries, bool skipSingleSpace) {
  ListLines result;
  forEachLine(text, '\r', [&](std::string_view line) {
    if (skipSingleSpace && line == " ") return true;
    if (result.lines.size() < maxEntries) {
      result.lines.emplace_back(line);
    } else {
      // Lines past the limit are read and ignored: the reading still runs to the end.
      result.more = true;
    }
    return true;
  });
  return result;
}

bool isPlaylistText(std::string_view bytes) {
  if (bytes.starts_with(".RMF") || bytes.starts_with(".ra\xFD")) return false;
  return bytes.find('\0') == std::string_view::npos;
}

std::string listFileText(const std::string* lines, std::size_t count, bool skipEmpty) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) {
    if (skipEmpty && lines[i].empty()) continue;
    text += lines[i];
    text += "\r\n";
  }
  return text;
}

}  // namespace tunelark
