#include "TGSymbolLabel.h"

#include "TCp1252.h"
#include "TGBasePanel.h"

#include <QFontMetrics>

TGSymbolLabel::TGSymbolLabel(TGOwner *owner) : TGBaseLabel(owner)
{
    TGFont font(QStringLiteral("WingDings"), 24);
    setFont(font);
    setCaptionQuiet(QStringLiteral("["));
}

QSize TGSymbolLabel::symbolBoxSize() const
{
    const QFontMetrics fm(screenFont());
    return QSize(Rounding::truncate(1.1 * fm.horizontalAdvance(shownCaption())),
                 Rounding::truncate(1.1 * fm.height()));
}

void TGSymbolLabel::ChooseSymbol(const TGFont &font, int code)
{
    setFont(font);
    setCaption(QString(TCp1252::toChar(static_cast<unsigned char>(code))));
    CheckBoundsChanged();
    Invalidate();
}

void TGSymbolLabel::CheckBoundsChanged()
{
    TGBaseLabel::CheckBoundsChanged();
    const QSize size = symbolBoxSize();
    if (size != QSize(Width(), Height())) {
        SetBounds(Left(), Top(), size.width(), size.height());
        if (parent())
            parent()->PostFrameRefit();
    }
}
