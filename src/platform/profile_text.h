#pragma once
// The text of an initialisation file ("[section]" headers followed by "key=value" lines) read
// and edited the way the Windows private profile calls do it, with no file access: text in,
// value or new text out.

#include <optional>
#include <string>
#include <string_view>

namespace tunelark {

// The value of `key` in `section`, or nothing when there is no such section or key. Names are
// compared without regard to (ASCII) case after trimming; the first matching section and the
// first matching key in it win. Values are trimmed and one pair of matching quotes ('...' or
// "...") around them is removed; everything else, a ";" included, is part of the value.
std::optional<std::string> findProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key);

// `text` with `key` in `section` set to `value`: the key's line is replaced, or the key is added
// at the end of its section, or the section is added at the end of the text. Every other line
// keeps its bytes and its line ending. Returns nothing when the names or the value cannot be
// stored so that they read back the same (a line break or NUL in any of them, "]" in the
// section, "=" in the key, or a name that is empty after trimming).
std::optional<std::string> setProfileValue(std::string_view text, std::string_view section,
                                           std::string_view key, std::string_view value);

}  // namespace tunelark
