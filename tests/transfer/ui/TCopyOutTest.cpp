#include "TCopyOut.h"

#include "TMessages.h"
#include "TestFiles.h"
#include "../TransferFixture.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct Boxes {
    Boxes()
    {
        TMessages::setAnswerer([this](const TMessageRequest &r) {
            texts << r.caption + QLatin1Char('|') + r.text;
            defaults << r.defaultButton;
            return answer;
        });
    }
    ~Boxes() { TMessages::setAnswerer({}); }
    QStringList texts;
    QList<QMessageBox::StandardButton> defaults;
    QMessageBox::StandardButton answer = QMessageBox::No;
};

TEST(CopyOutWindow, RefusalsOverwriteQuestionAndTheTextCopy)
{
    TempDir dir;
    TAddressTable table;
    ASSERT_TRUE(openEmpty(dir, table, {{{"LNAME", QStringLiteral("Lee")}}, {{"LNAME", QStringLiteral("Ek")}}}));
    const QString txt = QString::fromStdString(dir.file("out.txt"));
    Boxes boxes;
    {
        TCopyOut window(table, QString::fromStdString(dir.path()));
        window.setFileChooser([txt] { return txt; });
        QTest::mouseClick(window.SaveAsButton, Qt::LeftButton); // DBF chosen, .txt name
        EXPECT_EQ(boxes.texts.last(), QStringLiteral("Information|Must have a .DBF extension"));
        window.setFileChooser([&table] { return table.path().toLower(); });
        QTest::mouseClick(window.SaveAsButton, Qt::LeftButton);
        EXPECT_EQ(boxes.texts.last(), QStringLiteral("Information|Cannot copy a file to itself!"));
        EXPECT_FALSE(QFileInfo::exists(txt));
    }
    ASSERT_TRUE(writeBytes(txt, "old"));
    {
        TCopyOut window(table, QString::fromStdString(dir.path()));
        window.setFileChooser([txt] { return txt; });
        QTest::mouseClick(window.AsciiChoice, Qt::LeftButton);
        ASSERT_TRUE(window.AsciiChoice->isChecked());
        QTest::mouseClick(window.SaveAsButton, Qt::LeftButton); // answered No
        EXPECT_EQ(boxes.texts.last(), QStringLiteral("Warning!|") + txt +
                                          QStringLiteral(" already exists.\r\nDo you want to overwrite it?"));
        EXPECT_EQ(boxes.defaults.last(), QMessageBox::No);
        EXPECT_EQ(readBytes(txt), QByteArray("old"));
        boxes.answer = QMessageBox::Yes;
        QTest::mouseClick(window.SaveAsButton, Qt::LeftButton);
        EXPECT_EQ(window.result(), QDialog::Accepted);
        EXPECT_EQ(window.outcome().copied, 2);
    }
    EXPECT_EQ(readBytes(txt).count("\r\n"), 2);
    EXPECT_TRUE(readBytes(txt).contains("\"Lee\""));
}

} // namespace
