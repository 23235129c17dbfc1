#include "TGraphicPanel.h"

#include <QFontMetrics>
#include <QPainter>

void TGraphicPanel::setSize(int width, int height)
{
    if (width == m_width && height == m_height)
        return;
    m_width = width;
    m_height = height;
    if (OnResize)
        OnResize();
}

void TGraphicPanel::setCaption(const QString &caption)
{
    m_caption = caption;
    if (InvalidateEvent)
        InvalidateEvent();
}

QRect TGraphicPanel::innerRect() const
{
    int inset = BorderStyle == bsSingle ? 1 : 0;
    if (BevelOuter != bvNone)
        inset += BevelWidth;
    inset += BorderWidth;
    if (BevelInner != bvNone)
        inset += BevelWidth;
    return QRect(0, 0, m_width, m_height).adjusted(inset, inset, -inset, -inset);
}

namespace {

// `rings` rings inside `r` (right and bottom inclusive): `topLeft` above and left, `bottomRight` below and right.
QRect bevel(QPainter &p, QRect r, int rings, const QColor &topLeft, const QColor &bottomRight)
{
    for (int i = 0; i < rings && r.width() > 0 && r.height() > 0; ++i) {
        p.setPen(topLeft);
        p.drawLine(r.left(), r.bottom(), r.left(), r.top());
        p.drawLine(r.left(), r.top(), r.right(), r.top());
        p.setPen(bottomRight);
        p.drawLine(r.right(), r.top(), r.right(), r.bottom());
        p.drawLine(r.right(), r.bottom(), r.left(), r.bottom());
        r.adjust(1, 1, -1, -1);
    }
    return r;
}

} // namespace

void TGraphicPanel::Paint(QPainter &p) const
{
    QRect r(0, 0, m_width, m_height);
    if (BorderStyle == bsSingle) {
        p.setPen(Qt::black);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
    }
    if (BevelOuter != bvNone)
        r = BevelOuter == bvRaised ? bevel(p, r, BevelWidth, Highlight, Shadow)
                                   : bevel(p, r, BevelWidth, Shadow, Highlight);
    for (int i = 0; i < BorderWidth && r.width() > 0 && r.height() > 0; ++i) {
        p.setPen(Color);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
    }
    if (BevelInner != bvNone)
        r = BevelInner == bvRaised ? bevel(p, r, BevelWidth, Highlight, Shadow)
                                   : bevel(p, r, BevelWidth, Shadow, Highlight);
    if (r.width() <= 0 || r.height() <= 0)
        return;
    p.fillRect(r, Color);
    QString text = m_caption;
    text.replace(QLatin1Char('\t'), QStringLiteral("        "));
    p.setFont(Font);
    p.setPen(Enabled ? Qt::black : Shadow);
    const int band = QFontMetrics(Font).boundingRect(QLatin1Char('W')).height();
    const QRect line(r.left(), r.top() + (r.height() - band) / 2, r.width(), band);
    Qt::Alignment horizontal = Qt::AlignHCenter;
    if (Alignment == taLeftJustify)
        horizontal = Qt::AlignLeft;
    else if (Alignment == taRightJustify)
        horizontal = Qt::AlignRight;
    p.drawText(line, horizontal | Qt::AlignVCenter | Qt::TextDontClip, text);
}
