#pragma once
// Replaces a file's contents all at once: the new bytes go to a temporary file in the same
// folder, which is renamed over the target only when every byte is safely on disk. Every file
// the program writes goes through here, so a failed write never leaves a half-written file.

#include <string>
#include <string_view>

namespace tunelark {

// Writes `bytes` as the whole new contents of `path`. Returns true only when the new contents
// are in place and flushed to disk. On false `error` (when given) says what went wrong in words
// a user can read, no temporary file is left behind, and the old file (if any) is
// byte-identical to before, with one exception: when only the final flush of the folder fails,
// the new contents are already in place but may not survive a crash, and that is reported too.
// Temporary files of the same target left by a writer that was killed are removed first, so
// repeated kills never pile them up.
// A target with no write permission bit for anyone is treated as read-only and refused, even
// for root. A symbolic link is followed, so the file it points at is replaced, not the link.
bool writeFileAtomically(const std::string& path, std::string_view bytes,
                         std::string* error = nullptr);

}  // namespace tunelark
