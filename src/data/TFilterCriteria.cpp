#include "TFilterCriteria.h"

#include "TCp1252.h"
#include "TText.h"

#include "Expression.h"

namespace {

struct CriterionInfo {
    const char *field;
    const char *box;
    const char *label;
};

const CriterionInfo kCriteria[TFilterCriteria::kCount] = {
    {"LNAME", "qLName", "Last"},
    {"FNAME", "qFName", "First"},
    {"TITLE", "qTitle", "Title"},
    {"ORG", "qOrg", "Org"},
    {"STREET", "qStreet", "Street"},
    {"STREET2", "qstreet2", "Address 2"},
    {"ZIP", "qZip", "Zip or Postal"},
    {"CITY+STATE", "qCity", "City"},
    {"STATE", "qState", "State or Prov"},
    {"COUNTRY", "qCountry", "Country"},
    {"PHONE", "qPhone", "Phone"},
    {"PHONE2", "qphone2", "Phone 2"},
    {"FAX", "qFax", "Fax"},
    {"EMAIL", "qEmail", "E-mail"},
    {"DATE", "qDate", "Date"},
    {"CODES", "qCodes", "Codes"},
    {"USER1", "quser1", "User 1"},
    {"USER2", "quser2", "User 2"},
};

// At most this many characters of a value after an operator count.
constexpr int kMaxOperatorValue = 99;

// The value in capitals by the engine's own case map, so that it compares with UPPER(field)
// as the engine computes it, accented letters included.
QString engineUpper(const QString &value)
{
    const QByteArray bytes = TCp1252::fromString(value);
    const std::string upper =
        xbase::upperCp1252(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    return TCp1252::toString(upper.data(), static_cast<qsizetype>(upper.size()));
}

// "(" + "(" + part 1 + ")" + joiner + "(" + part 2 + ")" ... + ")", each part built by the
// same rules.
QString joinParts(const QString &field, const QString &value, QChar separator, const QString &joiner)
{
    const QStringList parts = value.split(separator);
    QString out = QStringLiteral("(");
    for (int i = 0; i < parts.size(); ++i) {
        if (i > 0)
            out += joiner;
        out += QLatin1Char('(') + TFilterCriteria::criterionExpression(field, parts.at(i)) + QLatin1Char(')');
    }
    return out + QLatin1Char(')');
}

} // namespace

QString TFilterCriteria::fieldExpression(int index)
{
    return QLatin1String(kCriteria[index].field);
}

QString TFilterCriteria::boxName(int index)
{
    return QLatin1String(kCriteria[index].box);
}

QString TFilterCriteria::defaultLabel(int index)
{
    return QLatin1String(kCriteria[index].label);
}

void TFilterCriteria::ClearQueryVars()
{
    for (QString &t : m_texts)
        t.clear();
    m_tagged = false;
    m_reverse = false;
}

bool TFilterCriteria::isSet() const
{
    if (m_tagged)
        return true;
    for (const QString &t : m_texts) {
        if (!TText::Trim(t).isEmpty())
            return true;
    }
    return false;
}

QString TFilterCriteria::criterionExpression(const QString &field, const QString &value)
{
    if (value.contains(QLatin1Char(';')))
        return joinParts(field, value, QLatin1Char(';'), QStringLiteral(".or."));
    if (value.contains(QLatin1Char('+')))
        return joinParts(field, value, QLatin1Char('+'), QStringLiteral(".and."));
    if (value.contains(QLatin1Char('^')))
        return joinParts(field, value, QLatin1Char('^'), QStringLiteral(".and..not."));

    QString op = QStringLiteral("=");
    QString rest = value;
    struct Prefix {
        const char *text;
        int length;
    };
    // Two-character operators before their one-character beginnings.
    static const Prefix kOperators[] = {{">=", 2}, {">", 1}, {"<=", 2}, {"<", 1}, {"$", 1}};
    for (const Prefix &p : kOperators) {
        if (value.startsWith(QLatin1String(p.text))) {
            op = QLatin1String(p.text);
            rest = value.mid(p.length, kMaxOperatorValue);
            break;
        }
    }
    const QString constant = quoted(engineUpper(rest));
    if (op == QLatin1String("$"))
        return constant + QStringLiteral("$UPPER(") + field + QLatin1Char(')');
    return QStringLiteral("UPPER(") + field + QLatin1Char(')') + op + constant;
}

QString TFilterCriteria::quoted(const QString &text)
{
    static const QChar kDelimiters[] = {QLatin1Char('"'), QLatin1Char('\''), QLatin1Char(']')};
    auto wrap = [](const QString &chunk, QChar closing) -> QString {
        const QChar opening = closing == QLatin1Char(']') ? QLatin1Char('[') : closing;
        return opening + chunk + closing;
    };
    for (QChar d : kDelimiters) {
        if (!text.contains(d))
            return wrap(text, d);
    }
    // Every delimiter occurs: cut the text into the longest runs that each lack one of them
    // and join their constants.
    QString out = QStringLiteral("(");
    int start = 0;
    while (start < text.size()) {
        bool present[3] = {false, false, false};
        int end = start;
        while (end < text.size()) {
            bool next[3];
            int missing = 0;
            for (int k = 0; k < 3; ++k) {
                next[k] = present[k] || text.at(end) == kDelimiters[k];
                missing += next[k] ? 0 : 1;
            }
            if (missing == 0)
                break;
            std::copy(next, next + 3, present);
            ++end;
        }
        int k = 0;
        while (present[k])
            ++k;
        if (start > 0)
            out += QLatin1Char('+');
        out += wrap(text.mid(start, end - start), kDelimiters[k]);
        start = end;
    }
    return out + QLatin1Char(')');
}

QString TFilterCriteria::BuildQueryString(const QString &globalTagId) const
{
    QString text;
    QString joiner;
    for (int i = 0; i < kCount; ++i) {
        const QString &v = m_texts[static_cast<size_t>(i)];
        if (TText::Trim(v).isEmpty())
            continue;
        text += joiner + criterionExpression(fieldExpression(i), v);
        joiner = QStringLiteral(" and ");
    }
    if (m_tagged)
        text += joiner + QStringLiteral("(UPPER(TAG)=") + quoted(globalTagId) + QLatin1Char(')');
    if (m_reverse && !text.isEmpty())
        text = QStringLiteral("(!(") + text + QStringLiteral("))");
    return text;
}

QStringList TFilterCriteria::toLines() const
{
    QStringList lines;
    for (const QString &t : m_texts)
        lines << t;
    lines << (m_tagged ? QStringLiteral("T") : QStringLiteral("F"));
    lines << (m_reverse ? QStringLiteral("T") : QStringLiteral("F"));
    return lines;
}

TFilterCriteria TFilterCriteria::fromLines(const QStringList &lines)
{
    TFilterCriteria c;
    for (int i = 0; i < kCount && i < lines.size(); ++i)
        c.m_texts[static_cast<size_t>(i)] = lines.at(i);
    c.m_tagged = lines.size() > kCount && lines.at(kCount) == QLatin1String("T");
    c.m_reverse = lines.size() > kCount + 1 && lines.at(kCount + 1) == QLatin1String("T");
    return c;
}

bool TFilterCriteria::operator==(const TFilterCriteria &other) const
{
    return m_texts == other.m_texts && m_tagged == other.m_tagged && m_reverse == other.m_reverse;
}
