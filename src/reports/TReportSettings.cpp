#include "TReportSettings.h"

#include "TReportSettingsList.h"

#include <algorithm>
#include <cmath>

QColor TReportBandFrame::shadedFill() const
{
    const int p = std::clamp(shadePercent, 0, 100);
    const int c = 100 - p;
    const auto channel = [c](int v) { return v + c * (255 - v) / 100; };
    const int red = int(shadeColor & 0xFF);
    const int green = int((shadeColor >> 8) & 0xFF);
    const int blue = int((shadeColor >> 16) & 0xFF);
    return QColor(channel(red), channel(green), channel(blue));
}

bool TReportBandFrame::operator==(const TReportBandFrame &o) const
{
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom &&
           lineWidth == o.lineWidth && shadePercent == o.shadePercent && shadeColor == o.shadeColor;
}

TReportSettings TReportSettings::defaults(int pixelsPerInch)
{
    TReportSettings s;
    s.m_dpi = pixelsPerInch > 0 ? pixelsPerInch : 96;
    s.setPage(TReportPage::LetterPortrait);
    s.leftMargin = s.topMargin = s.rightMargin = s.bottomMargin = s.pixels(0.5);
    return s;
}

int TReportSettings::pixels(double inches) const
{
    // A small allowance keeps 8.27 × 96 = 793.92 from landing a hair below its whole part.
    return int(std::floor(inches * m_dpi + 1e-9));
}

TReportPage TReportSettings::pageOf(bool a4, bool landscape)
{
    if (a4)
        return landscape ? TReportPage::A4Landscape : TReportPage::A4Portrait;
    return landscape ? TReportPage::LetterLandscape : TReportPage::LetterPortrait;
}

void TReportSettings::setPage(TReportPage page)
{
    if (page == TReportPage::Custom)
        return;
    const int w = isA4(page) ? pixels(8.27) : pixels(8.5);
    const int h = isA4(page) ? pixels(11.68) : pixels(11.0);
    pageWidth = isLandscape(page) ? h : w;
    pageHeight = isLandscape(page) ? w : h;
}

TReportPage TReportSettings::page() const
{
    for (TReportPage p : {TReportPage::LetterPortrait, TReportPage::LetterLandscape, TReportPage::A4Portrait,
                          TReportPage::A4Landscape}) {
        TReportSettings probe = *this;
        probe.setPage(p);
        if (probe.pageWidth == pageWidth && probe.pageHeight == pageHeight)
            return p;
    }
    return TReportPage::Custom;
}

QString TReportSettings::pageDescription(TReportPage page)
{
    switch (page) {
    case TReportPage::LetterPortrait:
        return QStringLiteral("Letter Size, Portrait");
    case TReportPage::LetterLandscape:
        return QStringLiteral("Letter Size, Landscape");
    case TReportPage::A4Portrait:
        return QStringLiteral("A4 Size, Portrait");
    case TReportPage::A4Landscape:
        return QStringLiteral("A4 Size, Landscape");
    case TReportPage::Custom:
        break;
    }
    return {};
}

QString TReportSettings::pageDescription() const
{
    return pageDescription(page());
}

int TReportSettings::bandHeight(TReportBand band) const
{
    switch (band) {
    case TReportBand::Header:
        return headerHeight;
    case TReportBand::Detail:
        return detailHeight;
    case TReportBand::Memo:
        return memoBandHeight();
    case TReportBand::Footer:
        return footerHeight;
    }
    return 0;
}

bool TReportSettings::isBandUsed(TReportBand band) const
{
    switch (band) {
    case TReportBand::Header:
        return headerUsed;
    case TReportBand::Detail:
        return detailUsed;
    case TReportBand::Memo:
        return memoUsed;
    case TReportBand::Footer:
        return footerUsed;
    }
    return false;
}

namespace {

int *heightOf(TReportSettings &s, TReportBand band)
{
    switch (band) {
    case TReportBand::Header:
        return &s.headerHeight;
    case TReportBand::Detail:
        return &s.detailHeight;
    case TReportBand::Footer:
        return &s.footerHeight;
    case TReportBand::Memo:
        break;
    }
    return nullptr;
}

} // namespace

