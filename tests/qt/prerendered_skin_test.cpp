// The pictures built into the program must be exactly what the SVG skin renders, at every size
// the window draws, and a damaged table of pictures must never be trusted.
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
    // A stale build (a picture edited, the model resized) would show here.
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

TEST_F(EncodedSkin, DamagedDataIsIgnored) {
  // Cut anywhere: an entry whose pixels run past the end is dropped, never read.
  PrerenderedSkinEntry last;
  std::memcpy(&last, data.data() + 16 + sizeof last, sizeof last);
  const std::size_t lastPixelsEnd = last.offset + last.width * last.height * 4;
  ASSERT_LE(lastPixelsEnd, data.size());
  for (std::size_t cut :
       {std::size_t{0}, std::size_t{7}, std::size_t{16}, std::size_t{100}, lastPixelsEnd - 1}) {
    SCOPED_TRACE(cut);
    const PrerenderedSkin skin(data.data(), cut);
    EXPECT_LE(skin.count(), 1u);
    if (skin.count() == 1) {
      EXPECT_FALSE(skin.find(QStringLiteral("a"), QSize(3, 2)).isNull());
    }
  }
  std::vector<unsigned char> wrongMagic = data;
  wrongMagic[0] ^= 0xff;
  EXPECT_EQ(PrerenderedSkin(wrongMagic.data(), wrongMagic.size()).count(), 0u);

  // An entry that claims a huge picture or a far offset, or has no terminated name.
  std::vector<unsigned char> lying = data;
  PrerenderedSkinEntry first;
  const std::size_t at = 16;
  std::memcpy(&first, lying.data() + at, sizeof first);
  first.width = 0x7fffffff;
  std::memcpy(lying.data() + at, &first, sizeof first);
  EXPECT_EQ(PrerenderedSkin(lying.data(), lying.size()).count(), 1u);
  first.width = 3;
  first.offset = 0xffffffc0;
  std::memcpy(lying.data() + at, &first, sizeof first);
  EXPECT_EQ(PrerenderedSkin(lying.data(), lying.size()).count(), 1u);
  first.offset = 64;
  std::memset(first.name, 'x', sizeof first.name);
  std::memcpy(lying.data() + at, &first, sizeof first);
  EXPECT_EQ(PrerenderedSkin(lying.data(), lying.size()).count(), 1u);

  std::vector<unsigned char> manyEntries = data;
  const std::uint32_t count = 0xffffffff;
  std::memcpy(manyEntries.data() + 8, &count, sizeof count);
  EXPECT_EQ(PrerenderedSkin(manyEntries.data(), manyEntries.size()).count(), 0u);
}

}  // namespace
}  // namespace tunelark::qt
