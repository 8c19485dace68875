#include "player/engine/ram_text.h"

#include "player/engine/source_line.h"

namespace tunelark::engine {

RamEntries parseRamText(std::string_view text, std::size_t maxEntries) {
  RamEntries result;
  // Editors on other systems often begin a saved text with a UTF-8 byte order mark; it is not
  // part of the first entry.
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::size_t start = 0;
  while (start < text.size()) {
    auto end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const auto line = trimLine(text.substr(start, end - start));
    start = end + 1;
    if (line.empty() || line.front() == '#') continue;
    if (line == "--stop--") break;
    if (result.lines.size() == maxEntries) {
      result.truncated = true;
      break;
    }
    result.lines.emplace_back(line);
  }
  return result;
}

bool looksLikeText(std::string_view bytes) {
  // Every clip container FFmpeg reads for us has binary headers with NUL bytes in them
  // (".RMF\0", "RIFF" sizes, "fLaC" block headers); a playlist never holds one.
  return bytes.find('\0') == std::string_view::npos;
}

}  // namespace tunelark::engine
