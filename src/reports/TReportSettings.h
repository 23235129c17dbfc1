// The page and band settings of one designed report, held in screen pixels at one whole
// number of pixels per inch for as long as a designer or a print run works with the report:
// page size, margins, band heights and which bands are used, the memo band's font and
// alignment, the font new text objects get, and each band's frame and shading. Stored as the
// fourth list of the report's layout file in thousandths of an inch. Plain value type; the
// report window, the designer and the print run each hold their own copy.
#pragma once

#include "TGColor.h"

#include <QColor>
#include <QString>

#include <array>

struct TReportSettingsList;

// The bands of a report, in the order the settings list keeps their frames.
enum class TReportBand { Header = 0, Detail = 1, Memo = 2, Footer = 3 };

struct TReportBandFrame {
    bool left = false;
    bool top = false;
    bool right = false;
    bool bottom = false;
    int lineWidth = 1;                    // hundredths of an inch, 1 to 3
    int shadePercent = 0;                 // 0 to 100
    TColor shadeColor = TGColor::clWhite; // 0x00BBGGRR

    // The fill of a shaded band: each channel moves from white towards the shade colour by the
    // percent (capped at 100): 100 % is the colour itself, 0 % white.
    QColor shadedFill() const;
    bool operator==(const TReportBandFrame &o) const;
};

struct TReportFontChoice {
    QString name = QStringLiteral("Arial");
    int size = 10; // points
    bool bold = false;
    bool italic = false;
    bool operator==(const TReportFontChoice &o) const
    {
        return name == o.name && size == o.size && bold == o.bold && italic == o.italic;
    }
};

// The four page sizes the settings dialog offers; Custom for any other size read from a file.
enum class TReportPage { LetterPortrait, LetterLandscape, A4Portrait, A4Landscape, Custom };

class TReportSettings
{
public:
    // A new report's settings at `pixelsPerInch`: Letter portrait, margins of 0.5 inch, header,
    // detail and footer bands 33 pixels high with header and detail used, Arial 10 for the memo
    // and for new text, no frames, no shading.
    static TReportSettings defaults(int pixelsPerInch);

    int pixelsPerInch() const { return m_dpi; }

    // --- Lengths in pixels at pixelsPerInch().
    int pageWidth = 0;
    int pageHeight = 0;
    int leftMargin = 0;
    int topMargin = 0;
    int rightMargin = 0;
    int bottomMargin = 0;
    int headerHeight = 33;
    int detailHeight = 33;
    int footerHeight = 33;
    bool headerUsed = true;
    bool detailUsed = true;
    bool memoUsed = false;
    bool footerUsed = false;
    TReportFontChoice memoFont;
    int memoAlignment = 0; // 0 left, 1 right, 2 centred
    TReportFontChoice defaultFont;
    std::array<TReportBandFrame, 4> frames{};

    TReportBandFrame &frame(TReportBand band) { return frames[size_t(band)]; }
    const TReportBandFrame &frame(TReportBand band) const { return frames[size_t(band)]; }

    // Whole pixels of `inches` at pixelsPerInch(), the fraction dropped.
    int pixels(double inches) const;
    double inches(int pixels) const { return double(pixels) / m_dpi; }

    // --- Page size.
    // Sets width and height to one of the four standard pages (not Custom).
    void setPage(TReportPage page);
    // Which of the four standard pages the width and height are; Custom for none.
    TReportPage page() const;
    static bool isLandscape(TReportPage page)
    {
        return page == TReportPage::LetterLandscape || page == TReportPage::A4Landscape;
    }
    static bool isA4(TReportPage page)
    {
        return page == TReportPage::A4Portrait || page == TReportPage::A4Landscape;
    }
    static TReportPage pageOf(bool a4, bool landscape);
    // "Letter Size, Portrait", "Letter Size, Landscape", "A4 Size, Portrait", "A4 Size, Landscape";
    // empty for a custom size (the row's text is kept then).
    QString pageDescription() const;
    static QString pageDescription(TReportPage page);

    // --- Bands in the designer, pixels.
    static constexpr int kMemoBandHeight = 33;
    // A band switched on while its height is 0 gets this much (less what would not fit).
    static constexpr int kSwitchedOnHeight = 20;
    // The width of every band strip: the page less both margins and a quarter inch.
    int bandWidth() const { return pageWidth - leftMargin - rightMargin - m_dpi / 4; }
    // The memo band's height in the designer (it has no stored height): 33 when used.
    int memoBandHeight() const { return memoUsed ? kMemoBandHeight : 0; }
    // The page area's height limit: page height less both margins, plus the memo band and 100.
    int heightLimit() const { return pageHeight - topMargin - bottomMargin + memoBandHeight() + 100; }
    // The stored height of the header, detail or footer band (the memo band: memoBandHeight()).
    int bandHeight(TReportBand band) const;
    bool isBandUsed(TReportBand band) const;
    // A sizing strip dragged: the band's height becomes `heightAtPress` + `dy`, less what would
    // take the header, detail and footer bands together past the page height less the margins;
    // never below 0. Answers the new height. Requires: not the memo band.
    int dragBand(TReportBand band, int heightAtPress, int dy);
    // A band's check box: on with a height of 0 gives it 20 pixels less what would not fit; off
    // sets its height to 0 (the memo band only switches).
    void switchBand(TReportBand band, bool on);

    // --- The stored list. Lengths become thousandths of an inch, the fraction dropped, and
    // come back rounded to whole pixels (halves to even).
    TReportSettingsList toList() const;
    static TReportSettings fromList(const TReportSettingsList &list, int pixelsPerInch);

    bool operator==(const TReportSettings &o) const;
    bool operator!=(const TReportSettings &o) const { return !(*this == o); }

private:
    int m_dpi = 96;
};
