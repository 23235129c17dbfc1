#include "TRtfWriter.h"

#include "TCp1252.h"
#include "TLetterPageLayout.h"
#include "TRtfPicture.h"
#include "TRtfReader.h"

#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextOption>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr double kTwipsPerPixel = 15.0;
constexpr const char *kNewline = "\r\n";
// Picture bytes per line of hexadecimal digits.
constexpr qsizetype kHexBytesPerLine = 64;

int twips(double pixels)
{
    return static_cast<int>(std::lround(pixels * kTwipsPerPixel));
}

void number(QByteArray &out, const char *word, long long value)
{
    out += word;
    out += QByteArray::number(value);
}

class Writer
{
public:
    explicit Writer(const QTextDocument &document) : m_document(document)
    {
        const QFont font = document.defaultFont();
        m_defaultFamily = font.family();
        m_defaultPoints = font.pointSizeF() > 0 ? font.pointSizeF() : 12.0;
    }

    QByteArray write()
    {
        collectTables();
        QByteArray out;
        out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1";
        out += kNewline;
        out += "{\\fonttbl";
        for (int i = 0; i < static_cast<int>(m_fonts.size()); ++i) {
            out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset0 ";
            escapeText(out, m_fonts[static_cast<size_t>(i)]);
            out += ";}";
        }
        out += "}";
        out += kNewline;
        out += "{\\colortbl;";
        for (const QRgb rgb : m_colours) {
            number(out, "\\red", qRed(rgb));
            number(out, "\\green", qGreen(rgb));
            number(out, "\\blue", qBlue(rgb));
            out += ";";
        }
        out += "}";
        out += kNewline;
        const TLetterPageLayout page = TLetterPageLayout::of(m_document);
        number(out, "\\paperw", page.paperWidth);
        number(out, "\\paperh", page.paperHeight);
        number(out, "\\margl", page.marginLeft);
        number(out, "\\margr", page.marginRight);
        number(out, "\\margt", page.marginTop);
        number(out, "\\margb", page.marginBottom);
        out += kNewline;
        bool first = true;
        for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
            paragraph(out, block, first);
            first = false;
        }
        out += "}";
        out += kNewline;
        return out;
    }

