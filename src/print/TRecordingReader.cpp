#include "TRecordingReader.h"

#include "TPainterSink.h"
#include "TRecordingWriter.h"

#include <QPainter>

#include <QtEndian>

#include <cmath>
#include <cstring>

namespace {

// Reads the fields of one record; every read checks the bytes left first.
class Cursor
{
public:
    Cursor(const char *data, qsizetype size) : m_p(data), m_left(size) {}

    bool u8(quint8 &v)
    {
        if (m_left < 1)
            return fail();
        v = static_cast<quint8>(*m_p);
        skip(1);
        return true;
    }
    bool u32(quint32 &v)
    {
        if (m_left < 4)
            return fail();
        v = qFromLittleEndian<quint32>(m_p);
        skip(4);
        return true;
    }
    bool f64(double &v, double limit = TRecordingReader::kMaxCoordinateInches)
    {
        if (m_left < 8)
            return fail();
        quint64 bits = qFromLittleEndian<quint64>(m_p);
        std::memcpy(&v, &bits, 8);
        skip(8);
        if (!std::isfinite(v) || std::fabs(v) > limit)
            return fail();
        return true;
    }
    bool rect(TInchRect &r) { return f64(r.left) && f64(r.top) && f64(r.right) && f64(r.bottom); }
    bool string(QString &s)
    {
        quint32 n = 0;
        if (!u32(n) || n > static_cast<quint64>(m_left))
            return fail();
        s = QString::fromUtf8(m_p, static_cast<qsizetype>(n));
        skip(n);
        return true;
    }
    bool image(QImage &img)
    {
        quint32 w = 0, h = 0;
        if (!u32(w) || !u32(h))
            return false;
        if (w == 0 || h == 0) {
            if (w != h)
                return fail();
            img = QImage();
            return true;
        }
        if (w > TRecordingReader::kMaxImageSide || h > TRecordingReader::kMaxImageSide)
            return fail();
        const quint64 bytes = quint64(w) * h * 4;
        if (bytes > static_cast<quint64>(m_left))
            return fail();
        img = QImage(static_cast<int>(w), static_cast<int>(h), QImage::Format_ARGB32);
        if (img.isNull())
            return fail();
        for (quint32 y = 0; y < h; ++y) {
            QRgb *row = reinterpret_cast<QRgb *>(img.scanLine(static_cast<int>(y)));
            for (quint32 x = 0; x < w; ++x) {
                row[x] = qFromLittleEndian<quint32>(m_p);
                skip(4);
            }
        }
        return true;
    }
    bool skipImage()
    {
        quint32 w = 0, h = 0;
        if (!u32(w) || !u32(h))
            return false;
        if ((w == 0) != (h == 0) || w > TRecordingReader::kMaxImageSide ||
            h > TRecordingReader::kMaxImageSide)
            return fail();
        const quint64 bytes = quint64(w) * h * 4;
        if (bytes > static_cast<quint64>(m_left))
            return fail();
        skip(static_cast<qsizetype>(bytes));
        return true;
    }
    bool bytes(QByteArray &out)
    {
        quint32 n = 0;
        if (!u32(n) || n > static_cast<quint64>(m_left))
            return fail();
        out = QByteArray(m_p, static_cast<qsizetype>(n));
        skip(n);
        return true;
    }
    bool atEnd() const { return m_left == 0; }

private:
    bool fail() { return false; }
    void skip(qsizetype n)
    {
        m_p += n;
        m_left -= n;
    }
    const char *m_p;
    qsizetype m_left;
};

TPrintResult corrupt(qsizetype offset, const char *what)
{
    return TPrintResult::corruption(QStringLiteral("The print preview recording is damaged at byte %1 (%2)")
                                        .arg(offset)
                                        .arg(QLatin1String(what)));
}

} // namespace

