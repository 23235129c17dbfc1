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

    void Paint(QPainter &painter) override;
    void WriteProperties(LayoutStreamWriter &w) const override;
    bool ReadProperty(const QByteArray &name, LayoutStreamReader &r) override;

private:
    bool m_transparent = false;
};
