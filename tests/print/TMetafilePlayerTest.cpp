// The metafile player on the samples of make_metafiles.py: each is played into an image and
// the colours at known points are compared; damaged samples answer an error, never a crash.
#include "TMetafilePlayer.h"

#include "TestFiles.h"

#include <QPainter>
#include <QPicture>

#include <gtest/gtest.h>

#include <cstring>

namespace {

QByteArray sample(const char *name)
{
    return readBytes(QStringLiteral(CORVANTIS_SOURCE_DIR "/tests/print/fixtures/") + QLatin1String(name));
}

TMetafile loaded(const QByteArray &bytes)
{
    TMetafile m;
    EXPECT_TRUE(TMetafile::load(bytes, m).ok());
    return m;
}

// The sample played into a white image of `size` pixels.
QImage played(const char *name, int size = 1000)
{
    const TMetafile m = loaded(sample(name));
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    EXPECT_TRUE(TMetafilePlayer::play(m, painter, QRectF(0, 0, size, size)).ok());
    painter.end();
    return image;
}

// Colours match within what smoothing at an edge could change.
bool near(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) <= 24 && std::abs(qGreen(a) - qGreen(b)) <= 24 &&
           std::abs(qBlue(a) - qBlue(b)) <= 24;
}

int darkPixels(const QImage &image, const QRect &region)
{
    int n = 0;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            n += qGray(image.pixel(x, y)) < 100;
    return n;
}

struct PixelCase {
    const char *file;
    int x, y;
    QRgb colour;
    const char *what;
};

class MetafilePixels : public ::testing::TestWithParam<PixelCase>
{
};

TEST_P(MetafilePixels, ColourAtAKnownPoint)
{
    const PixelCase c = GetParam();
    static std::map<std::string, QImage> images;
    QImage &image = images[c.file];
    if (image.isNull())
        image = played(c.file);
    const QRgb got = image.pixel(c.x, c.y);
    EXPECT_TRUE(near(got, c.colour)) << c.file << " " << c.what << ": got " << std::hex << got;
}

constexpr QRgb kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF,
               kBlack = 0xFF000000, kDarkGreen = 0xFF008000, kCyan = 0xFF00FFFF, kMagenta = 0xFFFF00FF,
               kYellow = 0xFFFFFF00;

