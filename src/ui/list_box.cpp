#include "ui/list_box.h"

namespace tunelark {

int ListBox::selCount() const {
  int n = 0;
  for (bool s : selected_) n += s ? 1 : 0;
  return n;
}

std::vector<int> ListBox::selectedRows() const {
  std::vector<int> rows;
  for (int i = 0; i < ListCount(); ++i)
    if (selected_[i]) rows.push_back(i);
  return rows;
}

}  // namespace tunelark
