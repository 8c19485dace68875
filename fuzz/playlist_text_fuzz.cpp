// Fuzz target: the playlist's own reading and writing of its file. Whatever text is read, the
// entries written back must read again as the same entries, and each entry must give a row
// and a path without a crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "playlist/list_text.h"
#include "playlist/playlist_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tunelark;
  if (size < 1) return 0;
  const bool skipSingleSpace = data[0] & 1;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  const ListLines read = readListLines(text, 80, skipSingleSpace);
  if (read.lines.size() > 80) std::abort();
  const std::string written = listFileText(read.lines.data(), read.lines.size(), false);
  const ListLines again = readListLines(written, 80, skipSingleSpace);
  if (again.lines != read.lines || again.more) std::abort();
  int index = 0;
  for (const auto& line : read.lines) {
    rowFromLine(index++, line);
    fileNameOf(std::string(linePath(line)));
  }
  return 0;
}
