// "Load Image File": the preview of the picked file, "Error loading file!" for a damaged one,
// and the options taken by the picture object.
#include "TGLoadImageDialog.h"
#include "TGImage.h"
#include "TGOwner.h"
#include "TempDir.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QString writeFile(TempDir &dir, const char *name, const QByteArray &bytes)
{
    const QString path = QString::fromStdString(dir.file(name));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

TEST(TGLoadImageDialog, PreviewsThePictureAndReportsADamagedFile)
{
    TGOwner owner;
    TGImage image(&owner);
    TGLoadImageDialog dialog(image);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Load Image File"));
    EXPECT_TRUE(dialog.StretchCheck->isChecked());
    EXPECT_FALSE(dialog.AutoSizeCheck->isChecked());

    TempDir dir;
    const QString svg = writeFile(dir, "logo.svg",
                                  "<svg xmlns='http://www.w3.org/2000/svg' width='20' height='20'>"
                                  "<rect width='20' height='20' fill='#00ff00'/></svg>");
    const QString bad = writeFile(dir, "bad.bmp", "BM\x10\0\0\0garbage");
    ASSERT_TRUE(dialog.previewFile(svg));
    ASSERT_FALSE(dialog.Preview->pixmap().isNull());
    EXPECT_EQ(dialog.Preview->pixmap().toImage().pixel(80, 80), qRgb(0, 255, 0));
    EXPECT_FALSE(dialog.previewFile(bad));
    EXPECT_EQ(dialog.Preview->text(), QStringLiteral("Error loading file!"));
    EXPECT_FALSE(dialog.picture().hasGraphic());

    // The options exclude each other; the object takes the picture and both options.
    ASSERT_TRUE(dialog.previewFile(svg));
    QTest::mouseClick(dialog.AutoSizeCheck, Qt::LeftButton);
    EXPECT_FALSE(dialog.StretchCheck->isChecked());
    dialog.applyTo(image);
    EXPECT_EQ(image.Picture().kind(), TGPicture::Svg);
    EXPECT_TRUE(image.AutoSize());
    EXPECT_FALSE(image.Stretch());
}

} // namespace
