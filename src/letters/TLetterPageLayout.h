// The page layout of a letter document: paper size and the four margins in twips (1440 to the
// inch), measured from the paper's edges. It travels inside the RTF text; in memory it is kept
// as properties of the QTextDocument, so every copy of a document carries its page.
#pragma once

#include <QRect>
#include <QString>

class QTextDocument;

struct TLetterPageLayout {
    static constexpr int kTwipsPerInch = 1440;
    // Smallest and largest paper side and largest margin the reader accepts: 0.1 and 100 inches.
    static constexpr int kMinPaperTwips = 144;
    static constexpr int kMaxPaperTwips = 144000;
    // The text area left between the margins is never narrower or shorter than this (0.1 inch).
    static constexpr int kMinTextTwips = 144;

    // A new letter: 8.5 by 11 inch paper with 1-inch margins.
    int paperWidth = 12240;
    int paperHeight = 15840;
    int marginLeft = 1440;
    int marginRight = 1440;
    int marginTop = 1440;
    int marginBottom = 1440;

    // The layout kept in `document`, or the new-letter layout when it holds none.
    static TLetterPageLayout of(const QTextDocument &document);
    // Keeps this layout (made usable() first) in `document`.
    void applyTo(QTextDocument &document) const;

    // Why the page settings cannot be taken, or an empty text: a negative value, a width not
    // larger than the left and right margins together or a height not larger than the top and
    // bottom margins together.
    QString problem() const;

    // Paper sides within [kMinPaperTwips, kMaxPaperTwips] and margins that leave at least
    // kMinTextTwips of text both ways.
    bool isUsable() const;
    // This layout with a paper side out of range set to the new-letter side and margins that
    // leave too little text area shrunk in proportion, so printing always has room to lay out.
    TLetterPageLayout usable() const;

    // The rectangle the text is printed into, in printer pixels, from this layout, the
    // printer's resolution and its unprintable left and top edges (pixels): the margins count
    // from the paper's edge, so the offsets are taken off the left and top. Every product is
    // formed before its division, and divisions truncate toward zero.
    QRect DeterminePrinterBounds(int dpiX, int dpiY, int offsetX, int offsetY) const;

    int textWidth() const { return paperWidth - marginLeft - marginRight; }
    int textHeight() const { return paperHeight - marginTop - marginBottom; }

    bool operator==(const TLetterPageLayout &o) const
    {
        return paperWidth == o.paperWidth && paperHeight == o.paperHeight && marginLeft == o.marginLeft &&
               marginRight == o.marginRight && marginTop == o.marginTop && marginBottom == o.marginBottom;
    }
    bool operator!=(const TLetterPageLayout &o) const { return !(*this == o); }
};