INSTANTIATE_TEST_SUITE_P(
    Samples, MetafilePixels,
    ::testing::Values(
        PixelCase{"shapes.wmf", 200, 200, kRed, "filled rectangle"},
        PixelCase{"shapes.wmf", 550, 200, kBlue, "inside the ellipse"},
        PixelCase{"shapes.wmf", 408, 58, kWhite, "inside the ellipse's box, outside the ellipse"},
        PixelCase{"shapes.wmf", 200, 520, kMagenta, "rectangle under a window extent twice as large"},
        PixelCase{"shapes.wmf", 850, 150, kCyan, "rectangle after RestoreDC, at the restored scale"},
        PixelCase{"shapes.wmf", 500, 850, kDarkGreen, "polyline 20 units wide"},
        PixelCase{"shapes.wmf", 500, 820, kWhite, "beside the polyline"},
        PixelCase{"shapes.wmf", 475, 475, kRed, "bitmap, top left"},
        PixelCase{"shapes.wmf", 625, 475, kGreen, "bitmap, top right"},
        PixelCase{"shapes.wmf", 475, 625, kBlue, "bitmap, bottom left"},
        PixelCase{"shapes.wmf", 625, 625, kWhite, "bitmap, bottom right"},
        PixelCase{"figures.wmf", 200, 200, kRed, "rounded rectangle"},
        PixelCase{"figures.wmf", 200, 53, kRed, "rounded rectangle, middle of the top edge"},
        PixelCase{"figures.wmf", 56, 56, kWhite, "rounded rectangle, outside the corner"},
        PixelCase{"figures.wmf", 550, 100, kBlue, "chord from east to west: the upper half"},
        PixelCase{"figures.wmf", 550, 300, kWhite, "chord: the lower half left out"},
        PixelCase{"figures.wmf", 921, 79, kDarkGreen, "arc from east to north"},
        PixelCase{"figures.wmf", 779, 221, kWhite, "arc: the lower left left out"},
        PixelCase{"figures.wmf", 80, 550, kMagenta, "polypolygon, alternate: the ring"},
        PixelCase{"figures.wmf", 200, 550, kWhite, "polypolygon, alternate: the hole"},
        PixelCase{"figures.wmf", 550, 550, kMagenta, "polypolygon, winding: no hole"},
        PixelCase{"figures.wmf", 800, 550, kCyan, "inside the clipping rectangle"},
        PixelCase{"figures.wmf", 900, 550, kWhite, "outside the clipping rectangle"},
        PixelCase{"figures.wmf", 900, 850, kYellow, "after RestoreDC the clipping is gone"},
        PixelCase{"shapes.emf", 200, 200, kRed, "rectangle at half a pixel per unit"},
        PixelCase{"shapes.emf", 550, 100, kYellow, "polygon of 16-bit points"},
        PixelCase{"shapes.emf", 900, 100, kBlue, "pie, upper right quarter"},
        PixelCase{"shapes.emf", 800, 200, kWhite, "pie, lower left quarter left out"},
        PixelCase{"shapes.emf", 500, 850, kDarkGreen, "polyline of 16-bit points"},
        PixelCase{"shapes.emf", 475, 475, kRed, "bitmap, top left"},
        PixelCase{"shapes.emf", 625, 625, kWhite, "bitmap, bottom right"},
        PixelCase{"shapes.emf", 275, 700, kCyan, "rectangle under a saved, larger window extent"},
        PixelCase{"shapes.emf", 150, 700, kMagenta, "rectangle after RestoreDC"},
        PixelCase{"mapping.emf", 200, 200, kRed, "tenths of a millimetre, y up"},
        PixelCase{"mapping.emf", 420, 420, kWhite, "past the 100 mm square"},
        PixelCase{"mapping.emf", 750, 250, kBlue, "isotropic: the smaller scale on both axes"},
        PixelCase{"mapping.emf", 750, 700, kWhite, "isotropic: not stretched down"},
        PixelCase{"bitmaps.emf", 50, 50, kWhite, "1-bit bitmap, first pixel"},
        PixelCase{"bitmaps.emf", 150, 50, kBlack, "1-bit bitmap, second pixel"},
        PixelCase{"bitmaps.emf", 100, 250, kBlack, "8-bit bitmap, index 0"},
        PixelCase{"bitmaps.emf", 300, 250, kRed, "8-bit bitmap, index 1"},
        PixelCase{"bitmaps.emf", 700, 250, kBlue, "8-bit bitmap, index 3"},
        PixelCase{"bitmaps.emf", 200, 900, kRed, "4-bit bitmap, index 1"},
        PixelCase{"bitmaps.emf", 600, 900, kGreen, "4-bit bitmap, index 2"},
        PixelCase{"bitmaps.emf", 100, 500, kRed, "24-bit bitmap, top left"},
        PixelCase{"bitmaps.emf", 100, 700, kBlue, "24-bit bitmap, bottom left"},
        PixelCase{"rle.emf", 100, 100, kBlue, "8-bit run, top line"},
        PixelCase{"rle.emf", 300, 100, kBlack, "8-bit delta skips a pixel"},
        PixelCase{"rle.emf", 500, 100, kBlack, "8-bit delta skips a second pixel"},
        PixelCase{"rle.emf", 700, 100, kRed, "8-bit run after the delta"},
        PixelCase{"rle.emf", 100, 300, kGreen, "8-bit absolute, first"},
        PixelCase{"rle.emf", 300, 300, kBlue, "8-bit absolute, second"},
        PixelCase{"rle.emf", 500, 300, kRed, "8-bit absolute, third"},
        PixelCase{"rle.emf", 700, 300, kGreen, "8-bit run after the padded absolute"},
        PixelCase{"rle.emf", 50, 550, kRed, "4-bit run, high half"},
        PixelCase{"rle.emf", 150, 550, kGreen, "4-bit run, low half"},
        PixelCase{"rle.emf", 350, 550, kGreen, "4-bit run, fourth"},
        PixelCase{"rle.emf", 450, 550, kBlue, "4-bit absolute, first"},
        PixelCase{"rle.emf", 650, 550, kRed, "4-bit absolute, third"},
        PixelCase{"rle.emf", 750, 550, kGreen, "4-bit run after the absolute"}));

TEST(TMetafilePlayer, TextIsDrawnWhereItsReferencePointPutsIt)
{
    const QImage wmf = played("shapes.wmf");
    EXPECT_GT(darkPixels(wmf, QRect(750, 420, 250, 250)), 500);
    EXPECT_EQ(darkPixels(wmf, QRect(750, 260, 250, 150)), 0);
    const QImage emf = played("shapes.emf");
    EXPECT_GT(darkPixels(emf, QRect(750, 410, 250, 220)), 500);
    EXPECT_EQ(darkPixels(emf, QRect(750, 260, 250, 140)), 0);
}

