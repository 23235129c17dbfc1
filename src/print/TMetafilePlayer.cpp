#include "TMetafilePlayer.h"

#include "TByteView.h"
#include "TCp1252.h"
#include "TSymbolFonts.h"

#include <QFontMetricsF>
#include <QLineF>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>

#include <cmath>
#include <unordered_map>
#include <vector>

namespace {

// Mapping modes.
enum : int {
    kMmText = 1,
    kMmLoMetric,
    kMmHiMetric,
    kMmLoEnglish,
    kMmHiEnglish,
    kMmTwips,
    kMmIsotropic,
    kMmAnisotropic
};
// Pen styles (low nibble), end caps and joins.
enum : quint32 {
    kPsSolid = 0,
    kPsDash,
    kPsDot,
    kPsDashDot,
    kPsDashDotDot,
    kPsNull,
    kPsInsideFrame,
    kPsEndCapMask = 0x0F00,
    kPsEndCapSquare = 0x0100,
    kPsEndCapFlat = 0x0200,
    kPsJoinMask = 0xF000,
    kPsJoinBevel = 0x1000,
    kPsJoinMiter = 0x2000,
    kPsGeometric = 0x10000
};
// Brush styles.
enum : int {
    kBsSolid = 0,
    kBsNull = 1,
    kBsHatched = 2,
    kBsPattern = 3,
    kBsDibPattern = 5,
    kBsDibPatternPt = 6
};
constexpr int kTransparent = 1;
constexpr int kOpaque = 2;
// Text alignment and text-out options.
constexpr quint32 kTaUpdateCp = 1, kTaRight = 2, kTaCenter = 6, kTaBottom = 8, kTaBaseline = 24;
// The character set of a font whose codes are the glyphs of a symbol typeface.
constexpr int kSymbolCharset = 2;
constexpr quint32 kEtoOpaque = 2, kEtoClipped = 4, kEtoGlyphIndex = 0x10, kEtoPdy = 0x2000;
// Raster operations.
constexpr quint32 kSrcCopy = 0x00CC0020, kSrcAnd = 0x008800C6, kSrcPaint = 0x00EE0086,
                  kSrcInvert = 0x00660046, kNotSrcCopy = 0x00330008, kPatCopy = 0x00F00021,
                  kBlackness = 0x00000042, kWhiteness = 0x00FF0062;
constexpr int kR2Black = 1, kR2Nop = 11, kR2White = 16;

// Limits that keep a hostile file from taking unbounded memory or time.
constexpr int kMaxObjects = 65536;
constexpr int kMaxSavedStates = 1024;
constexpr qint64 kMaxDibPixels = 16LL * 1024 * 1024;
constexpr int kMaxDibSide = 32768;
constexpr double kMaxCoordinate = 1e7;
constexpr int kMaxClipElements = 20000;
// Glyph outlines are made at this pixel size and scaled, so text of any size and any mapping
// draws alike on every device.
constexpr int kGlyphPixels = 256;

struct PenDef {
    quint32 style = kPsSolid;
    double width = 0; // logical units; 0 is one pixel
    QRgb colour = qRgb(0, 0, 0);
};

struct BrushDef {
    int style = kBsSolid;
    QRgb colour = qRgb(255, 255, 255);
    int hatch = 0;
    QImage pattern;
};

struct FontDef {
    double height = 0; // logical units; < 0 character height, > 0 cell height
    double width = 0;
    int escapement = 0; // tenths of a degree, counter-clockwise
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int pitchAndFamily = 0;
    int charSet = 0;
    QString face;
};

struct GdiObject {
    enum Kind { Free, Pen, Brush, Font, Other } kind = Free;
    PenDef pen;
    BrushDef brush;
    FontDef font;
};

// What SaveDC keeps.
struct DcState {
    int mapMode = kMmText;
    QPointF windowOrg{0, 0}, windowExt{1, 1}, viewportOrg{0, 0}, viewportExt{1, 1};
    QTransform world;
    PenDef pen;
    BrushDef brush;
    FontDef font;
    QRgb textColour = qRgb(0, 0, 0);
    QRgb bkColour = qRgb(255, 255, 255);
    int bkMode = kOpaque;
    quint32 textAlign = 0;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    int rop2 = 13;
    bool clockwise = false;
    QPointF current;
    bool hasClip = false;
    QPainterPath clip; // target coordinates
};

QRgb colourRef(quint32 c)
{
    return qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

bool finite(double v)
{
    return std::isfinite(v) && std::abs(v) < 1e12;
}

// Face names of the fonts most metafiles name, mapped to the metric-compatible fonts
// installed here; other names go to the font matcher as they are.
QString familyFor(QString face)
{
    if (face.startsWith(QLatin1Char('@')))
        face.remove(0, 1);
    struct Alias {
        const char *face;
        const char *family;
    };
    static const Alias kAliases[] = {{"Arial", "Liberation Sans"},
                                     {"Helvetica", "Liberation Sans"},
                                     {"MS Sans Serif", "Liberation Sans"},
                                     {"Times New Roman", "Liberation Serif"},
                                     {"Times", "Liberation Serif"},
                                     {"MS Serif", "Liberation Serif"},
                                     {"Courier New", "Liberation Mono"},
                                     {"Courier", "Liberation Mono"},
                                     {"Arial Narrow", "Liberation Sans Narrow"}};
    for (const Alias &a : kAliases)
        if (face.compare(QLatin1String(a.face), Qt::CaseInsensitive) == 0)
            return QLatin1String(a.family);
    return face.isEmpty() ? QStringLiteral("Liberation Sans") : face;
}

// The symbol typeface whose table the text of `f` goes through, or empty for plain text. A
// face name with a table decides; a symbol character set without a face name is the Symbol
// typeface, the one the font mapper gives it; other symbol faces are drawn as they are named.
QString symbolTable(const FontDef &f)
{
    QString face = f.face;
    if (face.startsWith(QLatin1Char('@')))
        face.remove(0, 1);
    if (TSymbolFonts::isSymbolFont(face))
        return face;
    if (f.charSet == kSymbolCharset && face.trimmed().isEmpty())
        return QStringLiteral("Symbol");
    return {};
}

// What decoding a device-independent bitmap gives.
enum class Dib { Ok, Unsupported, Damaged };

// The offset of the pixel bits after a bitmap header and its colour table, for records that
// hold them one after the other; -1 when the header is damaged.
qint64 dibBitsOffset(const TByteView &bmi)
{
    const quint32 headerSize = bmi.u32(0);
    if (headerSize == 12) {
        const int bpp = bmi.u16(10);
        return 12 + (bpp <= 8 ? 3LL << bpp : 0);
    }
    if (headerSize < 40 || !bmi.has(0, 40))
        return -1;
    const int bpp = bmi.u16(14);
    const quint32 compression = bmi.u32(16);
    const quint32 used = bmi.u32(32);
    qint64 colours = used;
    if (bpp <= 8)
        colours = used == 0 || used > (1u << bpp) ? (1LL << bpp) : used;
    else if (used > 65536)
        return -1;
    const qint64 masks = (compression == 3 && headerSize == 40) ? 12 : 0;
    return qint64(headerSize) + masks + colours * 4;
}

// The channel of a bit-field pixel scaled to 0..255.
int channel(quint32 pixel, quint32 mask)
{
    if (mask == 0)
        return 0;
    int shift = 0;
    while (((mask >> shift) & 1) == 0)
        ++shift;
    const quint32 top = mask >> shift;
    return int((((pixel & mask) >> shift) * 255 + top / 2) / top);
}

constexpr quint32 kBiRle8 = 1, kBiRle4 = 2;

// Run-length bits of 8 or 4 bits a pixel into `indices`, one byte a pixel, bottom line first.
// Pixels the runs skip (deltas, lines ended early, bits ending early) keep index 0; runs past
// the right edge are cut there, and the bits end at the end of the bitmap or the last line.
void decodeRle(const TByteView &bits, qint64 width, qint64 height, int bpp, std::vector<quint8> &indices)
{
    indices.assign(size_t(width * height), 0);
    qint64 x = 0, y = 0, at = 0;
    const auto put = [&](int index) {
        if (x < width)
            indices[size_t(y * width + x)] = quint8(index);
        ++x;
    };
    while (y < height && bits.has(at, 2)) {
        const int count = bits.u8(at), value = bits.u8(at + 1);
        at += 2;
        if (count > 0) {
            for (int i = 0; i < count && x < width; ++i)
                put(bpp == 8 ? value : (i % 2 ? value & 0x0F : value >> 4));
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            return;
        } else if (value == 2) {
            if (!bits.has(at, 2))
                return;
            x += bits.u8(at);
            y += bits.u8(at + 1);
            at += 2;
        } else {
            // Absolute: `value` pixels as they are, padded to a whole word.
            const qint64 bytes = bpp == 8 ? value : (value + 1) / 2;
            if (!bits.has(at, bytes))
                return;
            for (int i = 0; i < value && x < width; ++i)
                put(bpp == 8 ? bits.u8(at + i)
                             : (i % 2 ? bits.u8(at + i / 2) & 0x0F : bits.u8(at + i / 2) >> 4));
            at += (bytes + 1) / 2 * 2;
        }
    }
}

Dib decodeDib(const TByteView &bmi, const TByteView &bits, int usage, QImage &out)
{
    const quint32 headerSize = bmi.u32(0);
    qint64 width = 0, height = 0;
    int bpp = 0;
    quint32 compression = 0, used = 0;
    int entrySize = 4;
    if (headerSize == 12 && bmi.has(0, 12)) {
        width = bmi.u16(4);
        height = bmi.u16(6);
        bpp = bmi.u16(10);
        entrySize = 3;
    } else if (headerSize >= 40 && bmi.has(0, headerSize)) {
        width = bmi.i32(4);
        height = bmi.i32(8);
        bpp = bmi.u16(14);
        compression = bmi.u32(16);
        used = bmi.u32(32);
    } else {
        return Dib::Damaged;
    }
    const bool topDown = height < 0;
    height = std::abs(height);
    if (width <= 0 || height <= 0 || width > kMaxDibSide || height > kMaxDibSide ||
        width * height > kMaxDibPixels)
        return Dib::Damaged;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return Dib::Damaged;
    const bool rle = (compression == kBiRle8 && bpp == 8) || (compression == kBiRle4 && bpp == 4);
    if (compression != 0 && !rle && !(compression == 3 && (bpp == 16 || bpp == 32)))
        return Dib::Unsupported; // JPEG and PNG bits, and run lengths of other depths, are not drawn
    if (rle && topDown)
        return Dib::Damaged; // run-length bitmaps are bottom-up only
    if (usage != 0 && bpp <= 8)
        return Dib::Unsupported; // palette indices need the palette of the device
    std::vector<QRgb> palette;
    if (bpp <= 8) {
        const qint64 count = used == 0 || used > (1u << bpp) ? (1LL << bpp) : used;
        const qint64 at = headerSize + ((compression == 3 && headerSize == 40) ? 12 : 0);
        if (!bmi.has(at, count * entrySize))
            return Dib::Damaged;
        palette.resize(size_t(1) << bpp, qRgb(0, 0, 0));
        for (qint64 i = 0; i < count; ++i)
            palette[size_t(i)] = qRgb(bmi.u8(at + i * entrySize + 2), bmi.u8(at + i * entrySize + 1),
                                      bmi.u8(at + i * entrySize));
    }
    quint32 masks[3] = {0, 0, 0};
    if (bpp == 16)
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    else if (bpp == 32)
        masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    if (compression == 3) {
        if (!bmi.has(40, 12))
            return Dib::Damaged;
        for (int i = 0; i < 3; ++i)
            masks[i] = bmi.u32(40 + 4 * i);
    }
    const qint64 stride = ((width * bpp + 31) / 32) * 4;
    if (!rle && !bits.has(0, stride * height))
        return Dib::Damaged;
    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull())
        return Dib::Damaged;
    if (rle) {
        std::vector<quint8> indices;
        decodeRle(bits, width, height, bpp, indices);
        for (qint64 y = 0; y < height; ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(int(height - 1 - y)));
            for (qint64 x = 0; x < width; ++x)
                line[x] = palette[indices[size_t(y * width + x)]];
        }
        out = image;
        return Dib::Ok;
    }
    for (qint64 y = 0; y < height; ++y) {
        const qint64 row = (topDown ? y : height - 1 - y) * stride;
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(int(y)));
        for (qint64 x = 0; x < width; ++x) {
            QRgb c = 0;
            switch (bpp) {
            case 1:
                c = palette[(bits.u8(row + x / 8) >> (7 - x % 8)) & 1];
                break;
            case 4:
                c = palette[(bits.u8(row + x / 2) >> (x % 2 ? 0 : 4)) & 0x0F];
                break;
            case 8:
                c = palette[bits.u8(row + x)];
                break;
            case 16: {
                const quint32 p = bits.u16(row + 2 * x);
                c = qRgb(channel(p, masks[0]), channel(p, masks[1]), channel(p, masks[2]));
                break;
            }
            case 24:
                c = qRgb(bits.u8(row + 3 * x + 2), bits.u8(row + 3 * x + 1), bits.u8(row + 3 * x));
                break;
            default: {
                const quint32 p = bits.u32(row + 4 * x);
                c = qRgb(channel(p, masks[0]), channel(p, masks[1]), channel(p, masks[2]));
                break;
            }
            }
            line[x] = c;
        }
    }
    out = image;
    return Dib::Ok;
}

