#include "TCaseConverter.h"

#include "TAddressTable.h"
#include "TCp1252.h"
#include "TProgress.h"

#include "Expression.h"
#include "ExpressionEval.h"

namespace {

QString throughTable(const QString &text, const unsigned char *table)
{
    QString out = text;
    for (QChar &c : out) {
        const char byte = TCp1252::fromChar(c.unicode());
        // A character Windows-1252 cannot hold has no case in the table: it stays.
        if (byte == '?' && c != QLatin1Char('?'))
            continue;
        c = TCp1252::toChar(table[static_cast<unsigned char>(byte)]);
    }
    return out;
}

} // namespace

const std::vector<std::pair<QString, QString>> &TCaseConverter::fields()
{
    static const std::vector<std::pair<QString, QString>> list = {
        {QStringLiteral("Last"), QStringLiteral("LNAME")},
        {QStringLiteral("First"), QStringLiteral("FNAME")},
        {QStringLiteral("Middle"), QStringLiteral("MIDDLE")},
        {QStringLiteral("Title"), QStringLiteral("TITLE")},
        {QStringLiteral("Organization"), QStringLiteral("ORG")},
        {QStringLiteral("Address 1"), QStringLiteral("STREET")},
        {QStringLiteral("Address 2"), QStringLiteral("STREET2")},
        {QStringLiteral("City"), QStringLiteral("CITY")},
        {QStringLiteral("State/Province"), QStringLiteral("STATE")},
        {QStringLiteral("Zip/Postal Code"), QStringLiteral("ZIP")},
        {QStringLiteral("Country"), QStringLiteral("COUNTRY")},
        {QStringLiteral("Prefix"), QStringLiteral("PREFIX")},
        {QStringLiteral("Comment 1"), QStringLiteral("USER1")},
        {QStringLiteral("Comment 2"), QStringLiteral("USER2")},
        {QStringLiteral("Codes"), QStringLiteral("CODES")},
    };
    return list;
}

QString TCaseConverter::upper(const QString &text)
{
    return throughTable(text, xbase::upperTable());
}

QString TCaseConverter::lower(const QString &text)
{
    return throughTable(text, xbase::lowerTable());
}

QString TCaseConverter::convert(const QString &text, Conversion conversion)
{
    switch (conversion) {
    case Conversion::Upper:
        return upper(text);
    case Conversion::Lower:
        return lower(text);
    case Conversion::FirstLetters:
        break;
    }
    QString out = lower(text);
    for (qsizetype i = 0; i < out.size(); ++i) {
        if (i == 0 || out.at(i - 1) == QLatin1Char(' '))
            out[i] = upper(QString(out.at(i))).at(0);
    }
    return out;
}

TResult TCaseConverter::run(TAddressTable &table, const QStringList &fieldNames, Conversion conversion,
                            Records records, const QString &filter, TProgress &progress, int &converted)
{
    converted = 0;
    if (!table.isOpen())
        return TResult::failure(QStringLiteral("No file is open"));
    xbase::Table &engine = table.engine();
    const quint32 remembered = table.hasRecord() ? table.recno() : 0;
    const std::string oldQuery = engine.queryText();

    QVector<quint32> recnos;
    if (records == Records::Current) {
        if (remembered > 0)
            recnos.append(remembered);
    } else {
        const QString expr = records == Records::MatchingFilter ? filter : QString();
        const xbase::Status queried = engine.setVisibleQuery(expr.toStdString());
        if (!queried.ok())
            return TResult::fromStatus(queried);
        if (!table.visibleRecnos(recnos)) {
            // The old query compiled before, so putting it back cannot fail in a new way.
            (void)engine.setQuery(oldQuery);
            return TResult::failure(QStringLiteral("The file cannot be read"), xbase::StatusCode::IoError);
        }
    }

    TResult result;
    progress.setTotal(int(recnos.size()));
    table.freeze();
    for (const quint32 recno : recnos) {
        if (progress.cancelled())
            break;
        xbase::Status moved = engine.go(recno);
        if (!moved.ok()) {
            result = TResult::fromStatus(moved);
            break;
        }
        for (const QString &name : fieldNames) {
            const QString value = table.value(name);
            const QString changed = convert(value, conversion);
            if (changed == value)
                continue;
            result = table.setValue(name, changed);
            if (!result.ok)
                break;
        }
        if (result.ok)
            result = table.post();
        if (!result.ok) {
            table.cancelEdit();
            break;
        }
        ++converted;
        progress.step();
    }
    if (records != Records::Current)
        (void)engine.setQuery(oldQuery); // compiled before: it compiles again
    if (remembered > 0)
        (void)table.goTo(remembered); // a record the query no longer shows leaves the first one
    if (!table.hasRecord())
        (void)table.first(); // nothing visible answers NotFound, which leaves the table at its end
    table.unfreeze();
    return result;
}
