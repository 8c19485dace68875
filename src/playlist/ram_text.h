#pragma once
// The player's reading of a .ram text, as such files are found in the wild: which lines are
// entries. Blank lines and "#" comments are skipped and a line that is exactly "--stop--" ends
// the list. Lines are bytes; CR, LF and CR LF all end a line. Text in, structure out:
// nothing here touches a file. (The playlist editor reads its own files by a stricter rule, in
// list_text.h.)

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tunelark {

struct RamEntries {
  std::vector<std::string> lines;  // trimmed entry lines, in order
  bool truncated = false;          // more entries followed than were asked for
};

RamEntries parseRamText(std::string_view text, std::size_t maxEntries);

// True when the bytes read as text (a playlist) rather than as a binary clip.
bool looksLikeText(std::string_view bytes);

}  // namespace tunelark
