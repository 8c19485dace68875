#include "qt/skin_pictures.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>
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
  auto batch = std::make_unique<Batch>();
  for (auto& [name, logical] : wanted) {
    if (logical.isEmpty()) continue;
    const QSize device = deviceSize(logical, dpr);
    if (cache_.contains(cacheKey(name, device))) continue;
    bool queued = false;
    for (const auto& job : batch->jobs)
      queued = queued || (job.name == name && job.device == device);
    if (!queued) batch->jobs.push_back({name, device, {}});
  }
  if (batch->jobs.empty()) return;
  // Largest first, so the two threads that share the batch finish close together.
  std::stable_sort(batch->jobs.begin(), batch->jobs.end(), [](const auto& a, const auto& b) {
    return a.device.width() * a.device.height() > b.device.width() * b.device.height();
  });
  batch_ = std::move(batch);
  worker_ = std::thread([batch = batch_.get()] { batch->work(); });
}

void SkinPictures::Batch::work() {
  for (std::size_t i = next++; i < jobs.size(); i = next++)
    jobs[i].image = render(jobs[i].name, jobs[i].device);
}

void SkinPictures::collectAhead() {
  if (!batch_) return;
  // Rather than wait idle, this thread takes the jobs the worker has not started.
  batch_->work();
  worker_.join();
  for (auto& job : batch_->jobs)
    cache_.insert(cacheKey(job.name, job.device), QPixmap::fromImage(std::move(job.image)));
  batch_.reset();
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
