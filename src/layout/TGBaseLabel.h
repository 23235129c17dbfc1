// Single-line text with an optional drop shadow and highlight (the 3D effects), in one of four
// rotations: measuring, screen painting and printing for every text object. Descendants only
// decide what the text is.
#pragma once

#include "TGEnums.h"
#include "TGGraphicControl.h"

#include <QPoint>

class QFontMetrics;

class TGBaseLabel : public TGGraphicControl
{
public:
    // A rectangle in object pixels with an exclusive right and bottom edge.
    struct Box {
        int left = 0, top = 0, right = 0, bottom = 0;
        Box moved(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
        QRect toQRect() const { return QRect(left, top, right - left, bottom - top); }
        bool operator==(const Box &o) const
        {
            return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
        }
    };
    // The measured layout, all in object pixels.
    struct Geometry {
        int lineHeight = 0;  // L
        int textWidth = 0;   // caption followed by one space
        QPoint shadowOffset; // (sx, sy)
        QPoint highlightOffset;
        QPoint margin; // (ox, oy)
        Box main, shadow, highlight;
        QPoint mainPoint, shadowPoint, highlightPoint;
    };

    static constexpr int kNewWidth = 142;
    static constexpr int kNewHeight = 33;

    explicit TGBaseLabel(TGOwner *owner);

    // --- Stored properties.
    const QString &Caption() const { return m_caption; }
    // Raises the change notification when the text changes.
    void setCaption(const QString &caption);
    const TGFont &Font() const { return m_font; }
    void setFont(const TGFont &font);
    TAlignment Alignment() const { return m_alignment; }
    void setAlignment(TAlignment alignment);
    int Angle() const { return m_angle; }
    // 0, 90, 180 or 270; other values and the current one are ignored. Any angle but 0 makes
    // the text left-justified; the box turns with the text when its long side does not follow.
    void SetAngle(int angle);
    int DepthShadow() const { return m_depthShadow; }
    void setDepthShadow(int depth);
    TShadowDirection DirectionShadow() const { return m_directionShadow; }
    void setDirectionShadow(TShadowDirection direction);
    TColor colorShadow() const { return m_colorShadow; }
    void setColorShadow(TColor colour);
    int DepthHighlight() const { return m_depthHighlight; }
    void setDepthHighlight(int depth);
    THighlightDirection DirectionHighlight() const { return m_directionHighlight; }
    void setDirectionHighlight(THighlightDirection direction);
    TColor colorHighlight() const { return m_colorHighlight; }
    void setColorHighlight(TColor colour);
    bool Transparent() const { return m_transparent; }
    void setTransparent(bool on);
    TColor BackColor() const { return m_backColor; }
    void setBackColor(TColor colour);

    // --- Commands of the context menu.
    // "Background Color": the colour, not transparent, change notification.
    void ChooseBackColor(TColor colour);
    // "Left", "Center", "Right": alignment and change notification.
    void ChooseAlignment(TAlignment alignment);
    // Grows the box to fit the text at angle 0; never shrinks it.
    void FitToText();

    // Recomputes the layout now (also adapts the box to the text).
    void DoLayout();
    bool isLayoutNeeded() const { return m_layoutNeeded; }
    void setLayoutNeeded() { m_layoutNeeded = true; }
    const Geometry &geometry() const { return m_geometry; }

    void Paint(QPainter &painter) override;
    void Print(TBaseReport &engine, InchPoint origin) override;
    void ApplyFont(const TGFont &font) override;
    void CheckBoundsChanged() override;
    // A caption the stream leaves out is empty.
    void ReadBegin() override { m_caption.clear(); }
    void WriteProperties(LayoutStreamWriter &w) const override;
    bool ReadProperty(const QByteArray &name, LayoutStreamReader &r) override;

protected:
    // The text to draw is rebuilt here before each paint and print (counters, dates, pages).
    virtual void UpdateCaption(bool printing, TBaseReport *engine);
    // Sets the caption without a change notification (values fetched or rebuilt).
    void setCaptionQuiet(const QString &caption);
    // The font drawn on screen; a symbol typeface is drawn with the typeface of its glyphs.
    QFont screenFont() const;
    // The caption as drawn: in a symbol typeface each code becomes its Unicode glyph.
    QString shownCaption() const;

private:
    void drawText(QPainter &painter, const Box &clip, const QPoint &point, TColor colour) const;

    QString m_caption = QStringLiteral("Text");
    TGFont m_font;
    TAlignment m_alignment = taLeftJustify;
    int m_angle = 0;
    int m_depthShadow = 0;
    TShadowDirection m_directionShadow = sdDownRight;
    TColor m_colorShadow = TGColor::clGray;
    int m_depthHighlight = 0;
    THighlightDirection m_directionHighlight = hdUpLeft;
    TColor m_colorHighlight = TGColor::clAqua;
    bool m_transparent = true;
    TColor m_backColor = TGColor::clWhite;

    bool m_layoutNeeded = true;
    bool m_inLayout = false;
    Geometry m_geometry;
};
