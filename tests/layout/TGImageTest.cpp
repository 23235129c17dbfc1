// Pictures: PNG and SVG logos saved, loaded and printed; damaged graphics load as no picture.
#include "TGImage.h"
#include "LayoutStreamWriter.h"
#include "LayoutTestSupport.h"
#include "TGDataPanel.h"
#include "TGLabelObjectFiler.h"
#include "TGOwner.h"
#include "TPdfPrinterService.h"
#include "TRecordingReader.h"
#include "TReportFiler.h"
#include "TReportPrinter.h"
#include "TempDir.h"
#include "TestFiles.h"

#include <QBuffer>
#include <QPainter>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

// What a print drew: the rectangles and contents of its bitmaps and vector graphics.
class PictureSpy : public TDrawSink
{
public:
    std::vector<std::pair<TInchRect, QImage>> bitmaps;
    std::vector<std::pair<TInchRect, QRect>> graphics; // with the graphic's bounds
    QImage graphicDrawn;
    void beginPage(InchSize) override {}
    void setPen(const TPenSpec &) override {}
    void setBrush(const TBrushSpec &) override {}
    void setFont(const TFontSpec &) override {}
    void setTextOpaque(bool) override {}
    int rectangles = 0;
    int lines = 0;
    void rectangle(const TInchRect &) override { ++rectangles; }
    void roundRect(const TInchRect &, InchSize) override {}
    void ellipse(const TInchRect &) override {}
    void line(InchPoint, InchPoint) override { ++lines; }
    void text(bool, const TInchRect &, InchPoint, const QString &) override {}
    void bitmap(const TInchRect &r, const QImage &image) override { bitmaps.emplace_back(r, image); }
    void graphic(const TInchRect &r, const QPicture &picture) override
    {
        graphics.emplace_back(r, picture.boundingRect());
        graphicDrawn = QImage(40, 20, QImage::Format_RGB32);
        graphicDrawn.fill(Qt::white);
        QPainter p(&graphicDrawn);
        p.drawPicture(0, 0, picture);
    }
};

// A metafile written by tests/print/make_metafiles.py.
QByteArray metafileSample(const char *name)
{
    return readBytes(QStringLiteral(CORVANTIS_SOURCE_DIR "/tests/print/fixtures/") + QLatin1String(name));
}

QByteArray pngLogo()
{
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(qRgb(200, 0, 0));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

const QByteArray kSvgLogo =
    QByteArrayLiteral("<svg xmlns='http://www.w3.org/2000/svg' width='40' height='20'>"
                      "<rect x='0' y='0' width='20' height='20' fill='#0000ff'/></svg>");

class ImageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        freshRegistry({TGSurfaceKind::Label});
        surface.setSize(400, 300);
    }
    // The surface's objects written as a list, read into a second surface and printed from
    // there at (1, 2) inches.
    PictureSpy saveLoadAndPrint()
    {
        LayoutStreamWriter w;
        TGLabelObjectFiler::writeList(w, {surface.objects().begin(), surface.objects().end()});
        EXPECT_TRUE(TGLabelObjectFiler::readBytes(w.bytes(), &owner, loaded, false));
        QByteArray stream;
        TReportFiler filer;
        filer.setStream(&stream);
        filer.OnPrint = [&](TBaseReport &job) {
            loaded.setPrinting(true);
            loaded.PrintObjects(job, {Inches(1.0), Inches(2.0)});
            loaded.setPrinting(false);
        };
        filer.RunJob();
        TRecordingReader reader;
        EXPECT_TRUE(reader.open(stream).ok());
        PictureSpy spy;
        reader.replayAll(spy);
        return spy;
    }
    TGImage *addImage(const QByteArray &file)
    {
        auto *image = static_cast<TGImage *>(surface.insertObject(std::make_unique<TGImage>(&owner)));
        image->SetBounds(96, 48, 96, 48);
        image->setPicture(TGPicture::fromFileBytes(file));
        return image;
    }
    TGOwner owner;
    TGDataPanel surface{&owner, 96};
    TGDataPanel loaded{&owner, 96};
};

TEST_F(ImageTest, PngLogoSavesLoadsAndPrintsStretchedIntoTheBox)
{
    const QByteArray png = pngLogo();
    TGImage *image = addImage(png);
    ASSERT_EQ(image->Picture().kind(), TGPicture::Png);
    image->setStretch(false); // printing stretches all the same
    const PictureSpy spy = saveLoadAndPrint();
    ASSERT_EQ(loaded.objects().size(), 1u);
    const auto *back = static_cast<const TGImage *>(loaded.objects()[0]);
    EXPECT_EQ(back->Picture().kindName(), QByteArray("TPngGraphic"));
    EXPECT_EQ(back->Picture().graphicBytes(), png);
    ASSERT_EQ(spy.bitmaps.size(), 1u);
    EXPECT_NEAR(spy.bitmaps[0].first.left, 2.0, 1e-9);
    EXPECT_NEAR(spy.bitmaps[0].first.top, 2.5, 1e-9);
    EXPECT_NEAR(spy.bitmaps[0].first.right, 3.0, 1e-9);
    EXPECT_NEAR(spy.bitmaps[0].first.bottom, 3.0, 1e-9);
    EXPECT_EQ(spy.bitmaps[0].second.size(), QSize(8, 6));
    EXPECT_EQ(spy.bitmaps[0].second.pixel(3, 3), qRgb(200, 0, 0));
}