TPrintResult TRecordingReader::open(const QByteArray &stream)
{
    m_pages.clear();
    m_data.clear();
    if (stream.size() < 8 || std::memcmp(stream.constData(), TRecordingWriter::kMagic, 4) != 0)
        return TPrintResult::corruption(QStringLiteral("The print preview recording has no valid header"));
    if (qFromLittleEndian<quint16>(stream.constData() + 4) != TRecordingWriter::kVersion)
        return TPrintResult::corruption(QStringLiteral("The print preview recording has an unknown version"));

    QVector<Page> pages;
    qsizetype pos = 8;
    const qsizetype size = stream.size();
    while (pos < size) {
        if (size - pos < 5)
            return corrupt(pos, "truncated record header");
        const auto op = static_cast<quint8>(stream[pos]);
        const quint32 length = qFromLittleEndian<quint32>(stream.constData() + pos + 1);
        if (length > static_cast<quint64>(size - pos - 5))
            return corrupt(pos, "record runs past the end");
        if (op == TRecordingWriter::OpBeginPage) {
            if (!pages.isEmpty())
                pages.last().end = pos;
            Cursor c(stream.constData() + pos + 5, length);
            double w = 0, h = 0;
            if (!c.f64(w, kMaxPaperInches) || !c.f64(h, kMaxPaperInches) || !c.atEnd() || w <= 0 || h <= 0)
                return corrupt(pos, "bad page size");
            pages.append({pos, 0, {Inches(w), Inches(h)}});
        } else if (pages.isEmpty()) {
            return corrupt(pos, "drawing before the first page");
        }
        pos += 5 + static_cast<qsizetype>(length);
    }
    if (!pages.isEmpty())
        pages.last().end = size;

    m_data = stream;
    for (const Page &page : pages) {
        const TPrintResult st = play(page.begin, page.end, nullptr);
        if (!st.ok()) {
            m_data.clear();
            return st;
        }
    }
    m_pages = pages;
    return TPrintResult::success();
}

void TRecordingReader::replayPage(int index, TDrawSink &sink) const
{
    if (index < 0 || index >= m_pages.size())
        return;
    // open() played every page without a sink and kept only a recording that passed, so
    // playing a page again cannot fail.
    (void)play(m_pages[index].begin, m_pages[index].end, &sink);
}

void TRecordingReader::replayAll(TDrawSink &sink) const
{
    for (int i = 0; i < m_pages.size(); ++i)
        replayPage(i, sink);
}

