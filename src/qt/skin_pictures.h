#pragma once
// Renders the skin's SVG pictures (resources :/skin/<name>.svg) into pixmaps of the exact device
// size, so buttons stay crisp at any device pixel ratio; each rendering is kept for reuse.

#include <QHash>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace tunelark::qt {

class SkinPictures {
 public:
  // The picture at `logical` size for a screen of `dpr`. A picture that is missing or does not
  // parse comes back as a dark placeholder, so a broken skin never costs a control.
  QPixmap pixmap(const QString& name, QSize logical, qreal dpr);
  bool exists(const QString& name) const;
  int cachedCount() const { return static_cast<int>(cache_.size()); }

 private:
  QHash<QString, QPixmap> cache_;
};

}  // namespace tunelark::qt
