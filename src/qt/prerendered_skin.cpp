#include "qt/prerendered_skin.h"

#include <cstring>

namespace tunelark::qt {

namespace {

constexpr char kMagic[8] = {'T', 'L', 'S', 'K', 'I', 'N', '0', '1'};
constexpr std::size_t kHeaderSize = sizeof kMagic + 2 * sizeof(std::uint32_t);
constexpr std::size_t kAlign = 64;

std::size_t alignUp(std::size_t n) { return (n + kAlign - 1) / kAlign * kAlign; }

}  // namespace

PrerenderedSkin::PrerenderedSkin(const unsigned char* data, std::size_t size) {
  if (!data || size < kHeaderSize || std::memcmp(data, kMagic, sizeof kMagic) != 0) return;
  std::uint32_t count = 0;
  std::memcpy(&count, data + sizeof kMagic, sizeof count);
  if (count > (size - kHeaderSize) / sizeof(PrerenderedSkinEntry)) return;
  for (std::uint32_t i = 0; i < count; ++i) {
    PrerenderedSkinEntry e;
    std::memcpy(&e, data + kHeaderSize + i * sizeof e, sizeof e);
    const std::size_t bytes = std::size_t{e.width} * e.height * 4;
    const bool named = std::memchr(e.name, '\0', sizeof e.name) != nullptr;
    // Sizes are capped so the byte count cannot wrap and QImage can hold them.
    if (!named || e.width == 0 || e.height == 0 || e.width > 8192 || e.height > 8192 ||
        e.offset % kAlign != 0 || e.offset > size || bytes > size - e.offset)
      continue;
    pictures_.push_back({QString::fromLatin1(e.name), QSize(int(e.width), int(e.height)),
                         e.opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied,
                         data + e.offset});
  }
}

QImage PrerenderedSkin::find(const QString& name, QSize device) const {
  for (const Picture& p : pictures_)
    if (p.size == device && p.name == name)
      return QImage(p.pixels, p.size.width(), p.size.height(), p.size.width() * 4, p.format);
  return {};
}

std::vector<unsigned char> PrerenderedSkin::encode(
    const std::vector<std::pair<QString, QImage>>& pictures) {
  std::vector<PrerenderedSkinEntry> entries;
  std::size_t offset = alignUp(kHeaderSize + pictures.size() * sizeof(PrerenderedSkinEntry));
  for (const auto& [name, image] : pictures) {
    PrerenderedSkinEntry e{};
    const QByteArray latin = name.toLatin1();
    std::memcpy(e.name, latin.constData(),
                std::min<std::size_t>(std::size_t(latin.size()), sizeof e.name - 1));
    e.width = std::uint32_t(image.width());
    e.height = std::uint32_t(image.height());
    e.opaque = image.format() == QImage::Format_RGB32 ? 1 : 0;
    e.offset = std::uint32_t(offset);
    entries.push_back(e);
    offset = alignUp(offset + std::size_t(image.width()) * image.height() * 4);
  }
  std::vector<unsigned char> out(offset, 0);
  std::memcpy(out.data(), kMagic, sizeof kMagic);
  const auto count = std::uint32_t(entries.size());
  std::memcpy(out.data() + sizeof kMagic, &count, sizeof count);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    std::memcpy(out.data() + kHeaderSize + i * sizeof entries[i], &entries[i], sizeof entries[i]);
    const QImage image = pictures[i].second.convertToFormat(
        entries[i].opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < image.height(); ++y)
      std::memcpy(out.data() + entries[i].offset + std::size_t(y) * image.width() * 4,
                  image.constScanLine(y), std::size_t(image.width()) * 4);
  }
  return out;
}

}  // namespace tunelark::qt
