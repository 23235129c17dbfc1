// The filter window: what it hands to the filter logic when the user types and clicks, what it
// shows back, and when it closes.
#include "TAddressQueryForm.h"

#include "TMessages.h"

#include "Table.h"
#include "TempDir.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <vector>

namespace {

using C = TFilterCriteria;

// A tester that records what it was handed and answers as told.
struct FakeTester {
    qint64 count = 0;
    bool drop = false;
    QString message;
    std::vector<TFilterCriteria> handed;

    TAddressQueryForm::Tester tester()
    {
        return [this](TFilterCriteria &c) {
            handed.push_back(c);
            TFilterOutcome o;
            o.message = message;
            if (drop) {
                c.ClearQueryVars();
                o.dropped = true;
                return o;
            }
            o.count = c.isSet() ? count : 0;
            return o;
        };
    }
};

// Answers every message box with Ok and keeps what was shown.
class Boxes
{
public:
    Boxes()
    {
        m_previous = TMessages::setAnswerer([this](const TMessageRequest &r) {
            shown.push_back(r);
            return QMessageBox::Ok;
        });
    }
    ~Boxes() { TMessages::setAnswerer(m_previous); }
    std::vector<TMessageRequest> shown;

private:
    TMessages::Answerer m_previous;
};

TEST(AddressQueryForm, StartsWithTheCriteriaAndItsTexts)
{
    TFilterCriteria c;
    c.setText(C::qZip, QStringLiteral("9^94"));
    c.setText(C::quser2, QStringLiteral("$x"));
    c.setTagged(true);
    QStringList labels(C::kCount);
    labels[C::quser1] = QStringLiteral("Birthday");
    TAddressQueryForm form(c, {}, labels);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Address Filter"));
    EXPECT_EQ(form.boxCriteria(), c);
    EXPECT_EQ(form.qZip->text(), QStringLiteral("9^94"));
    EXPECT_TRUE(form.qTagged->isChecked());
    EXPECT_FALSE(form.qReverse->isChecked());
    EXPECT_EQ(form.boxLabel(C::quser1)->text(), QStringLiteral("Birthday"));
    EXPECT_EQ(form.boxLabel(C::quser2)->text(), QStringLiteral("User 2"));
    EXPECT_EQ(form.boxLabel(C::qLName)->text(), QStringLiteral("Last"));
    EXPECT_EQ(form.qstreet2->objectName(), QStringLiteral("qstreet2"));
    EXPECT_EQ(form.qTagged->text(), QStringLiteral("Tagged"));
    EXPECT_EQ(form.qReverse->text(), QStringLiteral("Reverse"));
    EXPECT_EQ(form.qDate->toolTip(),
              QStringLiteral("Note: enter dates in the form: YYYYMMDD\n(i.e. 19970428 for April 28, 1997)"));
    EXPECT_EQ(
        form.HintLabel->text(),
        QStringLiteral("Hint: to look for only part of a value, first type in a $ and then the value to look "
                       "for. As an example, to find all records containing the code letter C in the Codes "
                       "field, type in $C. Right click on any field or press HELP for more helpful tips"));
    for (QPushButton *b :
         {form.TestButton, form.ClearButton, form.OkButton, form.CancelButton, form.HelpButton})
        EXPECT_FALSE(b->text().isEmpty());
    EXPECT_EQ(form.TestButton->text(), QStringLiteral("Test"));
}

TEST(AddressQueryForm, TestHandsTheBoxesToTheFilterAndShowsTheCount)
{
    FakeTester fake;
    fake.count = 12;
    TAddressQueryForm form(TFilterCriteria(), fake.tester());
    form.show();
    QTest::keyClicks(form.qLName, QStringLiteral("smith;jones"));
    QTest::keyClicks(form.qCity, QStringLiteral(" san "));
    QTest::mouseClick(form.qReverse, Qt::LeftButton, {}, QPoint(4, form.qReverse->height() / 2));
    QTest::mouseClick(form.TestButton, Qt::LeftButton);
    ASSERT_EQ(fake.handed.size(), 1u);
    TFilterCriteria expected;
    expected.setText(C::qLName, QStringLiteral("smith;jones"));
    expected.setText(C::qCity, QStringLiteral(" san "));
    expected.setReverse(true);
    EXPECT_EQ(fake.handed[0], expected);
    EXPECT_EQ(form.ResultLabel->text(), QStringLiteral("12 matches"));
    EXPECT_TRUE(form.isVisible());
}

TEST(AddressQueryForm, DroppedFilterShowsNoFilterSetAndOkCloses)
{
    FakeTester fake;
    fake.drop = true;
    TAddressQueryForm form(TFilterCriteria(), fake.tester());
    form.show();
    QTest::keyClicks(form.qLName, QStringLiteral("nobody"));
    QTest::mouseClick(form.TestButton, Qt::LeftButton);
    EXPECT_EQ(form.ResultLabel->text(), QStringLiteral("No filter set"));
    // The boxes keep what was typed.
    EXPECT_EQ(form.qLName->text(), QStringLiteral("nobody"));
    QTest::mouseClick(form.OkButton, Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.beepCount(), 0);
}

TEST(AddressQueryForm, OkBeepsWhileASetFilterMatchesNothing)
{
    FakeTester fake; // count 0 without dropping
    TAddressQueryForm form(TFilterCriteria(), fake.tester());
    form.show();
    QTest::keyClicks(form.qCodes, QStringLiteral("$z"));
    QTest::mouseClick(form.OkButton, Qt::LeftButton);
    EXPECT_EQ(form.ResultLabel->text(), QStringLiteral("0 matches"));
    EXPECT_EQ(form.beepCount(), 1);
    EXPECT_TRUE(form.isVisible());

    fake.count = 3;
    QTest::mouseClick(form.OkButton, Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_FALSE(form.isVisible());
}

TEST(AddressQueryForm, ClearEmptiesEveryBoxAndBothFlagsThenTests)
{
    FakeTester fake;
    TFilterCriteria c;
    for (int i = 0; i < C::kCount; ++i)
        c.setText(i, QStringLiteral("x"));
    c.setTagged(true);
    c.setReverse(true);
    TAddressQueryForm form(c, fake.tester());
    form.show();
    QTest::mouseClick(form.ClearButton, Qt::LeftButton);
    EXPECT_EQ(form.boxCriteria(), TFilterCriteria());
    ASSERT_EQ(fake.handed.size(), 1u);
    EXPECT_EQ(fake.handed[0], TFilterCriteria());
    EXPECT_EQ(form.ResultLabel->text(), QStringLiteral("No filter set"));
}

TEST(AddressQueryForm, MessagesOfTheFilterAreShown)
{
    Boxes boxes;
    FakeTester fake;
    fake.drop = true;
    fake.message = QStringLiteral("Sorry - filter is too complex.Please simplify it.");
    TAddressQueryForm form(TFilterCriteria(), fake.tester());
    form.qLName->setText(QStringLiteral("a"));
    form.TestButtonClick();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, QStringLiteral("Information"));
    EXPECT_EQ(boxes.shown[0].text, fake.message);
    EXPECT_EQ(form.ResultLabel->text(), QStringLiteral("No filter set"));
}

TEST(AddressQueryForm, DateFormatShowsWhileTheDateBoxHasTheFocus)
{
    TAddressQueryForm form(TFilterCriteria(), {});
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.qLName->setFocus();
    EXPECT_FALSE(form.DateFormatLabel->isVisible());
    form.qDate->setFocus();
    EXPECT_TRUE(form.DateFormatLabel->isVisible());
    EXPECT_EQ(form.DateFormatLabel->text(), QStringLiteral("(YYYYMMDD)"));
    form.qCodes->setFocus();
    EXPECT_FALSE(form.DateFormatLabel->isVisible());
}

TEST(AddressQueryForm, HelpButtonAndF1AskForTopic1033)
{
    TAddressQueryForm form(TFilterCriteria(), {});
    QSignalSpy spy(&form, &TAddressQueryForm::helpRequested);
    form.show();
    QTest::mouseClick(form.HelpButton, Qt::LeftButton);
    QTest::keyClick(&form, Qt::Key_F1);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 1033);
    EXPECT_EQ(spy.at(1).at(0).toInt(), 1033);
}

