#include "TMetafile.h"

#include "TByteView.h"

namespace {

constexpr quint32 kPlaceableKey = 0x9AC6CDD7u;
constexpr qsizetype kPlaceableSize = 22;
constexpr qsizetype kWmfHeaderSize = 18;
constexpr quint16 kWmfSetWindowOrg = 0x020B;
constexpr quint16 kWmfSetWindowExt = 0x020C;
constexpr quint32 kEmfHeader = 1;
constexpr quint32 kEmfEof = 14;
constexpr quint32 kEmfSignature = 0x464D4520u;
constexpr qsizetype kEmfHeaderMin = 88;

TPrintResult damaged(const char *what)
{
    return TPrintResult::corruption(QStringLiteral("The metafile is damaged: %1.").arg(QLatin1String(what)));
}

} // namespace

QSizeF TMetafile::sizeInches() const
{
    return {m_frame.width() / m_unitsPerInch.x(), m_frame.height() / m_unitsPerInch.y()};
}

TPrintResult TMetafile::load(const QByteArray &bytes, TMetafile &out)
{
    const TByteView v(bytes.constData(), bytes.size());
    if (v.has(0, 88) && v.u32(0) == kEmfHeader && v.u32(40) == kEmfSignature)
        return loadEmf(bytes, out);
    if (v.has(0, 4) && v.u32(0) == kPlaceableKey)
        return loadWmf(bytes, out);
    if (v.has(0, kWmfHeaderSize) && (v.u16(0) == 1 || v.u16(0) == 2) && v.u16(2) == 9)
        return loadWmf(bytes, out);
    return TPrintResult::corruption(QStringLiteral("The file is not a Windows metafile."));
}

TPrintResult TMetafile::loadWmf(const QByteArray &bytes, TMetafile &out)
{
    const TByteView v(bytes.constData(), bytes.size());
    TMetafile m;
    m.m_format = Format::Wmf;
    m.m_bytes = bytes;
    qsizetype at = 0;
    bool hasFrame = false;
    if (v.u32(0) == kPlaceableKey) {
        if (!v.has(0, kPlaceableSize + kWmfHeaderSize))
            return damaged("the header is cut short");
        const int left = v.i16(6), top = v.i16(8), right = v.i16(10), bottom = v.i16(12);
        const int inch = v.u16(14);
        if (right == left || bottom == top)
            return damaged("the bounds are empty");
        m.m_frame = QRectF(QPointF(left, top), QPointF(right, bottom)).normalized();
        const double unitsPerInch = inch > 0 ? inch : 1440;
        m.m_unitsPerInch = {unitsPerInch, unitsPerInch};
        hasFrame = true;
        at = kPlaceableSize;
    }
    if (!((v.u16(at) == 1 || v.u16(at) == 2) && v.u16(at + 2) == 9))
        return damaged("the header is not a metafile header");
    m.m_objectSlots = qMax(1, int(v.u16(at + 10)));
    at += kWmfHeaderSize;
    QPointF windowOrg;
    bool hasWindowExt = false;
    QSizeF windowExt;
    // A file cut short at a record's end still lacks the end record.
    bool ended = false;
    while (at < bytes.size()) {
        if (!v.has(at, 6))
            return damaged("a record header is cut short");
        const quint64 size = quint64(v.u32(at)) * 2;
        const quint16 function = v.u16(at + 4);
        if (size < 6 || !v.has(at, qint64(size)))
            return damaged("a record runs past the end of the file");
        if (function == 0) {
            ended = true;
            break;
        }
        if (!hasFrame && size >= 10) {
            if (function == kWmfSetWindowOrg && windowExt.isEmpty())
                windowOrg = QPointF(v.i16(at + 8), v.i16(at + 6));
            if (function == kWmfSetWindowExt && !hasWindowExt) {
                windowExt = QSizeF(v.i16(at + 8), v.i16(at + 6));
                hasWindowExt = true;
            }
        }
        m.m_records.push_back({function, at, qsizetype(size)});
        at += qsizetype(size);
    }
    if (!ended)
        return damaged("the end record is missing");
    if (!hasFrame) {
        if (!hasWindowExt || windowExt.width() == 0 || windowExt.height() == 0)
            return damaged("the picture has no size");
        m.m_frame = QRectF(windowOrg, windowExt).normalized();
    }
    out = m;
    return TPrintResult::success();
}

TPrintResult TMetafile::loadEmf(const QByteArray &bytes, TMetafile &out)
{
    const TByteView v(bytes.constData(), bytes.size());
    TMetafile m;
    m.m_format = Format::Emf;
    m.m_bytes = bytes;
    const quint32 headerSize = v.u32(4);
    if (headerSize < kEmfHeaderMin || !v.has(0, headerSize))
        return damaged("the header runs past the end of the file");
    const QRectF bounds(QPointF(v.i32(8), v.i32(12)), QPointF(v.i32(16) + 1.0, v.i32(20) + 1.0));
    const QRectF frameHundredthsMm(QPointF(v.i32(24), v.i32(28)), QPointF(v.i32(32), v.i32(36)));
    m.m_objectSlots = qMax(1, int(v.u16(56)));
    const double devX = v.i32(72), devY = v.i32(76), mmX = v.i32(80), mmY = v.i32(84);
    if (devX > 0 && devY > 0 && mmX > 0 && mmY > 0)
        m.m_unitsPerInch = {devX / mmX * 25.4, devY / mmY * 25.4};
    if (frameHundredthsMm.width() > 0 && frameHundredthsMm.height() > 0) {
        const double sx = m.m_unitsPerInch.x() / 2540.0, sy = m.m_unitsPerInch.y() / 2540.0;
        m.m_frame = QRectF(QPointF(frameHundredthsMm.left() * sx, frameHundredthsMm.top() * sy),
                           QPointF(frameHundredthsMm.right() * sx, frameHundredthsMm.bottom() * sy));
    } else if (bounds.width() > 0 && bounds.height() > 0) {
        m.m_frame = bounds;
    } else {
        return damaged("the picture has no size");
    }
    qsizetype at = headerSize;
    bool ended = false;
    while (at < bytes.size()) {
        if (!v.has(at, 8))
            return damaged("a record header is cut short");
        const quint32 type = v.u32(at);
        const quint32 size = v.u32(at + 4);
        if (size < 8 || !v.has(at, size))
            return damaged("a record runs past the end of the file");
        if (type == kEmfEof) {
            ended = true;
            break;
        }
        if (type == kEmfHeader)
            return damaged("a second header record");
        m.m_records.push_back({type, at, qsizetype(size)});
        at += qsizetype(size);
    }
    if (!ended)
        return damaged("the end record is missing");
    out = m;
    return TPrintResult::success();
}