QImage TRecordingReader::renderPage(int index, double dotsPerInch) const
{
    if (index < 0 || index >= m_pages.size() || !(dotsPerInch > 0))
        return QImage();
    const InchSize paper = m_pages[index].size;
    const double w = std::ceil(paper.width.dotsF(dotsPerInch));
    const double h = std::ceil(paper.height.dotsF(dotsPerInch));
    // A page picture stays below 400 million pixels whatever the zoom.
    if (w < 1 || h < 1 || w * h > 4.0e8)
        return QImage();
    QImage image(static_cast<int>(w), static_cast<int>(h), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    const int dpm = static_cast<int>(std::lround(dotsPerInch / 0.0254));
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    image.fill(Qt::white);
    QPainter painter(&image);
    TPainterSink sink(painter, dotsPerInch, dotsPerInch);
    replayPage(index, sink);
    return image;
}

TPrintResult TRecordingReader::play(qsizetype begin, qsizetype end, TDrawSink *sink) const
{
    qsizetype pos = begin;
    while (pos < end) {
        const auto op = static_cast<quint8>(m_data[pos]);
        const quint32 length = qFromLittleEndian<quint32>(m_data.constData() + pos + 1);
        Cursor c(m_data.constData() + pos + 5, length);
        bool ok = false;
        switch (op) {
        case TRecordingWriter::OpBeginPage: {
            double w = 0, h = 0;
            ok = c.f64(w, kMaxPaperInches) && c.f64(h, kMaxPaperInches);
            if (ok && sink)
                sink->beginPage({Inches(w), Inches(h)});
            break;
        }
        case TRecordingWriter::OpPen: {
            TPenSpec pen;
            quint8 style = 0, mode = 0;
            quint32 width = 0;
            ok = c.u32(pen.colour) && c.u8(style) && c.u32(width) && c.u8(mode) &&
                 style <= static_cast<quint8>(TPenStyle::InsideFrame) &&
                 mode <= static_cast<quint8>(TPenMode::Last);
            pen.style = static_cast<TPenStyle>(style);
            pen.mode = static_cast<TPenMode>(mode);
            pen.width = static_cast<qint32>(width);
            // A pen wider than an inch at any resolution is not something a job draws with.
            ok = ok && pen.width >= -10000 && pen.width <= 10000;
            if (ok && sink)
                sink->setPen(pen);
            break;
        }
        case TRecordingWriter::OpBrush: {
            TBrushSpec brush;
            quint8 style = 0;
            ok = c.u32(brush.colour) && c.u8(style) && style <= static_cast<quint8>(TBrushStyle::DiagCross);
            brush.style = static_cast<TBrushStyle>(style);
            ok = ok && (sink ? c.image(brush.bitmap) : c.skipImage());
            if (ok && sink)
                sink->setBrush(brush);
            break;
        }
        case TRecordingWriter::OpFont: {
            TFontSpec font;
            quint8 flags = 0;
            ok = c.string(font.name) && c.f64(font.points, kMaxFontPoints) && c.u8(flags) &&
                 c.u32(font.colour) && c.f64(font.angle, 360.0) && flags <= 7 && font.points > 0 &&
                 font.angle >= 0 && font.angle < 360;
            font.bold = flags & 1;
            font.italic = flags & 2;
            font.underline = flags & 4;
            if (ok && sink)
                sink->setFont(font);
            break;
        }
        case TRecordingWriter::OpTextMode: {
            quint8 opaque = 0;
            ok = c.u8(opaque) && opaque <= 1;
            if (ok && sink)
                sink->setTextOpaque(opaque != 0);
            break;
        }
        case TRecordingWriter::OpRectangle:
        case TRecordingWriter::OpEllipse:
        case TRecordingWriter::OpLine: {
            TInchRect r;
            ok = c.rect(r);
            if (ok && sink) {
                if (op == TRecordingWriter::OpRectangle)
                    sink->rectangle(r);
                else if (op == TRecordingWriter::OpEllipse)
                    sink->ellipse(r);
                else
                    sink->line({Inches(r.left), Inches(r.top)}, {Inches(r.right), Inches(r.bottom)});
            }
            break;
        }
        case TRecordingWriter::OpRoundRect: {
            TInchRect r;
            double cw = 0, ch = 0;
            ok = c.rect(r) && c.f64(cw) && c.f64(ch);
            if (ok && sink)
                sink->roundRect(r, {Inches(cw), Inches(ch)});
            break;
        }
        case TRecordingWriter::OpText: {
            quint8 clipped = 0;
            TInchRect clip;
            double x = 0, y = 0;
            QString text;
            ok = c.u8(clipped) && clipped == 1 && c.rect(clip) && c.f64(x) && c.f64(y) && c.string(text);
            if (ok && sink)
                sink->text(clipped != 0, clip, {Inches(x), Inches(y)}, text);
            break;
        }
        case TRecordingWriter::OpTextAt: {
            double x = 0, y = 0;
            QString text;
            ok = c.f64(x) && c.f64(y) && c.string(text);
            if (ok && sink)
                sink->text(false, TInchRect{}, {Inches(x), Inches(y)}, text);
            break;
        }
        case TRecordingWriter::OpBitmap: {
            TInchRect r;
            QImage image;
            ok = c.rect(r) && (sink ? c.image(image) : c.skipImage());
            if (ok && sink)
                sink->bitmap(r, image);
            break;
        }
        case TRecordingWriter::OpGraphic: {
            TInchRect r;
            QByteArray data;
            ok = c.rect(r) && c.bytes(data);
            if (ok && sink) {
                QPicture picture;
                if (!data.isEmpty())
                    picture.setData(data.constData(), static_cast<uint>(data.size()));
                sink->graphic(r, picture);
            }
            break;
        }
        default:
            return corrupt(pos, "unknown operation");
        }
        if (!ok || !c.atEnd())
            return corrupt(pos, "record does not match its operation");
        pos += 5 + static_cast<qsizetype>(length);
    }
    return TPrintResult::success();
}
