#include "TLetterDefaultFont.h"

#include "TIniFile.h"

#include <QFont>
#include <QTextCharFormat>

namespace {
const QString kSection = QStringLiteral("Letter");
}

TLetterDefaultFont TLetterDefaultFont::read(const TIniFile &ini)
{
    TLetterDefaultFont font;
    font.name = ini.readString(kSection, QStringLiteral("DefaultFontName"), font.name);
    if (font.name.trimmed().isEmpty())
        font.name = QStringLiteral("Arial");
    const int size = ini.readInteger(kSection, QStringLiteral("DefaultFontSize"), font.pointSize);
    font.pointSize = size >= 1 && size <= 1638 ? size : 10;
    font.bold = ini.readBool(kSection, QStringLiteral("DefaultFontBold"), false);
    font.italic = ini.readBool(kSection, QStringLiteral("DefaultFontItalic"), false);
    return font;
}

bool TLetterDefaultFont::write(TIniFile &ini) const
{
    return ini.writeStrings(
        kSection,
        {{QStringLiteral("DefaultFontName"), name},
         {QStringLiteral("DefaultFontSize"), QString::number(pointSize)},
         {QStringLiteral("DefaultFontBold"), bold ? QStringLiteral("1") : QStringLiteral("0")},
         {QStringLiteral("DefaultFontItalic"), italic ? QStringLiteral("1") : QStringLiteral("0")}});
}

QString TLetterDefaultFont::caption() const
{
    return QStringLiteral("&Default Font: ") + name + QStringLiteral(", ") + QString::number(pointSize) +
           QStringLiteral(" pt ") + (bold ? QStringLiteral(", bold") : QString()) +
           (italic ? QStringLiteral(", italic") : QString());
}

QTextCharFormat TLetterDefaultFont::appliedTo(const QTextCharFormat &current) const
{
    QTextCharFormat format = current;
    format.setFontFamilies({name});
    format.setFontPointSize(pointSize);
    if (bold)
        format.setFontWeight(QFont::Bold);
    if (italic)
        format.setFontItalic(true);
    return format;
}