TEST_F(ImageTest, SvgLogoSavesLoadsAndPrintsAsVectors)
{
    TGImage *image = addImage(kSvgLogo);
    ASSERT_EQ(image->Picture().kind(), TGPicture::Svg);
    EXPECT_EQ(image->Picture().size(), QSize(40, 20));
    const PictureSpy spy = saveLoadAndPrint();
    ASSERT_EQ(loaded.objects().size(), 1u);
    EXPECT_EQ(static_cast<const TGImage *>(loaded.objects()[0])->Picture().graphicBytes(), kSvgLogo);
    EXPECT_TRUE(spy.bitmaps.empty());
    ASSERT_EQ(spy.graphics.size(), 1u);
    EXPECT_NEAR(spy.graphics[0].first.right, 3.0, 1e-9);
    EXPECT_EQ(spy.graphics[0].second, QRect(0, 0, 40, 20));
    // The square on the left half is blue, the right half is left alone.
    EXPECT_EQ(spy.graphicDrawn.pixel(10, 10), qRgb(0, 0, 255));
    EXPECT_EQ(spy.graphicDrawn.pixel(30, 10), qRgb(255, 255, 255));
}

TEST_F(ImageTest, WindowsMetafileSavesLoadsAndPrintsThroughThePlayer)
{
    const QByteArray wmf = metafileSample("shapes.wmf");
    TGImage *image = addImage(wmf);
    ASSERT_EQ(image->Picture().kind(), TGPicture::Metafile);
    EXPECT_EQ(image->Picture().size(), QSize(96, 96)); // one inch
    const PictureSpy spy = saveLoadAndPrint();
    ASSERT_EQ(loaded.objects().size(), 1u);
    EXPECT_EQ(static_cast<const TGImage *>(loaded.objects()[0])->Picture().graphicBytes(), wmf);
    EXPECT_EQ(spy.rectangles, 0);
    ASSERT_EQ(spy.graphics.size(), 1u);
    EXPECT_NEAR(spy.graphics[0].first.left, 2.0, 1e-9);
    EXPECT_NEAR(spy.graphics[0].first.bottom, 3.0, 1e-9);
    EXPECT_EQ(spy.graphics[0].second, QRect(0, 0, 96, 96));
    // The red square spans 5 to 34 of the 96 pixels.
    EXPECT_EQ(spy.graphicDrawn.pixel(15, 15), qRgb(255, 0, 0));
    EXPECT_EQ(spy.graphicDrawn.pixel(2, 2), qRgb(255, 255, 255));
}

TEST_F(ImageTest, MetafileDrawsOnScreenStretchedOrAtItsOwnSize)
{
    TGImage *image = addImage(metafileSample("shapes.emf")); // 10 inches: 960 pixels
    image->SetBounds(96, 48, 400, 400);
    const auto paint = [&] {
        QImage screen(400, 400, QImage::Format_RGB32);
        screen.fill(Qt::white);
        QPainter p(&screen);
        image->Paint(p);
        return screen;
    };
    // Stretched: the red square spans 20 to 140.
    QImage screen = paint();
    EXPECT_EQ(screen.pixel(100, 100), qRgb(255, 0, 0));
    EXPECT_EQ(screen.pixel(150, 100), qRgb(255, 255, 255));
    // At its own size: it spans 48 to 336.
    image->setStretch(false);
    screen = paint();
    EXPECT_EQ(screen.pixel(150, 100), qRgb(255, 0, 0));
    EXPECT_EQ(screen.pixel(20, 20), qRgb(255, 255, 255));
}

