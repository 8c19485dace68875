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
  struct Rendered {
    QString key;
    QImage image;
  };
  void collectAhead();

  QHash<QString, QPixmap> cache_;
  // Written only by the worker until it is joined in collectAhead(); never touched by the UI
  // thread while the worker runs.
  std::vector<Rendered> ahead_;
  std::thread worker_;
};

}  // namespace tunelark::qt
