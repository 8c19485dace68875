#include "qt/skin_pictures.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>
#include <cmath>

namespace tunelark::qt {

namespace {

QString resourcePath(const QString& name) { return QStringLiteral(":/skin/%1.svg").arg(name); }

constexpr QRgb kPlaceholder = 0xff1a1f24;

QSize deviceSize(QSize logical, qreal dpr) {
  return QSize(static_cast<int>(std::ceil(logical.width() * dpr)),
               static_cast<int>(std::ceil(logical.height() * dpr)));
}

QString cacheKey(const QString& name, QSize device) {
  return QStringLiteral("%1|%2x%3").arg(name).arg(device.width()).arg(device.height());
}

// Safe off the UI thread: QImage painting and SVG parsing need no GUI thread.
QImage render(const QString& name, QSize device) {
  QImage image(device, QImage::Format_ARGB32_Premultiplied);
  image.fill(kPlaceholder);
  if (name.isEmpty() || !QFile::exists(resourcePath(name))) return image;
  QSvgRenderer renderer(resourcePath(name));
  if (!renderer.isValid()) return image;
  // Transparent first: a picture may leave parts of its box for the frame to show.
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  renderer.render(&p, QRectF(QPointF(0, 0), QSizeF(device)));
  return image;
}

}  // namespace

SkinPictures::~SkinPictures() {
  if (worker_.joinable()) worker_.join();
}

bool SkinPictures::exists(const QString& name) const {
  return !name.isEmpty() && QFile::exists(resourcePath(name));
}

int SkinPictures::cachedCount() {
  collectAhead();
  return static_cast<int>(cache_.size());
}

void SkinPictures::renderAhead(std::vector<std::pair<QString, QSize>> wanted, qreal dpr) {
  collectAhead();
  std::vector<std::pair<QString, QSize>> todo;
  for (auto& [name, logical] : wanted) {
    if (logical.isEmpty()) continue;
    const QSize device = deviceSize(logical, dpr);
    const QString key = cacheKey(name, device);
    if (cache_.contains(key)) continue;
    bool queued = false;
    for (const auto& t : todo) queued = queued || (t.first == name && t.second == device);
    if (!queued) todo.emplace_back(name, device);
  }
  if (todo.empty()) return;
  worker_ = std::thread([this, todo = std::move(todo)] {
    for (const auto& [name, device] : todo)
      ahead_.push_back({cacheKey(name, device), render(name, device)});
  });
}

void SkinPictures::collectAhead() {
  if (!worker_.joinable()) return;
  worker_.join();
  for (Rendered& r : ahead_) {
    QPixmap pm = QPixmap::fromImage(std::move(r.image));
    cache_.insert(r.key, pm);
  }
  ahead_.clear();
}

QPixmap SkinPictures::pixmap(const QString& name, QSize logical, qreal dpr) {
  if (logical.isEmpty()) return {};
  collectAhead();
  const QSize device = deviceSize(logical, dpr);
  const QString key = cacheKey(name, device);
  auto it = cache_.find(key);
  if (it == cache_.end()) it = cache_.insert(key, QPixmap::fromImage(render(name, device)));
  // The ratio depends on the asker, not on who rendered it.
  it->setDevicePixelRatio(dpr);
  return *it;
}

}  // namespace tunelark::qt