private:
    QString family(const QTextCharFormat &f) const
    {
        const QStringList families = f.fontFamilies().toStringList();
        if (!families.isEmpty() && !families.first().isEmpty())
            return fontTableName(families.first());
        return fontTableName(m_defaultFamily);
    }

    int fontIndex(const QString &name)
    {
        const auto found = std::find(m_fonts.begin(), m_fonts.end(), name);
        if (found != m_fonts.end())
            return static_cast<int>(found - m_fonts.begin());
        m_fonts.push_back(name);
        return static_cast<int>(m_fonts.size()) - 1;
    }

    // Colour table index (from 1) of a brush's colour, 0 when the brush has none.
    int colourIndex(const QBrush &brush, bool add)
    {
        if (brush.style() == Qt::NoBrush)
            return 0;
        const QRgb rgb = brush.color().rgb() & 0xFFFFFFu;
        const auto found = std::find(m_colours.begin(), m_colours.end(), rgb);
        if (found != m_colours.end())
            return static_cast<int>(found - m_colours.begin()) + 1;
        if (!add)
            return 0;
        m_colours.push_back(rgb);
        return static_cast<int>(m_colours.size());
    }

    void collect(const QTextCharFormat &f)
    {
        fontIndex(family(f));
        colourIndex(f.foreground(), true);
        colourIndex(f.background(), true);
    }

    // Fonts and colours in the order the text first uses them, so the same document always
    // gives the same tables.
    void collectTables()
    {
        for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                if (fragment.isValid() && !isPicture(fragment.charFormat()))
                    collect(fragment.charFormat());
            }
            collect(block.charFormat());
        }
        if (m_fonts.empty())
            m_fonts.push_back(fontTableName(m_defaultFamily));
    }

    // A font name as the font table holds it.
    static QString fontTableName(const QString &name)
    {
        QString kept;
        for (const QChar c : name) {
            if (TRtfReader::isFontNameCharacter(c.unicode()))
                kept.append(c);
        }
        return kept.trimmed();
    }

    static bool isPicture(const QTextCharFormat &f)
    {
        return f.isImageFormat() || f.objectType() == TRtfPicture::kMetafileObjectType;
    }

    void charProperties(QByteArray &out, const QTextCharFormat &f)
    {
        number(out, "\\f", fontIndex(family(f)));
        const double points = f.fontPointSize() > 0 ? f.fontPointSize() : m_defaultPoints;
        number(out, "\\fs", std::clamp(static_cast<int>(std::lround(points * 2)), 1, 3276));
        if (f.fontWeight() > QFont::Medium)
            out += "\\b";
        if (f.fontItalic())
            out += "\\i";
        if (f.fontUnderline())
            out += "\\ul";
        if (f.fontStrikeOut())
            out += "\\strike";
        if (const int fg = colourIndex(f.foreground(), false))
            number(out, "\\cf", fg);
        if (const int bg = colourIndex(f.background(), false))
            number(out, "\\chcbpat", bg);
        if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
            out += "\\super";
        else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
            out += "\\sub";
    }

    static void paragraphProperties(QByteArray &out, const QTextBlockFormat &f)
    {
        out += "\\pard";
        const Qt::Alignment h = f.alignment() & Qt::AlignHorizontal_Mask;
        if (h & Qt::AlignHCenter)
            out += "\\qc";
        else if (h & Qt::AlignJustify)
            out += "\\qj";
        else if (h & Qt::AlignRight)
            out += "\\qr";
        if (const int v = twips(f.leftMargin()))
            number(out, "\\li", v);
        if (const int v = twips(f.rightMargin()))
            number(out, "\\ri", v);
        if (const int v = twips(f.textIndent()))
            number(out, "\\fi", v);
        if (const int v = twips(f.topMargin()))
            number(out, "\\sb", v);
        if (const int v = twips(f.bottomMargin()))
            number(out, "\\sa", v);
        switch (f.lineHeightType()) {
        case QTextBlockFormat::FixedHeight:
            number(out, "\\sl", -twips(f.lineHeight()));
            out += "\\slmult0";
            break;
        case QTextBlockFormat::MinimumHeight:
            number(out, "\\sl", twips(f.lineHeight()));
            out += "\\slmult0";
            break;
        case QTextBlockFormat::ProportionalHeight:
            if (std::lround(f.lineHeight()) != 100) {
                number(out, "\\sl", std::lround(f.lineHeight() * 240.0 / 100.0));
                out += "\\slmult1";
            }
            break;
        default:
            break;
        }
        for (const QTextOption::Tab &tab : f.tabPositions()) {
            if (tab.type == QTextOption::RightTab)
                out += "\\tqr";
            else if (tab.type == QTextOption::CenterTab)
                out += "\\tqc";
            else if (tab.type == QTextOption::DelimiterTab)
                out += "\\tqdec";
            number(out, "\\tx", twips(tab.position));
        }
    }

    void paragraph(QByteArray &out, const QTextBlock &block, bool first)
    {
        const QTextBlockFormat bf = block.blockFormat();
        // A break is written between the paragraphs, so every reader starts the new paragraph
        // on the new page; a break before the first paragraph or after the last one has no
        // page to make.
        if (!first && (m_breakNext || (bf.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)))
            out += "\\page";
        m_breakNext = bf.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter;
        paragraphProperties(out, bf);
        out += "\\plain";
        charProperties(out, block.charFormat());
        // Fragments that write the same settings are one run: formats that differ only in what
        // RTF does not carry must not split it, or it would read back as other bytes.
        QByteArray runSettings;
        QByteArray runText;
        const auto flush = [&] {
            if (runText.isEmpty())
                return;
            out += "{\\plain";
            out += runSettings;
            out += ' ';
            out += runText;
            out += '}';
            runText.clear();
        };
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QTextCharFormat f = fragment.charFormat();
            if (isPicture(f)) {
                const QByteArray written = picture(f);
                if (written.isEmpty())
                    continue;
                flush();
                for (int i = 0; i < fragment.length(); ++i)
                    out += written;
                continue;
            }
            QByteArray text;
            escapeText(text, fragment.text());
            if (text.isEmpty())
                continue;
            QByteArray settings;
            charProperties(settings, f);
            if (settings != runSettings) {
                flush();
                runSettings = settings;
            }
            runText += text;
        }
        flush();
        out += "\\par";
        out += kNewline;
    }

    // The picture group for a picture's character, or nothing when it holds no picture.
    QByteArray picture(const QTextCharFormat &f)
    {
        QByteArray out;
        const std::optional<TRtfPicture> p = TRtfPicture::fromFormat(f, m_document);
        if (!p || p->data.isEmpty())
            return out;
        out += "{\\pict";
        switch (p->kind) {
        case TRtfPicture::Kind::Png:
            out += "\\pngblip";
            break;
        case TRtfPicture::Kind::Jpeg:
            out += "\\jpegblip";
            break;
        case TRtfPicture::Kind::Emf:
            out += "\\emfblip";
            break;
        case TRtfPicture::Kind::Wmf:
            number(out, "\\wmetafile", p->mapping);
            break;
        }
        number(out, "\\picw", p->picWidth);
        number(out, "\\pich", p->picHeight);
        if (p->goalWidth > 0)
            number(out, "\\picwgoal", p->goalWidth);
        if (p->goalHeight > 0)
            number(out, "\\pichgoal", p->goalHeight);
        if (p->scaleX != 100)
            number(out, "\\picscalex", p->scaleX);
        if (p->scaleY != 100)
            number(out, "\\picscaley", p->scaleY);
        for (qsizetype i = 0; i < p->data.size(); i += kHexBytesPerLine) {
            out += kNewline;
            out += p->data.mid(i, kHexBytesPerLine).toHex();
        }
        out += '}';
        return out;
    }

    static void escapeText(QByteArray &out, const QString &text)
    {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t c = text.at(i).unicode();
            switch (c) {
            case '\\':
                out += "\\\\";
                continue;
            case '{':
                out += "\\{";
                continue;
            case '}':
                out += "\\}";
                continue;
            case '\t':
                out += "\\tab ";
                continue;
            case 0x2028: // a line break inside the paragraph
                out += "\\line ";
                continue;
            case 0x00A0:
                out += "\\~";
                continue;
            case 0x00AD:
                out += "\\-";
                continue;
            case 0x2011:
                out += "\\_";
                continue;
            default:
                break;
            }
            if (!TRtfReader::isTextCharacter(c)) {
                // Control characters and document markers have no place in a letter's text.
            } else if (c < 0x7F) {
                out += static_cast<char>(c);
            } else if (const char b = TCp1252::fromChar(c); b != '?') {
                out += "\\'";
                out += QByteArray(1, b).toHex();
            } else {
                number(out, "\\u", static_cast<int16_t>(c));
                out += '?';
            }
        }
    }

    const QTextDocument &m_document;
    QString m_defaultFamily;
    double m_defaultPoints = 12.0;
    std::vector<QString> m_fonts;
    std::vector<QRgb> m_colours;
    bool m_breakNext = false;
};

} // namespace

QByteArray TRtfWriter::write(const QTextDocument &document)
{
    return Writer(document).write();
}
