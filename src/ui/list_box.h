#pragma once
// A list box with extended multiple selection, as plain data: rows and which are selected.

#include <string>
#include <vector>

#include "ui/control.h"

namespace tunelark {

class ListBox {
 public:
  int ListCount() const { return static_cast<int>(rows_.size()); }
  const std::string& List(int i) const { return rows_.at(i); }
  void setList(int i, std::string text) { rows_.at(i) = std::move(text); }
  void AddItem(std::string text) {
    rows_.push_back(std::move(text));
    selected_.push_back(false);
  }
  void RemoveItem(int i) {
    rows_.erase(rows_.begin() + i);
    selected_.erase(selected_.begin() + i);
  }
  void Clear() {
    rows_.clear();
    selected_.clear();
  }
  bool Selected(int i) const { return selected_.at(i); }
  void setSelected(int i, bool on) { selected_.at(i) = on; }
  // The selected-row count and the selected rows in ascending order (what the list-box
  // selection messages answer).
  int selCount() const;
  std::vector<int> selectedRows() const;

  Control box;  // position and size in its frame

 private:
  std::vector<std::string> rows_;
  std::vector<bool> selected_;
};

}  // namespace tunelark
