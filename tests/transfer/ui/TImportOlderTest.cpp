// "Import Corvantis 2.x DBF" driven through its buttons: a table without the version's fields is
// refused with its message, one with them imports by the fixed mapping without a match window.
#include "TImportOlder.h"

#include "ImportWindowDriver.h"
#include "TDbfImportRun.h"
#include "../TransferFixture.h"

#include "Table.h"

#include <QLabel>

#include <gtest/gtest.h>

namespace {

// A table with the fields of `names` (C 20, ISDEL L, MEMO M) and one record.
QString makeTable(const TempDir &dir, const char *file, const QStringList &names)
{
    const std::string path = dir.file(file);
    std::vector<xbase::FieldDescriptor> fields;
    for (const QString &n : names)
        fields.push_back({n.toStdString(), n == QLatin1String("ISDEL") ? 'L' : n == QLatin1String("MEMO") ? 'M' : 'C',
                          static_cast<uint8_t>(n == QLatin1String("ISDEL") ? 1 : n == QLatin1String("MEMO") ? 10 : 20), 0, 0});
    xbase::Table t;
    if (!xbase::Table::create(path, fields).ok() || !t.open(path, xbase::OpenMode::Exclusive).ok() ||
        !t.appendBlank().ok() || !t.setFieldValue("LNAME", "Lee").ok() || !t.post().ok())
        return QString();
    if (names.contains(QStringLiteral("STREET2")) &&
        (!t.go(1).ok() || !t.setFieldValue("STREET2", "Apt 2").ok() || !t.setFieldValue("MEMO", "old note").ok() ||
         !t.post().ok()))
        return QString();
    return t.close().ok() ? QString::fromStdString(path) : QString();
}

TEST(ImportOlderWindow, RefusesAnotherTableAndImportsTheVersionByItsMapping)
{
    TempDir dir;
    TAddressTable table;
    ASSERT_TRUE(openEmpty(dir, table));
    const QString other = makeTable(dir, "OTHER.DBF", {QStringLiteral("LNAME"), QStringLiteral("CITY")});
    const QString older = makeTable(dir, "OLD2.DBF", TDbfImportRun::requiredFields(TDbfImportRun::Older::V2));
    ASSERT_FALSE(other.isEmpty());
    ASSERT_FALSE(older.isEmpty());
    Boxes boxes;
    TImportOlder window(table, 1);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Import Corvantis 2.x DBF"));
    EXPECT_TRUE(window.MatchButton->isHidden());

    window.setFileChooser([other] { return other; });
    QTest::mouseClick(window.SelectButton, Qt::LeftButton);
    EXPECT_EQ(boxes.texts, QStringList{QStringLiteral("OTHER.DBF does not appear to be a Corvantis 2.x DBF")});
    EXPECT_EQ(window.FileNameLabel->text(), QStringLiteral("(none)"));
    EXPECT_FALSE(window.ImportButton->isEnabled());

    window.setFileChooser([older] { return older; });
    QTest::mouseClick(window.SelectButton, Qt::LeftButton);
    EXPECT_EQ(window.FileNameLabel->text(), older);
    ASSERT_TRUE(window.ImportButton->isEnabled());
    QTest::mouseClick(window.ImportButton, Qt::LeftButton);
    EXPECT_EQ(boxes.texts.last(), QStringLiteral("Import complete. Imported 1 records."));
    ASSERT_TRUE(table.setOrderTag(QString()).ok);
    // The memo storing rule adds a blank to a memo whose length is a multiple of four.
    EXPECT_EQ(rows(table, {QStringLiteral("LNAME"), QStringLiteral("STREET2"), QStringLiteral("MEMO")}),
              QStringList{QStringLiteral("Lee|Apt 2|old note ")});
    EXPECT_TRUE(table.CheckValidIndex());
}

} // namespace
