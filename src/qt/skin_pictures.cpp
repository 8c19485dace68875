#include "qt/skin_pictures.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>
#include <cmath>

namespace tunelark::qt {

namespace {

QString resourcePath(const QString& name) { return QStringLiteral(":/skin/%1.svg").arg(name); }

constexpr QRgb kPlaceholder = 0xff1a1f24;

}  // namespace

bool SkinPictures::exists(const QString& name) const {
  return !name.isEmpty() && QFile::exists(resourcePath(name));
}

QPixmap SkinPictures::pixmap(const QString& name, QSize logical, qreal dpr) {
  if (logical.isEmpty()) return {};
  const QSize device(static_cast<int>(std::ceil(logical.width() * dpr)),
                     static_cast<int>(std::ceil(logical.height() * dpr)));
  const QString key = QStringLiteral("%1|%2x%3").arg(name).arg(device.width()).arg(device.height());
  if (auto it = cache_.constFind(key); it != cache_.constEnd()) return *it;

  QPixmap pm(device);
  pm.fill(QColor::fromRgba(kPlaceholder));
  if (exists(name)) {
    QSvgRenderer renderer(resourcePath(name));
    if (renderer.isValid()) {
      // Fill transparent first: a picture may leave parts of its box for the frame to show.
      pm.fill(Qt::transparent);
      QPainter p(&pm);
      p.setRenderHint(QPainter::Antialiasing);
      p.setRenderHint(QPainter::SmoothPixmapTransform);
      renderer.render(&p, QRectF(QPointF(0, 0), QSizeF(device)));
    }
  }
  pm.setDevicePixelRatio(dpr);
  cache_.insert(key, pm);
  return pm;
}

}  // namespace tunelark::qt