class Playback
{
public:
    Playback(const TMetafile &m, QPainter &painter, const QRectF &target);
    TPrintResult run();

private:
    using Handler = bool (Playback::*)(const TByteView &r);
    struct Entry {
        qsizetype minSize;
        Handler handler;
    };
    static const std::unordered_map<quint32, Entry> &wmfTable();
    static const std::unordered_map<quint32, Entry> &emfTable();

    // Coordinates and state.
    QTransform toTarget() const;
    double scaleX(const QTransform &m) const
    {
        return QLineF(m.map(QPointF(0, 0)), m.map(QPointF(1, 0))).length();
    }
    double scaleY(const QTransform &m) const
    {
        return QLineF(m.map(QPointF(0, 0)), m.map(QPointF(0, 1))).length();
    }
    QPen pen(const QTransform &m) const;
    void applyClip();
    void combineClip(const QPainterPath &path, int mode);
    bool saveDc();
    bool restoreDc(int which);
    void setExtent(QPointF &ext, double x, double y);

    // Drawing: figures in logical coordinates are mapped and then filled and stroked, or
    // added to the open path bracket.
    void figure(const QPainterPath &logical, bool fill, bool stroke);
    void drawTarget(QPainterPath path, bool fill, bool stroke);
    void fillTarget(const QPainterPath &path);
    void polyline(const QPolygonF &points, bool fromCurrent);
    void bezier(const QPolygonF &points, bool fromCurrent);
    void lineTo(QPointF to);
    void arc(int kind, const QRectF &box, QPointF start, QPointF end);
    // `wide`: `chars` are the UTF-16 units of the record, else its Windows-1252 bytes decoded.
    void text(QPointF at, const QString &chars, const std::vector<double> &dx, quint32 options,
              const QRectF *rect, bool wide);
    bool dib(const TByteView &bmi, const TByteView &bits, int usage, const QRectF &dest, QRectF src,
             bool srcFromBottom, quint32 rop);
    void patBlt(const QRectF &dest, quint32 rop);

    // The object table.
    bool addObject(const GdiObject &o);
    bool putObject(quint32 index, const GdiObject &o);
    bool selectObject(quint32 index);
    bool deleteObject(quint32 index);
    void selectStock(quint32 which);

    // Windows metafile records.
    static int w(const TByteView &r, int i) { return r.i16(6 + 2 * i); }
    bool wmfSetBkColor(const TByteView &r);
    bool wmfSetBkMode(const TByteView &r);
    bool wmfSetMapMode(const TByteView &r);
    bool wmfSetRop2(const TByteView &r);
    bool wmfSetPolyFillMode(const TByteView &r);
    bool wmfSetTextColor(const TByteView &r);
    bool wmfSetTextAlign(const TByteView &r);
    bool wmfSetWindowOrg(const TByteView &r);
    bool wmfSetWindowExt(const TByteView &r);
    bool wmfSetViewportOrg(const TByteView &r);
    bool wmfSetViewportExt(const TByteView &r);
    bool wmfOffsetWindowOrg(const TByteView &r);
    bool wmfOffsetViewportOrg(const TByteView &r);
    bool wmfScaleWindowExt(const TByteView &r);
    bool wmfScaleViewportExt(const TByteView &r);
    bool wmfLineTo(const TByteView &r);
    bool wmfMoveTo(const TByteView &r);
    bool wmfExcludeClipRect(const TByteView &r);
    bool wmfIntersectClipRect(const TByteView &r);
    bool wmfArc(const TByteView &r);
    bool wmfPie(const TByteView &r);
    bool wmfChord(const TByteView &r);
    bool wmfEllipse(const TByteView &r);
    bool wmfRectangle(const TByteView &r);
    bool wmfRoundRect(const TByteView &r);
    bool wmfSaveDc(const TByteView &r);
    bool wmfRestoreDc(const TByteView &r);
    bool wmfSetPixel(const TByteView &r);
    bool wmfTextOut(const TByteView &r);
    bool wmfExtTextOut(const TByteView &r);
    bool wmfPolygon(const TByteView &r);
    bool wmfPolyline(const TByteView &r);
    bool wmfPolyPolygon(const TByteView &r);
    bool wmfSelectObject(const TByteView &r);
    bool wmfDeleteObject(const TByteView &r);
    bool wmfCreatePen(const TByteView &r);
    bool wmfCreateBrush(const TByteView &r);
    bool wmfCreateFont(const TByteView &r);
    bool wmfCreateOther(const TByteView &r);
    bool wmfCreatePatternBrush(const TByteView &r);
    bool wmfDibCreatePatternBrush(const TByteView &r);
    bool wmfStretchDib(const TByteView &r);
    bool wmfDibStretchBlt(const TByteView &r);
    bool wmfDibBitBlt(const TByteView &r);
    bool wmfPatBlt(const TByteView &r);
    bool wmfPoints(const TByteView &r, qint64 at, qint64 count, QPolygonF &out) const;

    // Enhanced metafile records.
    static QPointF pointl(const TByteView &r, qint64 at) { return QPointF(r.i32(at), r.i32(at + 4)); }
    static QRectF rectl(const TByteView &r, qint64 at)
    {
        return QRectF(QPointF(r.i32(at), r.i32(at + 4)), QPointF(r.i32(at + 8), r.i32(at + 12)));
    }
    bool emfPoints(const TByteView &r, qint64 at, qint64 count, bool sixteen, QPolygonF &out) const;
    bool emfPoly(const TByteView &r, bool sixteen, int kind);
    bool emfPolygon(const TByteView &r) { return emfPoly(r, false, 0); }
    bool emfPolyline(const TByteView &r) { return emfPoly(r, false, 1); }
    bool emfPolylineTo(const TByteView &r) { return emfPoly(r, false, 2); }
    bool emfPolyBezier(const TByteView &r) { return emfPoly(r, false, 3); }
    bool emfPolyBezierTo(const TByteView &r) { return emfPoly(r, false, 4); }
    bool emfPolygon16(const TByteView &r) { return emfPoly(r, true, 0); }
    bool emfPolyline16(const TByteView &r) { return emfPoly(r, true, 1); }
    bool emfPolylineTo16(const TByteView &r) { return emfPoly(r, true, 2); }
    bool emfPolyBezier16(const TByteView &r) { return emfPoly(r, true, 3); }
    bool emfPolyBezierTo16(const TByteView &r) { return emfPoly(r, true, 4); }
    bool emfPolyPoly(const TByteView &r, bool sixteen, bool closed);
    bool emfPolyPolygon(const TByteView &r) { return emfPolyPoly(r, false, true); }
    bool emfPolyPolyline(const TByteView &r) { return emfPolyPoly(r, false, false); }
    bool emfPolyPolygon16(const TByteView &r) { return emfPolyPoly(r, true, true); }
    bool emfPolyPolyline16(const TByteView &r) { return emfPolyPoly(r, true, false); }
    bool emfSetWindowExt(const TByteView &r);
    bool emfSetWindowOrg(const TByteView &r);
    bool emfSetViewportExt(const TByteView &r);
    bool emfSetViewportOrg(const TByteView &r);
    bool emfScaleViewportExt(const TByteView &r);
    bool emfScaleWindowExt(const TByteView &r);
    bool emfSetMapMode(const TByteView &r);
    bool emfSetBkMode(const TByteView &r);
    bool emfSetPolyFillMode(const TByteView &r);
    bool emfSetRop2(const TByteView &r);
    bool emfSetTextAlign(const TByteView &r);
    bool emfSetTextColor(const TByteView &r);
    bool emfSetBkColor(const TByteView &r);
    bool emfSetArcDirection(const TByteView &r);
    bool emfMoveTo(const TByteView &r);
    bool emfLineTo(const TByteView &r);
    bool emfSetPixel(const TByteView &r);
    bool emfExcludeClipRect(const TByteView &r);
    bool emfIntersectClipRect(const TByteView &r);
    bool emfExtSelectClipRgn(const TByteView &r);
    bool emfSaveDc(const TByteView &r);
    bool emfRestoreDc(const TByteView &r);
    bool emfSetWorldTransform(const TByteView &r);
    bool emfModifyWorldTransform(const TByteView &r);
    bool emfSelectObject(const TByteView &r);
    bool emfDeleteObject(const TByteView &r);
    bool emfCreatePen(const TByteView &r);
    bool emfExtCreatePen(const TByteView &r);
    bool emfCreateBrush(const TByteView &r);
    bool emfCreateDibPatternBrush(const TByteView &r);
    bool emfCreatePalette(const TByteView &r);
    bool emfCreateFont(const TByteView &r);
    bool emfEllipse(const TByteView &r);
    bool emfRectangle(const TByteView &r);
    bool emfRoundRect(const TByteView &r);
    bool emfArc(const TByteView &r);
    bool emfChord(const TByteView &r);
    bool emfPie(const TByteView &r);
    bool emfBeginPath(const TByteView &r);
    bool emfEndPath(const TByteView &r);
    bool emfCloseFigure(const TByteView &r);
    bool emfAbortPath(const TByteView &r);
    bool emfFillPath(const TByteView &r);
    bool emfStrokePath(const TByteView &r);
    bool emfStrokeAndFillPath(const TByteView &r);
    bool emfSelectClipPath(const TByteView &r);
    bool emfExtTextOut(const TByteView &r, bool wide);
    bool emfExtTextOutA(const TByteView &r) { return emfExtTextOut(r, false); }
    bool emfExtTextOutW(const TByteView &r) { return emfExtTextOut(r, true); }
    bool emfStretchDiBits(const TByteView &r);
    bool emfBlt(const TByteView &r, bool stretched);
    bool emfStretchBlt(const TByteView &r);
    bool emfBitBlt(const TByteView &r);

