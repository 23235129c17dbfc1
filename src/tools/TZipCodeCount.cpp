#include "TZipCodeCount.h"

#include "TAddressTable.h"
#include "TProgress.h"

#include <algorithm>

QString TZipCodeCount::keyOf(const QString &zip)
{
    QString key = zip.left(5);
    while (!key.isEmpty() && key.back() == QLatin1Char(' '))
        key.chop(1);
    return key;
}

TZipCodeCount::Group TZipCodeCount::classify(const QString &key)
{
    if (key.isEmpty())
        return Group::Blank;
    if (key.size() == 5 && key.at(0).isDigit() && key.at(0).unicode() < 0x80 &&
        key >= QLatin1String("00000") && key <= QLatin1String("99999-999"))
        return Group::Regular;
    return Group::Other;
}

QString TZipCodeCount::formatCount(qint64 count)
{
    QString digits = QString::number(count < 0 ? -count : count);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(','));
    return count < 0 ? QLatin1Char('-') + digits : digits;
}

QString TZipCodeCount::reportLine(const QString &key, qint64 count)
{
    return key.left(10).leftJustified(10, QLatin1Char(' ')) + formatCount(count);
}

void TZipCodeCount::add(const QString &zip)
{
    const QString key = keyOf(zip);
    ++m_total;
    switch (classify(key)) {
    case Group::Regular:
        ++m_lists[size_t(key.at(0).unicode() - '0')][key].count;
        break;
    case Group::Other:
        ++m_other[key].count;
        break;
    case Group::Blank:
        ++m_blank.count;
        break;
    }
}

void TZipCodeCount::clear()
{
    for (auto &list : m_lists)
        list.clear();
    m_other.clear();
    m_blank = {};
    m_total = 0;
    m_counted = false;
}

int TZipCodeCount::countOf(const QString &key) const
{
    if (key == QLatin1String("BLANK") && m_blank.count > 0)
        return m_blank.count;
    switch (classify(key)) {
    case Group::Regular:
        return m_lists[size_t(key.at(0).unicode() - '0')].value(key).count;
    case Group::Other:
        return m_other.value(key).count;
    case Group::Blank:
        return m_blank.count;
    }
    return 0;
}

TResult TZipCodeCount::DoTheSort(TAddressTable &table, TProgress &progress)
{
    clear();
    const QString order = table.orderTag();
    const quint32 recno = table.hasRecord() ? table.recno() : 0;
    TResult result = table.setOrderTag(QString());
    if (result.ok) {
        const QString zip = QStringLiteral("ZIP");
        for (TResult moved = table.first();; moved = table.next()) {
            if (!moved.ok) {
                // NotFound is the end of the records (or a file showing none).
                if (moved.code != xbase::StatusCode::NotFound)
                    result = moved;
                break;
            }
            if (progress.cancelled())
                break;
            add(table.value(zip));
            progress.step();
        }
    }
    const bool cancelled = progress.cancelled();
    // The order and record were the table's a moment ago, so putting them back cannot fail in a
    // way the count could mend; the count stands either way.
    (void)table.setOrderTag(order);
    if (recno > 0)
        (void)table.goTo(recno);
    if (!result.ok || cancelled) {
        clear();
        return result; // a cancelled count is no failure: isCounted() says it did not finish
    }
    m_counted = true;
    return TResult::success();
}

QStringList TZipCodeCount::reportLines() const
{
    QStringList out;
    const auto sorted = [](const QHash<QString, TallyRecord> &list) {
        QStringList keys = list.keys();
        std::sort(keys.begin(), keys.end());
        return keys;
    };
    for (const auto &list : m_lists)
        for (const QString &key : sorted(list))
            out.append(reportLine(key, list.value(key).count));
    out << QString() << QString();
    for (const QString &key : sorted(m_other))
        out.append(reportLine(key, m_other.value(key).count));
    if (m_blank.count > 0)
        out.append(reportLine(QStringLiteral("BLANK"), m_blank.count));
    return out;
}
