// "DBF File Import" and its "DBF File Import Match Fields" window driven through their buttons:
// the automatic match by name and caption, a field chosen through the menu, Cancel keeping
// nothing, the open file refused.
#include "TDBFImport.h"

#include "ImportWindowDriver.h"
#include "TDBFMatch.h"
#include "../TransferFixture.h"

#include "Table.h"

#include <QLabel>

#include <gtest/gtest.h>

namespace {

// A table of another program: a name field the address file also has, a field named by an
// address field's caption, one matched to nothing, and a memo.
QString makeSource(const TempDir &dir)
{
    const std::string path = dir.file("OTHER.DBF");
    xbase::Table t;
    if (!xbase::Table::create(path, {{"LNAME", 'C', 20, 0, 0},
                                     {"CITY", 'C', 20, 0, 0},
                                     {"NICK", 'C', 10, 0, 0},
                                     {"AGE", 'N', 3, 0, 0},
                                     {"NOTES", 'M', 10, 0, 0}})
             .ok() ||
        !t.open(path, xbase::OpenMode::Exclusive).ok())
        return QString();
    const char *const rows[][5] = {{"Lee", "Oslo", "Al", "42", "likes tea"}, {"Ek", "Lund", "Bo", "7", ""}};
    for (const auto &row : rows) {
        if (!t.appendBlank().ok())
            return QString();
        for (int i = 0; i < 5; ++i)
            if (*row[i] && !t.setFieldValue(i, row[i]).ok())
                return QString();
        if (!t.post().ok())
            return QString();
    }
    return t.close().ok() ? QString::fromStdString(path) : QString();
}

TEST(DBFImportWindow, AutomaticMatchAFieldFromTheMenuAndImport)
{
    TempDir dir;
    TAddressTable table;
    ASSERT_TRUE(openEmpty(dir, table));
    const QString source = makeSource(dir);
    ASSERT_FALSE(source.isEmpty());
    Boxes boxes;
    TDBFImport window(table);
    window.setFileChooser([source] { return source; });
    EXPECT_FALSE(window.MatchButton->isEnabled());
    QTest::mouseClick(window.SelectButton, Qt::LeftButton);
    EXPECT_EQ(window.FileNameLabel->text(), source);
    ASSERT_TRUE(window.MatchButton->isEnabled());
    EXPECT_FALSE(window.ImportButton->isEnabled());

    QObject::connect(&window, &TDBFImport::matchWindowShown, &window, [](TDBFMatch *w) {
        EXPECT_EQ(w->BrowserGrid->rowCount(), 2);
        EXPECT_EQ(w->BrowserGrid->item(0, 2)->text(), QStringLiteral("Al"));
        // Matched already: LNAME by name, CITY by caption, the memo to the memo.
        EXPECT_EQ(w->MatchGrid->item(rowOf(w, QStringLiteral("Last Name")), 1)->text(), QStringLiteral("LNAME"));
        EXPECT_EQ(w->MatchGrid->item(rowOf(w, QStringLiteral("City")), 1)->text(), QStringLiteral("CITY"));
        const int first = rowOf(w, QStringLiteral("First Name"));
        ASSERT_GE(first, 0);
        EXPECT_EQ(w->MatchGrid->item(first, 1)->text(), QString());
        chooseThroughMenu(w, first, QStringLiteral("NICK"));
        EXPECT_EQ(w->MatchGrid->item(first, 1)->text(), QStringLiteral("NICK"));
        QTest::mouseClick(w->OkButton, Qt::LeftButton);
    });
    QTest::mouseClick(window.MatchButton, Qt::LeftButton);
    ASSERT_TRUE(window.ImportButton->isEnabled());

    QTest::mouseClick(window.ImportButton, Qt::LeftButton);
    EXPECT_EQ(boxes.texts, QStringList{QStringLiteral("Import complete. Imported 2 records.")});
    ASSERT_TRUE(table.setOrderTag(QString()).ok);
    EXPECT_EQ(rows(table, {QStringLiteral("LNAME"), QStringLiteral("FNAME"), QStringLiteral("CITY"), QStringLiteral("MEMO")}),
              (QStringList{QStringLiteral("Lee|Al|Oslo|likes tea"), QStringLiteral("Ek|Bo|Lund|")}));
    EXPECT_TRUE(table.CheckValidIndex());
}

TEST(DBFImportWindow, CancelledFirstMatchKeepsNothingAndTheOpenFileIsRefused)
{
    TempDir dir;
    TAddressTable table;
    ASSERT_TRUE(openEmpty(dir, table));
    const QString source = makeSource(dir);
    ASSERT_FALSE(source.isEmpty());
    Boxes boxes;
    TDBFImport window(table);
    const QString itself = table.path();
    window.setFileChooser([itself] { return itself; });
    QTest::mouseClick(window.SelectButton, Qt::LeftButton);
    EXPECT_EQ(boxes.texts, QStringList{QStringLiteral("Cannot import a file to itself")});
    EXPECT_EQ(window.FileNameLabel->text(), QStringLiteral("(none)"));
    EXPECT_FALSE(window.MatchButton->isEnabled());

    window.setFileChooser([source] { return source; });
    QTest::mouseClick(window.SelectButton, Qt::LeftButton);
    QObject::connect(&window, &TDBFImport::matchWindowShown, &window,
                     [](TDBFMatch *w) { QTest::mouseClick(w->CancelButton, Qt::LeftButton); });
    QTest::mouseClick(window.MatchButton, Qt::LeftButton);
    EXPECT_FALSE(window.ImportButton->isEnabled());
    EXPECT_FALSE(window.source().hasMatch());
}

} // namespace
