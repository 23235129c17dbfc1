#include "TLetterPageLayout.h"

#include <QTextDocument>
#include <QVariant>

#include <algorithm>

namespace {

// Dynamic property names on the QTextDocument.
constexpr const char *kPaperWidth = "corvantisPaperWidthTwips";
constexpr const char *kPaperHeight = "corvantisPaperHeightTwips";
constexpr const char *kMarginLeft = "corvantisMarginLeftTwips";
constexpr const char *kMarginRight = "corvantisMarginRightTwips";
constexpr const char *kMarginTop = "corvantisMarginTopTwips";
constexpr const char *kMarginBottom = "corvantisMarginBottomTwips";

void readInt(const QTextDocument &document, const char *name, int &value)
{
    const QVariant v = document.property(name);
    bool ok = false;
    const int read = v.toInt(&ok);
    if (v.isValid() && ok)
        value = read;
}

// Shrinks two margins in proportion so that they leave at least `minText` of `side`.
void fitMargins(int side, int minText, int &first, int &second)
{
    first = std::max(first, 0);
    second = std::max(second, 0);
    const long long room = static_cast<long long>(side) - minText;
    const long long sum = static_cast<long long>(first) + second;
    if (sum <= room)
        return;
    if (room <= 0) {
        first = second = 0;
        return;
    }
    first = static_cast<int>(first * room / sum);
    second = static_cast<int>(std::min<long long>(second, room - first));
}

bool paperSideOk(int twips)
{
    return twips >= TLetterPageLayout::kMinPaperTwips && twips <= TLetterPageLayout::kMaxPaperTwips;
}

} // namespace

QString TLetterPageLayout::problem() const
{
    if (paperWidth < 0 || paperHeight < 0 || marginLeft < 0 || marginRight < 0 || marginTop < 0 ||
        marginBottom < 0)
        return QStringLiteral("Paper size and margins cannot be negative.");
    if (static_cast<long long>(paperWidth) <= static_cast<long long>(marginLeft) + marginRight)
        return QStringLiteral("The paper width must be larger than the left and right margins together.");
    if (static_cast<long long>(paperHeight) <= static_cast<long long>(marginTop) + marginBottom)
        return QStringLiteral("The paper height must be larger than the top and bottom margins together.");
    return {};
}

TLetterPageLayout TLetterPageLayout::of(const QTextDocument &document)
{
    TLetterPageLayout layout;
    readInt(document, kPaperWidth, layout.paperWidth);
    readInt(document, kPaperHeight, layout.paperHeight);
    readInt(document, kMarginLeft, layout.marginLeft);
    readInt(document, kMarginRight, layout.marginRight);
    readInt(document, kMarginTop, layout.marginTop);
    readInt(document, kMarginBottom, layout.marginBottom);
    return layout.usable();
}

void TLetterPageLayout::applyTo(QTextDocument &document) const
{
    const TLetterPageLayout u = usable();
    document.setProperty(kPaperWidth, u.paperWidth);
    document.setProperty(kPaperHeight, u.paperHeight);
    document.setProperty(kMarginLeft, u.marginLeft);
    document.setProperty(kMarginRight, u.marginRight);
    document.setProperty(kMarginTop, u.marginTop);
    document.setProperty(kMarginBottom, u.marginBottom);
}

bool TLetterPageLayout::isUsable() const
{
    return usable() == *this;
}

TLetterPageLayout TLetterPageLayout::usable() const
{
    TLetterPageLayout u = *this;
    const TLetterPageLayout fresh;
    if (!paperSideOk(u.paperWidth))
        u.paperWidth = fresh.paperWidth;
    if (!paperSideOk(u.paperHeight))
        u.paperHeight = fresh.paperHeight;
    fitMargins(u.paperWidth, kMinTextTwips, u.marginLeft, u.marginRight);
    fitMargins(u.paperHeight, kMinTextTwips, u.marginTop, u.marginBottom);
    return u;
}

QRect TLetterPageLayout::DeterminePrinterBounds(int dpiX, int dpiY, int offsetX, int offsetY) const
{
    const auto pixels = [](long long dpi, long long twips) { return dpi * twips / kTwipsPerInch; };
    const long long pageWidth = pixels(dpiX, paperWidth);
    const long long pageHeight = pixels(dpiY, paperHeight);
    const long long left = pixels(dpiX, marginLeft) - offsetX;
    const long long top = pixels(dpiY, marginTop) - offsetY;
    const long long width = pageWidth - pixels(dpiX, marginRight) - left;
    const long long height = pageHeight - pixels(dpiY, marginBottom) - top;
    return QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(width),
                 static_cast<int>(height));
}
