// The "Specify Field Lengths" window: boxes checked on leaving, defaults, and what "Ok" keeps
// for the one new file or writes for all of them.
#include "TFieldLengthForm.h"
#include "TFieldLengths.h"
#include "TIniFile.h"

#include "TempDir.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct BoxCase {
    const char *text;
    int expected;
};
class FieldLengthBox : public ::testing::TestWithParam<BoxCase>
{
};

TEST_P(FieldLengthBox, TakesWholeNumbersFromTenToEightyElseTheStartingValue)
{
    EXPECT_EQ(TFieldLengthForm::accepted(QLatin1String(GetParam().text), 33), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FieldLengthBox,
                         ::testing::Values(BoxCase{"10", 10}, BoxCase{"80", 80}, BoxCase{" 25 ", 25},
                                           BoxCase{"9", 33}, BoxCase{"81", 33}, BoxCase{"5", 33},
                                           BoxCase{"", 33}, BoxCase{"1a", 33}, BoxCase{"-20", 33},
                                           BoxCase{"2.5", 33}));

class FieldLengthForm : public ::testing::Test
{
protected:
    QString settings() const { return QString::fromStdString(dir.file("CORVAN.ini")); }
    TempDir dir;
};

TEST_F(FieldLengthForm, LeavingABoxWithAValueOutOfRangePutsItsStartingValueBack)
{
    TIniFile ini(settings());
    TFieldLengths lengths;
    lengths.setLength(TFieldLengths::indexOf(QStringLiteral("ZIP")), 12);
    TFieldLengthForm form(lengths, ini);
    QLineEdit *zip = form.box(QStringLiteral("ZIP"));
    ASSERT_NE(zip, nullptr);
    EXPECT_EQ(zip->text(), QStringLiteral("12"));
    EXPECT_EQ(form.box(QStringLiteral("FAX"))->text(), QStringLiteral("40"));
    zip->setText(QStringLiteral("5"));
    emit zip->editingFinished();
    EXPECT_EQ(zip->text(), QStringLiteral("12"));
    zip->setText(QStringLiteral("15"));
    emit zip->editingFinished();
    EXPECT_EQ(zip->text(), QStringLiteral("15"));
}

TEST_F(FieldLengthForm, OkKeepsTheValuesForThisFileOnlyUnlessAskedToKeepThemForAll)
{
    {
        TIniFile ini(settings());
        TFieldLengthForm form(TFieldLengths(), ini);
        QTest::mouseClick(form.DefaultsButton, Qt::LeftButton);
        // The window's own default for the fax is 30.
        EXPECT_EQ(form.box(QStringLiteral("FAX"))->text(), QStringLiteral("30"));
        EXPECT_EQ(form.box(QStringLiteral("PREFIX"))->text(), QStringLiteral("12"));
        form.box(QStringLiteral("CITY"))->setText(QStringLiteral("22"));
        form.box(QStringLiteral("STATE"))->setText(QStringLiteral("99")); // not taken: starting value
        QTest::mouseClick(form.OkButton, Qt::LeftButton);
        EXPECT_EQ(form.result(), QDialog::Accepted);
        EXPECT_EQ(form.lengths().length(QStringLiteral("FAX")), 30);
        EXPECT_EQ(form.lengths().length(QStringLiteral("CITY")), 22);
        EXPECT_EQ(form.lengths().length(QStringLiteral("STATE")), 20);
        EXPECT_FALSE(QFile::exists(settings()));
    }
    {
        TIniFile ini(settings());
        TFieldLengthForm form(TFieldLengths(), ini);
        form.box(QStringLiteral("CITY"))->setText(QStringLiteral("22"));
        form.UseForAllCheck->setChecked(true);
        QTest::mouseClick(form.OkButton, Qt::LeftButton);
        EXPECT_EQ(TFieldLengths::load(ini).length(QStringLiteral("CITY")), 22);
        EXPECT_EQ(ini.readInteger(QStringLiteral("NewFileFieldLengths"), QStringLiteral("FieldFAX"), 0), 40);
    }
    {
        TIniFile ini(settings());
        TFieldLengthForm form(TFieldLengths(), ini);
        form.box(QStringLiteral("CITY"))->setText(QStringLiteral("44"));
        form.UseForAllCheck->setChecked(true);
        QTest::mouseClick(form.CancelButton, Qt::LeftButton);
        EXPECT_EQ(form.result(), QDialog::Rejected);
        EXPECT_EQ(TFieldLengths::load(ini).length(QStringLiteral("CITY")), 22);
    }
}

} // namespace
