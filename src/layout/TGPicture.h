// A picture of a layout: empty, or a graphic of kind "TBitmap" (a BMP file), "TIcon" (an ICO
// file), "TMetafile" (an enhanced or placeable Windows metafile), or of our own kinds
// "TPngGraphic", "TJpegGraphic" and "TSvgGraphic" (each a 4-byte length, then the file). It
// keeps the stream's bytes as they were, so writing it back gives them unchanged, and decodes
// the graphic for drawing. Plain value type.
#pragma once

#include "TMetafile.h"

#include <QByteArray>
#include <QImage>
#include <QPicture>
#include <QSize>

class TGPicture
{
public:
    enum Kind { None, Bitmap, Icon, Metafile, Png, Jpeg, Svg };

    Kind kind() const { return m_kind; }
    bool hasGraphic() const { return m_kind != None; }
    // The kind's name as streams write it ("TBitmap" ...); empty for None.
    QByteArray kindName() const;
    // The graphic's own bytes (the BMP, ICO or metafile), without the stream's framing.
    QByteArray graphicBytes() const;
    // The picture decoded for drawing; null for metafiles, SVG and graphics that do not decode.
    const QImage &image() const { return m_image; }
    // The drawing of an SVG graphic at its own size, for drawing as vectors; null otherwise.
    const QPicture &vectors() const { return m_vectors; }
    // The graphic's own size in pixels (a metafile's at 96 pixels per inch); empty when it has
    // none that is known.
    QSize size() const;
    // The metafile of a "TMetafile" graphic, ready for TMetafilePlayer; null otherwise.
    const TMetafile &metafile() const { return m_metafile; }
    // True when the metafile plays to its end; one that does not draws as a placeholder.
    bool metafilePlays() const { return m_metafilePlays; }

    // The "Picture.Data" payload: the kind as a short string, then the framed graphic.
    const QByteArray &data() const { return m_data; }
    // Checks the framing of a "Picture.Data" payload and decodes the graphic; false (and the
    // picture unchanged) when the kind is unknown, a length does not fit or the graphic is
    // damaged (a metafile is damaged when its records do not fit it).
    bool setData(const QByteArray &data);
    // True when a "Picture.Data" payload names one of the kinds above, damaged or not.
    static bool namesKnownKind(const QByteArray &data);
    // A picture holding the BMP file `bmp` (as loading a bitmap file gives it).
    static TGPicture fromBitmapFile(const QByteArray &bmp);
    // A picture holding the contents of an image file, its kind told by its first bytes (BMP,
    // ICO, placeable WMF, EMF, PNG, JPEG, SVG); empty when the kind is none of these or the
    // graphic is damaged (a metafile must play to its end).
    static TGPicture fromFileBytes(const QByteArray &bytes);
    void clear() { *this = TGPicture(); }

    bool operator==(const TGPicture &o) const { return m_data == o.m_data; }

private:
    Kind m_kind = None;
    QByteArray m_data;
    qsizetype m_graphicOffset = 0;
    qsizetype m_graphicLength = 0;
    QImage m_image;
    QPicture m_vectors;
    TMetafile m_metafile;
    QSize m_metafileSize;
    bool m_metafilePlays = false;
};
