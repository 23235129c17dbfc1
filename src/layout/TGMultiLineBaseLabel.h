// Base of the multi-line text objects: the lines, their font, alignment and word wrapping,
// and their stream entries. The lines are drawn one under another in the object's font.
#pragma once

#include "TGEnums.h"
#include "TGGraphicControl.h"

#include <QStringList>

class TGMultiLineBaseLabel : public TGGraphicControl
{
public:
    explicit TGMultiLineBaseLabel(TGOwner *owner);

    const QStringList &Items() const { return m_items; }
    void setItems(const QStringList &items);
    const TGFont &Font() const { return m_font; }
    void setFont(const TGFont &font);
    TAlignment Alignment() const { return m_alignment; }
    void setAlignment(TAlignment alignment);
    bool WordWrap() const { return m_wordWrap; }
    void setWordWrap(bool on);
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool on) { m_autoSize = on; }

    void Paint(QPainter &painter) override;
    void ApplyFont(const TGFont &font) override { setFont(font); }
    void WriteProperties(LayoutStreamWriter &w) const override;
    bool ReadProperty(const QByteArray &name, LayoutStreamReader &r) override;

private:
    QStringList m_items;
    TGFont m_font;
    TAlignment m_alignment = taLeftJustify;
    bool m_wordWrap = false;
    bool m_autoSize = false;
};
