#pragma once
// Rewriting the playlist's files. Every write replaces the file whole and atomically; a failed
// write leaves the old file as it was and is shown to the user, while the list in memory keeps
// the edit. The file of a failed load is never a target: its unread lines would go.

#include <string>

namespace tunelark {

class Form1;

inline constexpr const char* kUntitledUnsaved = "PlayList File : Untitled.ram (Not Save)";

struct AppState;

// The file an edit that would write `target` writes. After a failed load that is the working
// list file whatever `target` is, and the working list becomes the current playlist (as after
// New): lastfile, workfile, list mode and caption move to it.
std::string listWriteTarget(Form1& form, const std::string& target);

// Writes entries 0 to entryCount - 1 to `path` and says nothing: the reason in words when the
// write failed, "" when the list is in the file.
std::string writeEntriesQuietly(const AppState& app, const std::string& path, bool skipEmpty);

// Writes entries 0 to entryCount - 1 to `path`, all of them, or only the non-empty ones with
// `skipEmpty`. False when the write failed; the user has been told.
bool writeEntries(Form1& form, const std::string& path, bool skipEmpty);

// Rewrites `path` with the non-empty entries and rebuilds every row of the playlist box.
void writelist(Form1& form, const std::string& path);

// New, Open and Save make a file current again: the guard on the failed file ends, and
// workfile moves off it to the working list file.
void endFailedLoadGuard(Form1& form);

}  // namespace tunelark