    const TMetafile &m_metafile;
    QPainter &m_painter;
    QRectF m_target;
    QTransform m_deviceToTarget;
    DcState m_state;
    std::vector<DcState> m_saved;
    int m_lostSaves = 0;
    std::vector<GdiObject> m_objects;
    bool m_inPath = false;
    QPainterPath m_path; // target coordinates
    bool m_baseClipped = false;
    QPainterPath m_baseClip;
};

Playback::Playback(const TMetafile &m, QPainter &painter, const QRectF &target)
    : m_metafile(m), m_painter(painter), m_target(target)
{
    const QRectF frame = m.frame();
    m_deviceToTarget =
        QTransform::fromTranslate(-frame.left(), -frame.top()) *
        QTransform::fromScale(target.width() / frame.width(), target.height() / frame.height()) *
        QTransform::fromTranslate(target.left(), target.top());
    if (m.format() == TMetafile::Format::Wmf) {
        // The picture's bounds are mapped onto the whole target until the metafile sets a
        // window of its own.
        m_state.mapMode = kMmAnisotropic;
        m_state.windowOrg = m_state.viewportOrg = frame.topLeft();
        m_state.windowExt = m_state.viewportExt = QPointF(frame.width(), frame.height());
    }
    m_objects.resize(size_t(qMin(m.objectSlots(), kMaxObjects)));
}

TPrintResult Playback::run()
{
    if (!finite(m_target.width()) || !finite(m_target.height()) || m_target.isEmpty())
        return TPrintResult::success();
    m_baseClipped = m_painter.hasClipping();
    if (m_baseClipped)
        m_baseClip = m_painter.clipPath();
    const auto &table = m_metafile.format() == TMetafile::Format::Wmf ? wmfTable() : emfTable();
    const QByteArray &bytes = m_metafile.bytes();
    int index = 0;
    for (const TMetafile::Record &rec : m_metafile.records()) {
        ++index;
        const auto it = table.find(rec.type);
        if (it == table.end())
            continue;
        const TByteView r(bytes.constData() + rec.offset, rec.size);
        if (r.size() < it->second.minSize || !(this->*(it->second.handler))(r) || !r.ok())
            return TPrintResult::corruption(
                QStringLiteral("The metafile is damaged: record %1 (type 0x%2) does not "
                               "hold what it counts.")
                    .arg(index)
                    .arg(rec.type, 4, 16, QLatin1Char('0')));
    }
    return TPrintResult::success();
}

QTransform Playback::toTarget() const
{
    const DcState &s = m_state;
    const QPointF upi = m_metafile.unitsPerInch();
    double sx = 1, sy = 1;
    const auto metric = [&](double inchesPerUnit) {
        sx = upi.x() * inchesPerUnit;
        sy = -upi.y() * inchesPerUnit;
    };
    switch (s.mapMode) {
    case kMmLoMetric:
        metric(0.1 / 25.4);
        break;
    case kMmHiMetric:
        metric(0.01 / 25.4);
        break;
    case kMmLoEnglish:
        metric(0.01);
        break;
    case kMmHiEnglish:
        metric(0.001);
        break;
    case kMmTwips:
        metric(1.0 / 1440);
        break;
    case kMmIsotropic:
    case kMmAnisotropic:
        sx = s.viewportExt.x() / s.windowExt.x();
        sy = s.viewportExt.y() / s.windowExt.y();
        if (s.mapMode == kMmIsotropic) {
            // One logical unit is as long across as down: the larger scale gives way.
            const double k = qMin(std::abs(sx), std::abs(sy));
            sx = std::copysign(k, sx);
            sy = std::copysign(k, sy);
        }
        break;
    default:
        break;
    }
    const QTransform page = QTransform::fromTranslate(-s.windowOrg.x(), -s.windowOrg.y()) *
                            QTransform::fromScale(sx, sy) *
                            QTransform::fromTranslate(s.viewportOrg.x(), s.viewportOrg.y());
    return s.world * page * m_deviceToTarget;
}

QPen Playback::pen(const QTransform &m) const
{
    const PenDef &p = m_state.pen;
    const quint32 kind = p.style & 0x0F;
    if (kind == kPsNull || m_state.rop2 == kR2Nop)
        return Qt::NoPen;
    QColor colour(p.colour);
    if (m_state.rop2 == kR2Black)
        colour = Qt::black;
    else if (m_state.rop2 == kR2White)
        colour = Qt::white;
    // A pen narrower than one pixel of the target draws one pixel wide.
    const double width = qMax(1.0, p.width * std::sqrt(std::abs(m.determinant())));
    QPen pen(colour, finite(width) ? width : 1.0);
    switch (kind) {
    case kPsDash:
        pen.setStyle(Qt::DashLine);
        break;
    case kPsDot:
        pen.setStyle(Qt::DotLine);
        break;
    case kPsDashDot:
        pen.setStyle(Qt::DashDotLine);
        break;
    case kPsDashDotDot:
        pen.setStyle(Qt::DashDotDotLine);
        break;
    default:
        break;
    }
    const quint32 cap = p.style & kPsEndCapMask;
    pen.setCapStyle(cap == kPsEndCapSquare ? Qt::SquareCap
                    : cap == kPsEndCapFlat ? Qt::FlatCap
                                           : Qt::RoundCap);
    const quint32 join = p.style & kPsJoinMask;
    pen.setJoinStyle(join == kPsJoinBevel   ? Qt::BevelJoin
                     : join == kPsJoinMiter ? Qt::MiterJoin
                                            : Qt::RoundJoin);
    return pen;
}

void Playback::applyClip()
{
    if (m_baseClipped)
        m_painter.setClipPath(m_baseClip, Qt::ReplaceClip);
    else
        m_painter.setClipping(false);
    if (m_state.hasClip)
        m_painter.setClipPath(m_state.clip, m_baseClipped ? Qt::IntersectClip : Qt::ReplaceClip);
}

// Region modes: 1 and, 2 or, 3 exclusive or, 4 difference, 5 copy.
void Playback::combineClip(const QPainterPath &path, int mode)
{
    if (path.elementCount() > kMaxClipElements || m_state.clip.elementCount() > kMaxClipElements)
        return;
    QPainterPath everything;
    everything.addRect(m_target.adjusted(-kMaxCoordinate, -kMaxCoordinate, kMaxCoordinate, kMaxCoordinate));
    const QPainterPath base = m_state.hasClip ? m_state.clip : everything;
    switch (mode) {
    case 1:
        m_state.clip = base.intersected(path);
        break;
    case 2:
        if (!m_state.hasClip)
            return;
        m_state.clip = base.united(path);
        break;
    case 3:
        m_state.clip = base.united(path).subtracted(base.intersected(path));
        break;
    case 4:
        m_state.clip = base.subtracted(path);
        break;
    case 5:
        m_state.clip = path;
        break;
    default:
        return;
    }
    m_state.hasClip = true;
    applyClip();
}

bool Playback::saveDc()
{
    if (m_saved.size() >= size_t(kMaxSavedStates))
        ++m_lostSaves;
    else
        m_saved.push_back(m_state);
    return true;
}

// `which` < 0: that many levels back; > 0: the level of that number. A level that was not
// saved leaves the state as it is.
bool Playback::restoreDc(int which)
{
    if (which < 0) {
        qint64 levels = -qint64(which);
        const qint64 lost = qMin<qint64>(levels, m_lostSaves);
        m_lostSaves -= int(lost);
        levels -= lost;
        if (levels == 0 || levels > qint64(m_saved.size()))
            return true;
        m_state = m_saved[m_saved.size() - size_t(levels)];
        m_saved.resize(m_saved.size() - size_t(levels));
    } else if (which > 0 && size_t(which) <= m_saved.size()) {
        m_state = m_saved[size_t(which) - 1];
        m_saved.resize(size_t(which) - 1);
        m_lostSaves = 0;
    } else {
        return true;
    }
    applyClip();
    return true;
}

void Playback::setExtent(QPointF &ext, double x, double y)
{
    // A zero extent is refused, as the platform refuses it.
    if (x != 0 && y != 0 && finite(x) && finite(y))
        ext = QPointF(x, y);
}

void Playback::figure(const QPainterPath &logical, bool fill, bool stroke)
{
    drawTarget(toTarget().map(logical), fill, stroke);
}

void Playback::drawTarget(QPainterPath path, bool fill, bool stroke)
{
    if (m_inPath) {
        m_path.addPath(path);
        return;
    }
    const QRectF b = path.controlPointRect();
    if (!finite(b.left()) || !finite(b.right()) || !finite(b.top()) || !finite(b.bottom()) ||
        std::abs(b.left()) > kMaxCoordinate || std::abs(b.right()) > kMaxCoordinate ||
        std::abs(b.top()) > kMaxCoordinate || std::abs(b.bottom()) > kMaxCoordinate)
        return;
    path.setFillRule(m_state.fillRule);
    if (fill)
        fillTarget(path);
    if (stroke) {
        QPen p = pen(toTarget());
        // Dashes along a line thousands of times longer than the pen is wide would take long
        // to draw and show as grey.
        if (p.style() != Qt::SolidLine && p.style() != Qt::NoPen &&
            (b.width() + b.height()) / p.widthF() > 1e5)
            p.setStyle(Qt::SolidLine);
        m_painter.strokePath(path, p);
    }
}

