// A windowless bevelled panel with a caption: the status panes and band sizing bars of the
// designer windows. It paints itself on the painter it is handed.
#pragma once

#include "TGColor.h"
#include "TGEnums.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

#include <functional>

class QPainter;

class TGraphicPanel
{
public:
    enum TPanelBevel { bvNone, bvLowered, bvRaised };
    enum TBorderStyle { bsNone, bsSingle };
    enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

    TAlign Align = alNone;
    TAlignment Alignment = taCenter;
    TPanelBevel BevelInner = bvNone;
    TPanelBevel BevelOuter = bvRaised;
    int BevelWidth = 1;
    int BorderWidth = 0;
    TBorderStyle BorderStyle = bsNone;
    // The button-face colour at creation.
    QColor Color = QColor(0xF0, 0xF0, 0xF0);
    QColor Highlight = Qt::white;
    QColor Shadow = QColor(0xA0, 0xA0, 0xA0);
    QFont Font;
    bool Enabled = true;
    QString Hint;

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Raises the resize event when the size changes.
    void setSize(int width, int height);
    const QString &Caption() const { return m_caption; }
    // Repaints.
    void setCaption(const QString &caption);

    // The rectangle left for the caption inside the frame, bevels and border.
    QRect innerRect() const;
    void Paint(QPainter &painter) const;

    std::function<void()> OnResize;
    std::function<void()> InvalidateEvent;
    std::function<void()> OnClick;

private:
    int m_width = 185;
    int m_height = 41;
    QString m_caption;
};
