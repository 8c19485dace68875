#include "qt/skin_pictures.h"

#include <QFile>
#include <algorithm>
#include <cmath>

#include "qt/skin_render.h"

namespace tunelark::qt {

namespace {

QSize deviceSize(QSize logical, qreal dpr) {
  return QSize(static_cast<int>(std::ceil(logical.width() * dpr)),
               static_cast<int>(std::ceil(logical.height() * dpr)));
}

QString cacheKey(const QString& name, QSize device) {
  return QStringLiteral("%1|%2x%3").arg(name).arg(device.width()).arg(device.height());
}

QImage render(const QString& name, QSize device) {
  return renderSkinFile(name.isEmpty() ? QString() : skinResourcePath(name), device);
}

}  // namespace

SkinPictures::~SkinPictures() {
  if (worker_.joinable()) worker_.join();
}

bool SkinPictures::exists(const QString& name) const {
  return !name.isEmpty() && QFile::exists(skinResourcePath(name));
}

QImage SkinPictures::prerendered(const QString& name, QSize device, qreal dpr) const {
  // Prerendered pixels are for a ratio of exactly 1; any other is rendered for its own size.
  if (!prerendered_ || dpr != 1.0) return {};
  return prerendered_->find(name, device);
}

void SkinPictures::renderAhead(std::vector<std::pair<QString, QSize>> wanted, qreal dpr) {
  collectAhead();
  auto batch = std::make_unique<Batch>();
  for (auto& [name, logical] : wanted) {
    if (logical.isEmpty()) continue;
    const QSize device = deviceSize(logical, dpr);
    if (cache_.contains(cacheKey(name, device)) || !prerendered(name, device, dpr).isNull())
      continue;
    if (!batch->has(name, device)) batch->jobs.push_back({name, device, {}});
  }
  if (batch->jobs.empty()) return;
  // Largest first, so the two threads that share the batch finish close together.
  std::stable_sort(batch->jobs.begin(), batch->jobs.end(), [](const auto& a, const auto& b) {
    return a.device.width() * a.device.height() > b.device.width() * b.device.height();
  });
  batch_ = std::move(batch);
  worker_ = std::thread([batch = batch_.get()] { batch->work(); });
}

bool SkinPictures::Batch::has(const QString& name, QSize device) const {
  return std::any_of(jobs.begin(), jobs.end(),
                     [&](const Job& job) { return job.name == name && job.device == device; });
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
    cache_.insert(cacheKey(job.name, job.device), std::move(job.image));
  batch_.reset();
}

QImage SkinPictures::picture(const QString& name, QSize logical, qreal dpr) {
  if (logical.isEmpty()) return {};
  const QSize device = deviceSize(logical, dpr);
  if (QImage image = prerendered(name, device, dpr); !image.isNull()) return image;
  const QString key = cacheKey(name, device);
  auto it = cache_.find(key);
  // Waiting for the batch only pays when the picture is in it.
  if (it == cache_.end() && batch_ && batch_->has(name, device)) {
    collectAhead();
    it = cache_.find(key);
  }
  if (it == cache_.end()) it = cache_.insert(key, render(name, device));
  // The ratio depends on the asker, not on who rendered it.
  it->setDevicePixelRatio(dpr);
  return *it;
}

QPixmap SkinPictures::pixmap(const QString& name, QSize logical, qreal dpr) {
  QPixmap pm = QPixmap::fromImage(picture(name, logical, dpr), Qt::NoOpaqueDetection);
  pm.setDevicePixelRatio(dpr);
  return pm;
}

}  // namespace tunelark::qt
