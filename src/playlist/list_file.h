#pragma once
// Rewriting the playlist's files. Every write replaces the file whole and atomically; a failed
// write leaves the old file as it was and is shown to the user, while the list in memory keeps
// the edit. The partly read file of a failed load is never a target: its unread lines would go.

#include <string>

namespace tunelark {

class Form1;

// `target`, or the working list file (which workfile then names) when `target` is the file a
// load failed on part-way.
std::string listWriteTarget(Form1& form, const std::string& target);

// Writes entries 0 to entryCount - 1 to `path`, all of them, or only the non-empty ones with
// `skipEmpty`. False when the write failed; the user has been told.
bool writeEntries(Form1& form, const std::string& path, bool skipEmpty);

// Rewrites `path` with the non-empty entries and rebuilds every row of the playlist box.
void writelist(Form1& form, const std::string& path);

// New, Open and Save make a file current again: the guard on the partly read file ends, and
// workfile moves off it to the working list file.
void endPartlyReadGuard(Form1& form);

}  // namespace tunelark
