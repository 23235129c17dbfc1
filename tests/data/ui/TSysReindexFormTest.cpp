// The "Rebuild System Indexes" window: its texts, and a run over a program folder's tables.
#include "TSysReindexForm.h"

#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString programWithTables(const TempDir &dir)
{
    const QString program = QString::fromStdString(dir.path()) + QLatin1Char('/');
    const QString sys = program + QStringLiteral("sysdata/");
    QDir().mkpath(sys);
    // The four tables another engine made, and the two the build made (only those: the build
    // folder's sysdata/ may hold tables a run of the program created).
    const QString fixtures = QStringLiteral(CORVANTIS_SHARED_DIR "/fixtures/xbase/sysdata/");
    const QString built = QStringLiteral(CORVANTIS_BINARY_DIR "/sysdata/");
    QStringList files;
    for (const QString &name : QDir(fixtures).entryList(
             {QStringLiteral("*.DBF"), QStringLiteral("*.CDX"), QStringLiteral("*.FPT")}, QDir::Files))
        files << fixtures + name;
    for (const char *name : {"LBLTPL.DBF", "LBLTPL.CDX", "CSZ.DBF", "CSZ.CDX"})
        files << built + QLatin1String(name);
    for (const QString &file : files) {
        const QString to = sys + QFileInfo(file).fileName();
        QFile::copy(file, to);
        QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner);
    }
    return program;
}

TEST(SysReindexForm, Texts)
{
    TSysReindexForm form(QStringLiteral("/nonexistent/"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Rebuild System Indexes"));
    EXPECT_EQ(form.ReindexButton->text(), QStringLiteral("Reindex"));
    EXPECT_EQ(form.CancelButton->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(form.HelpButton->text(), QStringLiteral("Help"));
    form.show();
    EXPECT_FALSE(form.ProgressBar->isVisible());
}

TEST(SysReindexForm, ReindexShowsEachTableInOrderWithItsProgressAndCloses)
{
    TempDir dir;
    const QString program = programWithTables(dir);
    TSysReindexForm form(program);
    form.show();
    QTest::mouseClick(form.ReindexButton, Qt::LeftButton);

    EXPECT_EQ(form.shownTexts(), QStringList({QStringLiteral("Rebuilding Letters File indexes"),
                                              QStringLiteral("Rebuilding Label File indexes"),
                                              QStringLiteral("Rebuilding State/Province File indexes"),
                                              QStringLiteral("Rebuilding Label Setup File indexes"),
                                              QStringLiteral("Rebuilding Envelope File indexes"),
                                              QStringLiteral("Rebuilding Report File indexes")}));
    ASSERT_FALSE(form.shownPositions().isEmpty());
    EXPECT_EQ(form.shownPositions().last(), 100);
    EXPECT_EQ(form.report().rebuilt.size(), 6);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.ReindexButton->isVisible());
    EXPECT_EQ(form.ProgressBar->value(), form.ProgressBar->minimum() - 1); // reset

    // The LABEL row that bore the delete mark is gone.
    xbase::Table label;
    ASSERT_TRUE(label
                    .open(QString(program + QStringLiteral("sysdata/LABEL.DBF")).toStdString(),
                          xbase::OpenMode::ReadOnly)
                    .ok());
    EXPECT_EQ(label.recordCount(), 5u);
}

TEST(SysReindexForm, CancelClosesWithoutWorkAndHelpAsksForTopic1039)
{
    TempDir dir;
    const QString program = programWithTables(dir);
    const QString labelCdx = program + QStringLiteral("sysdata/LABEL.CDX");
    QFile before(labelCdx);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray bytes = before.readAll();

    TSysReindexForm form(program);
    QSignalSpy help(&form, &TSysReindexForm::helpRequested);
    form.show();
    QTest::mouseClick(form.HelpButton, Qt::LeftButton);
    QTest::keyClick(&form, Qt::Key_F1);
    ASSERT_EQ(help.count(), 2);
    EXPECT_EQ(help.at(0).at(0).toInt(), 1039);
    QTest::mouseClick(form.CancelButton, Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_TRUE(form.shownTexts().isEmpty());
    QFile after(labelCdx);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), bytes);
}

} // namespace
