// The shared barcode fixtures (bars from an independent encoder) as rows of named columns.
#pragma once

#include <QFile>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

using FixtureRow = QHash<QString, QString>;

// The rows of `file` in ../shared/fixtures/barcodes; its first line names the columns.
inline QList<FixtureRow> barcodeFixture(const QString &file)
{
    QList<FixtureRow> rows;
    QFile f(QStringLiteral(CORVANTIS_SHARED_DIR "/fixtures/barcodes/") + file);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return rows;
    const QStringList names = QString::fromUtf8(f.readLine()).trimmed().split(QLatin1Char(','));
    while (!f.atEnd()) {
        const QString line = QString::fromUtf8(f.readLine()).trimmed();
        if (line.isEmpty())
            continue;
        const QStringList cells = line.split(QLatin1Char(','));
        FixtureRow row;
        for (int i = 0; i < names.size(); ++i)
            row.insert(names[i], i < cells.size() ? cells[i] : QString());
        rows.append(row);
    }
    return rows;
}
