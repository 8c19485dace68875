#pragma once
// Which skin pictures the main window draws, and at what logical size. Pictures never change on
// a control at run time (looks are made by showing one image and hiding another), so the
// window model alone says what will ever be drawn.

#include <QSize>
#include <QString>
#include <utility>
#include <vector>

namespace tunelark {
class Form1;
}

namespace tunelark::qt {

using SkinPictureUse = std::pair<QString, QSize>;  // picture name, logical size

// Every picture any control can show, the tree's pictures and the program's icon; each pair
// once.
std::vector<SkinPictureUse> allSkinPictureUses(Form1& form);

// The pictures of the window as the model stands: controls shown, in frames shown.
std::vector<SkinPictureUse> shownSkinPictureUses(Form1& form);

}  // namespace tunelark::qt
