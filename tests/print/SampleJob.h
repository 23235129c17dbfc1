// A job body that uses every drawing call of the engine, and a sink that logs what reaches it.
#pragma once

#include "TBaseReport.h"

#include <QPainter>
#include <QPicture>

#include <string>
#include <vector>

// A page point from plain inches, as tests write them.
inline InchPoint at(double x, double y)
{
    return {Inches(x), Inches(y)};
}

// Draws `pages` pages touching every operation: pens, brushes (with a pattern bitmap), fonts
// with styles and angles, shapes, lines, clipped and opaque text, bitmaps, pictures, tab flow.
inline void drawSampleJob(TBaseReport &job, int pages)
{
    QImage pattern(4, 4, QImage::Format_ARGB32);
    pattern.fill(qRgb(200, 30, 30));
    pattern.setPixel(1, 2, qRgb(0, 0, 255));
    QPicture picture;
    {
        QPainter p(&picture);
        p.drawEllipse(0, 0, 40, 20);
        p.drawLine(0, 0, 40, 20);
    }
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            job.StartNewPage();
        job.SelectPen(Qt::blue, TPenStyle::Dash, -2);
        job.SelectBrush(Qt::yellow, TBrushStyle::Solid);
        job.DrawRectangle(at(0.1, 0.1), at(0.9, 0.5));
        job.SelectBrush(Qt::green, TBrushStyle::Solid, pattern);
        job.DrawRoundRect(at(1.0, 0.1), at(1.8, 0.5), {Inches(0.2), Inches(0.1)});
        job.SelectBrush(Qt::white, TBrushStyle::Clear);
        job.DrawEllipse(at(0.1, 0.6), at(0.9, 1.0));
        job.SelectPen(Qt::black, TPenStyle::Solid, 3);
        job.MovePenTo(at(1.0, 0.6));
        job.DrawLineTo(at(1.8, 1.0));
        job.DrawLineTo(at(1.0, 1.0));
        job.SelectFont(QStringLiteral("Arial"), 9);
        job.SetBold(true);
        job.SetFontColor(Qt::darkRed);
        job.setTextBKMode(TBaseReport::bkOpaque);
        job.DrawTextInRect(job.InchRect(at(0.1, 1.1), at(0.8, 1.3)), at(0.1, 1.1),
                           QStringLiteral("Clipped text that runs on"));
        job.setTextBKMode(TBaseReport::bkTransparent);
        job.SetItalic(true);
        job.SetUnderline(true);
        job.SetFontAngle(450);
        job.DrawTextInRect(job.InchRect(at(1.0, 1.0), at(2.0, 1.5)), at(1.2, 1.45),
                           QStringLiteral("Turned ") + QString::number(page));
        job.SelectFont(QStringLiteral("Times"), 8);
        job.DrawBitmapInRect(at(1.5, 1.1), at(1.9, 1.3), pattern);
        job.DrawGraphicInRect(job.InchRect(at(0.1, 1.35), at(0.6, 1.45)), picture);
        job.ClearTabStops();
        job.AddTabStop(pjLeft, Inches(0.1), Inches(0.6), HundredthsOfInch(2), BOXLINEALL, 10);
        job.AddTabStop(pjRight, TBaseReport::kTabAfterPrevious, Inches(0.6), HundredthsOfInch(2),
                       BOXLINEBOTTOM);
        job.MoveCursor(at(0.1, 0.05));
        job.WriteLine(QStringLiteral("\tName\t%1").arg(page));
    }
}

// One logged call: its name, a few numbers and any text.
struct SinkCall {
    std::string op;
    double x = 0, y = 0;
    QString text;
};

class SpySink : public TDrawSink
{
public:
    std::vector<SinkCall> calls;
    void beginPage(InchSize paper) override
    {
        calls.push_back({"page", paper.width.value, paper.height.value, {}});
    }
    void setPen(const TPenSpec &p) override { calls.push_back({"pen", double(p.width), 0, {}}); }
    void setBrush(const TBrushSpec &) override { calls.push_back({"brush", 0, 0, {}}); }
    void setFont(const TFontSpec &f) override { calls.push_back({"font", f.points, f.angle, f.name}); }
    void setTextOpaque(bool o) override { calls.push_back({"opaque", o ? 1.0 : 0.0, 0, {}}); }
    void rectangle(const TInchRect &r) override { calls.push_back({"rect", r.left, r.top, {}}); }
    void roundRect(const TInchRect &r, InchSize) override { calls.push_back({"round", r.left, r.top, {}}); }
    void ellipse(const TInchRect &r) override { calls.push_back({"ellipse", r.left, r.top, {}}); }
    void line(InchPoint from, InchPoint) override
    {
        calls.push_back({"line", from.x.value, from.y.value, {}});
    }
    void text(bool, const TInchRect &, InchPoint at, const QString &t) override
    {
        calls.push_back({"text", at.x.value, at.y.value, t});
    }
    void bitmap(const TInchRect &r, const QImage &) override
    {
        calls.push_back({"bitmap", r.left, r.top, {}});
    }
    void graphic(const TInchRect &r, const QPicture &) override
    {
        calls.push_back({"graphic", r.left, r.top, {}});
    }

    std::vector<SinkCall> texts() const
    {
        std::vector<SinkCall> out;
        for (const SinkCall &c : calls)
            if (c.op == "text")
                out.push_back(c);
        return out;
    }
};
