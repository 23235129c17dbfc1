#include "TGImage.h"

#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"

#include <QPainter>

TGImage::TGImage(TGOwner *owner) : TGGraphicControl(owner)
{
    initSize(105, 105);
}

void TGImage::setAutoSize(bool on)
{
    m_autoSize = on;
    if (on)
        m_stretch = false;
    Invalidate();
}

void TGImage::setStretch(bool on)
{
    m_stretch = on;
    if (on)
        m_autoSize = false;
    Invalidate();
}

void TGImage::setPicture(const TGPicture &picture)
{
    m_picture = picture;
    Invalidate();
}

void TGImage::Paint(QPainter &painter)
{
    const QImage &image = m_picture.image();
    if (!image.isNull()) {
        if (m_stretch)
            painter.drawImage(QRect(0, 0, Width(), Height()), image);
        else
            painter.drawImage(QPoint(0, 0), image);
    } else if (!isPrinting()) {
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(0, 0, Width() - 1, Height() - 1));
    }
    TGGraphicControl::Paint(painter);
}

void TGImage::WriteProperties(LayoutStreamWriter &w) const
{
    TGGraphicControl::WriteProperties(w);
    if (m_autoSize)
        w.booleanProperty("AutoSize", true);
    if (m_picture.hasGraphic()) {
        w.writePropertyName("Picture.Data");
        w.writeBinary(m_picture.data());
    }
    if (!m_stretch)
        w.booleanProperty("Stretch", false);
}

bool TGImage::ReadProperty(const QByteArray &name, LayoutStreamReader &r)
{
    if (name == "AutoSize")
        setAutoSize(r.readBoolean());
    else if (name == "Picture.Data") {
        TGPicture picture;
        if (!picture.setData(r.readBinary()))
            LayoutStreamReader::fail(LayoutMessages::invalidValue());
        m_picture = picture;
    } else if (name == "Stretch")
        setStretch(r.readBoolean());
    else
        return TGGraphicControl::ReadProperty(name, r);
    return true;
}
