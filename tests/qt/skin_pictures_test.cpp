// Skin pictures: rendered at the device size and reused, a missing one still a box to draw; the
// built-in ones exactly what the SVG skin renders, damaged tables of them not trusted; and the
// program's icon drawn from them.
#include "qt/skin_pictures.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <cstring>

#include "qt/app_icon.h"
#include "qt/prerendered_skin.h"
#include "qt/skin_manifest.h"
#include "qt/skin_render.h"
#include "support/fake_host.h"
#include "ui/form1.h"

namespace tunelark::qt {
namespace {

QImage argb(const QImage& image) { return image.convertToFormat(QImage::Format_ARGB32); }

TEST(SkinPictures, RenderedAtDeviceSizeWithContentReusedPerSizeMissingOnesAreDarkBoxes) {
  SkinPictures skin;
  // Fractional ratios round the device size up, so the picture covers the whole control.
  for (qreal dpr : {1.0, 1.25, 1.5, 2.0}) {
    const QImage pm = skin.picture(QStringLiteral("exit"), QSize(45, 15), dpr);
    EXPECT_EQ(pm.size(), QSize(qCeil(45 * dpr), qCeil(15 * dpr))) << dpr;
    EXPECT_DOUBLE_EQ(pm.devicePixelRatio(), dpr);
  }
  const QImage a = skin.picture(QStringLiteral("play"), QSize(45, 15), 1.0);
  QImage flat(a.size(), a.format());
  flat.fill(a.pixel(0, 0));
  EXPECT_NE(a, flat) << "a real button face is not one flat colour";
  EXPECT_EQ(a.cacheKey(), skin.picture(QStringLiteral("play"), QSize(45, 15), 1.0).cacheKey());
  const QImage missing = skin.picture(QStringLiteral("no_such_picture"), QSize(10, 6), 1.0);
  ASSERT_EQ(missing.size(), QSize(10, 6));
  EXPECT_EQ(missing.pixelColor(5, 3).alpha(), 255);
  EXPECT_LT(missing.pixelColor(5, 3).lightness(), 48);

  // Rendered ahead: duplicates once, empty sizes skipped, the same as on demand and reused.
  SkinPictures ahead;
  const QString play = QStringLiteral("play");
  ahead.renderAhead({{play, QSize(45, 15)},
                     {play, QSize(45, 15)},
                     {QStringLiteral("no_such_picture"), QSize(8, 8)},
                     {QStringLiteral("exit"), QSize(0, 15)}},
                    2.0);
  const QImage b = ahead.picture(play, QSize(45, 15), 2.0);
  EXPECT_EQ(argb(b), argb(skin.picture(play, QSize(45, 15), 2.0)));
  EXPECT_EQ(b.cacheKey(), ahead.picture(play, QSize(45, 15), 2.0).cacheKey());
}

// At a ratio of 1 the window draws these very pixels: nothing is rendered again at run time.
TEST(PrerenderedSkin, HoldsEveryPictureTheWindowDrawsAsTheSkinRendersIt) {
  AppState app;
  tunelark::testing::FakeHost host;
  Form1 form(app, host);
  const PrerenderedSkin& built = PrerenderedSkin::builtIn();
  SkinPictures drawn(&built);
  const auto uses = allSkinPictureUses(form);
  ASSERT_GT(uses.size(), 30u);
  EXPECT_EQ(built.count(), uses.size());
  for (const auto& [name, size] : uses) {
    const QImage stored = built.find(name, size);
    ASSERT_FALSE(stored.isNull()) << name.toStdString();
    EXPECT_EQ(argb(stored), argb(renderSkinFile(skinResourcePath(name), size)))
        << name.toStdString();
    EXPECT_EQ(drawn.picture(name, size, 1.0).constBits(), stored.constBits());
  }
  EXPECT_TRUE(built.find(QStringLiteral("play"), QSize(1, 1)).isNull());
}

// Read back as written; too short, a wrong magic, a huge count, or an entry that lies about its
// size, offset or name: what does not fit is dropped, never read.
TEST(PrerenderedSkin, ReadsBackWhatWasEncodedAndIgnoresDamagedData) {
  QImage opaque(3, 2, QImage::Format_RGB32);
  opaque.fill(QColor(10, 20, 30));
  QImage clear(4, 5, QImage::Format_ARGB32_Premultiplied);
  clear.fill(Qt::transparent);
  clear.setPixelColor(1, 1, QColor(200, 0, 0, 128));
  const std::vector<std::pair<QString, QImage>> pictures = {{"a", opaque}, {"b", clear}};
  const std::vector<unsigned char> data = PrerenderedSkin::encode(pictures);
  const PrerenderedSkin skin(data.data(), data.size());
  ASSERT_EQ(skin.count(), 2u);
  for (const auto& [name, image] : pictures) {
    EXPECT_EQ(skin.find(name, image.size()).format(), image.format());
    EXPECT_EQ(argb(skin.find(name, image.size())), argb(image));
  }

  PrerenderedSkinEntry first, last;
  std::memcpy(&first, data.data() + 16, sizeof first);
  std::memcpy(&last, data.data() + 16 + sizeof last, sizeof last);
  EXPECT_EQ(PrerenderedSkin(data.data(), 15).count(), 0u) << "shorter than the header";
  EXPECT_EQ(PrerenderedSkin(data.data(), last.offset + last.width * last.height * 4 - 1).count(),
            1u)
      << "the last picture's pixels cut short";
  const auto countAfter = [&data](std::size_t at, const void* bytes, std::size_t size) {
    std::vector<unsigned char> damaged = data;
    std::memcpy(damaged.data() + at, bytes, size);
    return PrerenderedSkin(damaged.data(), damaged.size()).count();
  };
  const unsigned char wrongMagic = data[0] ^ 0xff;
  EXPECT_EQ(countAfter(0, &wrongMagic, 1), 0u);
  const std::uint32_t many = 0xffffffff;
  EXPECT_EQ(countAfter(8, &many, sizeof many), 0u);
  PrerenderedSkinEntry wide = first, far = first, unnamed = first;
  wide.width = 0x7fffffff;
  far.offset = 0xffffffc0;
  std::memset(unnamed.name, 'x', sizeof unnamed.name);
  for (const PrerenderedSkinEntry& lie : {wide, far, unnamed})
    EXPECT_EQ(countAfter(16, &lie, sizeof lie), 1u);
}

// Every size desktops ask for, corners rounded off and the middle drawn, all built in.
TEST(AppIcon, OffersEveryDesktopSizeFromTheBuiltInPictures) {
  SkinPictures skin(&PrerenderedSkin::builtIn());
  const QIcon icon = appIcon(skin);
  ASSERT_EQ(qApp->devicePixelRatio(), 1.0);
  for (int size : kAppIconSizes) {
    const QImage image = icon.pixmap(QSize(size, size)).toImage();
    EXPECT_EQ(image.size(), QSize(size, size));
    EXPECT_LT(image.pixelColor(0, 0).alpha(), 255) << size;
    EXPECT_EQ(image.pixelColor(size / 2, size / 2).alpha(), 255) << size;
  }
}

}  // namespace
}  // namespace tunelark::qt
