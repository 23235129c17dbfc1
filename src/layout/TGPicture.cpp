#include "TGPicture.h"

#include "TMetafilePlayer.h"

#include <QPainter>
#include <QSvgRenderer>

namespace {

quint32 readUInt32(const QByteArray &data, qsizetype at)
{
    quint32 v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<quint8>(data[at + i]);
    return v;
}

quint16 readUInt16(const QByteArray &data, qsizetype at)
{
    return static_cast<quint16>(static_cast<quint8>(data[at]) | (static_cast<quint8>(data[at + 1]) << 8));
}

// The kinds framed as a 4-byte length and the file.
struct LengthFramedKind {
    const char *name;
    TGPicture::Kind kind;
};
constexpr LengthFramedKind kLengthFramed[] = {{"TBitmap", TGPicture::Bitmap},
                                              {"TPngGraphic", TGPicture::Png},
                                              {"TJpegGraphic", TGPicture::Jpeg},
                                              {"TSvgGraphic", TGPicture::Svg}};

// A placeable Windows metafile (its 22-byte header, then a metafile header), a plain Windows
// metafile, or an enhanced metafile (a header record with the " EMF" signature).
bool looksLikeMetafile(const QByteArray &m)
{
    if (m.size() >= 22 + 18 && readUInt32(m, 0) == 0x9AC6CDD7u)
        return readUInt16(m, 22 + 2) == 9;
    if (m.size() >= 18 && (readUInt16(m, 0) == 1 || readUInt16(m, 0) == 2) && readUInt16(m, 2) == 9)
        return true;
    if (m.size() >= 88 && readUInt32(m, 0) == 1 && readUInt32(m, 40) == 0x464D4520u) {
        const quint32 headerSize = readUInt32(m, 4);
        return headerSize >= 88 && headerSize <= static_cast<quint64>(m.size());
    }
    return false;
}

// The 4-byte little-endian length `n`.
QByteArray lengthBytes(quint32 n)
{
    QByteArray b;
    for (int i = 0; i < 4; ++i)
        b.append(static_cast<char>(n >> (8 * i)));
    return b;
}

QByteArray withKind(const QByteArray &name, const QByteArray &framed)
{
    QByteArray data;
    data.append(static_cast<char>(name.size()));
    data.append(name);
    data.append(framed);
    return data;
}

} // namespace

QByteArray TGPicture::kindName() const
{
    switch (m_kind) {
    case Bitmap:
        return QByteArrayLiteral("TBitmap");
    case Icon:
        return QByteArrayLiteral("TIcon");
    case Metafile:
        return QByteArrayLiteral("TMetafile");
    case Png:
        return QByteArrayLiteral("TPngGraphic");
    case Jpeg:
        return QByteArrayLiteral("TJpegGraphic");
    case Svg:
        return QByteArrayLiteral("TSvgGraphic");
    case None:
        break;
    }
    return {};
}

QByteArray TGPicture::graphicBytes() const
{
    return m_data.mid(m_graphicOffset, m_graphicLength);
}

QSize TGPicture::size() const
{
    if (!m_image.isNull())
        return m_image.size();
    if (!m_vectors.isNull())
        return m_vectors.boundingRect().size();
    return m_metafileSize;
}

