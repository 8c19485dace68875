#pragma once
// The program's icon (window and tray), made of the skin's app_icon picture at the sizes
// desktops ask for, so no SVG icon engine is loaded for it.

#include <QIcon>
#include <array>

#include "qt/skin_pictures.h"

namespace tunelark::qt {

inline constexpr std::array<int, 4> kAppIconSizes = {16, 32, 48, 64};

QIcon appIcon(SkinPictures& skin);

}  // namespace tunelark::qt
