#pragma once
// Files handed to the window from outside: named on the command line, passed on by a second
// start, or dropped from a file manager. They are taken as the window's own buttons take files:
// a playlist (.ram) as Open takes the file chosen in its dialog, a clip (.ra, .rm) as Add takes a
// selected clip. What cannot be taken is named in one message box.

#include <string>
#include <vector>

namespace tunelark {

class Form1;

enum class GivenKind { List, Clip, Missing, Folder, Unreadable, Other };

// What `path` is, by what is on disk and its extension (letter case aside).
GivenKind givenKind(const std::string& path);

// `path` made absolute against `cwd` (a relative path) and tidied of "." and "..".
std::string absoluteGiven(const std::string& path, const std::string& cwd);

// Takes `paths` (absolute), in order. Of several playlists the last is the one opened, as if
// each had been opened in turn (each Open replaces the list anyway); then every clip is
// appended, after the playlist, whatever their order on the command line. A playlist that Open
// refuses (too large) is named with the files that cannot be taken.
void takeGivenFiles(Form1& form, const std::vector<std::string>& paths);

}  // namespace tunelark