void Playback::fillTarget(const QPainterPath &path)
{
    const BrushDef &b = m_state.brush;
    if (b.style == kBsNull || m_state.rop2 == kR2Nop)
        return;
    if (m_state.rop2 == kR2Black || m_state.rop2 == kR2White) {
        m_painter.fillPath(path, m_state.rop2 == kR2Black ? Qt::black : Qt::white);
        return;
    }
    switch (b.style) {
    case kBsHatched: {
        static const Qt::BrushStyle kHatches[] = {Qt::HorPattern,   Qt::VerPattern,   Qt::FDiagPattern,
                                                  Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        if (m_state.bkMode == kOpaque)
            m_painter.fillPath(path, QColor(m_state.bkColour));
        m_painter.fillPath(path,
                           QBrush(QColor(b.colour), kHatches[b.hatch >= 0 && b.hatch < 6 ? b.hatch : 0]));
        break;
    }
    case kBsPattern:
    case kBsDibPattern:
    case kBsDibPatternPt:
        if (!b.pattern.isNull()) {
            m_painter.fillPath(path, QBrush(b.pattern));
            break;
        }
        m_painter.fillPath(path, QColor(b.colour));
        break;
    default:
        m_painter.fillPath(path, QColor(b.colour));
        break;
    }
}

void Playback::polyline(const QPolygonF &points, bool fromCurrent)
{
    if (points.isEmpty())
        return;
    const QTransform m = toTarget();
    if (m_inPath && fromCurrent) {
        if (m_path.elementCount() == 0)
            m_path.moveTo(m.map(m_state.current));
        for (const QPointF &p : points)
            m_path.lineTo(m.map(p));
    } else {
        QPainterPath path;
        path.moveTo(fromCurrent ? m_state.current : points.first());
        for (qsizetype i = fromCurrent ? 0 : 1; i < points.size(); ++i)
            path.lineTo(points[i]);
        drawTarget(m.map(path), false, true);
    }
    if (fromCurrent)
        m_state.current = points.last();
}

void Playback::bezier(const QPolygonF &points, bool fromCurrent)
{
    QPainterPath path;
    qsizetype i = 0;
    if (fromCurrent)
        path.moveTo(m_state.current);
    else if (!points.isEmpty())
        path.moveTo(points[i++]);
    for (; i + 3 <= points.size(); i += 3)
        path.cubicTo(points[i], points[i + 1], points[i + 2]);
    if (path.elementCount() < 2)
        return;
    const QTransform m = toTarget();
    if (m_inPath && fromCurrent) {
        const QPainterPath mapped = m.map(path);
        if (m_path.elementCount() == 0)
            m_path.moveTo(mapped.elementAt(0));
        m_path.connectPath(mapped);
    } else {
        drawTarget(m.map(path), false, true);
    }
    if (fromCurrent)
        m_state.current = path.currentPosition();
}

void Playback::lineTo(QPointF to)
{
    polyline(QPolygonF{to}, true);
}

// kind: 0 arc, 1 chord, 2 pie. Arcs run counter-clockwise on the page unless the direction
// was set clockwise; equal start and end radials draw the whole ellipse.
void Playback::arc(int kind, const QRectF &box, QPointF start, QPointF end)
{
    const QTransform m = toTarget();
    const QRectF r = m.mapRect(box.normalized());
    if (r.width() <= 0 || r.height() <= 0)
        return;
    const QPointF c = r.center();
    const double rx = r.width() / 2, ry = r.height() / 2;
    const auto angle = [&](QPointF p) {
        const QPointF d = m.map(p) - c;
        return qRadiansToDegrees(std::atan2(-d.y() / ry, d.x() / rx));
    };
    const double a1 = angle(start), a2 = angle(end);
    if (!std::isfinite(a1) || !std::isfinite(a2))
        return;
    double sweep = std::fmod(a2 - a1, 360.0);
    if (m_state.clockwise) {
        if (sweep >= 0)
            sweep -= 360;
    } else if (sweep <= 0) {
        sweep += 360;
    }
    QPainterPath path;
    if (kind == 2)
        path.moveTo(c);
    else
        path.arcMoveTo(r, a1);
    path.arcTo(r, a1, sweep);
    if (kind != 0)
        path.closeSubpath();
    drawTarget(path, kind != 0, true);
}

void Playback::text(QPointF at, const QString &chars, const std::vector<double> &dx, quint32 options,
                    const QRectF *rect, bool wide)
{
    const QTransform m = toTarget();
    const DcState &s = m_state;
    if (rect && (options & kEtoOpaque) && !m_inPath)
        m_painter.fillRect(m.mapRect(rect->normalized()), QColor(s.bkColour));
    if (chars.isEmpty() || (options & kEtoGlyphIndex))
        return;
    const FontDef &f = s.font;
    const QString table = symbolTable(f);
    QFont font(table.isEmpty() ? familyFor(f.face) : TSymbolFonts::drawingFamily(table));
    switch (f.pitchAndFamily & 0xF0) {
    case 0x10:
        font.setStyleHint(QFont::Serif);
        break;
    case 0x20:
        font.setStyleHint(QFont::SansSerif);
        break;
    case 0x30:
        font.setStyleHint(QFont::Monospace);
        break;
    default:
        break;
    }
    font.setPixelSize(kGlyphPixels);
    font.setWeight(QFont::Weight(qBound(1, f.weight > 0 ? f.weight : 400, 1000)));
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeOut);
    const QFontMetricsF fm(font);
    const double sy = scaleY(m), sx = scaleX(m);
    double emTarget;
    if (f.height < 0)
        emTarget = -f.height * sy;
    else if (f.height > 0)
        emTarget = f.height * sy * kGlyphPixels / (fm.ascent() + fm.descent());
    else
        emTarget = 12 * scaleY(m_deviceToTarget);
    if (!finite(emTarget) || emTarget < 0.05 || emTarget > kMaxCoordinate / 10)
        return;
    const double k = emTarget / kGlyphPixels;
    double kx = k;
    if (f.width > 0 && fm.averageCharWidth() > 0) {
        kx = f.width * sx / fm.averageCharWidth();
        if (!finite(kx) || kx <= 0)
            kx = k;
    }
    // What each character draws: the text of a symbol typeface shows the glyph of each code,
    // which may take two UTF-16 units, while the advances stay one per character.
    std::vector<QString> shown(size_t(chars.size()));
    QString line;
    for (qsizetype i = 0; i < chars.size(); ++i) {
        QString &one = shown[size_t(i)];
        if (!table.isEmpty()) {
            const char16_t u = chars[i].unicode();
            one = TSymbolFonts::glyph(table, wide && u <= 0xFF ? int(u) : TSymbolFonts::codeOf(chars[i]));
        }
        if (one.isEmpty())
            one = chars.mid(i, 1);
        line += one;
    }
    QPainterPath glyphs;
    double advance = 0; // glyph units
    if (!dx.empty() && sx > 0) {
        for (qsizetype i = 0; i < chars.size(); ++i) {
            glyphs.addText(advance, 0, font, shown[size_t(i)]);
            advance += (size_t(i) < dx.size() ? dx[size_t(i)] : 0) * sx / kx;
        }
    } else {
        glyphs.addText(0, 0, font, line);
        advance = fm.horizontalAdvance(line);
    }
    if (!finite(advance))
        return;
    double xOffset = 0, yOffset = fm.ascent();
    if ((s.textAlign & kTaCenter) == kTaCenter)
        xOffset = -advance / 2;
    else if (s.textAlign & kTaRight)
        xOffset = -advance;
    if ((s.textAlign & kTaBaseline) == kTaBaseline)
        yOffset = 0;
    else if (s.textAlign & kTaBottom)
        yOffset = -fm.descent();
    const QPointF origin = m.map((s.textAlign & kTaUpdateCp) ? s.current : at);
    QTransform place = QTransform::fromTranslate(xOffset, yOffset) * QTransform::fromScale(kx, k);
    place *= QTransform().rotate(-f.escapement / 10.0);
    place *= QTransform::fromTranslate(origin.x(), origin.y());
    if (m_inPath) {
        m_path.addPath(place.map(glyphs));
        return;
    }
    m_painter.save();
    if (rect && (options & kEtoClipped))
        m_painter.setClipRect(m.mapRect(rect->normalized()), Qt::IntersectClip);
    if (s.bkMode == kOpaque) {
        QPainterPath box;
        box.addRect(QRectF(0, -fm.ascent(), advance, fm.ascent() + fm.descent()));
        m_painter.fillPath(place.map(box), QColor(s.bkColour));
    }
    m_painter.fillPath(place.map(glyphs), QColor(s.textColour));
    m_painter.restore();
    if (s.textAlign & kTaUpdateCp) {
        const QPointF end = place.map(QPointF(advance, -yOffset));
        bool invertible = false;
        const QTransform back = m.inverted(&invertible);
        if (invertible)
            m_state.current = back.map(end);
    }
}

bool Playback::dib(const TByteView &bmi, const TByteView &bits, int usage, const QRectF &dest, QRectF src,
                   bool srcFromBottom, quint32 rop)
{
    QImage image;
    const Dib result = decodeDib(bmi, bits, usage, image);
    if (result == Dib::Damaged)
        return false;
    if (result == Dib::Unsupported || src.width() <= 0 || src.height() <= 0 || dest.width() == 0 ||
        dest.height() == 0 || m_inPath)
        return true;
    if (srcFromBottom)
        src.moveTop(image.height() - src.top() - src.height());
    if (rop == kNotSrcCopy)
        image.invertPixels();
    // A bitmap of a few pixels is enlarged, each pixel copied, before it is drawn: the PDF
    // writer turns such tiny bitmaps grey.
    if (image.width() < 16 || image.height() < 16) {
        const int k = int(std::ceil(16.0 / qMin(image.width(), image.height())));
        if (qint64(image.width()) * image.height() * k * k <= kMaxDibPixels) {
            image = image.scaled(image.width() * k, image.height() * k, Qt::IgnoreAspectRatio,
                                 Qt::FastTransformation);
            src = QRectF(src.left() * k, src.top() * k, src.width() * k, src.height() * k);
        }
    }
    const QTransform place = QTransform::fromScale(dest.width() / src.width(), dest.height() / src.height()) *
                             QTransform::fromTranslate(dest.left(), dest.top()) * toTarget();
    const QRectF where = place.mapRect(QRectF(QPointF(0, 0), src.size()));
    if (!finite(where.left()) || !finite(where.right()) || !finite(where.top()) || !finite(where.bottom()) ||
        std::abs(where.left()) > kMaxCoordinate || std::abs(where.right()) > kMaxCoordinate ||
        std::abs(where.top()) > kMaxCoordinate || std::abs(where.bottom()) > kMaxCoordinate)
        return true;
    m_painter.save();
    // A mask drawn with "and" and the picture drawn over it with "or" leave the background
    // showing where the mask is white; devices without raster operations blend the same way.
    const QPaintEngine *engine = m_painter.paintEngine();
    const bool rasterOps = engine && engine->hasFeature(QPaintEngine::RasterOpModes);
    const bool blends = engine && engine->hasFeature(QPaintEngine::BlendModes);
    if (rop == kSrcAnd && (rasterOps || blends))
        m_painter.setCompositionMode(rasterOps ? QPainter::RasterOp_SourceAndDestination
                                               : QPainter::CompositionMode_Multiply);
    else if (rop == kSrcPaint && (rasterOps || blends))
        m_painter.setCompositionMode(rasterOps ? QPainter::RasterOp_SourceOrDestination
                                               : QPainter::CompositionMode_Lighten);
    else if (rop == kSrcInvert && rasterOps)
        m_painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    m_painter.setTransform(place, true);
    m_painter.drawImage(QPointF(0, 0), image, src);
    m_painter.restore();
    return true;
}

