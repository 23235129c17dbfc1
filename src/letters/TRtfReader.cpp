#include "TRtfReader.h"

#include "TCp1252.h"
#include "TLetterPageLayout.h"
#include "TRtfPicture.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

#include <algorithm>
#include <climits>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

// ---------------------------------------------------------------------------------------------
// Tokens

enum class TokenKind { End, Open, Close, Word, Symbol, Text, Hex, Binary, Error };

struct Token {
    TokenKind kind = TokenKind::End;
    const char *begin = nullptr; // the word's letters, the text run or the binary data
    qsizetype size = 0;
    bool hasArgument = false;
    int argument = 0;
    unsigned char symbol = 0; // a control symbol's character, or the byte of \'xx
    std::string error;

    std::string_view word() const { return {begin, static_cast<size_t>(size)}; }
};

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string damaged(const std::string &what)
{
    return "The RTF text is damaged: " + what;
}

// Splits RTF bytes into tokens and keeps the group depth. Every length and argument is
// checked here, so what comes out is always within the reader's bounds.
class Lexer
{
public:
    Lexer(const char *data, qsizetype size) : m_p(data), m_end(data + size) {}

    int depth() const { return m_depth; }

    Token next()
    {
        Token t;
        while (m_p < m_end && (*m_p == '\r' || *m_p == '\n'))
            ++m_p;
        if (m_p >= m_end)
            return t;
        const char c = *m_p;
        if (c == '{') {
            ++m_p;
            if (++m_depth > TRtfReader::kMaxGroupDepth)
                return error(t, "its groups are nested more than " +
                                    std::to_string(TRtfReader::kMaxGroupDepth) + " deep");
            t.kind = TokenKind::Open;
            return t;
        }
        if (c == '}') {
            ++m_p;
            if (--m_depth < 0)
                return error(t, "it closes a group it never opened");
            t.kind = TokenKind::Close;
            return t;
        }
        if (c == '\\')
            return control(t);
        t.kind = TokenKind::Text;
        t.begin = m_p;
        while (m_p < m_end && *m_p != '\\' && *m_p != '{' && *m_p != '}' && *m_p != '\r' && *m_p != '\n')
            ++m_p;
        t.size = m_p - t.begin;
        return t;
    }

private:
    static Token error(Token &t, const std::string &what)
    {
        t.kind = TokenKind::Error;
        t.error = damaged(what);
        return t;
    }

    Token control(Token &t)
    {
        ++m_p; // the backslash
        if (m_p >= m_end) {
            t.kind = TokenKind::End;
            return t;
        }
        if (!isLetter(*m_p)) {
            const unsigned char s = static_cast<unsigned char>(*m_p++);
            if (s == '\'') {
                if (m_end - m_p >= 2 && hexValue(m_p[0]) >= 0 && hexValue(m_p[1]) >= 0) {
                    t.kind = TokenKind::Hex;
                    t.symbol = static_cast<unsigned char>(hexValue(m_p[0]) * 16 + hexValue(m_p[1]));
                    m_p += 2;
                    return t;
                }
            }
            t.kind = TokenKind::Symbol;
            t.symbol = s;
            return t;
        }
        t.kind = TokenKind::Word;
        t.begin = m_p;
        while (m_p < m_end && isLetter(*m_p)) {
            ++m_p;
            if (m_p - t.begin > TRtfReader::kMaxWordLetters)
                return error(t, "a control word is longer than " +
                                    std::to_string(TRtfReader::kMaxWordLetters) + " letters");
        }
        t.size = m_p - t.begin;
        const bool negative = m_p < m_end && *m_p == '-' && m_end - m_p >= 2 && isDigit(m_p[1]);
        if (negative)
            ++m_p;
        if (m_p < m_end && isDigit(*m_p)) {
            const char *digits = m_p;
            long long value = 0;
            while (m_p < m_end && isDigit(*m_p)) {
                if (m_p - digits >= TRtfReader::kMaxArgumentDigits)
                    return error(t, "a control word's argument is longer than " +
                                        std::to_string(TRtfReader::kMaxArgumentDigits) + " digits");
                value = value * 10 + (*m_p - '0');
                ++m_p;
            }
            if (negative)
                value = -value;
            if (value < INT_MIN || value > INT_MAX)
                return error(t, "a control word's argument is out of range");
            t.hasArgument = true;
            t.argument = static_cast<int>(value);
        }
        if (m_p < m_end && *m_p == ' ')
            ++m_p;
        if (t.word() == "bin") {
            const long long count = t.hasArgument ? t.argument : 0;
            if (count < 0 || count > m_end - m_p)
                return error(t, "binary data runs past the end of the text");
            t.kind = TokenKind::Binary;
            t.begin = m_p;
            t.size = static_cast<qsizetype>(count);
            m_p += count;
        }
        return t;
    }

    const char *m_p;
    const char *m_end;
    int m_depth = 0;
};

// Skips blanks before the first group; a memo or file may start with a line break.
qsizetype startOf(const QByteArray &bytes)
{
    qsizetype i = 0;
    while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
        ++i;
    return i;
}

// ---------------------------------------------------------------------------------------------
// Building the document

