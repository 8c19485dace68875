// The program's icon offers every size desktops ask for, drawn from the built-in pictures.
#include "qt/app_icon.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>

namespace tunelark::qt {
namespace {

TEST(AppIcon, OffersEveryDesktopSizeFromTheBuiltInPictures) {
  SkinPictures skin(&PrerenderedSkin::builtIn());
  const QIcon icon = appIcon(skin);
  const qreal dpr = qApp->devicePixelRatio();
  for (int size : kAppIconSizes) {
    SCOPED_TRACE(size);
    const QImage image = icon.pixmap(QSize(size, size)).toImage();
    EXPECT_EQ(image.size(), QSize(size, size) * dpr);
    // The corners are rounded off and the middle is drawn.
    EXPECT_LT(image.pixelColor(0, 0).alpha(), 255);
    EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() / 2).alpha(), 255);
  }
  if (dpr == 1.0) {
    EXPECT_EQ(skin.cachedCount(), 0) << "every size was built in";
  }
}

}  // namespace
}  // namespace tunelark::qt
