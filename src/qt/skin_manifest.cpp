#include "qt/skin_manifest.h"

#include <algorithm>
#include <string>

#include "qt/app_icon.h"
#include "qt/tree_picture_sources.h"
#include "qt/twips.h"
#include "ui/form1.h"
#include "ui/form1_layout.h"

namespace tunelark::qt {

namespace {

bool hasPicture(const Control& c) {
  return (c.kind == ControlKind::Image || c.kind == ControlKind::PictureBox) &&
         !c.picture.empty() && c.width > 0 && c.height > 0;
}

void addOnce(std::vector<SkinPictureUse>& uses, SkinPictureUse use) {
  if (std::find(uses.begin(), uses.end(), use) == uses.end()) uses.push_back(std::move(use));
}

}  // namespace

std::vector<SkinPictureUse> allSkinPictureUses(Form1& form) {
  std::vector<SkinPictureUse> uses;
  for (Control* c : form.controls())
    if (hasPicture(*c)) addOnce(uses, {QString::fromStdString(c->picture), pxRect(*c).size()});
  for (int i = 1; i <= 9; ++i)
    addOnce(uses, {QString::fromLatin1(treePictureSource(i).bundled),
                   QSize(kTreePictureSize, kTreePictureSize)});
  for (int size : kAppIconSizes) addOnce(uses, {QStringLiteral("app_icon"), QSize(size, size)});
  return uses;
}

std::vector<SkinPictureUse> shownSkinPictureUses(Form1& form) {
  std::vector<SkinPictureUse> uses;
  for (const LayoutRow& row : form1Layout()) {
    const Control& c = form.control(row.control);
    if (hasPicture(c) && form.isShown(row.control))
      addOnce(uses, {QString::fromStdString(c.picture), pxRect(c).size()});
  }
  return uses;
}

}  // namespace tunelark::qt
