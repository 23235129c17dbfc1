#include "TVCardReader.h"

#include "TCp1252.h"

#include <QDate>
#include <memory>
#include <QList>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringList>

namespace {

// Where the components of structured properties go: property, component, field.
struct MapEntry {
    const char *property;
    int component; // -1: the whole value
    const char *field;
};
const MapEntry kMap[] = {
    {"N", 0, "LNAME"},       {"N", 1, "FNAME"},      {"N", 2, "MIDDLE"},     {"N", 3, "PREFIX"},
    {"ORG", 0, "ORG"},       {"TITLE", -1, "TITLE"}, {"ADR", 2, "STREET"},   {"ADR", 1, "STREET2"},
    {"ADR", 3, "CITY"},      {"ADR", 4, "STATE"},    {"ADR", 5, "ZIP"},      {"ADR", 6, "COUNTRY"},
    {"EMAIL", -1, "EMAIL"},  {"CATEGORIES", -1, "CODES"},                    {"X-CORVANTIS-USER1", -1, "USER1"},
    {"X-CORVANTIS-USER2", -1, "USER2"},              {"X-CORVANTIS-DATE", -1, "DATE"},
};

// Properties that carry nothing for an address record.
bool ignored(const QString &name)
{
    static const QStringList list = {QStringLiteral("BEGIN"),  QStringLiteral("END"),    QStringLiteral("VERSION"),
                                     QStringLiteral("PRODID"), QStringLiteral("UID"),    QStringLiteral("REV"),
                                     QStringLiteral("PHOTO"),  QStringLiteral("LOGO"),   QStringLiteral("SOUND"),
                                     QStringLiteral("KEY"),    QStringLiteral("FN"),     QStringLiteral("KIND"),
                                     QStringLiteral("SORT-STRING")};
    return list.contains(name);
}

struct Property {
    QString name;           // upper case, group removed
    QStringList types;      // lower case
    QString encoding;       // upper case
    QString charset;        // upper case
    QByteArray rawValue;
};

QByteArray decodeQuotedPrintable(const QByteArray &in)
{
    QByteArray out;
    out.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        const char c = in[i];
        if (c == '=' && i + 2 < in.size()) {
            const QByteArray hex = in.mid(i + 1, 2);
            bool ok = false;
            const int value = hex.toInt(&ok, 16);
            if (ok && hex.size() == 2) {
                out.append(static_cast<char>(value));
                i += 2;
                continue;
            }
        }
        out.append(c);
    }
    return out;
}

QString decodeText(const QByteArray &bytes, const QString &charset)
{
    if (charset == QLatin1String("ISO-8859-1") || charset == QLatin1String("WINDOWS-1252") ||
        charset == QLatin1String("CP1252"))
        return TCp1252::toString(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? TCp1252::toString(bytes) : text;
}

// Splits at unescaped `sep` and removes the escapes.
QStringList components(const QString &value, QChar sep)
{
    QStringList out;
    QString cur;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == QLatin1Char('\\') && i + 1 < value.size()) {
            const QChar n = value[++i];
            if (n == QLatin1Char('n') || n == QLatin1Char('N'))
                cur += QLatin1String("\r\n");
            else
                cur += n;
        } else if (c == sep) {
            out << cur;
            cur.clear();
        } else {
            cur += c;
        }
    }
    out << cur;
    return out;
}

QString unescaped(const QString &value)
{
    return components(value, QChar(0xFFFF)).value(0);
}

bool parseLine(const QByteArray &line, Property &p)
{
    // The colon that ends the name and parameters lies outside double quotes.
    qsizetype colon = -1;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted) {
            colon = i;
            break;
        }
    }
    if (colon <= 0)
        return false;
    const QString head = QString::fromLatin1(line.left(colon));
    p.rawValue = line.mid(colon + 1);
    const QStringList parts = head.split(QLatin1Char(';'));
    QString name = parts.first().toUpper();
    if (const qsizetype dot = name.lastIndexOf(QLatin1Char('.')); dot >= 0)
        name = name.mid(dot + 1);
    p.name = name;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString param = parts[i];
        const qsizetype eq = param.indexOf(QLatin1Char('='));
        const QString key = eq < 0 ? QStringLiteral("TYPE") : param.left(eq).toUpper();
        QString val = eq < 0 ? param : param.mid(eq + 1);
        val.remove(QLatin1Char('"'));
        if (eq < 0 && (val.toUpper() == QLatin1String("QUOTED-PRINTABLE") || val.toUpper() == QLatin1String("BASE64"))) {
            p.encoding = val.toUpper();
            continue;
        }
        if (key == QLatin1String("TYPE"))
            for (const QString &t : val.split(QLatin1Char(',')))
                p.types << t.toLower();
        else if (key == QLatin1String("ENCODING"))
            p.encoding = val.toUpper();
        else if (key == QLatin1String("CHARSET"))
            p.charset = val.toUpper();
    }
    return true;
}