enum class Dest { Body, StyleSheet, FontTable, ColorTable, Picture };

struct CharState {
    int font = -1; // -1: the default font
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int foreground = 0; // colour table index, 0 automatic
    int background = 0;
    int vertical = 0; // 0 normal, 1 superscript, 2 subscript

    bool operator==(const CharState &o) const
    {
        return font == o.font && halfPoints == o.halfPoints && bold == o.bold && italic == o.italic &&
               underline == o.underline && strike == o.strike && foreground == o.foreground &&
               background == o.background && vertical == o.vertical;
    }
    bool operator!=(const CharState &o) const { return !(*this == o); }
};

struct TabStop {
    int position = 0; // twips
    QTextOption::TabType type = QTextOption::LeftTab;
};

struct ParaState {
    Qt::Alignment align = Qt::AlignLeft;
    int left = 0; // twips
    int right = 0;
    int first = 0;
    int before = 0;
    int after = 0;
    int line = 0; // \sl: 0 single, > 0 at least (or a multiple of 240 with \slmult1), < 0 exactly
    bool lineMultiple = false;
    std::vector<TabStop> tabs;
    QTextOption::TabType nextTabType = QTextOption::LeftTab;
    bool breakBefore = false;
};

struct Group {
    Dest dest = Dest::Body;
    CharState ch;
    ParaState para;
    int unicodeSkip = 1;
    bool starred = false;
};

// Largest indent, spacing and tab position taken: 100 inches in twips.
constexpr int kMaxParagraphTwips = 144000;
// Most tab stops one paragraph keeps.
constexpr size_t kMaxTabs = 64;
// Longest font name kept.
constexpr int kMaxFontName = 255;
constexpr double kTwipsPerPixel = 15.0;

enum class Op {
    // destinations
    FontTable,
    ColorTable,
    StyleSheet,
    Style,
    StyleBasedOn,
    Pict,
    SkipGroup,
    Transparent,
    // document and section
    DefaultFont,
    PaperWidth,
    PaperHeight,
    MarginLeft,
    MarginRight,
    MarginTop,
    MarginBottom,
    SectionWidth,
    SectionHeight,
    SectionLeft,
    SectionRight,
    SectionTop,
    SectionBottom,
    SectionDefaults,
    NoSectionBreak,
    SectionBreakPage,
    // characters
    Plain,
    Font,
    FontSize,
    Bold,
    Italic,
    Underline,
    NoUnderline,
    Strike,
    Foreground,
    Background,
    Super,
    Sub,
    NoSuperSub,
    // paragraphs
    Pard,
    AlignLeft,
    AlignCenter,
    AlignRight,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstIndent,
    SpaceBefore,
    SpaceAfter,
    LineSpacing,
    LineMultiple,
    Tab,
    TabRight,
    TabCenter,
    TabDecimal,
    BarTab,
    PageBreakBefore,
    // breaks and special characters
    Par,
    Line,
    TabChar,
    Page,
    Sect,
    Cell,
    Row,
    Unicode,
    UnicodeSkip,
    Character,
    // colour table
    Red,
    Green,
    Blue,
    // pictures
    Png,
    Jpeg,
    Emf,
    Wmf,
    OtherPicture,
    PicWidth,
    PicHeight,
    PicGoalWidth,
    PicGoalHeight,
    PicScaleX,
    PicScaleY,
};

struct WordInfo {
    Op op;
    char16_t character = 0; // for Op::Character
};

