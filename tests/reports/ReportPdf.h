// Reading printed PDFs back with the poppler tools: page count and size (pdfinfo), the text of
// each page (pdftotext -layout), word boxes (pdftotext -bbox) and pixels (pdftoppm).
#pragma once

#include "TestFiles.h"

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <vector>

namespace reportpdf {

inline QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

struct Info {
    int pages = 0;
    double widthPoints = 0;
    double heightPoints = 0;
};

inline Info info(const QString &pdf)
{
    Info i;
    const QString text = run(QStringLiteral("pdfinfo"), {pdf});
    const QRegularExpressionMatch pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(text);
    if (pages.hasMatch())
        i.pages = pages.captured(1).toInt();
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(text);
    if (size.hasMatch()) {
        i.widthPoints = size.captured(1).toDouble();
        i.heightPoints = size.captured(2).toDouble();
    }
    return i;
}

// The text of each page, layout kept.
inline QStringList pages(const QString &pdf)
{
    QStringList out = pdfText(pdf).split(QLatin1Char('\f'));
    if (!out.isEmpty() && out.back().trimmed().isEmpty())
        out.removeLast();
    return out;
}

struct Word {
    QString text;
    double xMin, yMin, xMax, yMax; // points
};

// The words of page `page` (1-based) with their boxes.
inline std::vector<Word> words(const QString &pdf, int page)
{
    std::vector<Word> out;
    const QString html = run(QStringLiteral("pdftotext"),
                             {QStringLiteral("-bbox"), QStringLiteral("-f"), QString::number(page),
                              QStringLiteral("-l"), QString::number(page), pdf, QStringLiteral("-")});
    static const QRegularExpression kWord(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    for (auto it = kWord.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out.push_back({m.captured(5), m.captured(1).toDouble(), m.captured(2).toDouble(),
                       m.captured(3).toDouble(), m.captured(4).toDouble()});
    }
    return out;
}

// Page `page` (1-based) rendered in grey at `dpi`.
inline QImage render(const QString &pdf, int page, int dpi, const QString &prefix)
{
    run(QStringLiteral("pdftoppm"), {QStringLiteral("-gray"), QStringLiteral("-r"), QString::number(dpi),
                                     QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                     QString::number(page), QStringLiteral("-singlefile"), pdf, prefix});
    return QImage(prefix + QStringLiteral(".pgm"));
}

} // namespace reportpdf
