// FIM marks: the shared fixtures' grids, the screen square and the bars on paper.
#include "TGFIMBarCode.h"
#include "BarcodeFixtures.h"

#include <gtest/gtest.h>

namespace {

TEST(TGFIMBarCode, GridsAgreeWithTheFixture)
{
    const QList<FixtureRow> rows = barcodeFixture(QStringLiteral("fim.csv"));
    ASSERT_EQ(rows.size(), 3);
    for (const FixtureRow &row : rows) {
        const QString name = row.value(QStringLiteral("fim_type"));
        SCOPED_TRACE(name.toStdString());
        int type = 0;
        while (type < TFIMTypeCount && name != QLatin1String(TFIMTypeNames[type]))
            ++type;
        ASSERT_LT(type, TFIMTypeCount);
        const TFIMType t = static_cast<TFIMType>(type);
        EXPECT_EQ(TGFIMBarCode::grid(t).toStdString(), row.value(QStringLiteral("grid17")).toStdString());
        QStringList columns;
        for (int c : TGFIMBarCode::barColumns(t))
            columns << QString::number(c);
        EXPECT_EQ(columns.join(QLatin1Char(' ')).toStdString(),
                  row.value(QStringLiteral("bar_columns")).toStdString());
        // The odd columns read as the nine-position USPS pattern.
        QString pattern;
        const QString grid = TGFIMBarCode::grid(t);
        for (int i = 0; i < grid.size(); i += 2)
            pattern.append(grid[i]);
        EXPECT_EQ(pattern.toStdString(), row.value(QStringLiteral("pattern9")).toStdString());
    }
}

} // namespace
