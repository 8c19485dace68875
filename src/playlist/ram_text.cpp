#include "playlist/ram_text.h"

#include "playlist/line_reading.h"

namespace tunelark {

std::string_view trimLine(std::string_view line) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!line.empty() && blank(line.front())) line.remove_prefix(1);
  while (!line.empty() && blank(line.back())) line.remove_suffix(1);
  return line;
}

RamEntries parseRamText(std::string_view text, std::size_t maxEntries) {
  RamEntries result;
  // Editors on other systems often begin a saved text with a UTF-8 byte order mark; it is not
  // part of the first entry.
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  forEachLine(text, '\n', [&](std::string_view raw) {
    const auto line = trimLine(raw);
    if (line.empty() || line.front() == '#') return true;
    if (line == "--stop--") return false;
    if (result.lines.size() == maxEntries) {
      result.truncated = true;
      return false;
    }
    result.lines.emplace_back(line);
    return true;
  });
  return result;
}

bool looksLikeText(std::string_view bytes) {
  // Every clip container FFmpeg reads for us has binary headers with NUL bytes in them
  // (".RMF\0", "RIFF" sizes, "fLaC" block headers); a playlist never holds one.
  return bytes.find('\0') == std::string_view::npos;
}

}  // namespace tunelark