void Playback::patBlt(const QRectF &dest, quint32 rop)
{
    QPainterPath path;
    path.addRect(dest.normalized());
    const QPainterPath mapped = toTarget().map(path);
    if (rop == kBlackness || rop == kWhiteness)
        m_painter.fillPath(mapped, rop == kBlackness ? Qt::black : Qt::white);
    else if (rop == kPatCopy)
        fillTarget(mapped);
}

bool Playback::addObject(const GdiObject &o)
{
    for (GdiObject &slot : m_objects)
        if (slot.kind == GdiObject::Free) {
            slot = o;
            return true;
        }
    if (m_objects.size() >= size_t(kMaxObjects))
        return false;
    m_objects.push_back(o);
    return true;
}

bool Playback::putObject(quint32 index, const GdiObject &o)
{
    if (index == 0 || index >= quint32(kMaxObjects))
        return false;
    if (index >= m_objects.size())
        m_objects.resize(index + 1);
    m_objects[index] = o;
    return true;
}

bool Playback::selectObject(quint32 index)
{
    if (index & 0x80000000u) {
        selectStock(index & 0x7FFFFFFFu);
        return true;
    }
    if (index >= m_objects.size())
        return false;
    const GdiObject &o = m_objects[index];
    switch (o.kind) {
    case GdiObject::Pen:
        m_state.pen = o.pen;
        break;
    case GdiObject::Brush:
        m_state.brush = o.brush;
        break;
    case GdiObject::Font:
        m_state.font = o.font;
        break;
    default:
        break; // an empty slot or an object drawing does not use
    }
    return true;
}

bool Playback::deleteObject(quint32 index)
{
    if (index & 0x80000000u)
        return true;
    if (index >= m_objects.size())
        return false;
    m_objects[index] = GdiObject();
    return true;
}

void Playback::selectStock(quint32 which)
{
    static const int kGreys[] = {255, 192, 128, 64, 0};
    if (which <= 4) {
        m_state.brush = BrushDef();
        m_state.brush.colour = qRgb(kGreys[which], kGreys[which], kGreys[which]);
    } else if (which == 5) {
        m_state.brush = BrushDef();
        m_state.brush.style = kBsNull;
    } else if (which == 6 || which == 7) {
        m_state.pen = PenDef();
        m_state.pen.colour = which == 6 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    } else if (which == 8) {
        m_state.pen = PenDef();
        m_state.pen.style = kPsNull;
    } else if ((which >= 10 && which <= 14) || which == 16 || which == 17) {
        m_state.font = FontDef();
        if (which == 10 || which == 11 || which == 16)
            m_state.font.face = QStringLiteral("Courier New");
    }
}

// ---- Windows metafile records ----

const std::unordered_map<quint32, Playback::Entry> &Playback::wmfTable()
{
    static const std::unordered_map<quint32, Entry> kTable = {
        {0x0201, {10, &Playback::wmfSetBkColor}},
        {0x0102, {8, &Playback::wmfSetBkMode}},
        {0x0103, {8, &Playback::wmfSetMapMode}},
        {0x0104, {8, &Playback::wmfSetRop2}},
        {0x0106, {8, &Playback::wmfSetPolyFillMode}},
        {0x0209, {10, &Playback::wmfSetTextColor}},
        {0x012E, {8, &Playback::wmfSetTextAlign}},
        {0x020B, {10, &Playback::wmfSetWindowOrg}},
        {0x020C, {10, &Playback::wmfSetWindowExt}},
        {0x020D, {10, &Playback::wmfSetViewportOrg}},
        {0x020E, {10, &Playback::wmfSetViewportExt}},
        {0x020F, {10, &Playback::wmfOffsetWindowOrg}},
        {0x0211, {10, &Playback::wmfOffsetViewportOrg}},
        {0x0410, {14, &Playback::wmfScaleWindowExt}},
        {0x0412, {14, &Playback::wmfScaleViewportExt}},
        {0x0213, {10, &Playback::wmfLineTo}},
        {0x0214, {10, &Playback::wmfMoveTo}},
        {0x0415, {14, &Playback::wmfExcludeClipRect}},
        {0x0416, {14, &Playback::wmfIntersectClipRect}},
        {0x0817, {22, &Playback::wmfArc}},
        {0x081A, {22, &Playback::wmfPie}},
        {0x0830, {22, &Playback::wmfChord}},
        {0x0418, {14, &Playback::wmfEllipse}},
        {0x041B, {14, &Playback::wmfRectangle}},
        {0x061C, {18, &Playback::wmfRoundRect}},
        {0x001E, {6, &Playback::wmfSaveDc}},
        {0x0127, {8, &Playback::wmfRestoreDc}},
        {0x041F, {14, &Playback::wmfSetPixel}},
        {0x0521, {8, &Playback::wmfTextOut}},
        {0x0A32, {14, &Playback::wmfExtTextOut}},
        {0x0324, {8, &Playback::wmfPolygon}},
        {0x0325, {8, &Playback::wmfPolyline}},
        {0x0538, {8, &Playback::wmfPolyPolygon}},
        {0x012D, {8, &Playback::wmfSelectObject}},
        {0x01F0, {8, &Playback::wmfDeleteObject}},
        {0x02FA, {16, &Playback::wmfCreatePen}},
        {0x02FC, {14, &Playback::wmfCreateBrush}},
        {0x02FB, {24, &Playback::wmfCreateFont}},
        {0x00F7, {6, &Playback::wmfCreateOther}}, // palette
        {0x06FF, {6, &Playback::wmfCreateOther}}, // region
        {0x01F9, {6, &Playback::wmfCreatePatternBrush}},
        {0x0142, {10, &Playback::wmfDibCreatePatternBrush}},
        {0x0F43, {28, &Playback::wmfStretchDib}},
        {0x0B41, {26, &Playback::wmfDibStretchBlt}},
        {0x0940, {22, &Playback::wmfDibBitBlt}},
        {0x061D, {18, &Playback::wmfPatBlt}},
    };
    return kTable;
}

bool Playback::wmfSetBkColor(const TByteView &r)
{
    m_state.bkColour = colourRef(r.u32(6));
    return true;
}

bool Playback::wmfSetBkMode(const TByteView &r)
{
    m_state.bkMode = r.u16(6) == kTransparent ? kTransparent : kOpaque;
    return true;
}

bool Playback::wmfSetMapMode(const TByteView &r)
{
    const int mode = r.u16(6);
    if (mode >= kMmText && mode <= kMmAnisotropic)
        m_state.mapMode = mode;
    return true;
}

bool Playback::wmfSetRop2(const TByteView &r)
{
    m_state.rop2 = r.u16(6);
    return true;
}

bool Playback::wmfSetPolyFillMode(const TByteView &r)
{
    m_state.fillRule = r.u16(6) == 2 ? Qt::WindingFill : Qt::OddEvenFill;
    return true;
}

bool Playback::wmfSetTextColor(const TByteView &r)
{
    m_state.textColour = colourRef(r.u32(6));
    return true;
}

bool Playback::wmfSetTextAlign(const TByteView &r)
{
    m_state.textAlign = r.u16(6);
    return true;
}

bool Playback::wmfSetWindowOrg(const TByteView &r)
{
    m_state.windowOrg = QPointF(w(r, 1), w(r, 0));
    return true;
}

bool Playback::wmfSetWindowExt(const TByteView &r)
{
    setExtent(m_state.windowExt, w(r, 1), w(r, 0));
    return true;
}

bool Playback::wmfSetViewportOrg(const TByteView &r)
{
    m_state.viewportOrg = QPointF(w(r, 1), w(r, 0));
    return true;
}

bool Playback::wmfSetViewportExt(const TByteView &r)
{
    setExtent(m_state.viewportExt, w(r, 1), w(r, 0));
    return true;
}

bool Playback::wmfOffsetWindowOrg(const TByteView &r)
{
    m_state.windowOrg += QPointF(w(r, 1), w(r, 0));
    return true;
}

bool Playback::wmfOffsetViewportOrg(const TByteView &r)
{
    m_state.viewportOrg += QPointF(w(r, 1), w(r, 0));
    return true;
}

bool Playback::wmfScaleWindowExt(const TByteView &r)
{
    if (w(r, 0) != 0 && w(r, 2) != 0)
        setExtent(m_state.windowExt, m_state.windowExt.x() * w(r, 3) / w(r, 2),
                  m_state.windowExt.y() * w(r, 1) / w(r, 0));
    return true;
}

bool Playback::wmfScaleViewportExt(const TByteView &r)
{
    if (w(r, 0) != 0 && w(r, 2) != 0)
        setExtent(m_state.viewportExt, m_state.viewportExt.x() * w(r, 3) / w(r, 2),
                  m_state.viewportExt.y() * w(r, 1) / w(r, 0));
    return true;
}

bool Playback::wmfLineTo(const TByteView &r)
{
    lineTo(QPointF(w(r, 1), w(r, 0)));
    return true;
}

bool Playback::wmfMoveTo(const TByteView &r)
{
    m_state.current = QPointF(w(r, 1), w(r, 0));
    return true;
}

bool Playback::wmfExcludeClipRect(const TByteView &r)
{
    QPainterPath p;
    p.addRect(QRectF(QPointF(w(r, 3), w(r, 2)), QPointF(w(r, 1), w(r, 0))).normalized());
    combineClip(toTarget().map(p), 4);
    return true;
}

