// Skin pictures are rendered at the device size for crisp edges at any scale, reused once
// rendered, and a missing picture still gives a box to draw.
#include "qt/skin_pictures.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QSet>

namespace tunelark::qt {
namespace {

class SkinScale : public ::testing::TestWithParam<double> {};

// Fractional ratios round the device size up, so the picture covers the whole control.
TEST_P(SkinScale, PictureIsRenderedAtDeviceSize) {
  SkinPictures skin;
  const qreal dpr = GetParam();
  const QImage pm = skin.picture(QStringLiteral("exit"), QSize(45, 15), dpr);
  EXPECT_EQ(pm.size(), QSize(qCeil(45 * dpr), qCeil(15 * dpr)));
  EXPECT_DOUBLE_EQ(pm.devicePixelRatio(), dpr);
}

INSTANTIATE_TEST_SUITE_P(Ratios, SkinScale, ::testing::Values(1.0, 1.25, 1.5, 2.0));

TEST(SkinPictures, RenderingsHaveContentAndAreReusedPerSizeAndMissingOnesAreDarkBoxes) {
  SkinPictures skin;
  const QImage a = skin.picture(QStringLiteral("play"), QSize(45, 15), 1.0);
  QSet<QRgb> colours;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) colours.insert(a.pixel(x, y));
  EXPECT_GT(colours.size(), 4) << "a real button face is not one flat colour";
  EXPECT_EQ(a.cacheKey(), skin.picture(QStringLiteral("play"), QSize(45, 15), 1.0).cacheKey());
  EXPECT_EQ(skin.cachedCount(), 1);
  EXPECT_EQ(skin.pixmap(QStringLiteral("play"), QSize(45, 15), 2.0).size(), QSize(90, 30));
  EXPECT_EQ(skin.cachedCount(), 2);
  EXPECT_TRUE(skin.picture(QStringLiteral("play"), QSize(0, 15), 1.0).isNull());
  const QImage missing = skin.picture(QStringLiteral("no_such_picture"), QSize(10, 6), 1.0);
  ASSERT_EQ(missing.size(), QSize(10, 6));
  EXPECT_EQ(missing.pixelColor(5, 3).alpha(), 255);
  EXPECT_LT(missing.pixelColor(5, 3).lightness(), 48);
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
