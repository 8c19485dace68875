#pragma once
// The clip list (File1) as plain data: the regular, non-hidden files of one folder whose names
// match one of its wildcard patterns, sorted by name, with extended multiple selection.
// Names are kept as the bytes the file system stores; only the display converts them.

#include <string>
#include <vector>

#include "ui/control.h"

namespace tunelark {

class FileListBox {
 public:
  // Starts on the process's current folder with the design-time pattern, already listed.
  FileListBox();

  const std::string& Path() const { return path_; }
  // Points the list at `folder` and lists it. A folder that cannot be read fails and leaves
  // path, rows and selection as they were.
  bool setPath(const std::string& folder);

  // ";"-separated wildcards; an empty pattern lists nothing. Takes effect at the next Refresh.
  const std::string& Pattern() const { return pattern_; }
  void setPattern(std::string pattern) { pattern_ = std::move(pattern); }

  // Lists Path again. When the folder can no longer be read the list is emptied (its files
  // are gone for this program) and false is returned.
  bool Refresh();

  int ListCount() const { return static_cast<int>(rows_.size()); }
  const std::string& List(int i) const { return rows_.at(i); }

  // The current row, -1 for none; FileName is its name, "" for none.
  int ListIndex() const { return listIndex_; }
  void setListIndex(int i) {
    listIndex_ = (i >= 0 && i < ListCount()) ? i : -1;
    ++revision_;
  }
  std::string FileName() const { return listIndex_ < 0 ? std::string() : rows_[listIndex_]; }

  bool Selected(int i) const { return selected_.at(i); }
  void setSelected(int i, bool on) {
    selected_.at(i) = on;
    ++revision_;
  }
  // The selected-row count and the selected rows in ascending order (what the list-box
  // selection messages answer).
  int selCount() const;
  std::vector<int> selectedRows() const;

  // Bumped whenever the rows change (rowsRevision) or the rows or the selection (revision), so
  // a view can tell what it has to redraw.
  unsigned long rowsRevision() const { return rowsRevision_; }
  unsigned long revision() const { return revision_; }

  Control box;  // position and size in the browser area

 private:
  void replaceRows(std::vector<std::string> rows);

  std::string path_;
  std::string pattern_ = "*.rm;*.ra;*.ram";
  std::vector<std::string> rows_;
  std::vector<bool> selected_;
  int listIndex_ = -1;
  unsigned long rowsRevision_ = 0;
  unsigned long revision_ = 0;
};

}  // namespace tunelark