bool TGPicture::setData(const QByteArray &data)
{
    if (data.isEmpty())
        return false;
    const qsizetype nameLength = static_cast<quint8>(data[0]);
    if (data.size() < 1 + nameLength)
        return false;
    const QByteArray name = data.mid(1, nameLength);
    qsizetype offset = 1 + nameLength;
    const qsizetype left = data.size() - offset;
    Kind kind = None;
    qsizetype length = 0;
    for (const LengthFramedKind &k : kLengthFramed) {
        if (name == k.name) {
            if (left < 4 || readUInt32(data, offset) > static_cast<quint64>(left - 4))
                return false;
            kind = k.kind;
            length = readUInt32(data, offset);
            offset += 4;
        }
    }
    if (kind != None) {
    } else if (name == "TIcon") {
        kind = Icon;
        length = left;
    } else if (name == "TMetafile") {
        // The length counts itself and the data.
        if (left < 4)
            return false;
        const quint32 total = readUInt32(data, offset);
        if (total < 4 || total > static_cast<quint64>(left))
            return false;
        kind = Metafile;
        length = total - 4;
        offset += 4;
    } else {
        return false;
    }
    const QByteArray graphic = data.mid(offset, length);
    QImage image;
    QPicture vectors;
    TMetafile metafile;
    QSize metafileSize;
    bool metafilePlays = false;
    switch (kind) {
    case Bitmap:
    case Icon:
    case Png:
    case Jpeg: {
        static const char *const kFormats[] = {"", "BMP", "ICO", "", "PNG", "JPEG", ""};
        if (!image.loadFromData(graphic, kFormats[kind]))
            return false;
        break;
    }
    case Metafile: {
        // A metafile whose records do not fit it is damaged; one whose records hold what does
        // not play is kept as it is and draws as a placeholder.
        if (!TMetafile::load(graphic, metafile).ok())
            return false;
        // Played once here, so a metafile that stops half-way is never drawn in part.
        QPicture played;
        metafilePlays = TMetafilePlayer::toPicture(metafile, played).ok();
        const QSizeF inches = metafile.sizeInches();
        metafileSize = QSize(qRound(qMin(inches.width(), 1e4) * TMetafilePlayer::kPictureDpi),
                             qRound(qMin(inches.height(), 1e4) * TMetafilePlayer::kPictureDpi));
        break;
    }
    case Svg: {
        QSvgRenderer renderer(graphic);
        const QSize own = renderer.defaultSize();
        if (!renderer.isValid() || own.isEmpty())
            return false;
        QPainter p(&vectors);
        renderer.render(&p, QRectF(QPointF(0, 0), own));
        // The drawing's bounds are those of the whole graphic, whatever part of it is drawn,
        // so it stretches into a box undistorted; an invisible frame keeps them in the stored
        // drawing too.
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(QPoint(0, 0), own));
        p.end();
        break;
    }
    case None:
        return false;
    }
    m_kind = kind;
    m_data = data;
    m_graphicOffset = offset;
    m_graphicLength = length;
    m_image = image;
    m_vectors = vectors;
    m_metafile = metafile;
    m_metafileSize = metafileSize;
    m_metafilePlays = metafilePlays;
    return true;
}

bool TGPicture::namesKnownKind(const QByteArray &data)
{
    if (data.isEmpty() || data.size() < 1 + static_cast<quint8>(data[0]))
        return false;
    const QByteArray name = data.mid(1, static_cast<quint8>(data[0]));
    for (const LengthFramedKind &k : kLengthFramed)
        if (name == k.name)
            return true;
    return name == "TIcon" || name == "TMetafile";
}

TGPicture TGPicture::fromBitmapFile(const QByteArray &bmp)
{
    TGPicture p;
    static_cast<void>(p.setData(withKind("TBitmap", lengthBytes(static_cast<quint32>(bmp.size())) + bmp)));
    return p;
}

TGPicture TGPicture::fromFileBytes(const QByteArray &bytes)
{
    QByteArray data;
    const auto framed = [&](const char *name) {
        return withKind(name, lengthBytes(static_cast<quint32>(bytes.size())) + bytes);
    };
    if (bytes.startsWith("BM"))
        data = framed("TBitmap");
    else if (bytes.startsWith(QByteArrayLiteral("\x89PNG")))
        data = framed("TPngGraphic");
    else if (bytes.startsWith(QByteArrayLiteral("\xFF\xD8\xFF")))
        data = framed("TJpegGraphic");
    else if (bytes.startsWith(QByteArray("\0\0\1\0", 4)))
        data = withKind("TIcon", bytes);
    else if (looksLikeMetafile(bytes))
        data = withKind("TMetafile", lengthBytes(static_cast<quint32>(bytes.size() + 4)) + bytes);
    else if (bytes.contains("<svg"))
        data = framed("TSvgGraphic");
    TGPicture p;
    if (!data.isEmpty())
        static_cast<void>(p.setData(data));
    // A metafile file is taken only when it plays to its end.
    if (p.kind() == Metafile && !p.metafilePlays())
        return {};
    return p;
}
