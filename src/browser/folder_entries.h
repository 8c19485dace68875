#pragma once
// Reading a folder's entries: the folder handle closed on every path out, and an entry's kind
// told from the listing where it says, from the file itself (links followed) where it does not.

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <memory>
#include <string>

namespace tunelark {

struct DirCloser {
  void operator()(DIR* d) const { ::closedir(d); }
};
using FolderHandle = std::unique_ptr<DIR, DirCloser>;

inline FolderHandle openFolder(const std::string& folder) {
  return FolderHandle(::opendir(folder.c_str()));
}

// True when `entry` of `dir` is a regular file (`fileType` S_IFREG, listed as DT_REG) or a
// folder (S_IFDIR, DT_DIR); a link counts as what it points to, and a dangling link as nothing.
inline bool entryIs(DIR* dir, const dirent& entry, mode_t fileType) {
  const unsigned char listed = fileType == S_IFDIR ? DT_DIR : DT_REG;
  if (entry.d_type == listed) return true;
  if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK) return false;
  struct stat st {};
  return ::fstatat(::dirfd(dir), entry.d_name, &st, 0) == 0 && (st.st_mode & S_IFMT) == fileType;
}

}  // namespace tunelark
