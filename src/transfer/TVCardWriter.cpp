#include "TVCardWriter.h"

#include <QDate>
#include <QStringList>

TVCardWriter::TVCardWriter(QString version) : m_version(std::move(version)) {}

QString TVCardWriter::escaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\\') || c == QLatin1Char(',') || c == QLatin1Char(';')) {
            out += QLatin1Char('\\');
            out += c;
        } else if (c == QLatin1Char('\r')) {
            out += QLatin1String("\\n");
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('\n')) {
            out += QLatin1String("\\n");
        } else {
            out += c;
        }
    }
    return out;
}

QByteArray TVCardWriter::folded(const QByteArray &line)
{
    QByteArray out;
    qsizetype pos = 0;
    qsizetype limit = 75;
    while (line.size() - pos > limit) {
        qsizetype cut = pos + limit;
        // Never split a UTF-8 sequence: back up over continuation bytes.
        while (cut > pos + 1 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
            --cut;
        out += line.mid(pos, cut - pos);
        out += "\r\n ";
        pos = cut;
        limit = 74; // the leading blank counts
    }
    out += line.mid(pos);
    out += "\r\n";
    return out;
}

QByteArray TVCardWriter::card(const TVCardRecord &r) const
{
    auto v = [&](const char *name) { return r.value(QString::fromLatin1(name)); };
    auto e = [&](const char *name) { return escaped(v(name)); };
    QByteArray out;
    auto line = [&](const QString &text) { out += folded(text.toUtf8()); };
    const bool four = m_version == QLatin1String("4.0");

    line(QStringLiteral("BEGIN:VCARD"));
    line(QStringLiteral("VERSION:") + m_version);
    line(QStringLiteral("N:") + e("LNAME") + QLatin1Char(';') + e("FNAME") + QLatin1Char(';') + e("MIDDLE") +
         QLatin1Char(';') + e("PREFIX") + QLatin1Char(';'));
    QStringList said;
    for (const char *n : {"PREFIX", "FNAME", "MIDDLE", "LNAME"})
        if (!v(n).isEmpty())
            said << v(n);
    QString fn = said.join(QLatin1Char(' '));
    if (fn.isEmpty())
        fn = v("ORG");
    line(QStringLiteral("FN:") + escaped(fn));
    if (!v("ORG").isEmpty())
        line(QStringLiteral("ORG:") + e("ORG"));
    if (!v("TITLE").isEmpty())
        line(QStringLiteral("TITLE:") + e("TITLE"));
    bool anyAddress = false;
    for (const char *n : {"STREET", "STREET2", "CITY", "STATE", "ZIP", "COUNTRY"})
        anyAddress = anyAddress || !v(n).isEmpty();
    if (anyAddress)
        line(QStringLiteral("ADR;TYPE=work:;") + e("STREET2") + QLatin1Char(';') + e("STREET") + QLatin1Char(';') +
             e("CITY") + QLatin1Char(';') + e("STATE") + QLatin1Char(';') + e("ZIP") + QLatin1Char(';') + e("COUNTRY"));
    const QString typeList = four ? QStringLiteral("\"work,voice\"") : QStringLiteral("work,voice");
    if (!v("PHONE").isEmpty())
        line(QStringLiteral("TEL;TYPE=") + typeList + QLatin1Char(':') + e("PHONE"));
    if (!v("PHONE2").isEmpty())
        line(QStringLiteral("TEL;TYPE=") + (four ? QStringLiteral("\"home,voice\"") : QStringLiteral("home,voice")) +
             QLatin1Char(':') + e("PHONE2"));
    if (!v("FAX").isEmpty())
        line(QStringLiteral("TEL;TYPE=fax:") + e("FAX"));
    if (!v("EMAIL").isEmpty())
        line(QStringLiteral("EMAIL:") + e("EMAIL"));
    const QString date = v("DATE");
    const QDate d = QDate::fromString(date, QStringLiteral("yyyyMMdd"));
    if (date.size() == 8 && d.isValid())
        line(QStringLiteral("BDAY:") + (four ? date : d.toString(QStringLiteral("yyyy-MM-dd"))));
    else if (!date.isEmpty())
        line(QStringLiteral("X-CORVANTIS-DATE:") + escaped(date));
    if (!v("CODES").isEmpty())
        line(QStringLiteral("CATEGORIES:") + e("CODES"));
    if (!v("USER1").isEmpty())
        line(QStringLiteral("X-CORVANTIS-USER1:") + e("USER1"));
    if (!v("USER2").isEmpty())
        line(QStringLiteral("X-CORVANTIS-USER2:") + e("USER2"));
    if (!v("MEMO").isEmpty())
        line(QStringLiteral("NOTE:") + e("MEMO"));
    line(QStringLiteral("END:VCARD"));
    return out;
}
