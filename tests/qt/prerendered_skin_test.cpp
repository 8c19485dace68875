// The built-in pictures are exactly what the SVG skin renders; damaged tables are not trusted.
#include "qt/prerendered_skin.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cstring>

#include "qt/skin_manifest.h"
#include "qt/skin_pictures.h"
#include "qt/skin_render.h"
#include "support/fake_host.h"
#include "ui/form1.h"

namespace tunelark::qt {
namespace {

QImage argb(const QImage& image) { return image.convertToFormat(QImage::Format_ARGB32); }

TEST(PrerenderedSkin, HoldsEveryPictureTheWindowDrawsAsTheSkinRendersIt) {
  AppState app;
  tunelark::testing::FakeHost host;
  Form1 form(app, host);
  const PrerenderedSkin& built = PrerenderedSkin::builtIn();
  const auto uses = allSkinPictureUses(form);
  ASSERT_GT(uses.size(), 30u);
  EXPECT_EQ(built.count(), uses.size());
  for (const auto& [name, size] : uses) {
    SCOPED_TRACE(name.toStdString());
    const QImage stored = built.find(name, size);
    ASSERT_FALSE(stored.isNull()) << size.width() << "x" << size.height();
    EXPECT_EQ(argb(stored), argb(renderSkinFile(skinResourcePath(name), size)));
  }
  EXPECT_TRUE(built.find(QStringLiteral("play"), QSize(1, 1)).isNull());
  EXPECT_TRUE(built.find(QStringLiteral("no_such_picture"), QSize(45, 15)).isNull());
}

TEST(PrerenderedSkin, ServesRatioOneWithoutRenderingAndRendersOtherRatios) {
  AppState app;
  tunelark::testing::FakeHost host;
  Form1 form(app, host);
  SkinPictures skin(&PrerenderedSkin::builtIn());
  const auto shown = shownSkinPictureUses(form);
  skin.renderAhead(shown, 1.0);
  for (const auto& [name, size] : shown) EXPECT_EQ(skin.picture(name, size, 1.0).size(), size);
  EXPECT_EQ(skin.cachedCount(), 0) << "nothing was rendered at run time";
  const auto& [name, size] = shown.front();
  EXPECT_EQ(skin.picture(name, size, 2.0).size(), size * 2);
  EXPECT_EQ(skin.cachedCount(), 1);
}

class EncodedSkin : public ::testing::Test {
 protected:
  void SetUp() override {
    QImage opaque(3, 2, QImage::Format_RGB32);
    opaque.fill(QColor(10, 20, 30));
    QImage clear(4, 5, QImage::Format_ARGB32_Premultiplied);
    clear.fill(Qt::transparent);
    clear.setPixelColor(1, 1, QColor(200, 0, 0, 128));
    pictures = {{QStringLiteral("a"), opaque}, {QStringLiteral("b"), clear}};
    data = PrerenderedSkin::encode(pictures);
  }
  std::vector<std::pair<QString, QImage>> pictures;
  std::vector<unsigned char> data;
};

TEST_F(EncodedSkin, ReadsBackWhatWasWritten) {
  const PrerenderedSkin skin(data.data(), data.size());
  ASSERT_EQ(skin.count(), 2u);
  for (const auto& [name, image] : pictures) {
    const QImage found = skin.find(name, image.size());
    EXPECT_EQ(found.format(), image.format());
    EXPECT_EQ(argb(found), argb(image));
  }
  EXPECT_TRUE(skin.find(QStringLiteral("a"), QSize(4, 5)).isNull());
}

// Cut anywhere, a wrong magic, an entry that lies about its size, offset or name, or a huge
// count: what does not fit is dropped, never read.
TEST_F(EncodedSkin, DamagedDataIsIgnored) {
  PrerenderedSkinEntry last;
  std::memcpy(&last, data.data() + 16 + sizeof last, sizeof last);
  const std::size_t lastPixelsEnd = last.offset + last.width * last.height * 4;
  for (std::size_t cut : {std::size_t{0}, std::size_t{16}, std::size_t{100}, lastPixelsEnd - 1}) {
    SCOPED_TRACE(cut);
    EXPECT_LE(PrerenderedSkin(data.data(), cut).count(), 1u);
  }
  const auto countAfter = [this](std::size_t at, const void* bytes, std::size_t size) {
    std::vector<unsigned char> damaged = data;
    std::memcpy(damaged.data() + at, bytes, size);
    return PrerenderedSkin(damaged.data(), damaged.size()).count();
  };
  const unsigned char wrongMagic = data[0] ^ 0xff;
  EXPECT_EQ(countAfter(0, &wrongMagic, 1), 0u);
  const std::uint32_t many = 0xffffffff;
  EXPECT_EQ(countAfter(8, &many, sizeof many), 0u);
  PrerenderedSkinEntry first;
  std::memcpy(&first, data.data() + 16, sizeof first);
  PrerenderedSkinEntry wide = first, far = first, unnamed = first;
  wide.width = 0x7fffffff;
  far.offset = 0xffffffc0;
  std::memset(unnamed.name, 'x', sizeof unnamed.name);
  for (const PrerenderedSkinEntry& lie : {wide, far, unnamed})
    EXPECT_EQ(countAfter(16, &lie, sizeof lie), 1u);
}

}  // namespace
}  // namespace tunelark::qt
