// The stock pictures: drawn from the sheet's geometry, light grey on white, only for the
// program's own art names.
#include "TLabelSheetArt.h"

#include "TLabelSetup.h"

#include <gtest/gtest.h>

#include <QSet>

TEST(TLabelSheetArt, PicturesTheSheetAndItsLabelsLightGreyOnWhite)
{
    TLabelSetup s = TLabelSetup::newSetupDefaults();
    s.Art = QStringLiteral("av5196.bmp");
    s.LblShape = QStringLiteral("SR");
    EXPECT_EQ(TLabelSheetArt::resourceName(s.Art), QStringLiteral("AV5196"));
    ASSERT_TRUE(TLabelSheetArt::hasPicture(s.Art));

    // 10 pixels per inch: the paper 85 x 110 within a 89 x 114 image.
    const QImage sheet = TLabelSheetArt::sheetImage(s, QSize(89, 114));
    ASSERT_FALSE(sheet.isNull());
    const double scale = std::min(85.0 / 8.5, 110.0 / 11.0);
    const double left = (89 - 8.5 * scale) / 2, top = (114 - 11 * scale) / 2;
    // The top edge of the first label, and the empty middle of it.
    const QPointF o = s.labelOrigin(0);
    const int x = static_cast<int>(left + (o.x() + 1.0) * scale);
    const int y = static_cast<int>(top + o.y() * scale);
    EXPECT_LT(qGray(sheet.pixel(x, y)), 128);
    EXPECT_EQ(sheet.pixel(x, y + 5), qRgb(255, 255, 255));

    const TGPicture picture = TLabelSheetArt::background(s, QSize(252, 96));
    ASSERT_TRUE(picture.hasGraphic());
    const QImage image = picture.image();
    ASSERT_EQ(image.size(), QSize(252, 96));
    QSet<QRgb> colours;
    for (int yy = 0; yy < image.height(); ++yy)
        for (int xx = 0; xx < image.width(); ++xx)
            colours.insert(image.pixel(xx, yy) | 0xFF000000u);
    EXPECT_EQ(colours, (QSet<QRgb>{qRgb(192, 192, 192), qRgb(255, 255, 255)}));
}

TEST(TLabelSheetArt, NameWithNoPictureGivesAnEmptyBackground)
{
    TLabelSetup s = TLabelSetup::newSetupDefaults();
    s.Art = QStringLiteral("NOSUCH");
    EXPECT_FALSE(TLabelSheetArt::background(s, QSize(100, 40)).hasGraphic());
    s.Art.clear();
    EXPECT_FALSE(TLabelSheetArt::background(s, QSize(100, 40)).hasGraphic());
    EXPECT_EQ(TLabelSheetArt::names().size(), 25);
}