const std::unordered_map<std::string_view, WordInfo> &words()
{
    static const std::unordered_map<std::string_view, WordInfo> table = {
        {"fonttbl", {Op::FontTable}},
        {"colortbl", {Op::ColorTable}},
        {"pict", {Op::Pict}},
        {"shppict", {Op::Transparent}},
        {"field", {Op::Transparent}},
        {"fldrslt", {Op::Transparent}},
        {"nonshppict", {Op::SkipGroup}},
        {"stylesheet", {Op::StyleSheet}},
        {"s", {Op::Style}},
        {"sbasedon", {Op::StyleBasedOn}},
        {"info", {Op::SkipGroup}},
        {"header", {Op::SkipGroup}},
        {"headerl", {Op::SkipGroup}},
        {"headerr", {Op::SkipGroup}},
        {"headerf", {Op::SkipGroup}},
        {"footer", {Op::SkipGroup}},
        {"footerl", {Op::SkipGroup}},
        {"footerr", {Op::SkipGroup}},
        {"footerf", {Op::SkipGroup}},
        {"footnote", {Op::SkipGroup}},
        {"annotation", {Op::SkipGroup}},
        {"atnid", {Op::SkipGroup}},
        {"atnauthor", {Op::SkipGroup}},
        {"object", {Op::SkipGroup}},
        {"listtable", {Op::SkipGroup}},
        {"listoverridetable", {Op::SkipGroup}},
        {"revtbl", {Op::SkipGroup}},
        {"rsidtbl", {Op::SkipGroup}},
        {"filetbl", {Op::SkipGroup}},
        {"fldinst", {Op::SkipGroup}},
        {"xe", {Op::SkipGroup}},
        {"tc", {Op::SkipGroup}},
        {"txe", {Op::SkipGroup}},
        {"comment", {Op::SkipGroup}},
        {"docvar", {Op::SkipGroup}},
        {"author", {Op::SkipGroup}},
        {"operator", {Op::SkipGroup}},
        {"title", {Op::SkipGroup}},
        {"subject", {Op::SkipGroup}},
        {"keywords", {Op::SkipGroup}},
        {"doccomm", {Op::SkipGroup}},
        {"template", {Op::SkipGroup}},
        {"pn", {Op::SkipGroup}},
        {"pntxta", {Op::SkipGroup}},
        {"pntxtb", {Op::SkipGroup}},
        {"deff", {Op::DefaultFont}},
        {"paperw", {Op::PaperWidth}},
        {"paperh", {Op::PaperHeight}},
        {"margl", {Op::MarginLeft}},
        {"margr", {Op::MarginRight}},
        {"margt", {Op::MarginTop}},
        {"margb", {Op::MarginBottom}},
        {"pgwsxn", {Op::SectionWidth}},
        {"pghsxn", {Op::SectionHeight}},
        {"marglsxn", {Op::SectionLeft}},
        {"margrsxn", {Op::SectionRight}},
        {"margtsxn", {Op::SectionTop}},
        {"margbsxn", {Op::SectionBottom}},
        {"sectd", {Op::SectionDefaults}},
        {"sbknone", {Op::NoSectionBreak}},
        {"sbkpage", {Op::SectionBreakPage}},
        {"sbkcol", {Op::SectionBreakPage}},
        {"sbkeven", {Op::SectionBreakPage}},
        {"sbkodd", {Op::SectionBreakPage}},
        {"plain", {Op::Plain}},
        {"f", {Op::Font}},
        {"fs", {Op::FontSize}},
        {"b", {Op::Bold}},
        {"i", {Op::Italic}},
        {"ul", {Op::Underline}},
        {"uld", {Op::Underline}},
        {"uldash", {Op::Underline}},
        {"uldashd", {Op::Underline}},
        {"uldashdd", {Op::Underline}},
        {"uldb", {Op::Underline}},
        {"ulhair", {Op::Underline}},
        {"ulth", {Op::Underline}},
        {"ulthd", {Op::Underline}},
        {"ulthdash", {Op::Underline}},
        {"ulw", {Op::Underline}},
        {"ulwave", {Op::Underline}},
        {"ulnone", {Op::NoUnderline}},
        {"strike", {Op::Strike}},
        {"striked", {Op::Strike}},
        {"cf", {Op::Foreground}},
        {"cb", {Op::Background}},
        {"chcbpat", {Op::Background}},
        {"highlight", {Op::Background}},
        {"super", {Op::Super}},
        {"sub", {Op::Sub}},
        {"nosupersub", {Op::NoSuperSub}},
        {"pard", {Op::Pard}},
        {"ql", {Op::AlignLeft}},
        {"qc", {Op::AlignCenter}},
        {"qr", {Op::AlignRight}},
        {"qj", {Op::AlignJustify}},
        {"qd", {Op::AlignJustify}},
        {"li", {Op::LeftIndent}},
        {"lin", {Op::LeftIndent}},
        {"ri", {Op::RightIndent}},
        {"rin", {Op::RightIndent}},
        {"fi", {Op::FirstIndent}},
        {"sb", {Op::SpaceBefore}},
        {"sa", {Op::SpaceAfter}},
        {"sl", {Op::LineSpacing}},
        {"slmult", {Op::LineMultiple}},
        {"tx", {Op::Tab}},
        {"tqr", {Op::TabRight}},
        {"tqc", {Op::TabCenter}},
        {"tqdec", {Op::TabDecimal}},
        {"tb", {Op::BarTab}},
        {"pagebb", {Op::PageBreakBefore}},
        {"par", {Op::Par}},
        {"line", {Op::Line}},
        {"tab", {Op::TabChar}},
        {"page", {Op::Page}},
        {"sect", {Op::Sect}},
        {"cell", {Op::Cell}},
        {"nestcell", {Op::Cell}},
        {"row", {Op::Row}},
        {"nestrow", {Op::Row}},
        {"u", {Op::Unicode}},
        {"uc", {Op::UnicodeSkip}},
        {"emdash", {Op::Character, u'\u2014'}},
        {"endash", {Op::Character, u'\u2013'}},
        {"emspace", {Op::Character, u'\u2003'}},
        {"enspace", {Op::Character, u'\u2002'}},
        {"qmspace", {Op::Character, u'\u2005'}},
        {"bullet", {Op::Character, u'\u2022'}},
        {"lquote", {Op::Character, u'\u2018'}},
        {"rquote", {Op::Character, u'\u2019'}},
        {"ldblquote", {Op::Character, u'\u201C'}},
        {"rdblquote", {Op::Character, u'\u201D'}},
        {"zwj", {Op::Character, u'\u200D'}},
        {"zwnj", {Op::Character, u'\u200C'}},
        {"red", {Op::Red}},
        {"green", {Op::Green}},
        {"blue", {Op::Blue}},
        {"pngblip", {Op::Png}},
        {"jpegblip", {Op::Jpeg}},
        {"emfblip", {Op::Emf}},
        {"wmetafile", {Op::Wmf}},
        {"macpict", {Op::OtherPicture}},
        {"pmmetafile", {Op::OtherPicture}},
        {"dibitmap", {Op::OtherPicture}},
        {"wbitmap", {Op::OtherPicture}},
        {"picw", {Op::PicWidth}},
        {"pich", {Op::PicHeight}},
        {"picwgoal", {Op::PicGoalWidth}},
        {"pichgoal", {Op::PicGoalHeight}},
        {"picscalex", {Op::PicScaleX}},
        {"picscaley", {Op::PicScaleY}},
    };
    return table;
}