// The smallest rectangle holding every dark pixel of `region`; empty when there is none.
QRect darkBounds(const QImage &image, const QRect &region)
{
    QRect bounds;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            if (qGray(image.pixel(x, y)) < 100)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

TEST(TMetafilePlayer, WingDingsTextDrawsItsGlyphsNotItsLetters)
{
    // "n" is the black square, "l" the black circle: a square fills its bounds, a circle a
    // quarter pi of them; the letters are neither as wide as high nor solid.
    const QImage image = played("symbols.wmf");
    const QRect square = darkBounds(image, QRect(0, 0, 500, 1000));
    ASSERT_FALSE(square.isEmpty());
    EXPECT_NEAR(double(square.width()) / square.height(), 1.0, 0.1);
    EXPECT_GT(darkPixels(image, square), 0.9 * square.width() * square.height());
    EXPECT_GT(square.height(), 150);
    const QRect circle = darkBounds(image, QRect(500, 0, 500, 1000));
    ASSERT_FALSE(circle.isEmpty());
    EXPECT_NEAR(double(circle.width()) / circle.height(), 1.0, 0.1);
    EXPECT_NEAR(darkPixels(image, circle) / double(circle.width() * circle.height()), 0.785, 0.06);
}

TEST(TMetafilePlayer, SymbolTextInUnicodeRecordsDrawsWhatItsGlyphsDraw)
{
    // Each row holds symbol codes on the left and, 500 pixels to the right, the Unicode glyphs
    // they stand for: both halves come out the same.
    const QImage image = played("symbols.emf");
    for (int row = 0; row < 3; ++row) {
        const int top = 50 + 300 * row;
        int dark = 0, different = 0;
        for (int y = top; y < top + 300; ++y)
            for (int x = 0; x < 500; ++x) {
                const int left = qGray(image.pixel(x, y)), right = qGray(image.pixel(x + 500, y));
                dark += left < 100;
                different += std::abs(left - right) > 64;
            }
        EXPECT_GT(dark, 2000) << "row " << row;
        EXPECT_EQ(different, 0) << "row " << row;
    }
}

TEST(TMetafilePlayer, TextTurnedByItsEscapementRunsUpwards)
{
    // "HI" at (100, 950), turned a quarter counter-clockwise: it stands right of its reference
    // point and runs up from it.
    const QImage image = played("figures.wmf");
    EXPECT_GT(darkPixels(image, QRect(100, 800, 100, 150)), 300);
    EXPECT_EQ(darkPixels(image, QRect(100, 955, 300, 45)), 0);
    EXPECT_EQ(darkPixels(image, QRect(0, 750, 95, 250)), 0);
}

TEST(TMetafilePlayer, HatchedBrushOnAnOpaqueBackground)
{
    const QImage image = played("bitmaps.emf");
    int yellow = 0, dark = 0;
    for (int y = 420; y < 780; ++y) {
        const QRgb p = image.pixel(700, y);
        yellow += near(p, kYellow);
        dark += qGray(p) < 100;
    }
    EXPECT_GT(yellow, 200);
    EXPECT_GT(dark, 20);
}

TEST(TMetafilePlayer, FrameAndSizeComeFromTheHeaders)
{
    const TMetafile wmf = loaded(sample("shapes.wmf"));
    EXPECT_EQ(wmf.format(), TMetafile::Format::Wmf);
    EXPECT_EQ(wmf.frame(), QRectF(0, 0, 1000, 1000));
    EXPECT_NEAR(wmf.sizeInches().width(), 1.0, 1e-9);
    const TMetafile emf = loaded(sample("shapes.emf"));
    EXPECT_EQ(emf.format(), TMetafile::Format::Emf);
    EXPECT_NEAR(emf.sizeInches().width(), 10.0, 1e-6);
    QPicture picture;
    ASSERT_TRUE(TMetafilePlayer::toPicture(wmf, picture).ok());
    EXPECT_EQ(picture.boundingRect(), QRect(0, 0, 96, 96));
}

TEST(TMetafilePlayer, PlaysIntoAnyTargetRectangleAndLeavesThePainterAsItWas)
{
    const TMetafile m = loaded(sample("shapes.wmf"));
    QImage image(300, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::red, 3));
    ASSERT_TRUE(TMetafilePlayer::play(m, painter, QRectF(100, 100, 100, 100)).ok());
    EXPECT_EQ(painter.pen().color(), QColor(Qt::red));
    painter.end();
    EXPECT_TRUE(near(image.pixel(120, 120), kRed));
    EXPECT_TRUE(near(image.pixel(50, 50), kWhite));
}

// ---- Damaged samples ----

quint32 u32At(const QByteArray &b, qsizetype at)
{
    quint32 v;
    std::memcpy(&v, b.constData() + at, 4);
    return v;
}

void putU32(QByteArray &b, qsizetype at, quint32 v)
{
    std::memcpy(b.data() + at, &v, 4);
}

void putU16(QByteArray &b, qsizetype at, quint16 v)
{
    std::memcpy(b.data() + at, &v, 2);
}

