#include "browser/scan_folder.h"

#include "browser/folder_entries.h"

namespace tunelark {

std::optional<std::vector<std::string>> listSubfolders(const std::string& folder) {
  FolderHandle dir = openFolder(folder);
  if (!dir) return std::nullopt;
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (entryIs(dir.get(), *entry, S_IFDIR)) names.emplace_back(name);
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
