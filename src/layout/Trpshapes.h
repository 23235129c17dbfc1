// The report variant of the shape object.
#pragma once

#include "TGLabelShapes.h"

class Trpshapes : public TGLabelShapes
{
public:
    using TGLabelShapes::TGLabelShapes;
    QByteArray ClassName() const override { return QByteArrayLiteral("Trpshapes"); }
};