// The offset of the first record of `type`.
qsizetype recordOf(const QByteArray &bytes, quint32 type)
{
    const TMetafile m = loaded(bytes);
    for (const TMetafile::Record &r : m.records())
        if (r.type == type)
            return r.offset;
    ADD_FAILURE() << "no record " << type;
    return 0;
}

struct Damage {
    const char *file;
    quint32 recordType; // 0: cut the file at `at` bytes instead
    qsizetype at;       // offset in the record, or the length to keep
    int width;          // 2 or 4 bytes
    quint32 value;
    const char *what;
};

class DamagedMetafile : public ::testing::TestWithParam<Damage>
{
};

TEST_P(DamagedMetafile, AnswersAnErrorAndDrawsNothingPastIt)
{
    const Damage d = GetParam();
    QByteArray bytes = sample(d.file);
    if (d.recordType == 0) {
        bytes.truncate(d.at < 0 ? bytes.size() + d.at : d.at);
    } else {
        const qsizetype at = recordOf(bytes, d.recordType) + d.at;
        if (d.width == 2)
            putU16(bytes, at, quint16(d.value));
        else
            putU32(bytes, at, d.value);
    }
    TMetafile m;
    const TPrintResult load = TMetafile::load(bytes, m);
    // Framing is checked on loading, what the records hold on playing.
    EXPECT_EQ(load.ok(), d.recordType != 0) << d.what;
    if (!load.ok()) {
        EXPECT_EQ(load.code(), TPrintResult::Code::Corruption);
        EXPECT_FALSE(load.message().isEmpty());
        return;
    }
    QImage image(200, 200, QImage::Format_RGB32);
    QPainter painter(&image);
    const TPrintResult result = TMetafilePlayer::play(m, painter, QRectF(0, 0, 200, 200));
    EXPECT_EQ(result.code(), TPrintResult::Code::Corruption) << d.what;
    QPicture picture;
    EXPECT_FALSE(TMetafilePlayer::toPicture(m, picture).ok());
    EXPECT_TRUE(picture.isNull());
}

INSTANTIATE_TEST_SUITE_P(
    Samples, DamagedMetafile,
    ::testing::Values(Damage{"shapes.wmf", 0, 10, 0, 0, "placeable header cut"},
                      Damage{"shapes.wmf", 0, 30, 0, 0, "metafile header cut"},
                      Damage{"shapes.wmf", 0, 100, 0, 0, "cut inside a record"},
                      Damage{"shapes.wmf", 0, -6, 0, 0, "end record missing"},
                      Damage{"shapes.wmf", 0x0325, 6, 2, 30000, "polyline counts more points than it holds"},
                      Damage{"shapes.wmf", 0x0521, 6, 2, 5000, "text longer than its record"},
                      Damage{"shapes.wmf", 0x012D, 6, 2, 999, "object index outside the table"},
                      Damage{"shapes.wmf", 0x0F43, 28 + 4, 4, 100000, "bitmap wider than its bits"},
                      Damage{"shapes.wmf", 0x0F43, 28 + 14, 2, 7, "bitmap of 7 bits a pixel"},
                      Damage{"shapes.emf", 0, 60, 0, 0, "header cut"},
                      Damage{"shapes.emf", 0, 200, 0, 0, "cut inside a record"},
                      Damage{"shapes.emf", 0, -20, 0, 0, "end record missing"},
                      Damage{"shapes.emf", 86, 24, 4, 0x7FFFFFFF, "polygon counts more points than it holds"},
                      Damage{"shapes.emf", 84, 44, 4, 0x40000000, "text longer than its record"},
                      Damage{"shapes.emf", 84, 72, 4, 0xFFFFFF00, "character spacing outside the record"},
                      Damage{"shapes.emf", 81, 48, 4, 0xFFFFFFF0, "bitmap header outside the record"},
                      Damage{"rle.emf", 81, 80 + 8, 4, 0xFFFFFFFE, "run-length bitmap stored top-down"},
                      Damage{"shapes.emf", 81, 80 + 8, 4, 0x7FFFFFFF, "bitmap taller than its bits"},
                      Damage{"shapes.emf", 37, 8, 4, 70000, "object index outside the table"}));

TEST(TMetafilePlayer, ARecordLongerThanTheFileIsRefusedOnLoading)
{
    QByteArray bytes = sample("shapes.emf");
    putU32(bytes, 88 + 4, 0x7FFFFFF0);
    TMetafile m;
    EXPECT_FALSE(TMetafile::load(bytes, m).ok());
    bytes = sample("shapes.wmf");
    putU32(bytes, 22 + 18, u32At(bytes, 22 + 18) + 5000);
    EXPECT_FALSE(TMetafile::load(bytes, m).ok());
    EXPECT_FALSE(TMetafile::load(QByteArray("not a metafile at all, no header"), m).ok());
}

} // namespace
