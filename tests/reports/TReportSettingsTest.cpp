// The settings of a designed report: a new report's fourth list read back by a decoder of the
// value tags written here (not the layout library's reader), the stored round trip, the band
// fill colours and the designer's band sizing.
#include "TReportSettings.h"

#include "LayoutStreamWriter.h"
#include "TReportSettingsList.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QVariant>

#include <vector>

namespace {

// The bare values between a list's 0x01 and 0x00: integers (0x02/0x03/0x04, little-endian,
// signed), false/true (0x08/0x09) and short strings (0x06). Anything else fails the decode.
bool decodeValues(const QByteArray &b, std::vector<QVariant> &out)
{
    qsizetype i = 0;
    if (b.size() < 2 || uchar(b.at(i++)) != 0x01)
        return false;
    const auto le = [&](int n) {
        qint64 v = 0;
        for (int k = 0; k < n; ++k)
            v |= qint64(uchar(b.at(i + k))) << (8 * k);
        if (v & (qint64(1) << (8 * n - 1)))
            v -= qint64(1) << (8 * n);
        i += n;
        return int(v);
    };
    while (i < b.size()) {
        const uchar tag = uchar(b.at(i++));
        const int widths[5] = {0, 0, 1, 2, 4};
        if (tag == 0x00)
            return i == b.size();
        if (tag >= 0x02 && tag <= 0x04) {
            if (i + widths[tag] > b.size())
                return false;
            out.emplace_back(le(widths[tag]));
        } else if (tag == 0x08 || tag == 0x09) {
            out.emplace_back(tag == 0x09);
        } else if (tag == 0x06) {
            if (i >= b.size())
                return false;
            const int n = uchar(b.at(i++));
            if (i + n > b.size())
                return false;
            out.emplace_back(QString::fromLatin1(b.mid(i, n)));
            i += n;
        } else {
            return false;
        }
    }
    return false;
}

std::vector<QVariant> storedValues(const TReportSettings &s)
{
    LayoutStreamWriter w;
    w.writeListBegin();
    s.toList().write(w);
    w.writeListEnd();
    std::vector<QVariant> values;
    EXPECT_TRUE(decodeValues(w.bytes(), values));
    return values;
}

class NewReportSettings : public ::testing::TestWithParam<int>
{
};

TEST_P(NewReportSettings, StoreTheFiftyDefaultValuesInOrder)
{
    const int dpi = GetParam();
    const std::vector<QVariant> v = storedValues(TReportSettings::defaults(dpi));
    ASSERT_EQ(v.size(), 50u);
    const int band = int(33.0 / dpi * 1000); // 33 pixels, the fraction of a thousandth dropped
    const std::vector<QVariant> expected = {
        8500,
        11000,
        500,
        500,
        500,
        500,
        band,
        band,
        band, // lengths
        true,
        true,
        false,
        false, // header, detail, memo, footer
        QStringLiteral("Arial"),
        10,
        false,
        false,
        0, // memo font, alignment
        QStringLiteral("Arial"),
        10,
        false,
        false, // default font
    };
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(v[i], expected[i]) << "value " << i + 1;
    for (size_t b = 0; b < 4; ++b) {
        const size_t at = 22 + b * 7;
        for (size_t k = 0; k < 4; ++k)
            EXPECT_EQ(v[at + k], QVariant(false)) << "band " << b << " border " << k;
        EXPECT_EQ(v[at + 4], QVariant(1)) << "band " << b << " line width";
        EXPECT_EQ(v[at + 5], QVariant(0)) << "band " << b << " shade percent";
        EXPECT_EQ(v[at + 6], QVariant(0xFFFFFF)) << "band " << b << " shade colour";
    }
}

INSTANTIATE_TEST_SUITE_P(PixelsPerInch, NewReportSettings, ::testing::Values(96, 120, 144));

TEST(ReportSettings, ReadBackAsStoredAndDescribeTheirPage)
{
    TReportSettings s = TReportSettings::defaults(96);
    s.setPage(TReportPage::A4Landscape);
    s.leftMargin = s.pixels(0.75);
    s.detailHeight = 57;
    s.memoUsed = true;
    s.memoAlignment = 2;
    s.memoFont = {QStringLiteral("Times New Roman"), 12, true, false};
    s.frame(TReportBand::Memo) = {true, false, true, false, 3, 40, 0x0000FF};
    EXPECT_EQ(s.pageWidth, 1121);
    EXPECT_EQ(s.pageHeight, 793);
    EXPECT_EQ(s.pageDescription(), QStringLiteral("A4 Size, Landscape"));
    const TReportSettings back = TReportSettings::fromList(s.toList(), 96);
    EXPECT_EQ(back, s);
    EXPECT_EQ(back.page(), TReportPage::A4Landscape);
    s.pageWidth += 1;
    EXPECT_EQ(s.page(), TReportPage::Custom);
}

struct FillCase {
    int percent;
    TColor colour;
    QColor expected;
};
class BandFill : public ::testing::TestWithParam<FillCase>
{
};

TEST_P(BandFill, MovesFromWhiteTowardsTheShadeColour)
{
    const FillCase c = GetParam();
    TReportBandFrame f;
    f.shadePercent = c.percent;
    f.shadeColor = c.colour;
    EXPECT_EQ(f.shadedFill(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, BandFill,
                         ::testing::Values(FillCase{0, 0x000000, QColor(255, 255, 255)},
                                           FillCase{100, 0x0000FF, QColor(255, 0, 0)},
                                           FillCase{40, 0x000000, QColor(153, 153, 153)},
                                           FillCase{20, 0xFF0000, QColor(204, 204, 255)},
                                           FillCase{150, 0x00FF00, QColor(0, 255, 0)}));

TEST(ReportBandSizing, TheBandsNeverExceedThePrintableHeight)
{
    TReportSettings s = TReportSettings::defaults(96);
    // Letter at 96: 1056 pixels high, 48 each margin: 960 for header, detail and footer.
    s.footerUsed = true;
    EXPECT_EQ(s.dragBand(TReportBand::Detail, 33, 2000), 960 - 33 - 33);
    EXPECT_EQ(s.dragBand(TReportBand::Detail, 33, 100), 133);
    EXPECT_EQ(s.dragBand(TReportBand::Detail, 33, -100), 0);
    // The memo band is not part of the page's limit: switching it on changes nothing.
    s.memoUsed = true;
    EXPECT_EQ(s.dragBand(TReportBand::Header, 33, 5000), 960 - 0 - 33);
    EXPECT_EQ(s.bandWidth(), 816 - 96 - 24);
}

TEST(ReportBandSizing, SwitchingABandOnGivesItTwentyPixelsThatFit)
{
    TReportSettings s = TReportSettings::defaults(96);
    s.switchBand(TReportBand::Footer, false);
    EXPECT_EQ(s.footerHeight, 0);
    s.switchBand(TReportBand::Footer, true);
    EXPECT_EQ(s.footerHeight, 20);
    s.switchBand(TReportBand::Header, false);
    EXPECT_EQ(s.dragBand(TReportBand::Detail, 0, 5000), 960 - 20);
    s.switchBand(TReportBand::Header, true);
    EXPECT_EQ(s.headerHeight, 0) << "no room is left above a full detail band";
}

} // namespace
