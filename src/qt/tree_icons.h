#pragma once
// ImageList1: the tree's nine pictures, taken from the desktop icon theme where it has them and
// from the skin's own tree_*.svg pictures where it does not.

#include <QIcon>
#include <QString>
#include <array>
#include <map>
#include <utility>

#include "qt/skin_pictures.h"
#include "qt/tree_picture_sources.h"

namespace tunelark::qt {

class TreeIcons {
 public:
  // Skin pictures are rendered through `skin`, which must outlive this object.
  explicit TreeIcons(SkinPictures& skin) : skin_(skin) {}

  // Picture `index` (1..9); an index outside the list gives an empty icon.
  QIcon picture(int index);
  // The icon of a node: `image` normally, `selectedImage` while the node is selected.
  QIcon node(int image, int selectedImage);
  // Whether picture `index` came from the desktop theme (false: from the skin).
  bool fromTheme(int index);
  // Looking the theme up reads the whole icon theme's index, which costs more than the rest of
  // the tree; until this is called (after the window's first frame) the skin's pictures serve.
  // Returns whether any picture changed, so the caller knows to set its nodes' icons again.
  bool useDesktopTheme();

 private:
  void load(int index);
  SkinPictures& skin_;
  bool themeAllowed_ = false;
  std::array<QIcon, 10> pictures_;
  std::array<int, 10> origin_{};  // 0 not loaded, 1 theme, 2 skin
  std::map<std::pair<int, int>, QIcon> nodes_;
};

}  // namespace tunelark::qt
