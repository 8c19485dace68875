#include "browser/scan_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <memory>

namespace tunelark {

namespace {

struct DirCloser {
  void operator()(DIR* d) const { ::closedir(d); }
};

bool isFolderEntry(DIR* dir, const dirent& entry) {
  if (entry.d_type == DT_DIR) return true;
  if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK) return false;
  struct stat st {};
  return ::fstatat(::dirfd(dir), entry.d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::optional<std::vector<std::string>> listSubfolders(const std::string& folder) {
  std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
  if (!dir) return std::nullopt;
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (isFolderEntry(dir.get(), *entry)) names.emplace_back(name);
  }
  return names;
}

std::string folderOfKey(const std::string& key) {
  return key.size() >= 3 ? key.substr(0, key.size() - 3) : std::string();
}

std::string childKey(const std::string& folder, const std::string& name) {
  std::string key = folder;
  if (key.empty() || key.back() != '/') key.push_back('/');
  key += name;
  key += "Dir";
  return key;
}

void scanfolder(TreeView& tree, TreeNode& node) {
  const std::string folder = folderOfKey(node.Key);
  // Added in file-system order and sorted once at the end, instead of one sorted insert each.
  node.Sorted = false;
  if (auto names = listSubfolders(folder)) {
    for (const auto& name : *names) tree.Add(node.Key, childKey(folder, name), name, 8, 9);
  }
  tree.setSorted(node);
  node.Expanded = false;
}

}  // namespace tunelark