bool Playback::wmfIntersectClipRect(const TByteView &r)
{
    QPainterPath p;
    p.addRect(QRectF(QPointF(w(r, 3), w(r, 2)), QPointF(w(r, 1), w(r, 0))).normalized());
    combineClip(toTarget().map(p), 1);
    return true;
}

bool Playback::wmfArc(const TByteView &r)
{
    arc(0, QRectF(QPointF(w(r, 7), w(r, 6)), QPointF(w(r, 5), w(r, 4))), QPointF(w(r, 3), w(r, 2)),
        QPointF(w(r, 1), w(r, 0)));
    return true;
}

bool Playback::wmfPie(const TByteView &r)
{
    arc(2, QRectF(QPointF(w(r, 7), w(r, 6)), QPointF(w(r, 5), w(r, 4))), QPointF(w(r, 3), w(r, 2)),
        QPointF(w(r, 1), w(r, 0)));
    return true;
}

bool Playback::wmfChord(const TByteView &r)
{
    arc(1, QRectF(QPointF(w(r, 7), w(r, 6)), QPointF(w(r, 5), w(r, 4))), QPointF(w(r, 3), w(r, 2)),
        QPointF(w(r, 1), w(r, 0)));
    return true;
}

bool Playback::wmfEllipse(const TByteView &r)
{
    QPainterPath p;
    p.addEllipse(QRectF(QPointF(w(r, 3), w(r, 2)), QPointF(w(r, 1), w(r, 0))).normalized());
    figure(p, true, true);
    return true;
}

bool Playback::wmfRectangle(const TByteView &r)
{
    QPainterPath p;
    p.addRect(QRectF(QPointF(w(r, 3), w(r, 2)), QPointF(w(r, 1), w(r, 0))).normalized());
    figure(p, true, true);
    return true;
}

bool Playback::wmfRoundRect(const TByteView &r)
{
    QPainterPath p;
    p.addRoundedRect(QRectF(QPointF(w(r, 5), w(r, 4)), QPointF(w(r, 3), w(r, 2))).normalized(),
                     std::abs(w(r, 1)) / 2.0, std::abs(w(r, 0)) / 2.0);
    figure(p, true, true);
    return true;
}

bool Playback::wmfSaveDc(const TByteView &)
{
    return saveDc();
}

bool Playback::wmfRestoreDc(const TByteView &r)
{
    return restoreDc(w(r, 0));
}

bool Playback::wmfSetPixel(const TByteView &r)
{
    const QPointF at = toTarget().map(QPointF(w(r, 3), w(r, 2)));
    if (finite(at.x()) && finite(at.y()) && !m_inPath)
        m_painter.fillRect(QRectF(at, QSizeF(1, 1)), QColor(colourRef(r.u32(6))));
    return true;
}

bool Playback::wmfTextOut(const TByteView &r)
{
    const int count = w(r, 0);
    const qint64 padded = (qint64(count) + 1) / 2 * 2;
    if (count < 0 || !r.has(8, padded + 4))
        return false;
    const QString chars = TCp1252::toString(r.data() + 8, count);
    const qint64 at = 8 + padded;
    text(QPointF(r.i16(at + 2), r.i16(at)), chars, {}, 0, nullptr, false);
    return true;
}

bool Playback::wmfExtTextOut(const TByteView &r)
{
    const QPointF at(w(r, 1), w(r, 0));
    const int count = w(r, 2);
    const quint16 options = r.u16(12);
    qint64 pos = 14;
    QRectF rect;
    const bool hasRect = options & (kEtoOpaque | kEtoClipped);
    if (hasRect) {
        if (!r.has(pos, 8))
            return false;
        rect = QRectF(QPointF(r.i16(pos), r.i16(pos + 2)), QPointF(r.i16(pos + 4), r.i16(pos + 6)));
        pos += 8;
    }
    if (count < 0 || !r.has(pos, count))
        return false;
    const QString chars = TCp1252::toString(r.data() + pos, count);
    pos += (qint64(count) + 1) / 2 * 2;
    std::vector<double> dx;
    if (count > 0 && r.has(pos, 2LL * count)) {
        dx.resize(size_t(count));
        for (int i = 0; i < count; ++i)
            dx[size_t(i)] = r.i16(pos + 2 * i);
    }
    text(at, chars, dx, options, hasRect ? &rect : nullptr, false);
    return true;
}

bool Playback::wmfPoints(const TByteView &r, qint64 at, qint64 count, QPolygonF &out) const
{
    if (count < 0 || !r.has(at, count * 4))
        return false;
    out.resize(qsizetype(count));
    for (qint64 i = 0; i < count; ++i)
        out[qsizetype(i)] = QPointF(r.i16(at + 4 * i), r.i16(at + 4 * i + 2));
    return true;
}

bool Playback::wmfPolygon(const TByteView &r)
{
    QPolygonF points;
    if (!wmfPoints(r, 8, w(r, 0), points))
        return false;
    if (points.size() >= 2) {
        QPainterPath p;
        p.addPolygon(points);
        p.closeSubpath();
        figure(p, true, true);
    }
    return true;
}

bool Playback::wmfPolyline(const TByteView &r)
{
    QPolygonF points;
    if (!wmfPoints(r, 8, w(r, 0), points))
        return false;
    polyline(points, false);
    return true;
}

bool Playback::wmfPolyPolygon(const TByteView &r)
{
    const int polygons = r.u16(6);
    if (!r.has(8, 2LL * polygons))
        return false;
    qint64 at = 8 + 2LL * polygons;
    QPainterPath p;
    for (int i = 0; i < polygons; ++i) {
        QPolygonF points;
        const int count = r.u16(8 + 2 * i);
        if (!wmfPoints(r, at, count, points))
            return false;
        at += 4LL * count;
        p.addPolygon(points);
        p.closeSubpath();
    }
    figure(p, true, true);
    return true;
}

bool Playback::wmfSelectObject(const TByteView &r)
{
    return selectObject(r.u16(6));
}

bool Playback::wmfDeleteObject(const TByteView &r)
{
    return deleteObject(r.u16(6));
}

bool Playback::wmfCreatePen(const TByteView &r)
{
    GdiObject o;
    o.kind = GdiObject::Pen;
    o.pen.style = r.u16(6);
    o.pen.width = std::abs(r.i16(8));
    o.pen.colour = colourRef(r.u32(12));
    return addObject(o);
}

bool Playback::wmfCreateBrush(const TByteView &r)
{
    GdiObject o;
    o.kind = GdiObject::Brush;
    o.brush.style = r.u16(6);
    o.brush.colour = colourRef(r.u32(8));
    o.brush.hatch = r.u16(12);
    return addObject(o);
}

bool Playback::wmfCreateFont(const TByteView &r)
{
    GdiObject o;
    o.kind = GdiObject::Font;
    FontDef &f = o.font;
    f.height = r.i16(6);
    f.width = std::abs(r.i16(8));
    f.escapement = r.i16(10);
    f.weight = r.i16(14);
    f.italic = r.u8(16) != 0;
    f.underline = r.u8(17) != 0;
    f.strikeOut = r.u8(18) != 0;
    f.charSet = r.u8(19);
    f.pitchAndFamily = r.u8(23);
    QByteArray face;
    for (qint64 i = 24; i < r.size() && i < 24 + 32 && r.u8(i) != 0; ++i)
        face.append(char(r.u8(i)));
    f.face = TCp1252::toString(face);
    return addObject(o);
}

bool Playback::wmfCreateOther(const TByteView &)
{
    GdiObject o;
    o.kind = GdiObject::Other;
    return addObject(o);
}

bool Playback::wmfCreatePatternBrush(const TByteView &)
{
    // The bitmap of a device-dependent pattern brush is not drawn: it fills grey.
    GdiObject o;
    o.kind = GdiObject::Brush;
    o.brush.colour = qRgb(128, 128, 128);
    return addObject(o);
}

bool Playback::wmfDibCreatePatternBrush(const TByteView &r)
{
    GdiObject o;
    o.kind = GdiObject::Brush;
    o.brush.style = kBsDibPattern;
    o.brush.colour = qRgb(128, 128, 128);
    const TByteView bmi = r.sub(10, r.size() - 10);
    const qint64 bitsAt = dibBitsOffset(bmi);
    if (bitsAt >= 0 && bmi.has(bitsAt, 0)) {
        QImage pattern;
        if (decodeDib(bmi, bmi.sub(bitsAt, bmi.size() - bitsAt), r.u16(8), pattern) == Dib::Ok)
            o.brush.pattern = pattern;
    }
    return addObject(o);
}

bool Playback::wmfStretchDib(const TByteView &r)
{
    const quint32 rop = r.u32(6);
    const TByteView bmi = r.sub(28, r.size() - 28);
    const qint64 bitsAt = dibBitsOffset(bmi);
    if (bitsAt < 0 || !bmi.has(bitsAt, 0))
        return false;
    const QRectF dest(w(r, 10), w(r, 9), w(r, 8), w(r, 7));
    const QRectF src(w(r, 6), w(r, 5), w(r, 4), w(r, 3));
    return dib(bmi, bmi.sub(bitsAt, bmi.size() - bitsAt), r.u16(10), dest, src, true, rop);
}

bool Playback::wmfDibStretchBlt(const TByteView &r)
{
    const quint32 rop = r.u32(6);
    if (r.size() == 28) // no bitmap: a fill with the brush
    {
        patBlt(QRectF(w(r, 10), w(r, 9), w(r, 8), w(r, 7)), rop);
        return true;
    }
    const TByteView bmi = r.sub(26, r.size() - 26);
    const qint64 bitsAt = dibBitsOffset(bmi);
    if (bitsAt < 0 || !bmi.has(bitsAt, 0))
        return false;
    const QRectF dest(w(r, 9), w(r, 8), w(r, 7), w(r, 6));
    const QRectF src(w(r, 5), w(r, 4), w(r, 3), w(r, 2));
    return dib(bmi, bmi.sub(bitsAt, bmi.size() - bitsAt), 0, dest, src, false, rop);
}

bool Playback::wmfDibBitBlt(const TByteView &r)
{
    const quint32 rop = r.u32(6);
    if (r.size() == 24) {
        patBlt(QRectF(w(r, 7), w(r, 6), w(r, 5), w(r, 4)), rop);
        return true;
    }
    const TByteView bmi = r.sub(22, r.size() - 22);
    const qint64 bitsAt = dibBitsOffset(bmi);
    if (bitsAt < 0 || !bmi.has(bitsAt, 0))
        return false;
    const QRectF dest(w(r, 7), w(r, 6), w(r, 5), w(r, 4));
    const QRectF src(w(r, 3), w(r, 2), w(r, 5), w(r, 4));
    return dib(bmi, bmi.sub(bitsAt, bmi.size() - bitsAt), 0, dest, src, false, rop);
}

