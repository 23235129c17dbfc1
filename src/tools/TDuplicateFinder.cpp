#include "TDuplicateFinder.h"

#include "TAddressTable.h"
#include "TCaseConverter.h"
#include "TProgress.h"

#include <QFile>

#include <algorithm>
#include <vector>

QString TDuplicateFinder::keyOf(Kind kind, int streetChars, const QString &lname, const QString &fname,
                                const QString &street)
{
    switch (kind) {
    case Kind::LastFirst:
    case Kind::LastFirstInitial: {
        if (lname.isEmpty())
            return QString();
        const QString first = kind == Kind::LastFirst ? fname : fname.left(1);
        // A separator no stored text holds keeps the two parts apart.
        return TCaseConverter::upper(lname) + QChar(0x1F) + TCaseConverter::upper(first);
    }
    case Kind::Street: {
        const int n = qBound(1, streetChars, kMaxStreetChars);
        QString part = street.left(n);
        while (!part.isEmpty() && part.back() == QLatin1Char(' '))
            part.chop(1);
        return TCaseConverter::upper(part);
    }
    }
    return QString();
}

TDuplicateFinder::~TDuplicateFinder()
{
    release();
}

void TDuplicateFinder::release()
{
    m_index.release();
}

TResult TDuplicateFinder::run(Kind kind, int streetChars, const QString &indexPath, TProgress &progress)
{
    m_pairs = 0;
    m_listed = 0;
    release();
    if (!m_table.isOpen())
        return TResult::failure(QStringLiteral("No file is open"));
    xbase::Table &engine = m_table.engine();
    const char *tag = kind == Kind::Street ? "STREET" : "NAME";
    TResult result = TResult::fromStatus(engine.setOrder(tag));
    QVector<quint32> recnos;
    if (result.ok && !m_table.visibleRecnos(recnos))
        result = TResult::failure(QStringLiteral("The file cannot be read"), xbase::StatusCode::IoError);
    if (!result.ok)
        return result;

    const std::string expr = kind == Kind::Street ? "upper(STREET)" : "upper(LNAME-FNAME)";
    result = m_index.create(indexPath, expr);

    // Records are read and their keys added in record order, with the engine reading blocks
    // of records ahead, so no record costs a read of its own; the comparing is done in the
    // tag's order on the keys read.
    const bool wasTurbo = engine.isTurboRead();
    engine.setTurboRead(true);
    const quint32 last = recnos.isEmpty() ? 0 : *std::max_element(recnos.cbegin(), recnos.cend());
    std::vector<QString> keys(size_t(last) + 1);
    QVector<quint32> ascending = recnos;
    std::sort(ascending.begin(), ascending.end());
    const QString lnameField = QStringLiteral("LNAME");
    const QString fnameField = QStringLiteral("FNAME");
    const QString streetField = QStringLiteral("STREET");
    for (qsizetype i = 0; result.ok && i < ascending.size(); ++i) {
        result = TResult::fromStatus(engine.go(ascending[i]));
        if (!result.ok)
            break;
        keys[ascending[i]] =
            kind == Kind::Street
                ? keyOf(kind, streetChars, QString(), QString(), m_table.value(streetField))
                : keyOf(kind, streetChars, m_table.value(lnameField), m_table.value(fnameField), QString());
    }

    std::vector<bool> wanted(size_t(last) + 1, false);
    const QString *previousKey = nullptr; // no previous record yet
    quint32 previous = 0;
    progress.setTotal(int(recnos.size()));
    m_table.freeze();
    for (qsizetype i = 0; result.ok && i < recnos.size(); ++i) {
        if (progress.cancelled())
            break;
        const quint32 recno = recnos[i];
        const QString &key = keys[recno];
        if (!key.isEmpty() && previousKey && *previousKey == key) {
            wanted[previous] = true; // each record once, however many neighbours it matches
            wanted[recno] = true;
            ++m_pairs;
        }
        previousKey = &key;
        previous = recno;
        progress.step();
    }
    for (qsizetype i = 0; result.ok && i < ascending.size(); ++i) {
        if (!wanted[ascending[i]])
            continue;
        result = TResult::fromStatus(engine.go(ascending[i]));
        if (result.ok)
            result = TResult::fromStatus(engine.keyAdd());
        if (result.ok)
            ++m_listed;
    }
    engine.setTurboRead(wasTurbo);
    if (result.ok)
        result = m_index.select();
    m_table.unfreeze();
    if (!result.ok)
        release();
    return result;
}
