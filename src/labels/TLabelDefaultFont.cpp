#include "TLabelDefaultFont.h"

#include "TGEnums.h"
#include "TIniFile.h"

namespace {
const QString kSection = QStringLiteral("Label");
}

TLabelDefaultFont TLabelDefaultFont::read(const TIniFile &ini)
{
    TLabelDefaultFont f;
    f.name = ini.readString(kSection, QStringLiteral("DefaultFontName"), f.name);
    if (f.name.isEmpty())
        f.name = QStringLiteral("Arial");
    const int size = ini.readInteger(kSection, QStringLiteral("DefaultFontSize"), f.pointSize);
    f.pointSize = size >= 1 && size <= TGFont::kMaxDrawPoints ? size : 10;
    f.bold = ini.readBool(kSection, QStringLiteral("DefaultFontBold"), false);
    f.italic = ini.readBool(kSection, QStringLiteral("DefaultFontItalic"), false);
    return f;
}

bool TLabelDefaultFont::write(TIniFile &ini) const
{
    bool ok = ini.writeString(kSection, QStringLiteral("DefaultFontName"), name);
    ok = ini.writeInteger(kSection, QStringLiteral("DefaultFontSize"), pointSize) && ok;
    ok = ini.writeBool(kSection, QStringLiteral("DefaultFontBold"), bold) && ok;
    ok = ini.writeBool(kSection, QStringLiteral("DefaultFontItalic"), italic) && ok;
    return ok;
}

QString TLabelDefaultFont::caption() const
{
    QString text = QStringLiteral("Default Font: ") + name + QStringLiteral(", ") +
                   QString::number(pointSize) + QStringLiteral(" pt ");
    if (bold)
        text += QStringLiteral(", bold");
    if (italic)
        text += QStringLiteral(", italic");
    return text;
}

TGFont TLabelDefaultFont::font() const
{
    TGFont f(name, pointSize);
    f.setStyle((bold ? fsBold : 0) | (italic ? fsItalic : 0));
    return f;
}

TLabelDefaultFont TLabelDefaultFont::fromFont(const TGFont &font)
{
    TLabelDefaultFont f;
    f.name = font.name();
    f.pointSize = font.size();
    f.bold = font.isBold();
    f.italic = font.isItalic();
    return f;
}
