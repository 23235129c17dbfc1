// Pictures: PNG and SVG logos saved, loaded and printed; damaged graphics load as no picture.
#include "TGImage.h"
#include "LayoutStreamWriter.h"
#include "LayoutTestSupport.h"
#include "TGDataPanel.h"
#include "TGLabelObjectFiler.h"
#include "TGOwner.h"
#include "TRecordingReader.h"
#include "TReportFiler.h"

#include <QBuffer>
#include <QPainter>

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

TEST_F(ImageTest, MetafileKeepsItsBytesAndPrintsACrossedBox)
{
    // A placeable metafile header, then a Windows metafile header with no records.
    QByteArray wmf = QByteArrayLiteral("\xD7\xCD\xC6\x9A");
    wmf.append(QByteArray(18, '\0'));
    wmf.append(QByteArray("\1\0\x09\0\0\x03", 6));
    wmf.append(QByteArray(12, '\0'));
    TGImage *image = addImage(wmf);
    ASSERT_EQ(image->Picture().kind(), TGPicture::Metafile);
    const PictureSpy spy = saveLoadAndPrint();
    ASSERT_EQ(loaded.objects().size(), 1u);
    EXPECT_EQ(static_cast<const TGImage *>(loaded.objects()[0])->Picture().graphicBytes(), wmf);
    EXPECT_EQ(spy.rectangles, 1);
    EXPECT_EQ(spy.lines, 2);
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
