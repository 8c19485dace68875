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
  // A line ends at CR, LF or CR LF: files from every system are found in the wild, and the
  // playlist editor ends its lines at CR, so each line it shows is a line played here too. The
  // empty line between the CR and the LF of a CR LF is skipped like any blank line.
  for (std::size_t start = 0; start < text.size();) {
    auto stop = text.find_first_of("\r\n", start);
    if (stop == std::string_view::npos) stop = text.size();
    const auto line = trimLine(text.substr(start, stop - start));
    start = stop + 1;
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

}  // namespace tunelark
