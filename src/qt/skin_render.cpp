#include "qt/skin_render.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

namespace tunelark::qt {

namespace {

constexpr QRgb kPlaceholder = 0xff1a1f24;

QImage withoutUnusedAlpha(QImage image) {
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(line[x]) != 255) return image;
  }
  image.reinterpretAsFormat(QImage::Format_RGB32);
  return image;
}

}  // namespace

QString skinResourcePath(const QString& name) { return QStringLiteral(":/skin/%1.svg").arg(name); }

QImage renderSkinFile(const QString& file, QSize device) {
  QImage image(device, QImage::Format_ARGB32_Premultiplied);
  image.fill(kPlaceholder);
  if (!QFile::exists(file)) return withoutUnusedAlpha(std::move(image));
  QSvgRenderer renderer(file);
  if (!renderer.isValid()) return withoutUnusedAlpha(std::move(image));
  // Transparent first: a picture may leave parts of its box for the frame to show.
  image.fill(Qt::transparent);
  {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    renderer.render(&p, QRectF(QPointF(0, 0), QSizeF(device)));
  }
  return withoutUnusedAlpha(std::move(image));
}

}  // namespace tunelark::qt
