// A straight line across the object's box: horizontal, vertical or one of the diagonals.
#pragma once

#include "TGEnums.h"
#include "TGGraphicControl.h"
#include "TGPen.h"

class TGLineShape : public TGGraphicControl
{
public:
    explicit TGLineShape(TGOwner *owner);
    QByteArray ClassName() const override { return QByteArrayLiteral("TGLineShape"); }

    TLineStyle LineStyle = stHorizontal;
    TGPen Pen;

    // --- Menu commands.
    void ChooseLineStyle(TLineStyle style);
    void ChooseColor(TColor colour);
    void ChooseLineThickness(int width);
    // A horizontal line spans the surface's width, a vertical one its height; sloping lines stay.
    void StretchToEdges();

    void Paint(QPainter &painter) override;
    void Print(TBaseReport &engine, InchPoint origin) override;
    void WriteProperties(LayoutStreamWriter &w) const override;
    bool ReadProperty(const QByteArray &name, LayoutStreamReader &r) override;
};
