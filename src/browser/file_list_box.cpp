#include "browser/file_list_box.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <optional>

#include "browser/folder_entries.h"
#include "browser/tree_view.h"
#include "browser/wildcard.h"

namespace tunelark {

namespace {

// The matching files of `folder`, sorted, or nothing when the folder cannot be read.
std::optional<std::vector<std::string>> matchingFiles(const std::string& folder,
                                                      const std::string& pattern) {
  FolderHandle dir = openFolder(folder);
  if (!dir) return std::nullopt;
  const auto patterns = splitPatterns(pattern);
  std::vector<std::string> names;
  if (patterns.empty()) return names;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (name.empty() || name.front() == '.') continue;
    const bool matches = std::any_of(patterns.begin(), patterns.end(),
                                     [&](const std::string& p) { return wildcardMatch(p, name); });
    // The type is looked at only for names that match: most entries are skipped without it.
    if (matches && entryIs(dir.get(), *entry, S_IFREG)) names.emplace_back(name);
  }
  std::sort(names.begin(), names.end(), treeTextLess);
  return names;
}

std::string currentFolder() {
  std::string buffer(256, '\0');
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE || buffer.size() > (1u << 20)) return "/";
    buffer.resize(buffer.size() * 2);
  }
  buffer.resize(buffer.find('\0'));
  return buffer;
}

}  // namespace

FileListBox::FileListBox() : path_(currentFolder()) { Refresh(); }

bool FileListBox::setPath(const std::string& folder) {
  if (folder.empty()) return false;
  auto rows = matchingFiles(folder, pattern_);
  if (!rows) return false;
  path_ = folder;
  replaceRows(std::move(*rows));
  return true;
}

bool FileListBox::Refresh() {
  auto rows = matchingFiles(path_, pattern_);
  replaceRows(rows ? std::move(*rows) : std::vector<std::string>());
  return rows.has_value();
}

void FileListBox::replaceRows(std::vector<std::string> rows) {
  rows_ = std::move(rows);
  selected_.assign(rows_.size(), false);
  listIndex_ = -1;
  ++rowsRevision_;
  ++revision_;
}

int FileListBox::selCount() const {
  return static_cast<int>(std::count(selected_.begin(), selected_.end(), true));
}

std::vector<int> FileListBox::selectedRows() const {
  std::vector<int> out;
  for (size_t i = 0; i < selected_.size(); ++i) {
    if (selected_[i]) out.push_back(static_cast<int>(i));
  }
  return out;
}

}  // namespace tunelark
