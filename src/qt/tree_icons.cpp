#include "qt/tree_icons.h"

#include <QGuiApplication>
#include <QPixmap>

namespace tunelark::qt {

void TreeIcons::load(int index) {
  if (origin_[index] != 0) return;
  const TreePictureSource& source = treePictureSource(index);
  for (const char* name : source.themeNames) {
    if (themeAllowed_ && name && QIcon::hasThemeIcon(QString::fromLatin1(name))) {
      pictures_[index] = QIcon::fromTheme(QString::fromLatin1(name));
      origin_[index] = 1;
      return;
    }
  }
  // Rendered straight from the skin: an SVG icon would load the icon engine plugin and parse
  // the file again for every size the view asks about.
  pictures_[index] =
      QIcon(skin_.pixmap(QString::fromLatin1(source.bundled),
                         QSize(kTreePictureSize, kTreePictureSize), qApp->devicePixelRatio()));
  origin_[index] = 2;
}

QIcon TreeIcons::picture(int index) {
  if (index < 1 || index > 9) return QIcon();
  load(index);
  return pictures_[index];
}

bool TreeIcons::fromTheme(int index) {
  if (index < 1 || index > 9) return false;
  load(index);
  return origin_[index] == 1;
}

bool TreeIcons::useDesktopTheme() {
  if (themeAllowed_) return false;
  themeAllowed_ = true;
  bool changed = false;
  for (int i = 1; i <= 9; ++i) {
    if (origin_[i] == 0) continue;
    origin_[i] = 0;
    load(i);
    changed = changed || origin_[i] == 1;
  }
  if (changed) nodes_.clear();
  return changed;
}

QIcon TreeIcons::node(int image, int selectedImage) {
  if (image == selectedImage) return picture(image);
  auto it = nodes_.find({image, selectedImage});
  if (it != nodes_.end()) return it->second;
  // The view draws a selected item's icon in the Selected mode, so that mode carries the
  // selected picture.
  QIcon combined;
  const QIcon normal = picture(image);
  const QIcon selected = picture(selectedImage);
  combined.addPixmap(normal.pixmap(kTreePictureSize, kTreePictureSize), QIcon::Normal);
  combined.addPixmap(selected.pixmap(kTreePictureSize, kTreePictureSize), QIcon::Selected);
  return nodes_.emplace(std::make_pair(image, selectedImage), combined).first->second;
}

}  // namespace tunelark::qt
