// The "Preferences" window: loads every "Adding" key, "Ok" writes them all, "Cancel" nothing.
#include "TPreferencesForm.h"
#include "TAddingPrefs.h"
#include "TIniFile.h"

#include "TempDir.h"
#include "TestFiles.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(PreferencesForm, ShowsTheStoredKeysAndOkWritesEveryOne)
{
    TempDir dir;
    TIniFile ini(QString::fromStdString(dir.file("CORVAN.ini")));
    ini.writeString(QStringLiteral("Adding"), QStringLiteral("PlugDate"), QStringLiteral("2"));
    ini.writeString(QStringLiteral("Adding"), QStringLiteral("SkipFax"), QStringLiteral("yes"));
    ini.writeBool(QStringLiteral("Adding"), QStringLiteral("CarryZip"), true);
    ini.writeString(QStringLiteral("Adding"), QStringLiteral("DefaultCountry"), QStringLiteral("Canada"));

    TPreferencesForm form(ini);
    EXPECT_TRUE(form.box(QStringLiteral("PlugDate"))->isChecked());
    EXPECT_FALSE(form.box(QStringLiteral("SkipFax"))->isChecked()); // "yes" is not a number
    EXPECT_TRUE(form.box(QStringLiteral("CarryZip"))->isChecked());
    EXPECT_EQ(form.box(QStringLiteral("Skiptitle"))->text(), QStringLiteral("Title"));
    EXPECT_EQ(form.DefaultCountryEdit->text(), QStringLiteral("Canada"));
    EXPECT_EQ(form.DefaultCountryEdit->maxLength(), 30);

    form.box(QStringLiteral("AutoDupCheck"))->setChecked(true);
    form.box(QStringLiteral("PlugDate"))->setChecked(false);
    form.DefaultCountryEdit->setText(QStringLiteral("USA"));
    QTest::mouseClick(form.OkButton, Qt::LeftButton);
    const TAddingPrefs prefs = TAddingPrefs::load(ini);
    EXPECT_TRUE(prefs.AutoDupCheck);
    EXPECT_FALSE(prefs.PlugDate);
    EXPECT_TRUE(prefs.CarryZip);
    EXPECT_EQ(prefs.DefaultCountry, QStringLiteral("USA"));
    EXPECT_EQ(ini.readString(QStringLiteral("Adding"), QStringLiteral("SkipFax")), QStringLiteral("0"));
    EXPECT_EQ(ini.keys(QStringLiteral("Adding")).size(), 29);
}

TEST(PreferencesForm, CancelWritesNothing)
{
    TempDir dir;
    const QString path = QString::fromStdString(dir.file("CORVAN.ini"));
    TIniFile ini(path);
    ini.writeString(QStringLiteral("Adding"), QStringLiteral("PlugDate"), QStringLiteral("2"));
    const QByteArray before = readBytes(path);
    TPreferencesForm form(ini);
    form.box(QStringLiteral("PlugDate"))->setChecked(false);
    QTest::mouseClick(form.CancelButton, Qt::LeftButton);
    EXPECT_EQ(readBytes(path), before);
}

} // namespace
