#include "TGPicture.h"

namespace {
quint32 readUInt32(const QByteArray &data, qsizetype at)
{
    quint32 v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<quint8>(data[at + i]);
    return v;
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
    case None:
        break;
    }
    return {};
}

QByteArray TGPicture::graphicBytes() const
{
    return m_data.mid(m_graphicOffset, m_graphicLength);
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
    if (name == "TBitmap") {
        if (left < 4 || readUInt32(data, offset) > static_cast<quint64>(left - 4))
            return false;
        kind = Bitmap;
        length = readUInt32(data, offset);
        offset += 4;
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
    m_kind = kind;
    m_data = data;
    m_graphicOffset = offset;
    m_graphicLength = length;
    m_image = QImage();
    if (kind == Bitmap)
        m_image.loadFromData(graphicBytes(), "BMP");
    else if (kind == Icon)
        m_image.loadFromData(graphicBytes(), "ICO");
    return true;
}

TGPicture TGPicture::fromBitmapFile(const QByteArray &bmp)
{
    QByteArray data;
    data.append(char(7));
    data.append("TBitmap");
    const quint32 n = static_cast<quint32>(bmp.size());
    for (int i = 0; i < 4; ++i)
        data.append(static_cast<char>(n >> (8 * i)));
    data.append(bmp);
    TGPicture p;
    p.setData(data);
    return p;
}
