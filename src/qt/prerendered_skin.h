#pragma once
// The skin's pictures rendered at build time, at every size the window draws them for a device
// pixel ratio of 1, kept in the program as raw pixels. Drawing one costs no SVG parsing and no
// decoding: the image reads straight from the program's read-only data.
//
// Layout (native byte order): the 8-byte magic, a 32-bit count, 32 reserved bits, `count`
// entries, then the pixels of each entry at its offset, 64-byte aligned, rows packed.

#include <QImage>
#include <QSize>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace tunelark::qt {

struct PrerenderedSkinEntry {
  char name[40];  // NUL-terminated
  std::uint32_t width;
  std::uint32_t height;
  std::uint32_t opaque;  // 1: Format_RGB32, 0: Format_ARGB32_Premultiplied
  std::uint32_t offset;  // from the start of the data
};

class PrerenderedSkin {
 public:
  // No pictures.
  PrerenderedSkin() = default;
  // Reads the index of `data`, which must outlive this object. Data that is not in the layout
  // above, or an entry that does not fit in it, is ignored: those pictures are rendered at run
  // time instead.
  PrerenderedSkin(const unsigned char* data, std::size_t size);

  // The pictures built into the program.
  static const PrerenderedSkin& builtIn();

  // Picture `name` at exactly `device` pixels, or a null image when it was not prerendered.
  QImage find(const QString& name, QSize device) const;
  std::size_t count() const { return pictures_.size(); }

  // `pictures` (name, image) in the layout above; images of other formats are converted.
  static std::vector<unsigned char> encode(const std::vector<std::pair<QString, QImage>>& pictures);

 private:
  struct Picture {
    QString name;
    QSize size;
    QImage::Format format;
    const unsigned char* pixels;
  };
  std::vector<Picture> pictures_;
};

}  // namespace tunelark::qt