struct PictureState {
    bool supported = false;
    bool highNibble = true;
    int nibble = 0;
    TRtfPicture picture;
};

class Builder
{
public:
    explicit Builder(QTextDocument &document) : m_document(document), m_cursor(&document)
    {
        m_groups.emplace_back();
    }

    void run(const char *data, qsizetype size)
    {
        Lexer lexer(data, size);
        for (;;) {
            const Token t = lexer.next();
            // The document ends where its first group closes, with that group's state in force.
            if (t.kind == TokenKind::End || t.kind == TokenKind::Error ||
                (t.kind == TokenKind::Close && lexer.depth() == 0 && m_skipDepth == 0))
                break;
            token(t);
        }
        finish();
    }

private:
    Group &top() { return m_groups.back(); }

    void token(const Token &t)
    {
        if (m_skipDepth > 0) {
            if (t.kind == TokenKind::Open) {
                ++m_skipDepth;
            } else if (t.kind == TokenKind::Close && --m_skipDepth == 0) {
                closeGroup();
            }
            return;
        }
        switch (t.kind) {
        case TokenKind::Open:
            m_skipChars = 0;
            m_groups.push_back(top());
            top().starred = false;
            break;
        case TokenKind::Close:
            m_skipChars = 0;
            closeGroup();
            break;
        case TokenKind::Word:
            word(t);
            break;
        case TokenKind::Symbol:
            symbol(t.symbol);
            break;
        case TokenKind::Text:
            text(t.begin, t.size);
            break;
        case TokenKind::Hex:
            hex(t.symbol);
            break;
        case TokenKind::Binary:
            if (m_skipChars > 0) {
                --m_skipChars;
            } else if (top().dest == Dest::Picture) {
                m_pict.picture.data.append(t.begin, t.size);
            }
            break;
        case TokenKind::End:
        case TokenKind::Error:
            break;
        }
    }

    void skipGroup() { m_skipDepth = 1; }

    void closeGroup()
    {
        if (m_groups.size() <= 1)
            return;
        // A font or style entry written without its closing semicolon ends with its group.
        if (m_fontIndex >= 0 && m_groups.size() == m_fontEntryDepth)
            commitFont();
        if (m_styleIndex >= 0 && m_groups.size() == m_styleEntryDepth)
            commitStyle();
        const Dest closed = m_groups.back().dest;
        m_groups.pop_back();
        if (closed == Dest::Picture && top().dest == Dest::Body)
            insertPicture();
    }

    // -- characters -------------------------------------------------------------------------

    void appendChar(QChar c)
    {
        if (m_skipChars > 0) {
            --m_skipChars;
            return;
        }
        switch (top().dest) {
        case Dest::Body:
            if (!TRtfReader::isTextCharacter(c.unicode()))
                break;
            if (!m_runText.isEmpty() && m_runState != top().ch)
                flushRun();
            m_runState = top().ch;
            m_runText.append(c);
            break;
        case Dest::FontTable:
            // A font name holds no control characters or breaks.
            if (c == QLatin1Char(';'))
                commitFont();
            else if (m_fontIndex >= 0 && m_fontName.size() < kMaxFontName &&
                     TRtfReader::isFontNameCharacter(c.unicode()))
                m_fontName.append(c);
            break;
        case Dest::ColorTable:
            if (c == QLatin1Char(';'))
                commitColour();
            break;
        case Dest::StyleSheet:
            if (c == QLatin1Char(';'))
                commitStyle();
            break;
        case Dest::Picture:
            break;
        }
    }

    void text(const char *p, qsizetype n)
    {
        if (top().dest == Dest::Picture) {
            for (qsizetype i = 0; i < n; ++i)
                pictureHex(p[i]);
            return;
        }
        for (qsizetype i = 0; i < n; ++i) {
            const unsigned char b = static_cast<unsigned char>(p[i]);
            if (b < 0x20) {
                if (b == '\t')
                    appendChar(QLatin1Char('\t'));
                continue;
            }
            appendChar(TCp1252::toChar(b));
        }
    }

    void hex(unsigned char byte)
    {
        if (top().dest == Dest::Picture)
            return;
        appendChar(TCp1252::toChar(byte));
    }

    void symbol(unsigned char s)
    {
        switch (s) {
        case '*':
            top().starred = true;
            return;
        case '\\':
        case '{':
        case '}':
            appendChar(QLatin1Char(static_cast<char>(s)));
            return;
        case '~':
            appendChar(QChar(0x00A0));
            return;
        case '-':
            appendChar(QChar(0x00AD));
            return;
        case '_':
            appendChar(QChar(0x2011));
            return;
        case '\r':
        case '\n':
            if (top().dest == Dest::Body && !consumeSkip())
                endParagraph();
            return;
        default:
            consumeSkip();
            return;
        }
    }

