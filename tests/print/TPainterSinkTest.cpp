// The painter sink's plain-text path draws exactly what Qt's text layout draws.
#include "TPainterSink.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

namespace {

QImage blankPage()
{
    QImage image(900, 120, QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(qRound(150 / 0.0254));
    image.setDotsPerMeterY(qRound(150 / 0.0254));
    image.fill(Qt::white);
    return image;
}

struct TextCase {
    const char *font;
    double points;
    bool bold, italic, underline;
    const char *text; // UTF-8
};

class SinkText : public ::testing::TestWithParam<TextCase>
{
};

} // namespace

TEST_P(SinkText, MatchesTheTextLayoutPixelForPixel)
{
    const TextCase c = GetParam();
    TFontSpec spec;
    spec.name = QString::fromLatin1(c.font);
    spec.points = c.points;
    spec.bold = c.bold;
    spec.italic = c.italic;
    spec.underline = c.underline;
    spec.colour = qRgb(20, 20, 120);
    const QString text = QString::fromUtf8(c.text);

    QImage viaSink = blankPage();
    {
        QPainter painter(&viaSink);
        TPainterSink sink(painter, 150, 150);
        sink.setFont(spec);
        sink.text(false, {}, {Inches(0.1), Inches(0.2)}, text);
    }
    QImage viaLayout = blankPage();
    {
        QPainter painter(&viaLayout);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        const QFont font = TPainterSink::qtFont(spec, 150, &viaLayout);
        painter.setFont(font);
        painter.setPen(QColor::fromRgb(spec.colour));
        painter.drawText(QPointF(0.1 * 150, 0.2 * 150 + QFontMetricsF(font, &viaLayout).ascent()), text);
    }
    EXPECT_TRUE(viaSink == viaLayout) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SinkText,
    ::testing::Values(TextCase{"Arial", 10, false, false, false, "Smith, John Q. 94110-1234"},
                      TextCase{"Times", 10, true, false, false, "Organization: Women's Chorus"},
                      TextCase{"Times", 12, false, true, false, "AVAST Wave Toyota"},
                      TextCase{"Times", 12, false, true, true, "AVAST Wave Toyota"},
                      TextCase{"Courier New", 9, false, false, false, "Phone  :801.555.0181"},
                      TextCase{"Arial", 8, false, false, false, "Montréal Muñoz Łódź"},
                      // Texts that need the layout: ligatures, marks, other scripts, symbols.
                      TextCase{"Times", 10, false, false, false, "office flow affair"},
                      TextCase{"Arial", 10, false, false, false,
                               "e\xCC\x81 \xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D"},
                      TextCase{"Arial", 10, false, false, false,
                               "Paid \xE2\x82\xAC"
                               "120 \xE2\x80\x93 #77"}));

// Fonts made once are kept for the next time they are chosen: a text after a run of other
// fonts (more of them than are kept) is drawn exactly as it is in a sink that saw only its font.
TEST(SinkFonts, AFontChosenAgainDrawsAsWhenItWasFirstChosen)
{
    TFontSpec body;
    body.points = 9;
    const auto drawAfter = [&](const std::vector<TFontSpec> &before) {
        QImage image = blankPage();
        QPainter painter(&image);
        TPainterSink sink(painter, 150, 150);
        for (const TFontSpec &f : before) {
            sink.setFont(f);
            sink.text(false, {}, {Inches(4), Inches(0.1)}, QStringLiteral("x"));
        }
        image.fill(Qt::white);
        sink.setFont(body);
        sink.text(false, {}, {Inches(0.1), Inches(0.2)}, QStringLiteral("Smith, John Q."));
        painter.end();
        return image;
    };
    const QImage alone = drawAfter({});
    std::vector<TFontSpec> others;
    others.push_back(body);
    for (int i = 0; i < 12; ++i) {
        TFontSpec f = body;
        f.points = 6 + i;
        f.bold = i % 2 == 1;
        f.italic = i % 3 == 1;
        f.name = i % 4 == 0 ? QStringLiteral("Times New Roman") : QStringLiteral("Arial");
        others.push_back(f);
        if (i == 5)
            others.push_back(body);
    }
    EXPECT_TRUE(drawAfter(others) == alone);
    others.resize(3);
    EXPECT_TRUE(drawAfter(others) == alone);
}

// Texts drawn as one run come out as each drawn on its own, also when one of them needs the
// text layout (then each is drawn on its own) or is empty.
TEST(SinkTextRun, DrawsAsTheTextsOneByOne)
{
    TFontSpec spec;
    spec.points = 9;
    const std::vector<std::vector<TTextAt>> lines = {
        {{{Inches(0.1), Inches(0.2)}, QStringLiteral("Smith, John Q.")},
         {{Inches(1.85), Inches(0.2)}, QStringLiteral("12 Oak St")},
         {{Inches(4.0), Inches(0.2)}, QStringLiteral("München, CA 94110 ")}},
        {{{Inches(0.1), Inches(0.3)}, QStringLiteral("Jones,")},
         {{Inches(1.85), Inches(0.3)}, QString()},
         {{Inches(3.0), Inches(0.3)}, QStringLiteral("office flow")}},
    };
    for (const std::vector<TTextAt> &line : lines) {
        QImage together = blankPage();
        QImage apart = blankPage();
        {
            QPainter painter(&together);
            TPainterSink sink(painter, 150, 150);
            sink.setFont(spec);
            sink.textRun(line.data(), line.size());
        }
        {
            QPainter painter(&apart);
            TPainterSink sink(painter, 150, 150);
            sink.setFont(spec);
            for (const TTextAt &t : line)
                sink.text(false, {}, t.at, t.text);
        }
        EXPECT_TRUE(together == apart) << line.front().text.toStdString();
        EXPECT_FALSE(together == blankPage());
    }
}
