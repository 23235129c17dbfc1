// Where a print job's drawing calls go: a painter on a device (TPainterSink) or a recording
// (TRecordingWriter). The job owns the sink for as long as it runs. Every coordinate is in
// inches from the top-left corner of the paper; the sink turns them into its own units.
#pragma once

#include "Units.h"

#include <QImage>
#include <QPicture>
#include <QRgb>
#include <QString>

// Pen line styles.
enum class TPenStyle : quint8 { Solid, Dash, Dot, DashDot, DashDotDot, Clear, InsideFrame };
// How the pen combines with what is already drawn (TPenModes applies them to a painter).
enum class TPenMode : quint8 {
    Copy,
    Xor,
    NotXor,
    Not,
    Black,
    White,
    Nop,
    NotCopy,
    MergePenNot,
    MaskPenNot,
    MergeNotPen,
    MaskNotPen,
    Merge,
    NotMerge,
    Mask,
    NotMask,
    Last = NotMask
};
// Brush fill styles.
enum class TBrushStyle : quint8 {
    Solid,
    Clear,
    Horizontal,
    Vertical,
    FDiagonal,
    BDiagonal,
    Cross,
    DiagCross
};

// A pen as the job selected it. width > 0: device dots; width < 0: |width| hundredths of an
// inch, at least one dot; 0 counts as one dot.
struct TPenSpec {
    QRgb colour = qRgb(0, 0, 0);
    TPenStyle style = TPenStyle::Solid;
    int width = 1;
    TPenMode mode = TPenMode::Copy;
    bool operator==(const TPenSpec &o) const
    {
        return colour == o.colour && style == o.style && width == o.width && mode == o.mode;
    }
};

// A brush; a non-null bitmap is a pattern brush.
struct TBrushSpec {
    QRgb colour = qRgb(255, 255, 255);
    TBrushStyle style = TBrushStyle::Solid;
    QImage bitmap;
};

// A font: family, size in points, styles, colour and the angle of the text in degrees
// (counter-clockwise, 0 <= angle < 360).
struct TFontSpec {
    QString name = QStringLiteral("Arial");
    double points = 10.0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QRgb colour = qRgb(0, 0, 0);
    double angle = 0.0;
};

// A rectangle in inches from the paper's top-left corner: the unit of the sinks, which take
// plain numbers.
struct TInchRect {
    double left = 0, top = 0, right = 0, bottom = 0;
    double width() const { return right - left; }
    double height() const { return bottom - top; }
    // The rectangle from `topLeft` to `bottomRight`.
    static TInchRect between(InchPoint topLeft, InchPoint bottomRight)
    {
        return {topLeft.x.value, topLeft.y.value, bottomRight.x.value, bottomRight.y.value};
    }
};

// One of several texts drawn together: its top-left corner and the text.
struct TTextAt {
    InchPoint at;
    QString text;
};

class TDrawSink
{
public:
    virtual ~TDrawSink() = default;

    // Begins a page of the given size, in its orientation. Pen, brush, font and text mode are
    // set again by the job after each new page.
    virtual void beginPage(InchSize paper) = 0;
    virtual void setPen(const TPenSpec &pen) = 0;
    virtual void setBrush(const TBrushSpec &brush) = 0;
    virtual void setFont(const TFontSpec &font) = 0;
    // Text with an opaque background fills its box with the brush colour first.
    virtual void setTextOpaque(bool opaque) = 0;

    virtual void rectangle(const TInchRect &r) = 0;
    // `corner`: the width and height of the ellipse that rounds each corner.
    virtual void roundRect(const TInchRect &r, InchSize corner) = 0;
    virtual void ellipse(const TInchRect &r) = 0;
    virtual void line(InchPoint from, InchPoint to) = 0;
    // Text with its top-left corner at `at`; clipped to `clip` when `clipped`.
    virtual void text(bool clipped, const TInchRect &clip, InchPoint at, const QString &text) = 0;
    // Texts in the current font, none clipped, drawn in order as text() draws each; a sink may
    // draw them in one go.
    virtual void textRun(const TTextAt *items, size_t count)
    {
        for (size_t i = 0; i < count; ++i)
            text(false, TInchRect{}, items[i].at, items[i].text);
    }
    virtual void bitmap(const TInchRect &r, const QImage &image) = 0;
    virtual void graphic(const TInchRect &r, const QPicture &picture) = 0;
};
