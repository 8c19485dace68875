#pragma once
// The playlist's own file format: one entry per line, every line ended by CR LF, bytes kept
// exactly as they are. Reading is strict in the other direction: a line ends only at a CR (an
// LF that follows it belongs to the line end), so a file written with LF alone is one line.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tunelark {

struct ListLines {
  std::vector<std::string> lines;  // at most the number asked for, verbatim
  bool more = false;               // further entry lines were read and left out
};

// The entry lines of a playlist file's text. With `skipSingleSpace` a line that is exactly one
// space is no entry (Open reads files that way; the start-up load does not).
ListLines readListLines(std::string_view text, std::size_t maxEntries, bool skipSingleSpace);

// False for bytes that are no playlist of any kind: a RealMedia clip (".RMF", or ".ra" and
// 0xFD), or anything holding a NUL byte. Such a file is never loaded as a list nor written over.
bool isPlaylistText(std::string_view bytes);

// The text of a playlist file holding `lines`, each followed by CR LF. With `skipEmpty` an
// empty line is left out instead of being written as an empty line.
std::string listFileText(const std::string* lines, std::size_t count, bool skipEmpty);

}  // namespace tunelark