// Clicks `button` of the modal filter window once it is up.
void clickInModal(QPushButton *TAddressQueryForm::*button, const QString &lastName)
{
    QTimer::singleShot(0, [=] {
        auto *form = qobject_cast<TAddressQueryForm *>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        form->qLName->setText(lastName);
        QTest::mouseClick(form->*button, Qt::LeftButton);
    });
}

TEST(AddressQueryForm, EditTakesTheBoxesAfterOkAndKeepsTheCriteriaAfterCancel)
{
    FakeTester fake;
    fake.count = 5;
    TFilterCriteria c;
    c.setText(C::qState, QStringLiteral("ca"));

    clickInModal(&TAddressQueryForm::CancelButton, QStringLiteral("jones"));
    EXPECT_FALSE(TAddressQueryForm::edit(c, fake.tester()));
    EXPECT_EQ(c.text(C::qLName), QString());
    EXPECT_EQ(c.text(C::qState), QStringLiteral("ca"));

    clickInModal(&TAddressQueryForm::OkButton, QStringLiteral("smith"));
    EXPECT_TRUE(TAddressQueryForm::edit(c, fake.tester()));
    EXPECT_EQ(c.text(C::qLName), QStringLiteral("smith"));
    EXPECT_EQ(c.text(C::qState), QStringLiteral("ca"));
}

// The window on the real filter logic and the address fixture.
TEST(AddressQueryForm, TestCountsTheFixtureRecords)
{
    TempDir dir;
    for (const char *ext : {".DBF", ".FPT", ".CDX"}) {
        const QString to = QString::fromStdString(dir.file(std::string("ADD0001") + ext));
        QFile::copy(QStringLiteral(CORVANTIS_SHARED_DIR "/fixtures/xbase/ADD0001") + QLatin1String(ext), to);
        QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner);
    }
    xbase::Table table;
    ASSERT_TRUE(table.open(dir.file("ADD0001.DBF"), xbase::OpenMode::Exclusive).ok());
    TEngineFilterTarget target(table);
    TAddressQueryForm form(TFilterCriteria(), [&](TFilterCriteria &c) {
        const TFilterOutcome o = TRecordQuery::apply(c, QStringLiteral("T5703FX"), target);
        EXPECT_TRUE(table.goTop().ok());
        return o;
    });
    form.show();
    QTest::keyClicks(form.qLName, QStringLiteral("Smith"));
    QTest::mouseClick(form.TestButton, Qt::LeftButton);
    EXPECT_EQ(form.ResultLabel->text(), QStringLiteral("12 matches"));
    EXPECT_EQ(table.queryText(), "UPPER(LNAME)=\"SMITH\".and. !ISDEL");

    form.qLName->clear();
    QTest::mouseClick(form.qTagged, Qt::LeftButton, {}, QPoint(4, form.qTagged->height() / 2));
    QTest::mouseClick(form.TestButton, Qt::LeftButton);
    EXPECT_EQ(form.ResultLabel->text(), QStringLiteral("14 matches"));
}

} // namespace