TEST_F(ImageTest, MetafileThatDoesNotPlayKeepsItsBytesAndDrawsACrossedBox)
{
    // A polyline that counts more points than its record holds.
    QByteArray wmf = metafileSample("shapes.wmf");
    const qsizetype polyline = wmf.indexOf(QByteArray("\x25\x03\x02\x00", 4));
    ASSERT_GT(polyline, 0);
    wmf[polyline + 2] = '\x30';
    EXPECT_FALSE(TGPicture::fromFileBytes(wmf).hasGraphic()); // "Error loading file!"
    QByteArray data = QByteArrayLiteral("\x09TMetafile");
    const quint32 total = quint32(wmf.size() + 4);
    for (int i = 0; i < 4; ++i)
        data.append(char(total >> (8 * i)));
    data.append(wmf);
    TGPicture stored;
    ASSERT_TRUE(stored.setData(data));
    auto *image = static_cast<TGImage *>(surface.insertObject(std::make_unique<TGImage>(&owner)));
    image->SetBounds(96, 48, 96, 48);
    image->setPicture(stored);

    QImage screen(96, 48, QImage::Format_RGB32);
    screen.fill(Qt::white);
    {
        QPainter p(&screen);
        image->Paint(p);
    }
    EXPECT_EQ(screen.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(screen.pixel(20, 10), qRgb(0, 0, 0)); // on a diagonal
    EXPECT_EQ(screen.pixel(20, 30), qRgb(255, 255, 255));
    const PictureSpy spy = saveLoadAndPrint();
    ASSERT_EQ(loaded.objects().size(), 1u);
    EXPECT_EQ(static_cast<const TGImage *>(loaded.objects()[0])->Picture().graphicBytes(), wmf);
    EXPECT_TRUE(spy.graphics.empty());
    EXPECT_EQ(spy.rectangles, 1);
    EXPECT_EQ(spy.lines, 2);
}

TEST_F(ImageTest, LayoutWithAMetafilePrintsItsShapesToPdf)
{
    addImage(metafileSample("shapes.emf"));
    TempDir dir;
    const QString pdf = QString::fromStdString(dir.file("metafile.pdf"));
    {
        TPdfPrinterService service(pdf);
        TReportPrinter job(service);
        job.OnPrint = [&](TBaseReport &engine) { surface.PrintObjects(engine, {Inches(1.0), Inches(2.0)}); };
        job.RunJob();
        ASSERT_FALSE(job.IsAborted());
    }
    // The box spans 2 to 3 inches across and 2.5 to 3 down; at 100 dots an inch the red
    // square covers 5 to 35 and 2 to 17 of it, the blue pie's quarter 85 to 95 and 2 to 7.
    const QString prefix = QString::fromStdString(dir.file("page"));
    QProcess p;
    p.start(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-x"), QStringLiteral("200"),
             QStringLiteral("-y"), QStringLiteral("250"), QStringLiteral("-W"), QStringLiteral("100"),
             QStringLiteral("-H"), QStringLiteral("50"), QStringLiteral("-singlefile"), pdf, prefix});
    ASSERT_TRUE(p.waitForFinished(60000) && p.exitCode() == 0);
    const QImage page(prefix + QStringLiteral(".ppm"));
    ASSERT_FALSE(page.isNull());
    const auto isNear = [](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) < 40 && std::abs(qGreen(a) - qGreen(b)) < 40 &&
               std::abs(qBlue(a) - qBlue(b)) < 40;
    };
    EXPECT_TRUE(isNear(page.pixel(20, 10), qRgb(255, 0, 0)));
    EXPECT_TRUE(isNear(page.pixel(20, 22), qRgb(255, 255, 255)));
    EXPECT_TRUE(isNear(page.pixel(91, 4), qRgb(0, 0, 255)));
    EXPECT_TRUE(isNear(page.pixel(55, 10), qRgb(255, 255, 0)));
}

TEST_F(ImageTest, DamagedGraphicsLoadAsNoPicture)
{
    const QByteArray png = pngLogo();
    const QByteArray damaged[] = {QByteArrayLiteral("BM\x10\0\0\0garbage"),
                                  png.left(20),
                                  QByteArrayLiteral("\xFF\xD8\xFF\xE0"),
                                  QByteArray("\0\0\1\0\1\0", 6),
                                  QByteArrayLiteral("\xD7\xCD\xC6\x9A short"),
                                  QByteArrayLiteral("<svg broken"),
                                  QByteArray()};
    for (const QByteArray &file : damaged)
        EXPECT_FALSE(TGPicture::fromFileBytes(file).hasGraphic()) << file.toHex().toStdString();

    // Inside a stored layout: the object loads without its picture.
    const QByteArray bmp = QByteArrayLiteral("BM\x10\0\0\0garbage!");
    QByteArray data = QByteArrayLiteral("\x07TBitmap");
    data.append(static_cast<char>(bmp.size()));
    data.append(QByteArray(3, '\0'));
    data.append(bmp);
    QByteArray stream = bytesOf({0x01, "TPF0", 7, "TGImage", 0, 12, "Picture.Data", 0x0A});
    stream.append(static_cast<char>(data.size()));
    stream.append(QByteArray(3, '\0'));
    stream.append(data);
    stream.append(QByteArray(3, '\0'));
    ASSERT_TRUE(TGLabelObjectFiler::readBytes(stream, &owner, loaded, false));
    ASSERT_EQ(loaded.objects().size(), 1u);
    EXPECT_FALSE(static_cast<const TGImage *>(loaded.objects()[0])->Picture().hasGraphic());
}

} // namespace
