// The envelope sizes: the list entries as the size list shows them and the true sizes, metric
// envelopes converted at 25.4 mm to the inch.
#include "TEnvelopeSizes.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

struct SizeCase {
    int code;
    double width, height; // inches
};

class EnvelopeSize : public ::testing::TestWithParam<SizeCase>
{
};

TEST_P(EnvelopeSize, IsTheTrueSize)
{
    const SizeCase c = GetParam();
    ASSERT_TRUE(TEnvelopeSizes::isKnown(c.code));
    const InchSize s = TEnvelopeSizes::size(c.code);
    EXPECT_NEAR(s.width.value, c.width, 0.0005) << c.code;
    EXPECT_NEAR(s.height.value, c.height, 0.0005) << c.code;
}

INSTANTIATE_TEST_SUITE_P(Sizes, EnvelopeSize,
                         ::testing::Values(SizeCase{19, 8.875, 3.875}, SizeCase{20, 9.5, 4.125},
                                           SizeCase{21, 10.375, 4.5}, SizeCase{22, 11, 4.75},
                                           SizeCase{23, 11.5, 5}, SizeCase{27, 8.661, 4.331},
                                           SizeCase{28, 9.016, 6.378}, SizeCase{30, 12.756, 9.016},
                                           SizeCase{31, 6.378, 4.488}, SizeCase{32, 9.016, 4.488},
                                           SizeCase{33, 13.898, 9.843}, SizeCase{34, 9.843, 6.929},
                                           SizeCase{35, 6.929, 4.921}, SizeCase{36, 9.055, 4.331},
                                           SizeCase{37, 7.5, 3.875}, SizeCase{38, 6.5, 3.625}));

TEST(EnvelopeSizes, TheListShowsEveryEntryInOrderWithItsOwnSpacing)
{
    const QVector<TEnvelopeSize> &all = TEnvelopeSizes::all();
    ASSERT_EQ(all.size(), 16);
    EXPECT_EQ(all.first().code, 19);
    EXPECT_EQ(all.at(1).entry, QStringLiteral("Envelope #10 4 1/8 x 9 1/2 inches"));
    EXPECT_EQ(all.at(6).entry, QStringLiteral("Envelope C5 162 x 229 mm "));
    EXPECT_EQ(all.at(7).entry, QStringLiteral("Envelope C4  229 x 324 mm"));
    EXPECT_EQ(all.last().entry, QStringLiteral("6 3/4 Envelope 3 5/8 x 6 1/2 inches"));
    for (const TEnvelopeSize &s : all)
        EXPECT_GT(s.size.width, s.size.height) << s.code;
}

TEST(EnvelopeSizes, AnUnknownCodeHasNoSizeAndSelectsTheFirstEntry)
{
    for (int code : {-1, 0, 1, 9, 24, 29, 39, 99999}) {
        EXPECT_FALSE(TEnvelopeSizes::isKnown(code)) << code;
        const InchSize s = TEnvelopeSizes::size(code);
        EXPECT_EQ(s.width.value, 0.0) << code;
        EXPECT_EQ(TEnvelopeSizes::indexOf(code), 0) << code;
    }
    EXPECT_EQ(TEnvelopeSizes::indexOf(38), 15);
}

} // namespace