bool Playback::wmfPatBlt(const TByteView &r)
{
    patBlt(QRectF(w(r, 5), w(r, 4), w(r, 3), w(r, 2)), r.u32(6));
    return true;
}

// ---- Enhanced metafile records ----

const std::unordered_map<quint32, Playback::Entry> &Playback::emfTable()
{
    static const std::unordered_map<quint32, Entry> kTable = {
        {2, {28, &Playback::emfPolyBezier}},
        {3, {28, &Playback::emfPolygon}},
        {4, {28, &Playback::emfPolyline}},
        {5, {28, &Playback::emfPolyBezierTo}},
        {6, {28, &Playback::emfPolylineTo}},
        {7, {32, &Playback::emfPolyPolyline}},
        {8, {32, &Playback::emfPolyPolygon}},
        {9, {16, &Playback::emfSetWindowExt}},
        {10, {16, &Playback::emfSetWindowOrg}},
        {11, {16, &Playback::emfSetViewportExt}},
        {12, {16, &Playback::emfSetViewportOrg}},
        {15, {20, &Playback::emfSetPixel}},
        {17, {12, &Playback::emfSetMapMode}},
        {18, {12, &Playback::emfSetBkMode}},
        {19, {12, &Playback::emfSetPolyFillMode}},
        {20, {12, &Playback::emfSetRop2}},
        {22, {12, &Playback::emfSetTextAlign}},
        {24, {12, &Playback::emfSetTextColor}},
        {25, {12, &Playback::emfSetBkColor}},
        {27, {16, &Playback::emfMoveTo}},
        {29, {24, &Playback::emfExcludeClipRect}},
        {30, {24, &Playback::emfIntersectClipRect}},
        {31, {24, &Playback::emfScaleViewportExt}},
        {32, {24, &Playback::emfScaleWindowExt}},
        {33, {8, &Playback::emfSaveDc}},
        {34, {12, &Playback::emfRestoreDc}},
        {35, {32, &Playback::emfSetWorldTransform}},
        {36, {36, &Playback::emfModifyWorldTransform}},
        {37, {12, &Playback::emfSelectObject}},
        {38, {28, &Playback::emfCreatePen}},
        {39, {24, &Playback::emfCreateBrush}},
        {40, {12, &Playback::emfDeleteObject}},
        {42, {24, &Playback::emfEllipse}},
        {43, {24, &Playback::emfRectangle}},
        {44, {32, &Playback::emfRoundRect}},
        {45, {40, &Playback::emfArc}},
        {46, {40, &Playback::emfChord}},
        {47, {40, &Playback::emfPie}},
        {49, {12, &Playback::emfCreatePalette}},
        {54, {16, &Playback::emfLineTo}},
        {57, {12, &Playback::emfSetArcDirection}},
        {59, {8, &Playback::emfBeginPath}},
        {60, {8, &Playback::emfEndPath}},
        {61, {8, &Playback::emfCloseFigure}},
        {62, {8, &Playback::emfFillPath}},
        {63, {8, &Playback::emfStrokeAndFillPath}},
        {64, {8, &Playback::emfStrokePath}},
        {67, {12, &Playback::emfSelectClipPath}},
        {68, {8, &Playback::emfAbortPath}},
        {75, {16, &Playback::emfExtSelectClipRgn}},
        {76, {100, &Playback::emfBitBlt}},
        {77, {108, &Playback::emfStretchBlt}},
        {81, {80, &Playback::emfStretchDiBits}},
        {82, {104, &Playback::emfCreateFont}},
        {83, {76, &Playback::emfExtTextOutA}},
        {84, {76, &Playback::emfExtTextOutW}},
        {85, {28, &Playback::emfPolyBezier16}},
        {86, {28, &Playback::emfPolygon16}},
        {87, {28, &Playback::emfPolyline16}},
        {88, {28, &Playback::emfPolyBezierTo16}},
        {89, {28, &Playback::emfPolylineTo16}},
        {90, {32, &Playback::emfPolyPolyline16}},
        {91, {32, &Playback::emfPolyPolygon16}},
        {93, {32, &Playback::emfCreateDibPatternBrush}},
        {94, {32, &Playback::emfCreateDibPatternBrush}},
        {95, {52, &Playback::emfExtCreatePen}},
    };
    return kTable;
}

bool Playback::emfPoints(const TByteView &r, qint64 at, qint64 count, bool sixteen, QPolygonF &out) const
{
    const qint64 size = sixteen ? 4 : 8;
    if (count < 0 || !r.has(at, count * size))
        return false;
    out.resize(qsizetype(count));
    for (qint64 i = 0; i < count; ++i)
        out[qsizetype(i)] =
            sixteen ? QPointF(r.i16(at + 4 * i), r.i16(at + 4 * i + 2)) : pointl(r, at + 8 * i);
    return true;
}

// kind: 0 polygon, 1 polyline, 2 polyline from the current position, 3 Bézier curves,
// 4 Bézier curves from the current position.
bool Playback::emfPoly(const TByteView &r, bool sixteen, int kind)
{
    QPolygonF points;
    if (!emfPoints(r, 28, r.u32(24), sixteen, points))
        return false;
    switch (kind) {
    case 0:
        if (points.size() >= 2) {
            QPainterPath p;
            p.addPolygon(points);
            p.closeSubpath();
            figure(p, true, true);
        }
        break;
    case 1:
    case 2:
        polyline(points, kind == 2);
        break;
    default:
        bezier(points, kind == 4);
        break;
    }
    return true;
}

bool Playback::emfPolyPoly(const TByteView &r, bool sixteen, bool closed)
{
    const quint32 polys = r.u32(24), total = r.u32(28);
    if (!r.has(32, 4LL * polys))
        return false;
    qint64 at = 32 + 4LL * polys;
    QPolygonF all;
    if (!emfPoints(r, at, total, sixteen, all))
        return false;
    QPainterPath p;
    qint64 first = 0;
    for (quint32 i = 0; i < polys; ++i) {
        const qint64 count = r.u32(32 + 4LL * i);
        if (count > qint64(total) - first)
            return false;
        const QPolygonF points = all.mid(qsizetype(first), qsizetype(count));
        first += count;
        p.addPolygon(points);
        if (closed)
            p.closeSubpath();
    }
    figure(p, closed, true);
    return true;
}

bool Playback::emfSetWindowExt(const TByteView &r)
{
    setExtent(m_state.windowExt, r.i32(8), r.i32(12));
    return true;
}

bool Playback::emfSetWindowOrg(const TByteView &r)
{
    m_state.windowOrg = pointl(r, 8);
    return true;
}

bool Playback::emfSetViewportExt(const TByteView &r)
{
    setExtent(m_state.viewportExt, r.i32(8), r.i32(12));
    return true;
}

bool Playback::emfSetViewportOrg(const TByteView &r)
{
    m_state.viewportOrg = pointl(r, 8);
    return true;
}

bool Playback::emfScaleViewportExt(const TByteView &r)
{
    if (r.i32(12) != 0 && r.i32(20) != 0)
        setExtent(m_state.viewportExt, m_state.viewportExt.x() * r.i32(8) / r.i32(12),
                  m_state.viewportExt.y() * r.i32(16) / r.i32(20));
    return true;
}

bool Playback::emfScaleWindowExt(const TByteView &r)
{
    if (r.i32(12) != 0 && r.i32(20) != 0)
        setExtent(m_state.windowExt, m_state.windowExt.x() * r.i32(8) / r.i32(12),
                  m_state.windowExt.y() * r.i32(16) / r.i32(20));
    return true;
}

bool Playback::emfSetMapMode(const TByteView &r)
{
    const quint32 mode = r.u32(8);
    if (mode >= kMmText && mode <= kMmAnisotropic)
        m_state.mapMode = int(mode);
    return true;
}

bool Playback::emfSetBkMode(const TByteView &r)
{
    m_state.bkMode = r.u32(8) == kTransparent ? kTransparent : kOpaque;
    return true;
}

bool Playback::emfSetPolyFillMode(const TByteView &r)
{
    m_state.fillRule = r.u32(8) == 2 ? Qt::WindingFill : Qt::OddEvenFill;
    return true;
}

bool Playback::emfSetRop2(const TByteView &r)
{
    m_state.rop2 = int(r.u32(8) & 0xFF);
    return true;
}

bool Playback::emfSetTextAlign(const TByteView &r)
{
    m_state.textAlign = r.u32(8);
    return true;
}

bool Playback::emfSetTextColor(const TByteView &r)
{
    m_state.textColour = colourRef(r.u32(8));
    return true;
}

bool Playback::emfSetBkColor(const TByteView &r)
{
    m_state.bkColour = colourRef(r.u32(8));
    return true;
}

bool Playback::emfSetArcDirection(const TByteView &r)
{
    m_state.clockwise = r.u32(8) == 2;
    return true;
}

bool Playback::emfMoveTo(const TByteView &r)
{
    m_state.current = pointl(r, 8);
    if (m_inPath)
        m_path.moveTo(toTarget().map(m_state.current));
    return true;
}

bool Playback::emfLineTo(const TByteView &r)
{
    lineTo(pointl(r, 8));
    return true;
}

bool Playback::emfSetPixel(const TByteView &r)
{
    const QPointF at = toTarget().map(pointl(r, 8));
    if (finite(at.x()) && finite(at.y()) && !m_inPath)
        m_painter.fillRect(QRectF(at, QSizeF(1, 1)), QColor(colourRef(r.u32(16))));
    return true;
}

bool Playback::emfExcludeClipRect(const TByteView &r)
{
    QPainterPath p;
    p.addRect(rectl(r, 8).normalized());
    combineClip(toTarget().map(p), 4);
    return true;
}

bool Playback::emfIntersectClipRect(const TByteView &r)
{
    QPainterPath p;
    p.addRect(rectl(r, 8).normalized());
    combineClip(toTarget().map(p), 1);
    return true;
}

// The region's rectangles are in device units.
bool Playback::emfExtSelectClipRgn(const TByteView &r)
{
    const quint32 size = r.u32(8);
    const int mode = int(r.u32(12));
    if (size == 0) {
        if (mode == 5) {
            m_state.hasClip = false;
            m_state.clip = QPainterPath();
            applyClip();
        }
        return true;
    }
    if (!r.has(16, size) || size < 32)
        return false;
    const quint32 count = r.u32(16 + 8);
    if (!r.has(48, 16LL * count))
        return false;
    QPainterPath region;
    for (quint32 i = 0; i < count && i < quint32(kMaxClipElements / 5); ++i)
        region.addRect(rectl(r, 48 + 16LL * i).normalized());
    region = m_deviceToTarget.map(region);
    combineClip(region, mode);
    return true;
}

bool Playback::emfSaveDc(const TByteView &)
{
    return saveDc();
}

