// A picture placed on a layout: a bitmap, icon or metafile, stretched over the box or drawn
// at its own size. AutoSize and Stretch are never both on.
#pragma once

#include "TGGraphicControl.h"
#include "TGPicture.h"

class TGImage : public TGGraphicControl
{
public:
    explicit TGImage(TGOwner *owner);
    QByteArray ClassName() const override { return QByteArrayLiteral("TGImage"); }

    bool AutoSize() const { return m_autoSize; }
    // True clears Stretch.
    void setAutoSize(bool on);
    bool Stretch() const { return m_stretch; }
    // True clears AutoSize.
    void setStretch(bool on);
    const TGPicture &Picture() const { return m_picture; }
    void setPicture(const TGPicture &picture);

    void Paint(QPainter &painter) override;
    // Bitmaps and the other raster kinds print stretched into the box, SVG as vectors.
    void Print(TBaseReport &engine, InchPoint origin) override;
    void WriteProperties(LayoutStreamWriter &w) const override;
    bool ReadProperty(const QByteArray &name, LayoutStreamReader &r) override;

private:
    bool m_autoSize = false;
    bool m_stretch = true;
    TGPicture m_picture;
};
