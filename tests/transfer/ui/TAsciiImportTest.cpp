#include "TAsciiImport.h"

#include "ImportWindowDriver.h"
#include "TAsciiMatch.h"
#include "TestFiles.h"
#include "../TransferFixture.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(AsciiImportWindow, SelectMatchByMenuImport)
{
    TempDir dir;
    TAddressTable table;
    ASSERT_TRUE(openEmpty(dir, table));
    const QString csv = QString::fromStdString(dir.file("in.csv"));
    ASSERT_TRUE(writeBytes(csv, "O\"Neil,Pat,Boston\r\n\r\n\"Lee, Ann\",Al,Paris\r\n"));
    Boxes boxes;
    TAsciiImport window(table);
    window.setFileChooser([] { return QString(); });
    QTest::mouseClick(window.SelectButton, Qt::LeftButton);
    EXPECT_EQ(window.FileNameLabel->text(), QStringLiteral("(none)"));
    EXPECT_FALSE(window.MatchButton->isEnabled());

    window.setFileChooser([csv] { return csv; });
    QTest::mouseClick(window.SelectButton, Qt::LeftButton);
    EXPECT_TRUE(window.MatchButton->isEnabled());
    EXPECT_FALSE(window.ImportButton->isEnabled());

    QObject::connect(&window, &TAsciiImport::matchWindowShown, &window, [](TAsciiMatch *w) {
        EXPECT_EQ(w->SampleGrid->item(0, 0)->text(), QStringLiteral("O\"Neil"));
        EXPECT_EQ(w->SampleGrid->item(1, 0)->text(), QStringLiteral("Lee, Ann"));
        chooseThroughMenu(w, 0, QStringLiteral("Field 1"));              // Last Name
        chooseThroughMenu(w, 1, QStringLiteral("Field 2"));              // First Name
        chooseThroughMenu(w, 2, QStringLiteral("Field 1"));              // moves Field 1 from row 0
        EXPECT_EQ(w->MatchGrid->item(0, 1)->text(), QString());
        chooseThroughMenu(w, 0, QStringLiteral("Field 1"));
        EXPECT_EQ(w->MatchGrid->item(2, 1)->text(), QString());
        QTest::mouseClick(w->OkButton, Qt::LeftButton);
    });
    QTest::mouseClick(window.MatchButton, Qt::LeftButton);
    ASSERT_TRUE(window.ImportButton->isEnabled());

    QTest::mouseClick(window.ImportButton, Qt::LeftButton);
    EXPECT_EQ(boxes.texts, QStringList{QStringLiteral("Import complete. Imported 2 records.")});
    ASSERT_TRUE(table.setOrderTag(QString()).ok);
    EXPECT_EQ(rows(table, {QStringLiteral("LNAME"), QStringLiteral("FNAME")}),
              (QStringList{QStringLiteral("O\"Neil|Pat"), QStringLiteral("Lee, Ann|Al")}));
    EXPECT_TRUE(table.CheckValidIndex());
}

TEST(AsciiImportWindow, OneLineFileIsRefusedAndVCardNeedsNoMatching)
{
    TempDir dir;
    TAddressTable table;
    ASSERT_TRUE(openEmpty(dir, table));
    const QString one = QString::fromStdString(dir.file("one.csv"));
    ASSERT_TRUE(writeBytes(one, "a,b\n"));
    const QString vcf = QString::fromStdString(dir.file("cards.vcf"));
    ASSERT_TRUE(writeBytes(vcf, "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Ek;Bo;;;\r\nEND:VCARD\r\n"));
    Boxes boxes;
    TAsciiImport window(table);
    window.setFileChooser([one] { return one; });
    QTest::mouseClick(window.SelectButton, Qt::LeftButton);
    EXPECT_EQ(boxes.texts, QStringList{QStringLiteral("Unable to import from this file")});
    EXPECT_FALSE(window.MatchButton->isEnabled());
    window.setFileChooser([vcf] { return vcf; });
    QTest::mouseClick(window.SelectButton, Qt::LeftButton);
    EXPECT_FALSE(window.MatchButton->isEnabled());
    ASSERT_TRUE(window.ImportButton->isEnabled());
    QTest::mouseClick(window.ImportButton, Qt::LeftButton);
    EXPECT_EQ(boxes.texts.last(), QStringLiteral("Import complete. Imported 1 records."));
    ASSERT_TRUE(table.first().ok);
    EXPECT_EQ(table.value(QStringLiteral("LNAME")), QStringLiteral("Ek"));
}

} // namespace