    // A control word or symbol inside the fallback of \uN counts as one skipped character.
    bool consumeSkip()
    {
        if (m_skipChars > 0) {
            --m_skipChars;
            return true;
        }
        return false;
    }

    // -- control words ----------------------------------------------------------------------

    void word(const Token &t)
    {
        const auto &table = words();
        const auto found = table.find(t.word());
        if (top().starred) {
            top().starred = false;
            // Only a picture wrapper is read from the optional destinations; any other one,
            // known or not, is skipped with everything in it.
            if (found == table.end() || found->second.op != Op::Transparent) {
                skipGroup();
                return;
            }
        }
        if (found == table.end()) {
            consumeSkip();
            return;
        }
        const Op op = found->second.op;
        const int arg = t.argument;
        const bool has = t.hasArgument;
        Group &g = top();

        // Destinations first: they decide how the rest of the group is read.
        switch (op) {
        case Op::FontTable:
            g.dest = Dest::FontTable;
            m_fontIndex = -1;
            return;
        case Op::ColorTable:
            g.dest = Dest::ColorTable;
            resetColour();
            return;
        case Op::StyleSheet:
            g.dest = Dest::StyleSheet;
            m_styleIndex = -1;
            return;
        case Op::Pict:
            if (g.dest != Dest::Body) {
                skipGroup();
                return;
            }
            g.dest = Dest::Picture;
            m_pict = PictureState();
            return;
        case Op::SkipGroup:
            skipGroup();
            return;
        case Op::Transparent:
            return;
        default:
            break;
        }

        switch (g.dest) {
        case Dest::FontTable:
            if (op == Op::Font) {
                if (m_fontIndex >= 0)
                    commitFont();
                m_fontIndex = has ? arg : 0;
                m_fontEntryDepth = m_groups.size();
                m_fontName.clear();
            } else if (op == Op::Unicode) {
                unicode(has, arg);
            }
            return;
        case Dest::ColorTable:
            if (op == Op::Red || op == Op::Green || op == Op::Blue) {
                const int v = std::clamp(has ? arg : 0, 0, 255);
                (op == Op::Red ? m_red : op == Op::Green ? m_green : m_blue) = v;
                m_colourSet = true;
            }
            return;
        case Dest::Picture:
            pictureWord(op, has, arg);
            return;
        case Dest::StyleSheet:
            styleWord(found->second, has, arg);
            return;
        case Dest::Body:
            break;
        }

        if (consumeSkip())
            return;
        bodyWord(found->second, has, arg);
    }