bool Playback::emfRestoreDc(const TByteView &r)
{
    return restoreDc(r.i32(8));
}

namespace {
QTransform xform(const TByteView &r, qint64 at)
{
    return QTransform(r.f32(at), r.f32(at + 4), r.f32(at + 8), r.f32(at + 12), r.f32(at + 16),
                      r.f32(at + 20));
}
bool usable(const QTransform &t)
{
    return finite(t.m11()) && finite(t.m12()) && finite(t.m21()) && finite(t.m22()) && finite(t.dx()) &&
           finite(t.dy()) && t.isInvertible();
}
} // namespace

bool Playback::emfSetWorldTransform(const TByteView &r)
{
    const QTransform t = xform(r, 8);
    if (usable(t))
        m_state.world = t;
    return true;
}

bool Playback::emfModifyWorldTransform(const TByteView &r)
{
    const QTransform t = xform(r, 8);
    const quint32 mode = r.u32(32);
    QTransform next = m_state.world;
    if (mode == 1)
        next = QTransform();
    else if (mode == 2)
        next = t * m_state.world;
    else if (mode == 3)
        next = m_state.world * t;
    else if (mode == 4)
        next = t;
    if (usable(next))
        m_state.world = next;
    return true;
}

bool Playback::emfSelectObject(const TByteView &r)
{
    return selectObject(r.u32(8));
}

bool Playback::emfDeleteObject(const TByteView &r)
{
    return deleteObject(r.u32(8));
}

bool Playback::emfCreatePen(const TByteView &r)
{
    GdiObject o;
    o.kind = GdiObject::Pen;
    o.pen.style = r.u32(12);
    o.pen.width = std::abs(double(r.i32(16)));
    o.pen.colour = colourRef(r.u32(24));
    return putObject(r.u32(8), o);
}

bool Playback::emfExtCreatePen(const TByteView &r)
{
    GdiObject o;
    o.kind = GdiObject::Pen;
    o.pen.style = r.u32(28);
    o.pen.width = (o.pen.style & kPsGeometric) ? double(r.u32(32)) : 0;
    o.pen.colour = colourRef(r.u32(40));
    if (r.u32(36) == kBsNull)
        o.pen.style = kPsNull;
    return putObject(r.u32(8), o);
}

bool Playback::emfCreateBrush(const TByteView &r)
{
    GdiObject o;
    o.kind = GdiObject::Brush;
    o.brush.style = int(r.u32(12));
    o.brush.colour = colourRef(r.u32(16));
    o.brush.hatch = int(r.u32(20));
    return putObject(r.u32(8), o);
}

bool Playback::emfCreateDibPatternBrush(const TByteView &r)
{
    GdiObject o;
    o.kind = GdiObject::Brush;
    o.brush.style = kBsDibPatternPt;
    o.brush.colour = qRgb(128, 128, 128);
    const TByteView bmi = r.sub(r.u32(16), r.u32(20));
    const TByteView bits = r.sub(r.u32(24), r.u32(28));
    if (!r.ok())
        return false;
    QImage pattern;
    if (decodeDib(bmi, bits, int(r.u32(12)), pattern) == Dib::Ok)
        o.brush.pattern = pattern;
    return putObject(r.u32(8), o);
}

bool Playback::emfCreatePalette(const TByteView &r)
{
    GdiObject o;
    o.kind = GdiObject::Other;
    return putObject(r.u32(8), o);
}

bool Playback::emfCreateFont(const TByteView &r)
{
    GdiObject o;
    o.kind = GdiObject::Font;
    FontDef &f = o.font;
    f.height = r.i32(12);
    f.width = std::abs(double(r.i32(16)));
    f.escapement = r.i32(20) % 3600;
    f.weight = r.i32(28);
    f.italic = r.u8(32) != 0;
    f.underline = r.u8(33) != 0;
    f.strikeOut = r.u8(34) != 0;
    f.charSet = r.u8(35);
    f.pitchAndFamily = r.u8(39);
    QString face;
    for (qint64 i = 0; i < 32 && r.u16(40 + 2 * i) != 0; ++i)
        face.append(QChar(r.u16(40 + 2 * i)));
    f.face = face;
    return putObject(r.u32(8), o);
}

bool Playback::emfEllipse(const TByteView &r)
{
    QPainterPath p;
    p.addEllipse(rectl(r, 8).normalized());
    figure(p, true, true);
    return true;
}

bool Playback::emfRectangle(const TByteView &r)
{
    QPainterPath p;
    p.addRect(rectl(r, 8).normalized());
    figure(p, true, true);
    return true;
}

bool Playback::emfRoundRect(const TByteView &r)
{
    QPainterPath p;
    p.addRoundedRect(rectl(r, 8).normalized(), std::abs(double(r.i32(24))) / 2,
                     std::abs(double(r.i32(28))) / 2);
    figure(p, true, true);
    return true;
}

bool Playback::emfArc(const TByteView &r)
{
    arc(0, rectl(r, 8), pointl(r, 24), pointl(r, 32));
    return true;
}

bool Playback::emfChord(const TByteView &r)
{
    arc(1, rectl(r, 8), pointl(r, 24), pointl(r, 32));
    return true;
}

bool Playback::emfPie(const TByteView &r)
{
    arc(2, rectl(r, 8), pointl(r, 24), pointl(r, 32));
    return true;
}

bool Playback::emfBeginPath(const TByteView &)
{
    m_inPath = true;
    m_path = QPainterPath();
    return true;
}

bool Playback::emfEndPath(const TByteView &)
{
    m_inPath = false;
    return true;
}

bool Playback::emfCloseFigure(const TByteView &)
{
    if (m_inPath)
        m_path.closeSubpath();
    return true;
}

bool Playback::emfAbortPath(const TByteView &)
{
    m_inPath = false;
    m_path = QPainterPath();
    return true;
}

bool Playback::emfFillPath(const TByteView &)
{
    m_inPath = false;
    drawTarget(m_path, true, false);
    m_path = QPainterPath();
    return true;
}

bool Playback::emfStrokePath(const TByteView &)
{
    m_inPath = false;
    drawTarget(m_path, false, true);
    m_path = QPainterPath();
    return true;
}

bool Playback::emfStrokeAndFillPath(const TByteView &)
{
    m_inPath = false;
    m_path.closeSubpath();
    drawTarget(m_path, true, true);
    m_path = QPainterPath();
    return true;
}

bool Playback::emfSelectClipPath(const TByteView &r)
{
    m_inPath = false;
    QPainterPath p = m_path;
    p.setFillRule(m_state.fillRule);
    combineClip(p, int(r.u32(8)));
    m_path = QPainterPath();
    return true;
}

bool Playback::emfExtTextOut(const TByteView &r, bool wide)
{
    const QPointF at = pointl(r, 36);
    const quint32 count = r.u32(44);
    const quint32 offString = r.u32(48);
    const quint32 options = r.u32(52);
    const QRectF rect = rectl(r, 56);
    const quint32 offDx = r.u32(72);
    const qint64 bytes = qint64(count) * (wide ? 2 : 1);
    if (!r.has(offString, bytes))
        return false;
    QString chars;
    if (wide) {
        chars.resize(qsizetype(count));
        for (quint32 i = 0; i < count; ++i)
            chars[qsizetype(i)] = QChar(r.u16(offString + 2LL * i));
    } else {
        chars = TCp1252::toString(r.data() + offString, qsizetype(count));
    }
    std::vector<double> dx;
    const qint64 step = (options & kEtoPdy) ? 8 : 4;
    if (offDx != 0 && count > 0) {
        if (!r.has(offDx, step * count))
            return false;
        dx.resize(count);
        for (quint32 i = 0; i < count; ++i)
            dx[i] = r.i32(offDx + step * i);
    }
    text(at, chars, dx, options, &rect, wide);
    return true;
}

bool Playback::emfStretchDiBits(const TByteView &r)
{
    const QRectF dest(r.i32(24), r.i32(28), r.i32(72), r.i32(76));
    const QRectF src(r.i32(32), r.i32(36), r.i32(40), r.i32(44));
    const quint32 rop = r.u32(68);
    if (r.u32(52) == 0) {
        patBlt(dest, rop);
        return true;
    }
    const TByteView bmi = r.sub(r.u32(48), r.u32(52));
    const TByteView bits = r.sub(r.u32(56), r.u32(60));
    if (!r.ok())
        return false;
    return dib(bmi, bits, int(r.u32(64)), dest, src, true, rop);
}

// EMR_BITBLT and EMR_STRETCHBLT share their layout up to the source size, which only the
// stretching record carries (a plain blit copies a source of the destination's size).
bool Playback::emfBlt(const TByteView &r, bool stretched)
{
    const QRectF dest(r.i32(24), r.i32(28), r.i32(32), r.i32(36));
    const quint32 rop = r.u32(40);
    const QRectF src(r.i32(44), r.i32(48), r.i32(stretched ? 100 : 32), r.i32(stretched ? 104 : 36));
    if (r.u32(88) == 0) {
        patBlt(dest, rop);
        return true;
    }
    const TByteView bmi = r.sub(r.u32(84), r.u32(88));
    const TByteView bits = r.sub(r.u32(92), r.u32(96));
    if (!r.ok())
        return false;
    return dib(bmi, bits, int(r.u32(80)), dest, src, false, rop);
}

bool Playback::emfStretchBlt(const TByteView &r)
{
    return emfBlt(r, true);
}

bool Playback::emfBitBlt(const TByteView &r)
{
    return emfBlt(r, false);
}

} // namespace

TPrintResult TMetafilePlayer::play(const TMetafile &metafile, QPainter &painter, const QRectF &target)
{
    if (metafile.isNull())
        return TPrintResult::corruption(QStringLiteral("The file is not a Windows metafile."));
    painter.save();
    Playback playback(metafile, painter, target);
    TPrintResult result = playback.run();
    painter.restore();
    return result;
}

TPrintResult TMetafilePlayer::toPicture(const TMetafile &metafile, QPicture &out)
{
    const QSizeF inches = metafile.sizeInches();
    const double width = std::ceil(inches.width() * kPictureDpi),
                 height = std::ceil(inches.height() * kPictureDpi);
    if (!(width >= 1 && height >= 1 && width < 1e6 && height < 1e6))
        return TPrintResult::corruption(QStringLiteral("The metafile is damaged: the picture has no size."));
    QPicture picture;
    QPainter painter(&picture);
    TPrintResult result = play(metafile, painter, QRectF(0, 0, width, height));
    // The bounds of the drawing are those of the whole frame, whatever part of it is drawn
    // and whatever is drawn outside it; set before the end, they are stored with the drawing.
    picture.setBoundingRect(QRect(0, 0, int(width), int(height)));
    painter.end();
    if (result.ok())
        out = picture;
    return result;
}
