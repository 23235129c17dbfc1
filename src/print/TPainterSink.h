// Draws a job's calls with a QPainter on any device: a printer, a PDF file, an image or the
// preview's page picture. The caller owns the painter and keeps it active while the sink is used.
#pragma once

#include "TDrawSink.h"
#include "Units.h"

#include <QFont>
#include <QList>
#include <QPen>
#include <QPointF>
#include <QRawFont>

#include <array>

class QPainter;
class QPaintDevice;

class TPainterSink : public TDrawSink
{
public:
    // `dotsPerInchX/Y` map inches to the painter's coordinates (the device resolution times
    // any zoom).
    TPainterSink(QPainter &painter, double dotsPerInchX, double dotsPerInchY);

    void beginPage(InchSize paper) override;
    void setPen(const TPenSpec &pen) override;
    void setBrush(const TBrushSpec &brush) override;
    void setFont(const TFontSpec &font) override;
    void setTextOpaque(bool opaque) override;
    void rectangle(const TInchRect &r) override;
    void roundRect(const TInchRect &r, InchSize corner) override;
    void ellipse(const TInchRect &r) override;
    void line(InchPoint from, InchPoint to) override;
    void text(bool clipped, const TInchRect &clip, InchPoint at, const QString &text) override;
    // Plain texts become one run of glyphs, which a PDF or printer takes as one text object
    // instead of one per text.
    void textRun(const TTextAt *items, size_t count) override;
    void bitmap(const TInchRect &r, const QImage &image) override;
    void graphic(const TInchRect &r, const QPicture &picture) override;

    // The Qt font for `font` on `device` at `dotsPerInchY`: the point size is corrected for the
    // device's logical resolution, so the letters have their size in inches at any zoom.
    static QFont qtFont(const TFontSpec &font, double dotsPerInchY, const QPaintDevice *device);
    // Pen width in dots: width > 0 dots as given, width < 0 hundredths of an inch, at least 1.
    static double penDots(int width, double dotsPerInchX);

private:
    QRectF toDevice(const TInchRect &r) const;
    // Text is drawn with a pen in the font colour, shapes with the job's pen; the painter
    // switches between them only when the kind of drawing changes.
    void useShapePen();
    void useTextPen();
    // Draws plain one-line text from its glyphs directly, skipping the text layout; false (and
    // nothing drawn) for text that needs the layout.
    bool drawSimpleText(const QPointF &origin, const QString &text);
    // Appends the glyphs of plain one-line `text` starting at `start` (relative to the run's
    // origin); false, with nothing appended, for text that needs the layout.
    bool appendSimpleGlyphs(const QString &text, QPointF start, QList<quint32> &glyphs,
                            QList<QPointF> &positions);
    // Draws `glyphs` of the current font at `positions` relative to `origin`, as one run.
    void drawGlyphs(const QPointF &origin, const QList<quint32> &glyphs, const QList<QPointF> &positions);

    // A font made for the device: what setFont builds, kept for the next time the same font
    // is chosen, since jobs switch between a few fonts many times a page.
    struct MadeFont {
        QString name;
        double points = 0;
        bool bold = false, italic = false, underline = false;
        QFont font;
        QRawFont rawFont;
        double ascent = 0, height = 0;
        bool isMade = false;
        bool matches(const TFontSpec &spec) const
        {
            return isMade && spec.points == points && spec.bold == bold && spec.italic == italic &&
                   spec.underline == underline && spec.name == name;
        }
    };
    // Answers the made font for `spec`, made now when none of the kept ones matches.
    const MadeFont &madeFont(const TFontSpec &spec);

    QPainter &m_painter;
    std::array<MadeFont, 8> m_madeFonts;
    size_t m_nextMadeFont = 0; // the slot the next new font replaces
    const MadeFont *m_currentFont = nullptr;
    double m_dpiX;
    double m_dpiY;
    QFont m_font;
    QRawFont m_rawFont;
    QColor m_fontColour;
    QPen m_shapePen;
    bool m_textPenActive = false;
    double m_ascent = 0.0;
    double m_textHeight = 0.0;
    double m_fontAngle = 0.0;
    bool m_opaque = false;
    QColor m_brushColour = Qt::white;
};
