// Skin pictures are rendered at the device size for crisp edges at any scale, reused once
// rendered, and a missing picture still gives a box to draw.
#include "qt/skin_pictures.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QSet>

namespace tunelark::qt {
namespace {

class SkinScale : public ::testing::TestWithParam<double> {};

TEST_P(SkinScale, PictureIsRenderedAtDeviceSize) {
  SkinPictures skin;
  const qreal dpr = GetParam();
  const QImage pm = skin.picture(QStringLiteral("exit"), QSize(45, 15), dpr);
  EXPECT_EQ(pm.size(), QSize(qCeil(45 * dpr), qCeil(15 * dpr)));
  EXPECT_DOUBLE_EQ(pm.devicePixelRatio(), dpr);
  // Fractional ratios round the device size up, so the picture covers the whole control.
  EXPECT_GE(pm.deviceIndependentSize().width(), 45.0);
  EXPECT_LT(pm.deviceIndependentSize().width(), 46.0);
  EXPECT_GE(pm.deviceIndependentSize().height(), 15.0);
  EXPECT_LT(pm.deviceIndependentSize().height(), 16.0);
}

INSTANTIATE_TEST_SUITE_P(Ratios, SkinScale, ::testing::Values(1.0, 1.25, 1.5, 2.0, 3.0));

TEST(SkinPictures, MissingPictureIsADarkBox) {
  SkinPictures skin;
  EXPECT_FALSE(skin.exists(QStringLiteral("no_such_picture")));
  const QImage img = skin.picture(QStringLiteral("no_such_picture"), QSize(10, 6), 1.0);
  ASSERT_EQ(img.size(), QSize(10, 6));
  const QColor c = img.pixelColor(5, 3);
  EXPECT_EQ(c.alpha(), 255);
  EXPECT_LT(c.lightness(), 48);
}

TEST(SkinPictures, RenderedPictureHasContent) {
  SkinPictures skin;
  const QImage img = skin.picture(QStringLiteral("play"), QSize(45, 15), 1.0);
  // A real button face is not one flat colour.
  QSet<QRgb> colours;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) colours.insert(img.pixel(x, y));
  EXPECT_GT(colours.size(), 4);
}

TEST(SkinPictures, RenderingsAreReusedPerSize) {
  SkinPictures skin;
  const QImage a = skin.picture(QStringLiteral("play"), QSize(45, 15), 1.0);
  const QImage b = skin.picture(QStringLiteral("play"), QSize(45, 15), 1.0);
  EXPECT_EQ(a.cacheKey(), b.cacheKey());
  EXPECT_EQ(skin.cachedCount(), 1);
  skin.picture(QStringLiteral("play"), QSize(45, 15), 2.0);
  EXPECT_EQ(skin.cachedCount(), 2);
  EXPECT_TRUE(skin.picture(QStringLiteral("play"), QSize(0, 15), 1.0).isNull());
  const QPixmap pm = skin.pixmap(QStringLiteral("play"), QSize(45, 15), 2.0);
  EXPECT_EQ(pm.size(), QSize(90, 30));
  EXPECT_DOUBLE_EQ(pm.devicePixelRatio(), 2.0);
}

TEST(SkinPicturesAhead, MatchesWhatIsRenderedOnDemand) {
  SkinPictures ahead;
  ahead.renderAhead({{QStringLiteral("play"), QSize(45, 15)},
                     {QStringLiteral("play"), QSize(45, 15)},
                     {QStringLiteral("no_such_picture"), QSize(8, 8)},
                     {QStringLiteral("exit"), QSize(0, 15)}},
                    2.0);
  EXPECT_EQ(ahead.cachedCount(), 2) << "duplicates rendered once, empty sizes skipped";
  SkinPictures direct;
  const QImage a = ahead.picture(QStringLiteral("play"), QSize(45, 15), 2.0);
  const QImage b = direct.picture(QStringLiteral("play"), QSize(45, 15), 2.0);
  EXPECT_EQ(a.size(), QSize(90, 30));
  EXPECT_EQ(a.convertToFormat(QImage::Format_ARGB32), b.convertToFormat(QImage::Format_ARGB32));
  EXPECT_EQ(ahead.cachedCount(), 2) << "the picture rendered ahead was reused";
}

}  // namespace
}  // namespace tunelark::qt
