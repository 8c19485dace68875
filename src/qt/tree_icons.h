#pragma once
// ImageList1: the tree's nine pictures, taken from the desktop icon theme where it has them and
// from the skin's own tree_*.svg pictures where it does not.

#include <QIcon>
#include <QString>
#include <array>
#include <map>
#include <utility>

namespace tunelark::qt {

// The picture's role and where it comes from.
struct TreePictureSource {
  const char* themeNames[2];  // tried in order; nullptr ends the list
  const char* bundled;        // skin picture name, used when the theme has none
};

// Sources of ImageList1's pictures 1..9 (index 0 unused).
const TreePictureSource& treePictureSource(int index);

class TreeIcons {
 public:
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
  bool themeAllowed_ = false;
  std::array<QIcon, 10> pictures_;
  std::array<int, 10> origin_{};  // 0 not loaded, 1 theme, 2 skin
  std::map<std::pair<int, int>, QIcon> nodes_;
};

}  // namespace tunelark::qt
