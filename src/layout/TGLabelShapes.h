// A rectangle, rounded rectangle or ellipse with a pen and a brush. Transparent is the same
// as a clear brush.
#pragma once

#include "TGEnums.h"
#include "TGGraphicControl.h"
#include "TGPen.h"

class TGLabelShapes : public TGGraphicControl
{
public:
    explicit TGLabelShapes(TGOwner *owner);
    QByteArray ClassName() const override { return QByteArrayLiteral("TGLabelShapes"); }

    bool Transparent() const { return m_transparent; }
    // Sets the brush style to clear or solid.
    void setTransparent(bool on);
    TGBrush Brush;
    TGPen Pen;
    int RoundPerc = 25;
    TShapeType Shape = stRectangle;

    // The corner ellipse of a rounded shape on screen, in pixels both ways.
    int cornerPixels() const;
    // The outline width printed, in hundredths of an inch: truncate(width / pixels per inch × 100).
    int printedPenHundredths() const;

    // --- Menu commands (each with the change notification where the layout changes).
    void ChooseBackgroundColor(TColor colour);
    void ChooseLineColor(TColor colour);
    void ChooseLineThickness(int width);
    void ToggleTransparent();
    void ChooseRounding(int percent);

    void Paint(QPainter &painter) override;
    void Print(TBaseReport &engine, InchPoint origin) override;
    void WriteProperties(LayoutStreamWriter &w) const override;
    bool ReadProperty(const QByteArray &name, LayoutStreamReader &r) override;

private:
    bool m_transparent = false;
};
