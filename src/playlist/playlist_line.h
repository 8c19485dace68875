#pragma once
// A playlist line and the row that shows it: "file:" + folder + "/" + name in the file, and
// "n. name" in the playlist box, the name looked up on disk whenever rows are rebuilt.

#include <string>
#include <string_view>

namespace tunelark {

// The line for clip `name` in `folder`. No separator is folded: a clip in "/" gives "file://x".
std::string clipLine(std::string_view folder, std::string_view name);

// The path part of a line: everything after its first five characters (the "file:" prefix),
// whatever those five are.
std::string_view linePath(std::string_view line);

// The name under which an ordinary, non-hidden file is stored at `path`, or "" when there is
// none (nothing there, a folder, a device, a hidden file, an empty path).
std::string fileNameOf(const std::string& path);

// The row for entry `index` (counted from 0) with display name `name`: "3. song.ra".
std::string rowText(int index, std::string_view name);

// The row for entry `index` rebuilt from its line, the name looked up on disk.
std::string rowFromLine(int index, std::string_view line);

}  // namespace tunelark