int TReportSettings::dragBand(TReportBand band, int heightAtPress, int dy)
{
    int *height = heightOf(*this, band);
    if (!height)
        return memoBandHeight();
    *height = std::max(0, heightAtPress + dy);
    const int excess = headerHeight + detailHeight + footerHeight + memoBandHeight() + 100 - heightLimit();
    if (excess > 0)
        *height = std::max(0, *height - excess);
    return *height;
}

void TReportSettings::switchBand(TReportBand band, bool on)
{
    switch (band) {
    case TReportBand::Header:
        headerUsed = on;
        break;
    case TReportBand::Detail:
        detailUsed = on;
        break;
    case TReportBand::Memo:
        memoUsed = on;
        return;
    case TReportBand::Footer:
        footerUsed = on;
        break;
    }
    int *height = heightOf(*this, band);
    if (!on)
        *height = 0;
    else if (*height == 0)
        dragBand(band, kSwitchedOnHeight, 0);
}

TReportSettingsList TReportSettings::toList() const
{
    TReportSettingsList l;
    const int lengths[9] = {pageWidth,    pageHeight,   leftMargin,   topMargin,   rightMargin,
                            bottomMargin, headerHeight, detailHeight, footerHeight};
    for (size_t i = 0; i < 9; ++i)
        l.lengths[i] = TReportSettingsList::toMils(lengths[i], m_dpi);
    l.flags = {headerUsed, detailUsed, memoUsed, footerUsed};
    l.typeface1 = memoFont.name;
    l.size1 = memoFont.size;
    l.flags1 = {memoFont.bold, memoFont.italic};
    l.number = memoAlignment;
    l.typeface2 = defaultFont.name;
    l.size2 = defaultFont.size;
    l.flags2 = {defaultFont.bold, defaultFont.italic};
    for (size_t b = 0; b < 4; ++b) {
        const TReportBandFrame &f = frames[b];
        l.groups[b].flags = {f.left, f.top, f.right, f.bottom};
        l.groups[b].numbers = {f.lineWidth, f.shadePercent, int(f.shadeColor)};
    }
    return l;
}

TReportSettings TReportSettings::fromList(const TReportSettingsList &l, int pixelsPerInch)
{
    TReportSettings s = defaults(pixelsPerInch);
    int *lengths[9] = {&s.pageWidth,    &s.pageHeight,   &s.leftMargin,   &s.topMargin,   &s.rightMargin,
                       &s.bottomMargin, &s.headerHeight, &s.detailHeight, &s.footerHeight};
    for (size_t i = 0; i < 9; ++i)
        *lengths[i] = std::max(0, TReportSettingsList::toPixels(l.lengths[i], s.m_dpi));
    s.headerUsed = l.flags[0];
    s.detailUsed = l.flags[1];
    s.memoUsed = l.flags[2];
    s.footerUsed = l.flags[3];
    s.memoFont = {l.typeface1, l.size1, l.flags1[0], l.flags1[1]};
    s.memoAlignment = l.number;
    s.defaultFont = {l.typeface2, l.size2, l.flags2[0], l.flags2[1]};
    // Values as stored, so an unchanged report writes the same bytes; the print run and the
    // designer keep sizes, widths and alignments within what they can draw.
    for (size_t b = 0; b < 4; ++b) {
        TReportBandFrame &f = s.frames[b];
        f.left = l.groups[b].flags[0];
        f.top = l.groups[b].flags[1];
        f.right = l.groups[b].flags[2];
        f.bottom = l.groups[b].flags[3];
        f.lineWidth = l.groups[b].numbers[0];
        f.shadePercent = l.groups[b].numbers[1];
        f.shadeColor = TColor(l.groups[b].numbers[2]);
    }
    return s;
}

bool TReportSettings::operator==(const TReportSettings &o) const
{
    return m_dpi == o.m_dpi && pageWidth == o.pageWidth && pageHeight == o.pageHeight &&
           leftMargin == o.leftMargin && topMargin == o.topMargin && rightMargin == o.rightMargin &&
           bottomMargin == o.bottomMargin && headerHeight == o.headerHeight &&
           detailHeight == o.detailHeight && footerHeight == o.footerHeight && headerUsed == o.headerUsed &&
           detailUsed == o.detailUsed && memoUsed == o.memoUsed && footerUsed == o.footerUsed &&
           memoFont == o.memoFont && memoAlignment == o.memoAlignment && defaultFont == o.defaultFont &&
           frames == o.frames;
}
