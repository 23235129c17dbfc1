#include "TRecordingWriter.h"

#include <QtEndian>

#include <cstring>

TRecordingWriter::TRecordingWriter(QByteArray &stream) : m_out(stream)
{
    m_out.clear();
    m_out.append(kMagic, 4);
    const quint16 version = qToLittleEndian(kVersion);
    m_out.append(reinterpret_cast<const char *>(&version), 2);
    m_out.append(2, '\0'); // reserved flags
}

void TRecordingWriter::start(Op op)
{
    putU8(op);
    m_recordStart = m_out.size();
    putU32(0);
}

void TRecordingWriter::finish()
{
    const quint32 length = qToLittleEndian(static_cast<quint32>(m_out.size() - m_recordStart - 4));
    std::memcpy(m_out.data() + m_recordStart, &length, 4);
}

void TRecordingWriter::putU8(quint8 v)
{
    m_out.append(static_cast<char>(v));
}

void TRecordingWriter::putU32(quint32 v)
{
    const quint32 le = qToLittleEndian(v);
    m_out.append(reinterpret_cast<const char *>(&le), 4);
}

void TRecordingWriter::putI32(qint32 v)
{
    putU32(static_cast<quint32>(v));
}

void TRecordingWriter::putF64(double v)
{
    quint64 bits;
    std::memcpy(&bits, &v, 8);
    bits = qToLittleEndian(bits);
    m_out.append(reinterpret_cast<const char *>(&bits), 8);
}

void TRecordingWriter::putRect(const TInchRect &r)
{
    putF64(r.left);
    putF64(r.top);
    putF64(r.right);
    putF64(r.bottom);
}

void TRecordingWriter::putString(const QString &s)
{
    const QByteArray utf8 = s.toUtf8();
    putU32(static_cast<quint32>(utf8.size()));
    m_out.append(utf8);
}

void TRecordingWriter::putImage(const QImage &image)
{
    if (image.isNull()) {
        putU32(0);
        putU32(0);
        return;
    }
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    putU32(static_cast<quint32>(argb.width()));
    putU32(static_cast<quint32>(argb.height()));
    for (int y = 0; y < argb.height(); ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            putU32(row[x]);
    }
}

void TRecordingWriter::beginPage(InchSize paper)
{
    ++m_pages;
    start(OpBeginPage);
    putF64(paper.width.value);
    putF64(paper.height.value);
    finish();
}

void TRecordingWriter::setPen(const TPenSpec &pen)
{
    start(OpPen);
    putU32(pen.colour);
    putU8(static_cast<quint8>(pen.style));
    putI32(pen.width);
    putU8(static_cast<quint8>(pen.mode));
    finish();
}

void TRecordingWriter::setBrush(const TBrushSpec &brush)
{
    start(OpBrush);
    putU32(brush.colour);
    putU8(static_cast<quint8>(brush.style));
    putImage(brush.bitmap);
    finish();
}

void TRecordingWriter::setFont(const TFontSpec &font)
{
    start(OpFont);
    putString(font.name);
    putF64(font.points);
    putU8(static_cast<quint8>((font.bold ? 1 : 0) | (font.italic ? 2 : 0) | (font.underline ? 4 : 0)));
    putU32(font.colour);
    putF64(font.angle);
    finish();
}

void TRecordingWriter::setTextOpaque(bool opaque)
{
    start(OpTextMode);
    putU8(opaque ? 1 : 0);
    finish();
}

void TRecordingWriter::rectangle(const TInchRect &r)
{
    start(OpRectangle);
    putRect(r);
    finish();
}

void TRecordingWriter::roundRect(const TInchRect &r, InchSize corner)
{
    start(OpRoundRect);
    putRect(r);
    putF64(corner.width.value);
    putF64(corner.height.value);
    finish();
}

void TRecordingWriter::ellipse(const TInchRect &r)
{
    start(OpEllipse);
    putRect(r);
    finish();
}

void TRecordingWriter::line(InchPoint from, InchPoint to)
{
    start(OpLine);
    putRect(TInchRect::between(from, to));
    finish();
}

void TRecordingWriter::text(bool clipped, const TInchRect &clip, InchPoint at, const QString &text)
{
    if (!clipped) {
        start(OpTextAt);
        putF64(at.x.value);
        putF64(at.y.value);
        putString(text);
        finish();
        return;
    }
    start(OpText);
    putU8(1);
    putRect(clip);
    putF64(at.x.value);
    putF64(at.y.value);
    putString(text);
    finish();
}

void TRecordingWriter::bitmap(const TInchRect &r, const QImage &image)
{
    start(OpBitmap);
    putRect(r);
    putImage(image);
    finish();
}

void TRecordingWriter::graphic(const TInchRect &r, const QPicture &picture)
{
    start(OpGraphic);
    putRect(r);
    const QByteArray data(picture.data(), static_cast<qsizetype>(picture.size()));
    putU32(static_cast<quint32>(data.size()));
    m_out.append(data);
    finish();
}
