// "Copy Record To Clipboard": Ok puts the chosen text on the clipboard and says so, also when
// the text is empty or had to be cut.
#include "TCopyToClipBoard.h"
#include "QtPrinters.h"
#include "TCurrentRecordFixtures.h"
#include "TCurrentRecordText.h"
#include "TMessages.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QTest>

namespace {

struct OkCase {
    const char *name;
    uint32_t recno;
    bool onlyCodes;
    const char *street; // replaces STREET when set
    const char *expectedStart;
    qsizetype expectedLength;
    bool saysCut;
};

class CopyToClipboard : public ::testing::TestWithParam<OkCase>
{
};

} // namespace

TEST_P(CopyToClipboard, OkPutsTheTextOnTheClipboardAndReports)
{
    const OkCase c = GetParam();
    TCurrentRecordValues record = fixtureRecord(c.recno);
    if (c.street)
        record.fields.insert(QStringLiteral("STREET"), QString::fromUtf8(c.street).repeated(300));
    std::vector<TMessageRequest> shown;
    const auto previous = TMessages::setAnswerer([&shown](const TMessageRequest &r) {
        shown.push_back(r);
        return QMessageBox::Ok;
    });
    QGuiApplication::clipboard()->setText(QStringLiteral("left over"));
    TCopyToClipBoard window(record);
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Copy Record To Clipboard"));
    if (c.onlyCodes)
        for (QCheckBox *check :
             {window.NameCheck, window.AddressCheck, window.PhoneCheck, window.CommentsCheck})
            check->click();
    QTest::mouseClick(window.OkButton, Qt::LeftButton);
    TMessages::setAnswerer(previous);

    const QString text = QGuiApplication::clipboard()->text();
    const QString start = QString::fromUtf8(c.expectedStart);
    EXPECT_EQ(text.left(start.size()), start) << c.name;
    EXPECT_EQ(text.size(), c.expectedLength) << c.name;
    ASSERT_EQ(shown.size(), 1u) << c.name;
    EXPECT_EQ(shown[0].caption, QStringLiteral("Information"));
    EXPECT_TRUE(shown[0].text.startsWith(QStringLiteral("Record copied to Windows Clipboard"))) << c.name;
    EXPECT_EQ(shown[0].text.contains(QStringLiteral("1000")), c.saysCut) << c.name;
    EXPECT_FALSE(window.isVisible());
}

INSTANTIATE_TEST_SUITE_P(Cases, CopyToClipboard,
                         ::testing::Values(OkCase{"all blocks", 1, false, nullptr,
                                                  "Mr. John Q. Smith \r\n7388 Congress Ave\r\n", 118, false},
                                           OkCase{"codes only, empty", 3, true, nullptr, "", 0, false},
                                           OkCase{"too long", 1, false, "Long Street ",
                                                  "Mr. John Q. Smith \r\nLong Street Long", 1000, true}));
