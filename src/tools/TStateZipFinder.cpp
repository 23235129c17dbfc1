#include "TStateZipFinder.h"

#include "TAddressTable.h"
#include "TCaseConverter.h"
#include "TCp1252.h"
#include "TProgress.h"

#include "Table.h"

#include <QFile>

namespace {

QString fieldText(const xbase::Table &table, const char *name)
{
    std::string bytes;
    if (!table.fieldValue(name, bytes).ok())
        return QString();
    QString text = TCp1252::toString(bytes.data(), qsizetype(bytes.size()));
    while (!text.isEmpty() && text.back() == QLatin1Char(' '))
        text.chop(1);
    while (!text.isEmpty() && text.front() == QLatin1Char(' '))
        text.remove(0, 1);
    return text;
}

} // namespace

TResult TStateZipFinder::readRanges(xbase::Table &csz, Ranges &out)
{
    out.clear();
    TResult result = TResult::fromStatus(csz.setOrder("STATE"));
    if (result.ok)
        result = TResult::fromStatus(csz.goTop());
    while (result.ok && !csz.eof()) {
        const QString state = TCaseConverter::upper(fieldText(csz, "STATE"));
        if (!state.isEmpty() && !out.contains(state))
            out.insert(state, {fieldText(csz, "LOW_ZIP"), fieldText(csz, "HIGH_ZIP")});
        result = TResult::fromStatus(csz.skip(1));
    }
    return result;
}

bool TStateZipFinder::zipInRange(const QString &zip, const QString &low, const QString &high)
{
    return zip.left(low.size()) >= low && zip.left(high.size()) <= high;
}

bool TStateZipFinder::isQuestionable(const Ranges &ranges, const QString &state, const QString &zip)
{
    const auto it = ranges.constFind(state);
    if (it == ranges.cend())
        return true;
    return !zipInRange(zip, it->first, it->second);
}

TStateZipFinder::~TStateZipFinder()
{
    release();
}

void TStateZipFinder::release()
{
    m_index.release();
}

TResult TStateZipFinder::run(const Ranges &ranges, bool includeBlanks, const QString &indexPath,
                             TProgress &progress)
{
    m_found = 0;
    release();
    if (!m_table.isOpen())
        return TResult::failure(QStringLiteral("No file is open"));
    xbase::Table &engine = m_table.engine();
    TResult result = TResult::fromStatus(engine.setOrder(0));
    QVector<quint32> recnos;
    if (result.ok && !m_table.visibleRecnos(recnos))
        result = TResult::failure(QStringLiteral("The file cannot be read"), xbase::StatusCode::IoError);
    if (!result.ok)
        return result;
    result = m_index.create(indexPath, "upper(LNAME)+upper(FNAME)");

    const QStringList names{QStringLiteral("STATE"), QStringLiteral("ZIP")};
    QStringList values;
    progress.setTotal(int(recnos.size()));
    m_table.freeze();
    for (qsizetype i = 0; result.ok && i < recnos.size(); ++i) {
        if (progress.cancelled())
            break;
        const quint32 recno = recnos[i];
        if (!m_table.recordValues(recno, names, values)) {
            result = TResult::failure(QStringLiteral("The file cannot be read"), xbase::StatusCode::IoError);
            break;
        }
        const QString state = values.value(0);
        const QString zip = values.value(1);
        if ((includeBlanks || (!state.isEmpty() && !zip.isEmpty())) && isQuestionable(ranges, state, zip)) {
            result = TResult::fromStatus(engine.go(recno));
            if (result.ok)
                result = TResult::fromStatus(engine.keyAdd());
            if (result.ok)
                ++m_found;
        }
        progress.step();
    }
    if (result.ok)
        result = m_index.select();
    m_table.unfreeze();
    if (!result.ok)
        release();
    return result;
}
