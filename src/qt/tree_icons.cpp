#include "qt/tree_icons.h"

#include <QPixmap>

namespace tunelark::qt {

namespace {

constexpr std::array<TreePictureSource, 10> kSources = {{
    {{nullptr, nullptr}, nullptr},
    {{"computer", nullptr}, "tree_computer"},
    {{"media-floppy", nullptr}, "tree_floppy"},
    {{"drive-harddisk", nullptr}, "tree_harddisk"},
    {{"media-optical", nullptr}, "tree_optical"},
    {{"drive-removable-media", nullptr}, "tree_removable"},
    {{"network-server", "folder-remote"}, "tree_network"},
    // Themes rarely draw a RAM disk; only a dedicated picture keeps it apart from a hard disk.
    {{"media-memory", nullptr}, "tree_ram"},
    {{"folder", nullptr}, "tree_folder"},
    {{"folder-open", nullptr}, "tree_folder_open"},
}};

}  // namespace

const TreePictureSource& treePictureSource(int index) {
  return kSources.at(index >= 1 && index <= 9 ? index : 0);
}

void TreeIcons::load(int index) {
  if (origin_[index] != 0) return;
  const TreePictureSource& source = kSources[index];
  for (const char* name : source.themeNames) {
    if (themeAllowed_ && name && QIcon::hasThemeIcon(QString::fromLatin1(name))) {
      pictures_[index] = QIcon::fromTheme(QString::fromLatin1(name));
      origin_[index] = 1;
      return;
    }
  }
  pictures_[index] = QIcon(QStringLiteral(":/skin/%1.svg").arg(QLatin1String(source.bundled)));
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
  for (int size : {16, 24, 32, 48}) {
    combined.addPixmap(normal.pixmap(size, size), QIcon::Normal);
    combined.addPixmap(selected.pixmap(size, size), QIcon::Selected);
  }
  return nodes_.emplace(std::make_pair(image, selectedImage), combined).first->second;
}

}  // namespace tunelark::qt
