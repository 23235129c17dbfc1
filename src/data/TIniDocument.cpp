#include "TIniDocument.h"

#include "TCp1252.h"

#include <QStringDecoder>

#include <algorithm>
#include <limits>

namespace {

const QByteArray kBom("\xEF\xBB\xBF");

QString sectionName(const QString &line)
{
    // Requires: line starts with "[" after blanks.
    const QString trimmed = line.trimmed();
    const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
    return (close < 0 ? trimmed.mid(1) : trimmed.mid(1, close - 1)).trimmed();
}

bool isSectionLine(const QString &line)
{
    return line.trimmed().startsWith(QLatin1Char('['));
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString oneLine(QString value)
{
    value.replace(QLatin1Char('\r'), QLatin1Char(' '));
    value.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return value;
}

} // namespace

TIniDocument::TIniDocument(const QByteArray &bytes)
{
    qsizetype start = 0;
    if (bytes.startsWith(kBom)) {
        m_hasBom = true;
        start = kBom.size();
    }
    while (start < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', start);
        Line line;
        if (newline < 0) {
            line.text = bytes.mid(start);
            start = bytes.size();
        } else {
            qsizetype textEnd = newline;
            if (textEnd > start && bytes.at(textEnd - 1) == '\r')
                --textEnd;
            line.text = bytes.mid(start, textEnd - start);
            line.ending = bytes.mid(textEnd, newline + 1 - textEnd);
            start = newline + 1;
        }
        m_lines.append(line);
    }
}

QByteArray TIniDocument::bytes() const
{
    QByteArray out;
    if (m_hasBom)
        out += kBom;
    for (const Line &line : m_lines) {
        out += line.text;
        out += line.ending;
    }
    return out;
}

QString TIniDocument::decode(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return TCp1252::toString(bytes);
}

TIniDocument::SectionRange TIniDocument::findSection(const QString &section) const
{
    SectionRange range;
    const QString wanted = section.trimmed();
    for (int i = 0; i < m_lines.size(); ++i) {
        const QByteArray &raw = m_lines.at(i).text;
        // Cheap test first: a section line holds "[".
        if (!raw.contains('['))
            continue;
        const QString text = decode(raw);
        if (!isSectionLine(text))
            continue;
        if (range.header >= 0) {
            range.end = i;
            return range;
        }
        if (sameName(sectionName(text), wanted))
            range.header = i;
    }
    if (range.header >= 0)
        range.end = int(m_lines.size());
    return range;
}

bool TIniDocument::splitKeyLine(int index, QString *key, QString *value) const
{
    const QByteArray &raw = m_lines.at(index).text;
    const qsizetype eq = raw.indexOf('=');
    if (eq < 0)
        return false;
    const QString k = decode(raw.left(eq)).trimmed();
    if (k.isEmpty() || k.startsWith(QLatin1Char(';')) || k.startsWith(QLatin1Char('[')))
        return false;
    if (key)
        *key = k;
    if (value)
        *value = decode(raw.mid(eq + 1)).trimmed();
    return true;
}

int TIniDocument::findKey(const SectionRange &range, const QString &key, QString *keyText) const
{
    if (range.header < 0)
        return -1;
    const QString wanted = key.trimmed();
    for (int i = range.header + 1; i < range.end; ++i) {
        QString k;
        if (splitKeyLine(i, &k, nullptr) && sameName(k, wanted)) {
            if (keyText)
                *keyText = k;
            return i;
        }
    }
    return -1;
}

bool TIniDocument::hasSection(const QString &section) const
{
    return findSection(section).header >= 0;
}

std::optional<QString> TIniDocument::value(const QString &section, const QString &key) const
{
    const int index = findKey(findSection(section), key);
    if (index < 0)
        return std::nullopt;
    QString v;
    splitKeyLine(index, nullptr, &v);
    return v;
}

QString TIniDocument::text(const QString &section, const QString &key, const QString &defaultValue) const
{
    return value(section, key).value_or(defaultValue);
}

int TIniDocument::integer(const QString &section, const QString &key, int defaultValue) const
{
    const std::optional<QString> v = value(section, key);
    return v ? parseInteger(*v).value_or(defaultValue) : defaultValue;
}

bool TIniDocument::logical(const QString &section, const QString &key, bool defaultValue) const
{
    return integer(section, key, defaultValue ? 1 : 0) != 0;
}

QStringList TIniDocument::keys(const QString &section) const
{
    QStringList result;
    const SectionRange range = findSection(section);
    if (range.header < 0)
        return result;
    for (int i = range.header + 1; i < range.end; ++i) {
        QString k;
        if (!splitKeyLine(i, &k, nullptr))
            continue;
        bool seen = false;
        for (const QString &s : std::as_const(result))
            seen = seen || sameName(s, k);
        if (!seen)
            result.append(k);
    }
    return result;
}

QByteArray TIniDocument::newLineEnding() const
{
    for (const Line &line : m_lines) {
        if (!line.ending.isEmpty())
            return line.ending;
    }
    return QByteArrayLiteral("\n");
}

void TIniDocument::setValue(const QString &section, const QString &key, const QString &value)
{
    const QByteArray ending = newLineEnding();
    const SectionRange range = findSection(section);
    QString keyText;
    const int index = findKey(range, key, &keyText);
    const QByteArray keyBytes = (index >= 0 ? keyText : oneLine(key.trimmed())).toUtf8();
    const QByteArray lineText = keyBytes + '=' + oneLine(value).toUtf8();

    if (index >= 0) {
        m_lines[index].text = lineText;
        return;
    }
    if (range.header >= 0) {
        // After the last non-blank line of the section, so blank lines before the next
        // section stay between the sections.
        int after = range.end - 1;
        while (after > range.header && m_lines.at(after).text.trimmed().isEmpty())
            --after;
        if (m_lines.at(after).ending.isEmpty())
            m_lines[after].ending = ending;
        m_lines.insert(after + 1, Line{lineText, ending});
        return;
    }
    if (!m_lines.isEmpty()) {
        if (m_lines.last().ending.isEmpty())
            m_lines.last().ending = ending;
        if (!m_lines.last().text.trimmed().isEmpty())
            m_lines.append(Line{QByteArray(), ending});
    }
    m_lines.append(Line{'[' + oneLine(section.trimmed()).toUtf8() + ']', ending});
    m_lines.append(Line{lineText, ending});
}

void TIniDocument::removeKey(const QString &section, const QString &key)
{
    const int index = findKey(findSection(section), key);
    if (index < 0)
        return;
    // A last line without an ending passes its missing ending on to the line before it.
    if (index == m_lines.size() - 1 && index > 0 && m_lines.at(index).ending.isEmpty())
        m_lines[index - 1].ending.clear();
    m_lines.removeAt(index);
}

std::optional<int> TIniDocument::parseInteger(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && (text.at(i) == QLatin1Char(' ') || text.at(i) == QLatin1Char('\t')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    const qsizetype firstDigit = i;
    long long magnitude = 0;
    constexpr long long kLimit = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
    while (i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9')) {
        magnitude = magnitude * 10 + (text.at(i).unicode() - '0');
        if (magnitude > kLimit)
            magnitude = kLimit;
        ++i;
    }
    if (i == firstDigit)
        return std::nullopt;
    if (negative)
        return static_cast<int>(-magnitude);
    return static_cast<int>(std::min(magnitude, kLimit - 1));
}
