#pragma once
// The skin's pictures at the exact device size of the control that draws them, so buttons stay
// crisp at any device pixel ratio. Pictures prerendered at build time serve as they are;
// others are rendered from the SVG resources (:/skin/<name>.svg) and kept for reuse.
// The pictures of the first frame can be rendered ahead on a worker thread while the window is
// still being built.

#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <atomic>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "qt/prerendered_skin.h"

namespace tunelark::qt {

class SkinPictures {
 public:
  // `prerendered`, when given, must outlive this object.
  explicit SkinPictures(const PrerenderedSkin* prerendered = nullptr) : prerendered_(prerendered) {}
  ~SkinPictures();
  SkinPictures(const SkinPictures&) = delete;
  SkinPictures& operator=(const SkinPictures&) = delete;

  // The picture at `logical` size for a screen of `dpr`. A picture that is missing or does not
  // parse comes back as a dark placeholder, so a broken skin never costs a control.
  QImage picture(const QString& name, QSize logical, qreal dpr);
  QPixmap pixmap(const QString& name, QSize logical, qreal dpr);
  bool exists(const QString& name) const;

  // Starts rendering `wanted` (picture name, logical size) for `dpr` on a worker thread; the
  // results join the cache when a picture of the batch is first asked for. Pictures that are
  // prerendered or already kept are skipped. Only one batch runs at a time.
  void renderAhead(std::vector<std::pair<QString, QSize>> wanted, qreal dpr);

 private:
  // One batch of pictures rendered ahead. Each job is taken by exactly one thread through
  // `next`, and only that thread writes its `image` until the worker is joined; names and
  // sizes are fixed before the worker starts, so any thread may read them.
  struct Batch {
    struct Job {
      QString name;
      QSize device;
      QImage image;
    };
    std::vector<Job> jobs;
    std::atomic<std::size_t> next{0};
    bool has(const QString& name, QSize device) const;
    void work();
  };
  void collectAhead();
  QImage prerendered(const QString& name, QSize device, qreal dpr) const;

  const PrerenderedSkin* prerendered_;
  QHash<QString, QImage> cache_;
  std::unique_ptr<Batch> batch_;
  std::thread worker_;
};

}  // namespace tunelark::qt
