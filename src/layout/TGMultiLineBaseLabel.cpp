#include "TGMultiLineBaseLabel.h"

#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"

#include <QFontMetrics>
#include <QPainter>

TGMultiLineBaseLabel::TGMultiLineBaseLabel(TGOwner *owner) : TGGraphicControl(owner)
{
    initSize(190, 33);
}

void TGMultiLineBaseLabel::setItems(const QStringList &items)
{
    m_items = items;
    Invalidate();
}

void TGMultiLineBaseLabel::setFont(const TGFont &font)
{
    m_font = font;
    Invalidate();
}

void TGMultiLineBaseLabel::setAlignment(TAlignment alignment)
{
    m_alignment = alignment;
    Invalidate();
}

void TGMultiLineBaseLabel::setWordWrap(bool on)
{
    m_wordWrap = on;
    Invalidate();
}

void TGMultiLineBaseLabel::Paint(QPainter &painter)
{
    const QFont font = m_font.qtFont(pixelsPerInch(), ScaleFactor());
    painter.setFont(font);
    painter.setPen(TGColor::toQColor(m_font.color()));
    const QFontMetrics fm(font, painter.device());
    int flags = Qt::AlignTop | (m_alignment == taCenter         ? Qt::AlignHCenter
                                : m_alignment == taRightJustify ? Qt::AlignRight
                                                                : Qt::AlignLeft);
    if (m_wordWrap)
        flags |= Qt::TextWordWrap;
    painter.drawText(QRect(0, 0, Width(), Height()), flags, m_items.join(QLatin1Char('\n')));
    TGGraphicControl::Paint(painter);
}

void TGMultiLineBaseLabel::WriteProperties(LayoutStreamWriter &w) const
{
    TGGraphicControl::WriteProperties(w);
    if (!m_items.isEmpty()) {
        w.writePropertyName("Items.Strings");
        w.writeStringList(m_items);
    }
    w.booleanProperty("AutoSize", m_autoSize);
    if (m_alignment != taLeftJustify)
        w.identProperty("Alignment", TAlignmentNames[m_alignment]);
    m_font.write(w, "Font", pixelsPerInch());
    if (m_wordWrap)
        w.booleanProperty("WordWrap", true);
}

bool TGMultiLineBaseLabel::ReadProperty(const QByteArray &name, LayoutStreamReader &r)
{
    if (name == "Items.Strings")
        m_items = r.readStringList();
    else if (name == "AutoSize")
        m_autoSize = r.readBoolean();
    else if (name == "Alignment")
        m_alignment = static_cast<TAlignment>(r.readEnum(TAlignmentNames, TAlignmentCount));
    else if (name.startsWith("Font."))
        return m_font.readProperty(name.mid(5), r, pixelsPerInch());
    else if (name == "WordWrap")
        m_wordWrap = r.readBoolean();
    else
        return TGGraphicControl::ReadProperty(name, r);
    return true;
}