    void bodyWord(const WordInfo &info, bool has, int arg)
    {
        Group &g = top();
        CharState &ch = g.ch;
        ParaState &para = g.para;
        const bool on = !has || arg != 0;
        switch (info.op) {
        case Op::DefaultFont:
            m_defaultFont = has ? arg : 0;
            break;
        case Op::PaperWidth:
            m_page.paperWidth = arg;
            break;
        case Op::PaperHeight:
            m_page.paperHeight = arg;
            break;
        case Op::MarginLeft:
            m_page.marginLeft = arg;
            break;
        case Op::MarginRight:
            m_page.marginRight = arg;
            break;
        case Op::MarginTop:
            m_page.marginTop = arg;
            break;
        case Op::MarginBottom:
            m_page.marginBottom = arg;
            break;
        // The first section's own page settings are the letter's page.
        case Op::SectionWidth:
            if (!m_sectionSeen && has)
                m_page.paperWidth = arg;
            break;
        case Op::SectionHeight:
            if (!m_sectionSeen && has)
                m_page.paperHeight = arg;
            break;
        case Op::SectionLeft:
            if (!m_sectionSeen && has)
                m_page.marginLeft = arg;
            break;
        case Op::SectionRight:
            if (!m_sectionSeen && has)
                m_page.marginRight = arg;
            break;
        case Op::SectionTop:
            if (!m_sectionSeen && has)
                m_page.marginTop = arg;
            break;
        case Op::SectionBottom:
            if (!m_sectionSeen && has)
                m_page.marginBottom = arg;
            break;
        case Op::SectionDefaults:
            m_sectionBreaksPage = true;
            break;
        case Op::NoSectionBreak:
            m_sectionBreaksPage = false;
            break;
        case Op::SectionBreakPage:
            m_sectionBreaksPage = true;
            break;
        case Op::Style:
            // A paragraph style gives its paragraph and character settings; what follows it
            // in the paragraph changes them.
            if (const auto style = m_styles.find(has ? arg : 0); style != m_styles.end()) {
                para = style->second.para;
                ch = style->second.ch;
            }
            break;
        case Op::Plain:
            ch = CharState();
            break;
        case Op::Font:
            ch.font = has ? arg : 0;
            break;
        case Op::FontSize:
            if (!has)
                ch.halfPoints = 24;
            else if (arg >= 1 && arg <= 3276)
                ch.halfPoints = arg;
            break;
        case Op::Bold:
            ch.bold = on;
            break;
        case Op::Italic:
            ch.italic = on;
            break;
        case Op::Underline:
            ch.underline = on;
            break;
        case Op::NoUnderline:
            ch.underline = false;
            break;
        case Op::Strike:
            ch.strike = on;
            break;
        case Op::Foreground:
            ch.foreground = std::max(has ? arg : 0, 0);
            break;
        case Op::Background:
            ch.background = std::max(has ? arg : 0, 0);
            break;
        case Op::Super:
            ch.vertical = on ? 1 : 0;
            break;
        case Op::Sub:
            ch.vertical = on ? 2 : 0;
            break;
        case Op::NoSuperSub:
            ch.vertical = 0;
            break;
        case Op::Pard:
            para = ParaState();
            break;
        case Op::AlignLeft:
            para.align = Qt::AlignLeft;
            break;
        case Op::AlignCenter:
            para.align = Qt::AlignHCenter;
            break;
        case Op::AlignRight:
            para.align = Qt::AlignRight;
            break;
        case Op::AlignJustify:
            para.align = Qt::AlignJustify;
            break;
        case Op::LeftIndent:
            if (std::abs(arg) <= kMaxParagraphTwips)
                para.left = arg;
            break;
        case Op::RightIndent:
            if (std::abs(arg) <= kMaxParagraphTwips)
                para.right = arg;
            break;
        case Op::FirstIndent:
            if (std::abs(arg) <= kMaxParagraphTwips)
                para.first = arg;
            break;
        case Op::SpaceBefore:
            if (arg >= 0 && arg <= kMaxParagraphTwips)
                para.before = arg;
            break;
        case Op::SpaceAfter:
            if (arg >= 0 && arg <= kMaxParagraphTwips)
                para.after = arg;
            break;
        case Op::LineSpacing:
            if (std::abs(arg) <= kMaxParagraphTwips)
                para.line = arg;
            break;
        case Op::LineMultiple:
            para.lineMultiple = on;
            break;
        case Op::Tab:
            if (has && arg >= 0 && arg <= kMaxParagraphTwips && para.tabs.size() < kMaxTabs)
                para.tabs.push_back({arg, para.nextTabType});
            para.nextTabType = QTextOption::LeftTab;
            break;
        case Op::TabRight:
            para.nextTabType = QTextOption::RightTab;
            break;
        case Op::TabCenter:
            para.nextTabType = QTextOption::CenterTab;
            break;
        case Op::TabDecimal:
            para.nextTabType = QTextOption::DelimiterTab;
            break;
        case Op::BarTab:
            para.nextTabType = QTextOption::LeftTab;
            break;
        case Op::PageBreakBefore:
            para.breakBefore = on;
            break;
        case Op::Par:
        case Op::Row:
            endParagraph();
            break;
        case Op::Line:
            appendChar(QChar::LineSeparator);
            break;
        case Op::TabChar:
        case Op::Cell:
            appendChar(QLatin1Char('\t'));
            break;
        case Op::Page:
            pageBreak();
            break;
        case Op::Sect:
            // The section that follows says with its own break type whether it starts a page.
            if (m_blockHasContent || !m_runText.isEmpty())
                endParagraph();
            m_sectionBreakPending = true;
            m_sectionBreaksPage = true;
            m_sectionSeen = true;
            break;
        case Op::Unicode:
            unicode(has, arg);
            break;
        case Op::UnicodeSkip:
            if (has && arg >= 0 && arg <= 255)
                top().unicodeSkip = arg;
            break;
        case Op::Character:
            appendChar(QChar(info.character));
            break;
        default:
            break;
        }
    }

    void unicode(bool has, int arg)
    {
        if (!has)
            return;
        int v = arg;
        if (v < 0)
            v += 65536;
        if (v >= 0 && v <= 0xFFFF)
            appendChar(QChar(static_cast<char16_t>(v)));
        m_skipChars = top().unicodeSkip;
    }

    // -- font, colour and style tables -------------------------------------------------------

    static bool isFormatOp(Op op) { return op >= Op::Plain && op <= Op::PageBreakBefore; }

    void styleWord(const WordInfo &info, bool has, int arg)
    {
        Group &g = top();
        if (info.op == Op::Style) {
            if (m_styleIndex >= 0)
                commitStyle();
            m_styleIndex = has ? arg : 0;
            m_styleEntryDepth = m_groups.size();
            m_styleHasSettings = false;
            g.ch = CharState();
            g.para = ParaState();
        } else if (info.op == Op::StyleBasedOn) {
            // A style starts from its base only when the base comes before its own settings.
            const auto base = m_styles.find(has ? arg : 0);
            if (m_styleIndex >= 0 && !m_styleHasSettings && base != m_styles.end()) {
                g.ch = base->second.ch;
                g.para = base->second.para;
            }
        } else if (m_styleIndex >= 0 && isFormatOp(info.op)) {
            bodyWord(info, has, arg);
            m_styleHasSettings = true;
        }
    }