// The content lines: folded lines joined (a line starting with a blank or tab continues the one
// before), and quoted-printable values continued by a trailing "=".
QList<QByteArray> contentLines(const QByteArray &bytes)
{
    QList<QByteArray> raw;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    while (start < n) {
        qsizetype end = start;
        while (end < n && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        raw.append(bytes.mid(start, end - start));
        if (end < n && bytes[end] == '\r' && end + 1 < n && bytes[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    QList<QByteArray> out;
    for (const QByteArray &line : raw) {
        if (!out.isEmpty() && !line.isEmpty() && (line[0] == ' ' || line[0] == '\t')) {
            out.last() += line.mid(1);
            continue;
        }
        if (!out.isEmpty() && out.last().endsWith('=') && out.last().toUpper().contains("QUOTED-PRINTABLE")) {
            out.last().chop(1);
            out.last() += line;
            continue;
        }
        out.append(line);
    }
    return out;
}

QString birthday(const QString &value)
{
    static const QRegularExpression full(QStringLiteral("^(\\d{4})-?(\\d{2})-?(\\d{2})(T.*)?$"));
    const auto m = full.match(value.trimmed());
    if (!m.hasMatch())
        return QString();
    const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    return d.isValid() ? d.toString(QStringLiteral("yyyyMMdd")) : QString();
}

class CardBuilder
{
public:
    explicit CardBuilder(const QMap<QString, int> &widths) : m_widths(widths) {}

    void add(const Property &p)
    {
        QByteArray raw = p.rawValue;
        if (p.encoding == QLatin1String("QUOTED-PRINTABLE"))
            raw = decodeQuotedPrintable(raw);
        else if (p.encoding == QLatin1String("BASE64") || p.encoding == QLatin1String("B"))
            return; // pictures and keys
        const QString value = decodeText(raw, p.charset);
        const QString &name = p.name;
        if (ignored(name)) {
            if (name == QLatin1String("FN"))
                m_fn = unescaped(value);
            return;
        }
        if (name == QLatin1String("NOTE")) {
            m_note = unescaped(value);
            return;
        }
        if (name == QLatin1String("TEL")) {
            addPhone(p.types, unescaped(value));
            return;
        }
        if (name == QLatin1String("BDAY")) {
            const QString d = birthday(value);
            if (!d.isEmpty() && !m_record.contains(QStringLiteral("DATE")))
                put(QStringLiteral("DATE"), d, QStringLiteral("Birthday"));
            else
                extra(QStringLiteral("Birthday"), value);
            return;
        }
        if (name == QLatin1String("CATEGORIES")) {
            const QString codes = components(value, QLatin1Char(',')).join(QLatin1Char(','));
            if (!m_record.contains(QStringLiteral("CODES")))
                put(QStringLiteral("CODES"), codes, QStringLiteral("Categories"));
            else
                extra(QStringLiteral("Categories"), codes);
            return;
        }
        const QStringList parts = components(value, QLatin1Char(';'));
        bool mapped = false;
        bool taken = false;
        for (const MapEntry &e : kMap) {
            if (name != QLatin1String(e.property))
                continue;
            mapped = true;
            const QString field = QString::fromLatin1(e.field);
            if (m_record.contains(field) || m_seen.contains(name)) {
                taken = true;
                continue;
            }
            const QString part = e.component < 0 ? unescaped(value) : parts.value(e.component);
            put(field, part, name);
        }
        if (mapped && !taken) {
            m_seen << name;
            // Components with no field (the post office box of ADR, further ORG units).
            if (name == QLatin1String("ADR") && !parts.value(0).isEmpty())
                extra(QStringLiteral("PO Box"), parts.value(0));
            if (name == QLatin1String("ORG") && parts.size() > 1)
                extra(QStringLiteral("Organization unit"), parts.mid(1).join(QStringLiteral(", ")));
            if (name == QLatin1String("N") && parts.size() > 4 && !parts.value(4).isEmpty())
                extra(QStringLiteral("Suffix"), parts.value(4));
            return;
        }
        QString shown = parts.join(QStringLiteral(", "));
        if (!p.types.isEmpty())
            extra(name + QStringLiteral(" (") + p.types.join(QLatin1Char(',')) + QLatin1Char(')'), shown);
        else
            extra(name, shown);
    }

    TVCardRecord finish()
    {
        if (!m_record.contains(QStringLiteral("LNAME")) && !m_record.contains(QStringLiteral("FNAME")) &&
            !m_fn.isEmpty() && m_fn != m_record.value(QStringLiteral("ORG"))) {
            // No N: the last word of the name as said is the last name.
            const qsizetype space = m_fn.lastIndexOf(QLatin1Char(' '));
            put(QStringLiteral("LNAME"), space < 0 ? m_fn : m_fn.mid(space + 1), QStringLiteral("Name"));
            if (space > 0)
                put(QStringLiteral("FNAME"), m_fn.left(space), QStringLiteral("Name"));
        }
        QString memo = m_note;
        if (!m_extra.isEmpty())
            memo += (memo.isEmpty() ? QString() : QStringLiteral("\r\n")) + m_extra.join(QStringLiteral("\r\n"));
        if (!memo.isEmpty())
            m_record.insert(QStringLiteral("MEMO"), memo);
        // Empty values are no values.
        for (auto it = m_record.begin(); it != m_record.end();)
            it = it.value().isEmpty() ? m_record.erase(it) : std::next(it);
        return m_record;
    }

private:
    void put(const QString &field, const QString &value, const QString &label)
    {
        if (value.isEmpty())
            return;
        m_record.insert(field, value);
        const int width = m_widths.value(field, 0);
        if (width > 0 && value.size() > width)
            extra(label, value);
    }
    void extra(const QString &label, const QString &value)
    {
        if (!value.isEmpty())
            m_extra << label + QStringLiteral(": ") + value;
    }
    void addPhone(const QStringList &types, const QString &number)
    {
        if (number.isEmpty())
            return;
        QString field;
        if (types.contains(QStringLiteral("fax")))
            field = QStringLiteral("FAX");
        else if (types.contains(QStringLiteral("home")) || types.contains(QStringLiteral("cell")))
            field = QStringLiteral("PHONE2");
        else
            field = QStringLiteral("PHONE");
        if (m_record.contains(field) && field != QLatin1String("FAX")) {
            const QString other = field == QLatin1String("PHONE") ? QStringLiteral("PHONE2") : QStringLiteral("PHONE");
            if (!m_record.contains(other) && !types.contains(QStringLiteral("home")) &&
                !types.contains(QStringLiteral("cell")))
                field = other;
        }
        if (m_record.contains(field)) {
            extra(QStringLiteral("Telephone") + (types.isEmpty() ? QString() : QStringLiteral(" (") + types.join(QLatin1Char(',')) + QLatin1Char(')')), number);
            return;
        }
        put(field, number, QStringLiteral("Telephone"));
    }

    const QMap<QString, int> &m_widths;
    TVCardRecord m_record;
    QStringList m_seen;
    QStringList m_extra;
    QString m_note;
    QString m_fn;
};

} // namespace

bool TVCardReader::looksLikeVCard(const QByteArray &bytes)
{
    QByteArray head = bytes.left(4096);
    if (head.startsWith("\xEF\xBB\xBF"))
        head.remove(0, 3);
    return head.trimmed().toUpper().startsWith("BEGIN:VCARD");
}

QVector<TVCardRecord> TVCardReader::read(const QByteArray &bytes, const QMap<QString, int> &widths)
{
    m_skipped = 0;
    QByteArray body = bytes;
    if (body.startsWith("\xEF\xBB\xBF"))
        body.remove(0, 3);
    QVector<TVCardRecord> out;
    std::unique_ptr<CardBuilder> card;
    for (const QByteArray &line : contentLines(body)) {
        if (line.trimmed().isEmpty())
            continue;
        Property p;
        if (!parseLine(line, p)) {
            ++m_skipped;
            continue;
        }
        if (p.name == QLatin1String("BEGIN") && p.rawValue.trimmed().toUpper() == "VCARD") {
            if (card)
                out.append(card->finish());
            card = std::make_unique<CardBuilder>(widths);
            continue;
        }
        if (p.name == QLatin1String("END") && p.rawValue.trimmed().toUpper() == "VCARD") {
            if (card)
                out.append(card->finish());
            card.reset();
            continue;
        }
        if (!card) {
            ++m_skipped;
            continue;
        }
        card->add(p);
    }
    if (card)
        out.append(card->finish());
    return out;
}
