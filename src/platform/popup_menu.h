#pragma once
// A popup menu as plain data, and the host service that shows one at the mouse pointer.

#include <string>
#include <vector>

namespace tunelark {

struct MenuItem {
  std::string Caption;  // "&" marks the access key; "-" makes the item a separator
  bool Enabled = true;
};

struct Menu {
  std::string Caption;
  std::vector<MenuItem> items;
};

class PopupMenus {
 public:
  virtual ~PopupMenus() = default;
  // Shows `menu`'s items at the mouse pointer with item `defaultItem` drawn in bold (a separator
  // as the default leaves no item bold) and waits. The index of the item picked, or -1 when
  // the menu was dismissed.
  virtual int PopupMenu(const Menu& menu, int defaultItem) = 0;
};

}  // namespace tunelark
