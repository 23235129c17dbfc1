#include "TFieldReplacer.h"

#include "TAddressTable.h"
#include "TCaseConverter.h"
#include "TProgress.h"

namespace {

// Occurrences replaced at most in one value.
constexpr int kMaxOccurrences = 51;

QString trimmed(const QString &text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text.at(from) == QLatin1Char(' '))
        ++from;
    while (to > from && text.at(to - 1) == QLatin1Char(' '))
        --to;
    return text.mid(from, to - from);
}

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

const std::vector<std::pair<QString, QString>> &TFieldReplacer::fields()
{
    static const std::vector<std::pair<QString, QString>> list = {
        {QStringLiteral("Last Name"), QStringLiteral("LNAME")},
        {QStringLiteral("First Name"), QStringLiteral("FNAME")},
        {QStringLiteral("Middle Initial"), QStringLiteral("MIDDLE")},
        {QStringLiteral("Title"), QStringLiteral("TITLE")},
        {QStringLiteral("Organization"), QStringLiteral("ORG")},
        {QStringLiteral("Address 1"), QStringLiteral("STREET")},
        {QStringLiteral("Address 2"), QStringLiteral("STREET2")},
        {QStringLiteral("City"), QStringLiteral("CITY")},
        {QStringLiteral("State"), QStringLiteral("STATE")},
        {QStringLiteral("Zip"), QStringLiteral("ZIP")},
        {QStringLiteral("Country"), QStringLiteral("COUNTRY")},
        {QStringLiteral("Phone 1"), QStringLiteral("PHONE")},
        {QStringLiteral("Phone 2"), QStringLiteral("PHONE2")},
        {QStringLiteral("Email"), QStringLiteral("EMAIL")},
        {QStringLiteral("Fax"), QStringLiteral("FAX")},
        {QStringLiteral("Codes"), QStringLiteral("CODES")},
        {QStringLiteral("Comment 1"), QStringLiteral("USER1")},
        {QStringLiteral("Comment 2"), QStringLiteral("USER2")},
    };
    return list;
}

bool TFieldReplacer::matches(const QString &value, const QString &find, bool exact, bool caseSensitive)
{
    if (find.isEmpty())
        return trimmed(value).isEmpty();
    const QString v = caseSensitive ? value : TCaseConverter::upper(value);
    const QString f = caseSensitive ? find : TCaseConverter::upper(find);
    if (exact)
        return trimmed(v) == trimmed(f);
    return v.contains(f, Qt::CaseSensitive);
}

QString TFieldReplacer::replaceMatching(const QString &value, const QString &find, const QString &replacement,
                                        bool caseSensitive)
{
    if (find.isEmpty())
        return value;
    // One case table for the search keeps the positions of the upper-cased copy those of the
    // value itself.
    const QString needle = caseSensitive ? find : TCaseConverter::upper(find);
    const QString haystack = caseSensitive ? value : TCaseConverter::upper(value);
    QString result;
    qsizetype from = 0;
    for (int n = 0; n < kMaxOccurrences; ++n) {
        const qsizetype at = haystack.indexOf(needle, from, Qt::CaseSensitive);
        if (at < 0)
            break;
        result += value.mid(from, at - from) + replacement;
        from = at + needle.size();
    }
    return result + value.mid(from);
}

QString TFieldReplacer::question(const QString &entry, const TReplaceRequest &r)
{
    QString condition;
    if (r.find.isEmpty()) {
        condition = QStringLiteral("is empty ");
    } else {
        condition = (r.exact ? QStringLiteral("exactly matches: ") : QStringLiteral("contains: ")) +
                    quoted(r.find) +
                    (r.caseSensitive ? QStringLiteral("  (case sensitive)")
                                     : QStringLiteral(" (not case sensitive)"));
    }
    QString action;
    if (r.replacement.isEmpty())
        action = r.replaceWhole ? QStringLiteral("and delete the entire field ")
                                : QStringLiteral("and delete the matching text ");
    else
        action = (r.replaceWhole ? QStringLiteral("and replace the entire field with ")
                                 : QStringLiteral("and replace only the matching text with ")) +
                 quoted(r.replacement);
    return QStringLiteral("Find records where field ") + entry + QLatin1Char('\r') + condition +
           QLatin1Char('\r') + action;
}

TResult TFieldReplacer::run(TAddressTable &table, const TReplaceRequest &r, TProgress &progress,
                            TReplaceOutcome &outcome)
{
    outcome = {};
    if (!table.isOpen())
        return TResult::failure(QStringLiteral("No file is open"));
    const int width = table.fieldWidth(r.field);
    if (width <= 0)
        return TResult::failure(QStringLiteral("Unknown field ") + r.field);
    xbase::Table &engine = table.engine();
    const quint32 remembered = table.hasRecord() ? table.recno() : 0;
    const std::string oldQuery = engine.queryText();
    const int oldOrder = engine.order();

    // The records the user can see under the scope: ISDEL and the delete mark both hide.
    const xbase::Status queried = engine.setVisibleQuery(r.scopeFilter.toStdString());
    if (!queried.ok())
        return TResult::fromStatus(queried);
    TResult result = TResult::fromStatus(engine.setOrder(0));
    QVector<quint32> recnos;
    if (result.ok && !table.visibleRecnos(recnos))
        result = TResult::failure(QStringLiteral("The file cannot be read"), xbase::StatusCode::IoError);

    const QStringList names{r.field};
    QStringList values;
    progress.setTotal(int(recnos.size()));
    table.freeze();
    for (qsizetype i = 0; result.ok && i < recnos.size(); ++i) {
        const quint32 recno = recnos[i];
        progress.step();
        if (!table.recordValues(recno, names, values)) {
            result = TResult::failure(QStringLiteral("The file cannot be read"), xbase::StatusCode::IoError);
            break;
        }
        const QString value = values.value(0);
        if (!matches(value, r.find, r.exact, r.caseSensitive))
            continue;
        const QString changed =
            r.replaceWhole ? r.replacement : replaceMatching(value, r.find, r.replacement, r.caseSensitive);
        if (changed.size() > width) {
            ++outcome.tooLong;
            continue;
        }
        result = TResult::fromStatus(engine.go(recno));
        if (result.ok)
            result = table.setValue(r.field, changed);
        if (result.ok)
            result = table.post();
        if (!result.ok) {
            table.cancelEdit();
            break;
        }
        ++outcome.replaced;
    }
    (void)engine.setQuery(oldQuery); // compiled before: it compiles again
    (void)engine.setOrder(oldOrder); // an order that was there before
    if (remembered > 0)
        (void)table.goTo(remembered);
    if (!table.hasRecord())
        (void)table.first();
    table.unfreeze();
    return result;
}