    void commitStyle()
    {
        if (m_styleIndex >= 0 && (m_styles.size() < static_cast<size_t>(TRtfReader::kMaxTableEntries) ||
                                  m_styles.count(m_styleIndex)))
            m_styles[m_styleIndex] = Style{top().ch, top().para};
        m_styleIndex = -1;
    }

    void commitFont()
    {
        if (m_fontIndex >= 0 && (m_fonts.size() < static_cast<size_t>(TRtfReader::kMaxTableEntries) ||
                                 m_fonts.count(m_fontIndex)))
            m_fonts[m_fontIndex] = m_fontName.trimmed();
        m_fontIndex = -1;
        m_fontName.clear();
    }

    void resetColour()
    {
        m_red = m_green = m_blue = 0;
        m_colourSet = false;
    }

    void commitColour()
    {
        if (m_colours.size() < static_cast<size_t>(TRtfReader::kMaxTableEntries))
            m_colours.push_back(m_colourSet ? QColor(m_red, m_green, m_blue) : QColor());
        resetColour();
    }

    QString fontName(int index) const
    {
        auto found = m_fonts.find(index < 0 ? m_defaultFont : index);
        if (found == m_fonts.end())
            found = m_fonts.find(m_defaultFont);
        return found == m_fonts.end() ? QString() : found->second;
    }

    QColor colour(int index) const
    {
        if (index <= 0 || static_cast<size_t>(index) >= m_colours.size())
            return QColor();
        return m_colours[static_cast<size_t>(index)];
    }

    QTextCharFormat charFormat(const CharState &s) const
    {
        QTextCharFormat f;
        const QString family = fontName(s.font);
        if (!family.isEmpty())
            f.setFontFamilies({family});
        f.setFontPointSize(s.halfPoints / 2.0);
        f.setFontWeight(s.bold ? QFont::Bold : QFont::Normal);
        f.setFontItalic(s.italic);
        f.setFontUnderline(s.underline);
        f.setFontStrikeOut(s.strike);
        const QColor fg = colour(s.foreground);
        if (fg.isValid())
            f.setForeground(fg);
        const QColor bg = colour(s.background);
        if (bg.isValid())
            f.setBackground(bg);
        if (s.vertical == 1)
            f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        else if (s.vertical == 2)
            f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        return f;
    }

