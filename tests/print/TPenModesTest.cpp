#include "TPenModes.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>

#include <gtest/gtest.h>

namespace {

// A pen mode drawn as a filled square of `source` over a white-and-black image; the pixels
// that were white and black afterwards.
struct ModeCase {
    TPenMode mode;
    QRgb source;
    QRgb overWhite;
    QRgb overBlack;
};

class PenModeOnImage : public ::testing::TestWithParam<ModeCase>
{
};

TEST_P(PenModeOnImage, CombinesWithWhatIsDrawn)
{
    const ModeCase c = GetParam();
    QImage image(4, 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        p.fillRect(0, 1, 4, 1, Qt::black);
        EXPECT_EQ(TPenModes::apply(p, c.mode), c.mode);
        p.fillRect(0, 0, 4, 2, QColor::fromRgb(c.source));
    }
    EXPECT_EQ(image.pixel(1, 0) & 0xFFFFFF, c.overWhite & 0xFFFFFF);
    EXPECT_EQ(image.pixel(1, 1) & 0xFFFFFF, c.overBlack & 0xFFFFFF);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, PenModeOnImage,
    ::testing::Values(ModeCase{TPenMode::Copy, qRgb(255, 0, 0), qRgb(255, 0, 0), qRgb(255, 0, 0)},
                      ModeCase{TPenMode::Xor, qRgb(255, 0, 0), qRgb(0, 255, 255), qRgb(255, 0, 0)},
                      ModeCase{TPenMode::NotXor, qRgb(255, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 255)},
                      ModeCase{TPenMode::Not, qRgb(255, 0, 0), qRgb(0, 0, 0), qRgb(255, 255, 255)},
                      ModeCase{TPenMode::Nop, qRgb(255, 0, 0), qRgb(255, 255, 255), qRgb(0, 0, 0)},
                      ModeCase{TPenMode::NotCopy, qRgb(255, 0, 0), qRgb(0, 255, 255), qRgb(0, 255, 255)},
                      ModeCase{TPenMode::Mask, qRgb(255, 0, 0), qRgb(255, 0, 0), qRgb(0, 0, 0)},
                      ModeCase{TPenMode::Merge, qRgb(255, 0, 0), qRgb(255, 255, 255), qRgb(255, 0, 0)},
                      ModeCase{TPenMode::MaskNotPen, qRgb(255, 0, 0), qRgb(0, 255, 255), qRgb(0, 0, 0)},
                      ModeCase{TPenMode::MergePenNot, qRgb(255, 0, 0), qRgb(255, 0, 0),
                               qRgb(255, 255, 255)}));

TEST(TPenModes, PdfFallsBackToCopy)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    QPainter p(&pdf);
    EXPECT_EQ(TPenModes::apply(p, TPenMode::Xor), TPenMode::Copy);
    EXPECT_EQ(p.compositionMode(), QPainter::CompositionMode_SourceOver);
    EXPECT_EQ(TPenModes::apply(p, TPenMode::Copy), TPenMode::Copy);
}

TEST(TPenModes, LayoutModesInStreamOrder)
{
    EXPECT_EQ(TPenModes::fromLayoutIndex(0), TPenMode::Black);
    EXPECT_EQ(TPenModes::fromLayoutIndex(4), TPenMode::Copy);
    EXPECT_EQ(TPenModes::fromLayoutIndex(14), TPenMode::Xor);
    EXPECT_EQ(TPenModes::fromLayoutIndex(15), TPenMode::NotXor);
    EXPECT_EQ(TPenModes::fromLayoutIndex(16), TPenMode::Copy);
    EXPECT_EQ(TPenModes::fromLayoutIndex(-1), TPenMode::Copy);
}

} // namespace
