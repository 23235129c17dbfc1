// The browse grid's rows and columns over a copy of the address fixture: the shown fields with
// their titles and widths, the visible records in the table's order under a filter, rows read
// only when asked for and never moving the current record.
#include "TBrowseModel.h"

#include "EditingFixture.h"
#include "TBrowseColumns.h"

#include <gtest/gtest.h>

namespace {

QList<quint32> rows(const TBrowseModel &model)
{
    QList<quint32> out;
    for (int r = 0; r < model.rowCount(); ++r)
        out.append(model.recnoOf(r));
    return out;
}

TEST(BrowseModel, ColumnsAreTheShownFieldsInPositionOrderWithTitlesAndWidths)
{
    TEditingFile file("LNAME25");
    QStringList order = TBrowseColumns::defaultOrder();
    order.move(order.indexOf(QStringLiteral("Tagged")), 0);
    const TBrowseModel model(file.table, order);
    const QStringList want = {
        QStringLiteral("Tagged"),  QStringLiteral("LNAME"),  QStringLiteral("FNAME"),
        QStringLiteral("MIDDLE"),  QStringLiteral("PREFIX"), QStringLiteral("TITLE"),
        QStringLiteral("ORG"),     QStringLiteral("STREET"), QStringLiteral("STREET2"),
        QStringLiteral("CITY"),    QStringLiteral("STATE"),  QStringLiteral("ZIP"),
        QStringLiteral("COUNTRY"), QStringLiteral("PHONE"),  QStringLiteral("PHONE2"),
        QStringLiteral("FAX"),     QStringLiteral("EMAIL"),  QStringLiteral("CODES"),
        QStringLiteral("USER1"),   QStringLiteral("USER2"),  QStringLiteral("DisplayDate")};
    EXPECT_EQ(model.columnFields(), want);
    struct Width {
        int column;
        const char *title;
        int chars;
    };
    // LNAME is 25 wide in this file and still shown 20 wide; STREET shows its file width.
    for (const Width &w : {Width{0, "Tagged", 1}, Width{1, "Last Name", 20}, Width{4, "Prefix", 4},
                           Width{7, "Address 1", file.table.fieldWidth(QStringLiteral("STREET"))},
                           Width{11, "Zip/Postal Code", 10}, Width{15, "Fax", 40}, Width{20, "Date", 12}}) {
        EXPECT_EQ(model.headerData(w.column, Qt::Horizontal).toString(), QLatin1String(w.title));
        EXPECT_EQ(model.browseWidth(w.column), w.chars) << w.title;
    }
}

TEST(BrowseModel, RowsAreTheRecordsTheTableWalksUnderAFilterAndReadOnlyWhenAsked)
{
    TEditingFile file;
    ASSERT_TRUE(file.setFilter(QStringLiteral("UPPER(STATE) = 'CA'")));
    file.table.setOrderTag(QStringLiteral("CITY"));
    const QList<quint32> walked = fixture::visibleInOrder(file.table);
    ASSERT_GT(walked.size(), 20);
    ASSERT_TRUE(file.table.goTo(walked[5]));

    TBrowseModel model(file.table, TBrowseColumns::defaultOrder());
    EXPECT_EQ(rows(model), walked);
    EXPECT_EQ(model.rowsRead(), 0);
    const int lname = int(model.columnFields().indexOf(QStringLiteral("LNAME")));
    const int city = int(model.columnFields().indexOf(QStringLiteral("CITY")));
    for (int r : {0, 3, 17}) {
        ASSERT_TRUE(file.table.goTo(walked[r]));
        const QString name = file.table.value(QStringLiteral("LNAME"));
        const QString town = file.table.value(QStringLiteral("CITY"));
        ASSERT_TRUE(file.table.goTo(walked[5]));
        EXPECT_EQ(model.data(model.index(r, lname)).toString(), name);
        EXPECT_EQ(model.data(model.index(r, city)).toString(), town);
    }
    EXPECT_EQ(model.rowsRead(), 3);
    EXPECT_EQ(file.table.recno(), walked[5]);
    EXPECT_EQ(model.rowOf(walked[17]), 17);
    EXPECT_EQ(model.rowOf(77), -1) << "a marked record is not shown";
    EXPECT_EQ(model.recnoOf(int(walked.size())), 0u);
    EXPECT_EQ(model.flags(model.index(0, 0)) & Qt::ItemIsEditable, Qt::NoItemFlags);
}

TEST(BrowseModel, ListsTheRowsAgainWhenTheOrderOrQueryChangesAndReadsAChangedRow)
{
    TEditingFile file;
    file.table.setGlobalTagId(QStringLiteral("NEWID"));
    TBrowseModel model(file.table, TBrowseColumns::defaultOrder());
    int resets = 0;
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { ++resets; });
    const int tagged = int(model.columnFields().indexOf(QStringLiteral("Tagged")));

    file.table.setOrderTag(QStringLiteral("ZIP"));
    file.table.first();
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(rows(model), fixture::visibleInOrder(file.table));

    const quint32 recno = model.recnoOf(2);
    EXPECT_EQ(model.data(model.index(2, tagged)).toString(), QStringLiteral("No"));
    ASSERT_TRUE(file.table.goTo(recno));
    ASSERT_TRUE(file.table.setValue(QStringLiteral("TAG"), QStringLiteral("NEWID")).ok);
    ASSERT_TRUE(file.table.post().ok);
    EXPECT_EQ(model.data(model.index(2, tagged)).toString(), QStringLiteral("No")) << "still the cached row";
    model.refreshRecord(recno);
    EXPECT_EQ(model.data(model.index(2, tagged)).toString(), QStringLiteral("Yes"));

    ASSERT_TRUE(file.setFilter(QStringLiteral("TAG = 'NEWID'")));
    EXPECT_EQ(resets, 2);
    EXPECT_EQ(rows(model), QList<quint32>{recno});
    EXPECT_FALSE(model.reload()) << "nothing changed since";
}

} // namespace
