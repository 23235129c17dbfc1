// The letter the letter benchmarks print: a one-page template with a letterhead picture, an
// address block and six justified paragraphs with merge fields, and the address records merged
// into it. Shared by letter_bench and letter_print_bench so both work on the same text.
#pragma once

#include "TMergeRecordMap.h"
#include "TRtfPicture.h"
#include "TRtfWriter.h"

#include <QBuffer>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace letterbench {

// A 600 × 150 letterhead with some drawing on it, as PNG bytes.
inline QByteArray letterhead()
{
    QImage image(600, 150, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(QPen(QColor(20, 60, 140), 6));
    p.drawRect(10, 10, 580, 130);
    p.drawLine(10, 110, 590, 110);
    p.setFont(QFont(QStringLiteral("Liberation Sans"), 28, QFont::Bold));
    p.drawText(QRect(20, 20, 560, 80), Qt::AlignCenter, QStringLiteral("Corvantis Mail Services"));
    p.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

// A one-page letter: the letterhead, the address block, a salutation and six paragraphs.
inline QByteArray templateRtf()
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    c.setBlockFormat(centred);
    TRtfPicture picture;
    picture.data = letterhead();
    picture.picWidth = 600;
    picture.picHeight = 150;
    picture.goalWidth = 8640;
    picture.goalHeight = 2160;
    picture.insert(c);
    QTextCharFormat body;
    body.setFontFamilies({QStringLiteral("Liberation Serif")});
    body.setFontPointSize(11);
    QTextBlockFormat plain;
    plain.setBottomMargin(8);
    c.insertBlock(plain, body);
    c.insertText(QStringLiteral("[Long Date]"), body);
    c.insertBlock(plain, body);
    c.insertText(QStringLiteral("[Name and Address]"), body);
    c.insertBlock(plain, body);
    QTextCharFormat bold = body;
    bold.setFontWeight(QFont::Bold);
    c.insertText(QStringLiteral("Dear [First] [Last],"), bold);
    const QString paragraph = QStringLiteral(
        "Thank you for your letter about the delivery to [Street] in [City]. We have looked into the "
        "matter and are glad to tell you that the next shipment will reach you within the week. Should "
        "anything be missing, please call us at the number below and quote your reference, [Zip].");
    QTextBlockFormat justified = plain;
    justified.setAlignment(Qt::AlignJustify);
    for (int i = 0; i < 6; ++i) {
        c.insertBlock(justified, body);
        c.insertText(paragraph, body);
    }
    c.insertBlock(plain, body);
    c.insertText(QStringLiteral("Yours sincerely,"), body);
    return TRtfWriter::write(doc);
}

inline TMergeRecordMap record(int i)
{
    static const char *const first[] = {"Ann", "Bob", "Carla", "Dieter", "Eve", "Frank", "Grace", "Hal"};
    static const char *const last[] = {"Lee", "Moreno", "Nguyen", "Olsen", "Park", "Quist", "Rossi", "Stone"};
    static const char *const city[] = {"Salem", "Portland", "Eugene", "Bend", "Medford"};
    return {{QStringLiteral("PREFIX"), i % 3 ? QString() : QStringLiteral("Dr.")},
            {QStringLiteral("FNAME"), QLatin1String(first[i % 8])},
            {QStringLiteral("MIDDLE"), i % 2 ? QStringLiteral("Q") : QString()},
            {QStringLiteral("LNAME"), QLatin1String(last[(i / 8) % 8])},
            {QStringLiteral("ORG"), i % 4 ? QString() : QStringLiteral("Acme Supplies")},
            {QStringLiteral("STREET"), QStringLiteral("%1 Main Street").arg(100 + i)},
            {QStringLiteral("CITY"), QLatin1String(city[i % 5])},
            {QStringLiteral("STATE"), QStringLiteral("OR")},
            {QStringLiteral("ZIP"), QStringLiteral("97%1").arg(300 + i % 700, 3, 10, QLatin1Char('0'))}};
}

} // namespace letterbench
