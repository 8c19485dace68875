#include "qt/app_icon.h"

#include <QGuiApplication>

namespace tunelark::qt {

QIcon appIcon(SkinPictures& skin) {
  QIcon icon;
  for (int size : kAppIconSizes)
    icon.addPixmap(
        skin.pixmap(QStringLiteral("app_icon"), QSize(size, size), qApp->devicePixelRatio()));
  return icon;
}

}  // namespace tunelark::qt
