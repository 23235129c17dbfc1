// "Load Image File": the preview of the picked file, "Error loading file!" for a damaged one,
// and the options taken by the picture object.
#include "TGLoadImageDialog.h"
#include "TGImage.h"
#include "TGShapeObjectMenu.h"
#include "TGOwner.h"
#include "TempDir.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

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

// "Load Image From Disk" in a picture's menu: the file chosen in the dialog becomes the picture
// and an auto-sized object takes its size; a file that does not load is reported and leaves
// the object without a picture.
TEST(TGLoadImageDialog, LoadImageFromDiskPutsTheChosenFileIntoThePicture)
{
    TempDir dir;
    const QString svg = writeFile(dir, "logo.svg",
                                  "<svg xmlns='http://www.w3.org/2000/svg' width='20' height='30'>"
                                  "<rect width='20' height='30' fill='#00ff00'/></svg>");
    const QString bad = writeFile(dir, "bad.bmp", "BM\x10\0\0\0garbage");
    TGOwner owner;
    TGImage image(&owner);

    auto chooseFrom = [&image](const QString &path, bool autoSize, QString *message) {
        QMenu menu;
        TGShapeObjectMenu::addItems(&menu, &image, nullptr);
        QAction *load = nullptr;
        for (QAction *a : menu.actions())
            if (a->text() == QStringLiteral("Load Image From Disk"))
                load = a;
        ASSERT_NE(load, nullptr);
        ASSERT_TRUE(load->isEnabled());
        QTimer::singleShot(0, [path, autoSize, message] {
            auto *dialog = qobject_cast<TGLoadImageDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            if (autoSize)
                QTest::mouseClick(dialog->AutoSizeCheck, Qt::LeftButton);
            if (message) { // the error box comes up once the dialog has closed
                auto *poll = new QTimer;
                QObject::connect(poll, &QTimer::timeout, [poll, message] {
                    if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                        *message = box->text();
                        box->accept();
                        poll->deleteLater();
                    }
                });
                poll->start(10);
            }
            dialog->selectFile(path);
            auto *buttons = dialog->findChild<QDialogButtonBox *>();
            ASSERT_NE(buttons, nullptr);
            QTest::mouseClick(buttons->button(QDialogButtonBox::Open), Qt::LeftButton);
        });
        load->trigger();
    };

    chooseFrom(svg, true, nullptr);
    EXPECT_TRUE(image.Picture().hasGraphic());
    EXPECT_TRUE(image.AutoSize());
    EXPECT_EQ(QSize(image.Width(), image.Height()), QSize(20, 30));

    QString message;
    chooseFrom(bad, false, &message);
    EXPECT_EQ(message, QStringLiteral("Error loading file!"));
    EXPECT_FALSE(image.Picture().hasGraphic());
}

} // namespace
