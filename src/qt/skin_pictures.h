#pragma once
// Renders the skin's SVG pictures (resources :/skin/<name>.svg) into pixmaps of the exact device
// size, so buttons stay crisp at any device pixel ratio; each rendering is kept for reuse.
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

namespace tunelark::qt {

class SkinPictures {
 public:
  SkinPictures() = default;
  ~SkinPictures();
  SkinPictures(const SkinPictures&) = delete;
  SkinPictures& operator=(const SkinPictures&) = delete;

  // The picture at `logical` size for a screen of `dpr`. A picture that is missing or does not
  // parse comes back as a dark placeholder, so a broken skin never costs a control.
  QPixmap pixmap(const QString& name, QSize logical, qreal dpr);
  bool exists(const QString& name) const;
  int cachedCount();

  // Starts rendering `wanted` (picture name, logical size) for `dpr` on a worker thread; the
  // results join the cache at the next pixmap() call. Only one batch runs at a time.
  void renderAhead(std::vector<std::pair<QString, QSize>> wanted, qreal dpr);

 private:
  // One batch of pictures rendered ahead. Each job is taken by exactly one thread through
  // `next`, and only that thread writes its `image` until the worker is joined.
  struct Batch {
    struct Job {
      QString name;
      QSize device;
      QImage image;
    };
    std::vector<Job> jobs;
    std::atomic<std::size_t> next{0};
    void work();
  };
  void collectAhead();

  QHash<QString, QPixmap> cache_;
  std::unique_ptr<Batch> batch_;
  std::thread worker_;
};

}  // namespace tunelark::qt
