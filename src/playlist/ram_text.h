#pragma once
// Reading the text of a .ram playlist: which lines are entries. Blank lines and "#" comments
// are skipped and a line that is exactly "--stop--" ends the list. Lines are bytes; LF and
// CR LF line ends are both accepted. Text in, structure out: nothing here touches a file.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tunelark::engine {

struct RamEntries {
  std::vector<std::string> lines;  // trimmed entry lines, in order
  bool truncated = false;          // more entries followed than were asked for
};

RamEntries parseRamText(std::string_view text, std::size_t maxEntries);

// True when the bytes read as text (a playlist) rather than as a binary clip.
bool looksLikeText(std::string_view bytes);

}  // namespace tunelark::engine
