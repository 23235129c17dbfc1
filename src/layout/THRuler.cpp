#include "THRuler.h"

#include "Units.h"

#include <QFont>
#include <QPainter>

void THRuler::setAlignHRuler(int align)
{
    if (align == alNone || align == alTop || align == alBottom)
        m_align = static_cast<TAlignHRuler>(align);
}

int THRuler::tickX(int index, double pixelsPerInch)
{
    return Rounding::halfAwayFromZero(index * pixelsPerInch / 16.0);
}

int THRuler::firstTick() const
{
    return Rounding::truncate(StartInch * 16.0);
}

int THRuler::tickBottom(int counter) const
{
    if (counter % 16 == 0)
        return Height;
    if (counter % 8 == 0)
        return Height / 2;
    return Height / 4;
}

void THRuler::Paint(QPainter &painter, double pixelsPerInch) const
{
    if (pixelsPerInch <= 0)
        pixelsPerInch = 96.0;
    painter.fillRect(0, 0, Width, Height, TGColor::toQColor(Color));
    const QColor grey(0x80, 0x80, 0x80);
    painter.setPen(QPen(grey, 1));
    QFont font(QStringLiteral("Small Fonts"));
    font.setPixelSize(std::max(1, Rounding::halfAwayFromZero(7 * pixelsPerInch / 72.0)));
    painter.setFont(font);
    const int start = firstTick();
    for (int index = 0;; ++index) {
        const int x = tickX(index, pixelsPerInch);
        if (x > Width)
            break;
        const int counter = start + index;
        painter.drawLine(x, 1, x, tickBottom(counter) - 1);
        if (counter % 16 == 0 && counter != 0)
            painter.drawText(x + 3, Height / 4 + painter.fontMetrics().ascent(), QString::number(counter / 16));
    }
}
