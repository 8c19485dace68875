#pragma once
// The pieces both readers of playlist text share: splitting text into lines and trimming one.
// The two reading rules differ in which byte ends a line; what a line is stays the same bytes.

#include <string_view>

namespace tunelark {

// Calls `take(line)` for each line of `text`, in order. A line ends at `end`, which is not part
// of it; after a CR end, one LF that follows belongs to the end too. Text after the last end is
// a line when it is not empty, so a final line end does not make an empty last line.
template <typename Take>
void forEachLine(std::string_view text, char end, Take&& take) {
  std::size_t start = 0;
  while (start < text.size()) {
    auto stop = text.find(end, start);
    if (stop == std::string_view::npos) stop = text.size();
    if (!take(text.substr(start, stop - start))) return;
    start = stop + 1;
    if (end == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
}

// The line without surrounding blanks and line-end bytes (CR LF files end lines in CR).
std::string_view trimLine(std::string_view line);

}  // namespace tunelark