    QTextBlockFormat blockFormat(const ParaState &p, bool breakBefore) const
    {
        QTextBlockFormat f;
        f.setAlignment(p.align);
        f.setLeftMargin(p.left / kTwipsPerPixel);
        f.setRightMargin(p.right / kTwipsPerPixel);
        f.setTextIndent(p.first / kTwipsPerPixel);
        f.setTopMargin(p.before / kTwipsPerPixel);
        f.setBottomMargin(p.after / kTwipsPerPixel);
        if (p.line != 0) {
            if (p.line < 0)
                f.setLineHeight(-p.line / kTwipsPerPixel, QTextBlockFormat::FixedHeight);
            else if (p.lineMultiple)
                f.setLineHeight(p.line * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
            else
                f.setLineHeight(p.line / kTwipsPerPixel, QTextBlockFormat::MinimumHeight);
        }
        if (!p.tabs.empty()) {
            QList<QTextOption::Tab> tabs;
            for (const TabStop &t : p.tabs) {
                const QChar delimiter = t.type == QTextOption::DelimiterTab ? QLatin1Char('.') : QChar();
                tabs.append(QTextOption::Tab(t.position / kTwipsPerPixel, t.type, delimiter));
            }
            f.setTabPositions(tabs);
        }
        if (breakBefore)
            f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        return f;
    }

    // -- paragraphs -------------------------------------------------------------------------

    void flushRun()
    {
        if (m_runText.isEmpty())
            return;
        ensureBlock();
        m_cursor.insertText(m_runText, charFormat(m_runState));
        m_runText.clear();
        m_blockHasContent = true;
    }

    // Opens the block that the next content goes into, when the last one was ended.
    void ensureBlock()
    {
        if (!m_needNewBlock)
            return;
        m_cursor.insertBlock();
        m_needNewBlock = false;
        m_breakBeforeCurrent = m_pageBreakPending || (m_sectionBreakPending && m_sectionBreaksPage);
        m_pageBreakPending = false;
        m_sectionBreakPending = false;
    }

    void formatBlock()
    {
        const Group &g = top();
        m_cursor.setBlockFormat(blockFormat(g.para, m_breakBeforeCurrent || g.para.breakBefore));
        m_cursor.setBlockCharFormat(charFormat(g.ch));
    }

    void endParagraph()
    {
        flushRun();
        ensureBlock();
        formatBlock();
        m_needNewBlock = true;
        m_blockHasContent = false;
        m_breakBeforeCurrent = false;
    }

    // The next paragraph starts on a new page; text before the break ends its paragraph.
    void pageBreak()
    {
        flushRun();
        if (!m_needNewBlock && m_blockHasContent)
            endParagraph();
        if (m_needNewBlock)
            m_pageBreakPending = true;
        else
            m_breakBeforeCurrent = true;
    }

    void finish()
    {
        flushRun();
        if (m_pageBreakPending)
            ensureBlock();
        if (!m_needNewBlock && (m_blockHasContent || m_breakBeforeCurrent))
            formatBlock();
        m_page.applyTo(m_document);
    }

    // -- pictures ---------------------------------------------------------------------------

    void pictureWord(Op op, bool has, int arg)
    {
        TRtfPicture &p = m_pict.picture;
        switch (op) {
        case Op::Png:
            p.kind = TRtfPicture::Kind::Png;
            m_pict.supported = true;
            break;
        case Op::Jpeg:
            p.kind = TRtfPicture::Kind::Jpeg;
            m_pict.supported = true;
            break;
        case Op::Emf:
            p.kind = TRtfPicture::Kind::Emf;
            m_pict.supported = true;
            break;
        case Op::Wmf:
            p.kind = TRtfPicture::Kind::Wmf;
            p.mapping = has ? arg : 8;
            m_pict.supported = true;
            break;
        case Op::OtherPicture:
            m_pict.supported = false;
            break;
        case Op::PicWidth:
            p.picWidth = std::max(arg, 0);
            break;
        case Op::PicHeight:
            p.picHeight = std::max(arg, 0);
            break;
        case Op::PicGoalWidth:
            p.goalWidth = std::max(arg, 0);
            break;
        case Op::PicGoalHeight:
            p.goalHeight = std::max(arg, 0);
            break;
        case Op::PicScaleX:
            if (arg > 0 && arg <= 10000)
                p.scaleX = arg;
            break;
        case Op::PicScaleY:
            if (arg > 0 && arg <= 10000)
                p.scaleY = arg;
            break;
        default:
            break;
        }
    }

    void pictureHex(char c)
    {
        const int v = hexValue(c);
        if (v < 0)
            return;
        if (m_pict.highNibble) {
            m_pict.nibble = v;
        } else {
            m_pict.picture.data.append(static_cast<char>(m_pict.nibble * 16 + v));
        }
        m_pict.highNibble = !m_pict.highNibble;
    }

    void insertPicture()
    {
        if (!m_pict.supported || m_pict.picture.data.isEmpty())
            return;
        flushRun();
        ensureBlock();
        m_pict.picture.insert(m_cursor);
        m_blockHasContent = true;
        m_pict = PictureState();
    }

    QTextDocument &m_document;
    QTextCursor m_cursor;
    std::vector<Group> m_groups;
    int m_skipDepth = 0;
    int m_skipChars = 0;

    QString m_runText;
    CharState m_runState;
    bool m_needNewBlock = false;
    bool m_blockHasContent = false;
    bool m_breakBeforeCurrent = false;
    bool m_pageBreakPending = false;

    struct Style {
        CharState ch;
        ParaState para;
    };
    std::unordered_map<int, Style> m_styles;
    int m_styleIndex = -1;
    size_t m_styleEntryDepth = 0;
    bool m_styleHasSettings = false;

    std::unordered_map<int, QString> m_fonts;
    int m_fontIndex = -1;
    size_t m_fontEntryDepth = 0;
    QString m_fontName;
    int m_defaultFont = 0;
    std::vector<QColor> m_colours;
    int m_red = 0;
    int m_green = 0;
    int m_blue = 0;
    bool m_colourSet = false;

    TLetterPageLayout m_page;
    bool m_sectionSeen = false;
    bool m_sectionBreaksPage = true;
    bool m_sectionBreakPending = false;

    PictureState m_pict;
};

} // namespace

bool TRtfReader::isTextCharacter(char16_t c)
{
    if (c < 0x20)
        return c == u'\t';
    return c != 0x7F && c != QChar::ParagraphSeparator && c != QChar::ObjectReplacementCharacter &&
           c != 0xFDD0 && c != 0xFDD1;
}

bool TRtfReader::isFontNameCharacter(char16_t c)
{
    return isTextCharacter(c) && c != u'\t' && c != QChar::LineSeparator && c != u';';
}

xbase::Status TRtfReader::check(const QByteArray &bytes)
{
    if (bytes.size() > kMaxInputBytes)
        return xbase::Status::Corruption("The RTF text is larger than " +
                                         std::to_string(kMaxInputBytes / 1048576) + " MB");
    const qsizetype start = startOf(bytes);
    Lexer lexer(bytes.constData() + start, bytes.size() - start);
    const Token open = lexer.next();
    const Token rtf = open.kind == TokenKind::Open ? lexer.next() : Token();
    if (rtf.kind != TokenKind::Word || rtf.word() != "rtf")
        return xbase::Status::Corruption("The text is not RTF");
    for (;;) {
        const Token t = lexer.next();
        if (t.kind == TokenKind::Error)
            return xbase::Status::Corruption(t.error);
        if (t.kind == TokenKind::End)
            return xbase::Status::Corruption(damaged("it ends before all its groups are closed"));
        if (t.kind == TokenKind::Close && lexer.depth() == 0)
            return xbase::Status::Ok();
    }
}

xbase::Status TRtfReader::read(const QByteArray &bytes, QTextDocument &document)
{
    XBASE_TRY(check(bytes));
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    const qsizetype start = startOf(bytes);
    Builder builder(document);
    builder.run(bytes.constData() + start, bytes.size() - start);
    document.setUndoRedoEnabled(undo);
    return xbase::Status::Ok();
}
