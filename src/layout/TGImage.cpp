#include "TGImage.h"

#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"
#include "TBaseReport.h"
#include "TMetafilePlayer.h"

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

namespace {

// What stands in for a metafile that cannot be played: a crossed box.
void drawPlaceholder(QPainter &painter, int width, int height)
{
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(0, 0, width - 1, height - 1));
    painter.drawLine(0, 0, width - 1, height - 1);
    painter.drawLine(0, height - 1, width - 1, 0);
}

} // namespace

void TGImage::Paint(QPainter &painter)
{
    const QImage &image = m_picture.image();
    const QPicture &vectors = m_picture.vectors();
    const bool stretch = m_stretch || ScaleFactor() != 1.0f;
    if (m_picture.kind() == TGPicture::Metafile) {
        const QRectF box(0, 0, Width(), Height());
        const QRectF target = stretch ? box : QRectF(QPointF(0, 0), QSizeF(m_picture.size()));
        painter.save();
        painter.setClipRect(box, Qt::IntersectClip);
        const bool played =
            m_picture.metafilePlays() && TMetafilePlayer::play(m_picture.metafile(), painter, target).ok();
        painter.restore();
        if (!played)
            drawPlaceholder(painter, Width(), Height());
    } else if (!image.isNull()) {
        if (stretch)
            painter.drawImage(QRect(0, 0, Width(), Height()), image);
        else
            painter.drawImage(QPoint(0, 0), image, QRect(0, 0, Width(), Height()));
    } else if (!vectors.isNull()) {
        const QRect own = vectors.boundingRect();
        painter.save();
        painter.setClipRect(QRect(0, 0, Width(), Height()), Qt::IntersectClip);
        if (stretch && !own.isEmpty())
            painter.scale(double(Width()) / own.width(), double(Height()) / own.height());
        painter.drawPicture(0, 0, vectors);
        painter.restore();
    } else if (!isPrinting()) {
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(0, 0, Width() - 1, Height() - 1));
    }
    TGGraphicControl::Paint(painter);
}

void TGImage::Print(TBaseReport &engine, InchPoint origin)
{
    // Printing always stretches to the box; icons are not printed.
    const InchPoint topLeft = pagePoint(origin, DesignPixels(0), DesignPixels(0));
    const InchPoint bottomRight = pagePoint(origin, DesignPixels(Width()), DesignPixels(Height()));
    if (m_picture.kind() == TGPicture::Icon)
        return;
    if (!m_picture.image().isNull())
        engine.DrawBitmapInRect(topLeft, bottomRight, m_picture.image());
    else if (!m_picture.vectors().isNull())
        engine.DrawGraphicInRect(engine.InchRect(topLeft, bottomRight), m_picture.vectors());
    else if (m_picture.kind() == TGPicture::Metafile &&
             !(m_picture.metafilePlays() &&
               engine.DrawGraphicInRect(engine.InchRect(topLeft, bottomRight), m_picture.metafile()).ok())) {
        // A crossed box stands in for a metafile that cannot be played.
        engine.SelectPen(Qt::black, TPenStyle::Solid, 1);
        engine.SelectBrush(Qt::white, TBrushStyle::Clear);
        engine.DrawRectangle(topLeft, bottomRight);
        engine.MovePenTo(topLeft);
        engine.DrawLineTo(bottomRight);
        engine.MovePenTo({topLeft.x, bottomRight.y});
        engine.DrawLineTo({bottomRight.x, topLeft.y});
    }
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
        // A damaged graphic leaves the object without a picture and the rest of the layout
        // loads; a kind of graphic no one knows makes the stream invalid.
        const QByteArray data = r.readBinary();
        TGPicture picture;
        if (!picture.setData(data) && !TGPicture::namesKnownKind(data))
            LayoutStreamReader::fail(LayoutMessages::invalidValue());
        m_picture = picture;
    } else if (name == "Stretch")
        setStretch(r.readBoolean());
    else
        return TGGraphicControl::ReadProperty(name, r);
    return true;
}
