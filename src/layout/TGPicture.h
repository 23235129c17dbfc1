// A picture of a layout: empty, or a graphic of kind "TBitmap" (a BMP file), "TIcon" (an ICO
// file) or "TMetafile" (an enhanced or placeable Windows metafile). It keeps the stream's
// bytes as they were, so writing it back gives them unchanged, and decodes bitmaps and icons
// for drawing. Plain value type.
#pragma once

#include <QByteArray>
#include <QImage>

class TGPicture
{
public:
    enum Kind { None, Bitmap, Icon, Metafile };

    Kind kind() const { return m_kind; }
    bool hasGraphic() const { return m_kind != None; }
    // The kind's name as streams write it ("TBitmap" ...); empty for None.
    QByteArray kindName() const;
    // The graphic's own bytes (the BMP, ICO or metafile), without the stream's framing.
    QByteArray graphicBytes() const;
    // The picture decoded for drawing; null for metafiles and graphics that do not decode.
    const QImage &image() const { return m_image; }

    // The "Picture.Data" payload: the kind as a short string, then the framed graphic.
    const QByteArray &data() const { return m_data; }
    // Checks the framing of a "Picture.Data" payload; false (and the picture unchanged) when
    // the kind is unknown or a length does not fit.
    bool setData(const QByteArray &data);
    // A picture holding the BMP file `bmp` (as loading a bitmap file gives it).
    static TGPicture fromBitmapFile(const QByteArray &bmp);
    void clear() { *this = TGPicture(); }

    bool operator==(const TGPicture &o) const { return m_data == o.m_data; }

private:
    Kind m_kind = None;
    QByteArray m_data;
    qsizetype m_graphicOffset = 0;
    qsizetype m_graphicLength = 0;
    QImage m_image;
};
