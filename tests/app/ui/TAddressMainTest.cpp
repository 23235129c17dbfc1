// The main window driven offscreen: start-up in an empty program folder, opening files with
// their messages, the rebuild question and window, the recent-file list, the sort orders over
// the other engine's fixtures, moves and beeps, new files, and closing during an edit.
#include "TAddressMain.h"
#include "TAddressBrowseForm.h"
#include "TAddressQueryForm.h"
#include "TAddressTable.h"
#include "TCVDialer.h"
#include "TCVEnvelopes.h"
#include "TCVReindex.h"
#include "TContextHelp.h"
#include "TCopyToClipBoard.h"
#include "TCountZipCodes.h"
#include "TCurrentRecordText.h"
#include "TCurrentRecordValues.h"
#include "TDateText.h"
#include "TDupCheck.h"
#include "TFieldLengthForm.h"
#include "TGettingStarted.h"
#include "THelpTopics.h"
#include "THelpWindow.h"
#include "TIniFile.h"
#include "TLabelSetupScreen.h"
#include "TMessages.h"
#include "TNewDatabaseForm.h"
#include "TNewRecordForm.h"
#include "TPdfPrinterService.h"
#include "TPreferencesForm.h"
#include "TPrintCurrentRecord.h"
#include "TPrintStatusForm.h"
#include "TPrinterCalibrationForm.h"
#include "TRecentFiles.h"
#include "TRecordEditCommands.h"
#include "TReportSetup.h"
#include "TSearchAndReplace.h"
#include "TSearchForm.h"
#include "TSelectDateForm.h"
#include "TSysReindexForm.h"
#include "TSystemTables.h"
#include "TTagAllRecords.h"
#include "TWhatsThis.h"
#include "TWindowPlacement.h"
#include "TWindowPlacer.h"
#include "TcVLetters.h"

#include "AddressFixture.h"
#include "DbTool.h"
#include "QtPrinters.h"
#include "TempDir.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedLayout>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>

#include "TAsciiImport.h"
#include "TCopyOut.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

namespace {

// Runs `act` on the first visible top-level window of type W once it shows (inside the modal
// loop of exec()).
template <typename W> void whenShown(std::function<void(W *)> act)
{
    auto *timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *found = qobject_cast<W *>(w);
            if (found && found->isVisible()) {
                timer->stop();
                timer->deleteLater();
                act(found);
                return;
            }
        }
    });
    timer->start();
}

class MainWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TMessages::setAnswerer([this](const TMessageRequest &request) {
            boxes.append(request.text);
            captions.append(request.caption);
            if (!answers.isEmpty())
                return answers.takeFirst();
            return request.buttons.testFlag(QMessageBox::Ok) ? QMessageBox::Ok : QMessageBox::No;
        });
    }
    void TearDown() override { TMessages::setAnswerer({}); }

    QString folder() const { return QString::fromStdString(dir.path()) + QLatin1Char('/'); }
    QString settings() const { return folder() + QStringLiteral("CORVAN.ini"); }
    QString data() const { return folder() + QStringLiteral("DATA"); }
    // Skips the Getting Started window at start-up.
    void quietStart()
    {
        TIniFile ini(settings());
        ini.writeBool(QStringLiteral("Misc"), QStringLiteral("GettingStarted"), true);
    }
    QString copyFixture(const char *name) { return fixture::copy(QLatin1String(name), data()); }
    void start()
    {
        window = std::make_unique<TAddressMain>(settings());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    bool showsEmptyState() const { return window->EmptyPanel->isVisible(); }
    QString box(const char *field) const { return window->fieldBox(QLatin1String(field))->text(); }

    TempDir dir;
    std::unique_ptr<TAddressMain> window;
    QStringList boxes;
    QStringList captions;
    QList<QMessageBox::StandardButton> answers;
};

QString unableToOpen(const QString &path)
{
    return QStringLiteral("Unable to open ") + path +
           QStringLiteral(
               "\r\n\r\n * May not be a Corvantis file.\r\n * May be in use by another program or user");
}

TEST_F(MainWindow, FirstStartCreatesTheFirstAddressFileOpensItAndOffersGettingStarted)
{
    start();
    const QString path = data() + QStringLiteral("/add0001.DBF");
    ASSERT_TRUE(QFileInfo::exists(path));
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(window->TableCVW->isOpen());
    EXPECT_TRUE(window->isTagValid());
    EXPECT_FALSE(showsEmptyState());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Corvantis - ") + path);
    EXPECT_EQ(window->recentFiles(), QStringList{path});
    EXPECT_EQ(window->SortStatus->text(), QStringLiteral("Sorted by Last Name"));
    EXPECT_EQ(window->FilterStatus->text(), QStringLiteral("No records"));
    EXPECT_EQ(window->TableCVW->query(), QStringLiteral("!ISDEL"));
    EXPECT_EQ(window->fieldBox(QStringLiteral("LNAME"))->maxLength(), 30);
    {
        TIniFile ini(settings());
        EXPECT_EQ(TRecentFiles::load(ini), QStringList{path});
        // The tag identifier was made and written back.
        EXPECT_FALSE(ini.readString(QStringLiteral("Misc"), QStringLiteral("GlobalTagId")).isEmpty());
    }

    // Getting Started follows once start-up has finished; "Ok" stores its check box.
    TGettingStarted *welcome = nullptr;
    QTRY_VERIFY((welcome = window->findChild<TGettingStarted *>()) != nullptr && welcome->isVisible());
    EXPECT_EQ(TGettingStarted::helpTopic(QStringLiteral("technical support")), 1015);
    EXPECT_EQ(TGettingStarted::helpTopic(QStringLiteral("Delete")), 2099);
    // Its links lead to their help topics.
    emit welcome->TextView->anchorClicked(QUrl(QStringLiteral("topic:FIND")));
    EXPECT_TRUE(boxes.isEmpty());
    ASSERT_NE(TContextHelp::openWindow(), nullptr);
    EXPECT_EQ(TContextHelp::openWindow()->currentPage(), THelpTopics::topicUrl(1026));
    delete TContextHelp::openWindow();
    welcome->DontShowCheck->setChecked(true);
    QTest::mouseClick(welcome->OkButton, Qt::LeftButton);
    EXPECT_TRUE(
        TIniFile(settings()).readBool(QStringLiteral("Misc"), QStringLiteral("GettingStarted"), false));
    window.reset();

    // The file as the command-line tool and another reader see it: 23 fields, 26 tags, no record.
    std::ostringstream out, err;
    EXPECT_EQ(dbtool::run({"check", path.toStdString()}, out, err, false), 0) << out.str() << err.str();
    out.str({});
    ASSERT_EQ(dbtool::run({"info", path.toStdString()}, out, err, false), 0) << err.str();
    const QString info = QString::fromStdString(out.str());
    EXPECT_TRUE(info.contains(QLatin1String("Records: 0"))) << out.str();
    EXPECT_TRUE(info.contains(QLatin1String("Fields: 23"))) << out.str();
    EXPECT_TRUE(info.contains(QLatin1String("Tags: 26"))) << out.str();
    for (const char *tag : {"NAME", "STATEZIP", "NOTISDEL", "EMAIL"})
        EXPECT_TRUE(info.contains(QLatin1String(tag))) << tag << "\n" << out.str();
    if (QFileInfo::exists(QStringLiteral("/usr/bin/python3"))) {
        QProcess python;
        python.start(QStringLiteral("/usr/bin/python3"),
                     {QStringLiteral("-c"),
                      QStringLiteral("import sys, dbf\n"
                                     "t = dbf.Table(sys.argv[1]); t.open()\n"
                                     "print(len(t), ' '.join(t.field_names))\n"),
                      path});
        ASSERT_TRUE(python.waitForFinished(30000));
        const QString said = QString::fromUtf8(python.readAllStandardOutput()).trimmed();
        if (python.exitCode() != 0 &&
            QString::fromUtf8(python.readAllStandardError()).contains(QLatin1String("No module named")))
            GTEST_SKIP() << "python3-dbf is not installed";
        EXPECT_EQ(said.toLower(), QStringLiteral("0 lname fname middle prefix title org street street2 city "
                                                 "state zip country date phone phone2 fax email codes user1 "
                                                 "user2 isdel tag memo"));
    }
}

TEST_F(MainWindow, FirstFileTakesItsWidthsFromTheFieldLengthSettings)
{
    quietStart();
    {
        TIniFile ini(settings());
        ini.writeInteger(QStringLiteral("NewFileFieldLengths"), QStringLiteral("FieldZIP"), 5);
        ini.writeInteger(QStringLiteral("NewFileFieldLengths"), QStringLiteral("FieldLNAME"), 3);
        ini.writeInteger(QStringLiteral("NewFileFieldLengths"), QStringLiteral("FieldCITY"), 25);
    }
    // An existing folder spelt in other letters is used, not doubled.
    QDir().mkpath(folder() + QStringLiteral("data"));
    start();
    ASSERT_TRUE(window->TableCVW->isOpen());
    EXPECT_EQ(window->TableCVW->path(), folder() + QStringLiteral("data/add0001.DBF"));
    EXPECT_EQ(window->TableCVW->fieldWidth(QStringLiteral("ZIP")), 5);
    EXPECT_EQ(window->TableCVW->fieldWidth(QStringLiteral("LNAME")), 30);
    EXPECT_EQ(window->TableCVW->fieldWidth(QStringLiteral("CITY")), 25);
    EXPECT_EQ(window->fieldBox(QStringLiteral("ZIP"))->maxLength(), 5);
}

TEST_F(MainWindow, RecentEntryNamingADeletedFileGivesBothMessagesTheEmptyStateAndStaysFirst)
{
    quietStart();
    const QString gone = data() + QStringLiteral("/GONE.DBF");
    const QString other = copyFixture("ADD0001");
    {
        TIniFile ini(settings());
        TRecentFiles::save(ini, {gone, other});
    }
    start();
    ASSERT_EQ(boxes.size(), 2) << boxes.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(boxes.at(0), QStringLiteral("File ") + gone + QStringLiteral(" not found"));
    EXPECT_EQ(boxes.at(1), unableToOpen(gone));
    EXPECT_EQ(captions.at(0), QStringLiteral("Information"));
    EXPECT_FALSE(window->TableCVW->isOpen());
    EXPECT_TRUE(showsEmptyState());
    EXPECT_EQ(window->EmptyPanel->text(), QStringLiteral("Please Open or Create a Corvantis Address file"));
    EXPECT_FALSE(window->SortStatus->isVisible());
    EXPECT_FALSE(window->FilterStatus->isVisible());
    EXPECT_FALSE(window->NextButton->isVisible());
    EXPECT_TRUE(window->currentFile().isEmpty());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Corvantis - ") + gone);
    EXPECT_EQ(window->recentFiles(), (QStringList{gone, other}));
    EXPECT_EQ(TRecentFiles::load(TIniFile(settings())), (QStringList{gone, other}));
    // Navigation does nothing and does not beep without a file.
    window->NextButtonClick();
    EXPECT_EQ(window->beepCount(), 0);
    // Nor is the first file created behind the user's back.
    EXPECT_FALSE(QFileInfo::exists(data() + QStringLiteral("/add0001.DBF")));
}

TEST_F(MainWindow, RecentListKeepsFourNewestFirstWithoutDuplicates)
{
    quietStart();
    QStringList paths;
    for (int i = 1; i <= 5; ++i) {
        const QString path = data() + QStringLiteral("/FILE%1.DBF").arg(i);
        QFile::copy(copyFixture("EMPTY"), path);
        QFile::copy(data() + QStringLiteral("/EMPTY.FPT"), data() + QStringLiteral("/FILE%1.FPT").arg(i));
        QFile::copy(data() + QStringLiteral("/EMPTY.CDX"), data() + QStringLiteral("/FILE%1.CDX").arg(i));
        paths.append(path);
    }
    start();
    for (const QString &path : paths)
        window->OpenCVWDBF(path);
    ASSERT_TRUE(boxes.isEmpty()) << boxes.join(QLatin1Char('|')).toStdString();
    const QStringList newest = {paths[4], paths[3], paths[2], paths[1]};
    EXPECT_EQ(window->recentFiles(), newest);
    ASSERT_EQ(window->mruActions().size(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(window->mruActions().at(i)->text(), newest.at(i));

    // Choosing the second entry opens it and moves it to the top.
    window->mruActions().at(1)->trigger();
    const QStringList moved = {paths[3], paths[4], paths[2], paths[1]};
    EXPECT_EQ(window->currentFile(), paths[3]);
    EXPECT_EQ(window->recentFiles(), moved);
    EXPECT_EQ(TRecentFiles::load(TIniFile(settings())), moved);
    ASSERT_EQ(window->mruActions().size(), 4);
    EXPECT_EQ(window->mruActions().at(0)->text(), paths[3]);
    // The recent items follow the last separator of the File menu, nothing else after them.
    const QList<QAction *> items = window->FileMenu->actions();
    EXPECT_EQ(items.mid(items.indexOf(window->mruSeparator) + 1), window->mruActions());

    // An entry whose file vanished leaves the previous file open again.
    QFile::remove(paths[2]);
    boxes.clear();
    window->mruActions().at(2)->trigger();
    EXPECT_EQ(boxes.size(), 2);
    EXPECT_TRUE(window->TableCVW->isOpen());
    EXPECT_EQ(window->currentFile(), paths[3]);
}

TEST_F(MainWindow, SortOrdersShowTheFixtureRecordsInTheOtherEnginesOrder)
{
    quietStart();
    const QString path = copyFixture("ADD0001");
    start();
    window->OpenCVWDBF(path);
    ASSERT_TRUE(window->TableCVW->isOpen());
    EXPECT_EQ(window->FilterStatus->text(), QStringLiteral("275 records (no filter)"));

    struct SortCase {
        const char *caption;
        const char *tag;
    };
    const SortCase sorts[] = {
        {"&Last Name", "LNAME"}, {"&First Name", "FNAME"}, {"&Title", "TITLE"},  {"&Organization", "ORG"},
        {"&Street", "STREET"},   {"&City", "CITY"},        {"&State", "STATE"},  {"&Zip", "ZIP"},
        {"&Country", "COUNTRY"}, {"&Phone", "PHONE"},      {"&E-mail", "EMAIL"}, {"&Fax", "FAX"},
        {"&Date", "DATE"},       {"&Codes", "CODES"},
    };
    const QList<QAction *> menu = window->mnuOrder->actions();
    ASSERT_EQ(menu.size(), int(std::size(sorts)));
    int beeps = window->beepCount();
    for (int i = 0; i < int(std::size(sorts)); ++i) {
        const SortCase &c = sorts[i];
        SCOPED_TRACE(c.caption);
        EXPECT_EQ(menu.at(i)->text(), QLatin1String(c.caption));
        menu.at(i)->trigger();
        EXPECT_EQ(window->orderTag(), QLatin1String(c.tag));
        EXPECT_EQ(window->TableCVW->orderTag(), QLatin1String(c.tag));
        EXPECT_EQ(window->SortStatus->text(), QStringLiteral("Sorted by ") + QLatin1String(c.caption + 1));
        for (int j = 0; j < menu.size(); ++j)
            EXPECT_EQ(menu.at(j)->isChecked(), i == j);

        window->FirstButtonClick();
        QList<quint32> shown{window->TableCVW->recno()};
        for (int guard = 0; guard < 400; ++guard) {
            window->NextButtonClick();
            if (window->beepCount() != beeps)
                break;
            shown.append(window->TableCVW->recno());
        }
        // Next at the last record beeps and stays.
        EXPECT_EQ(window->beepCount(), beeps + 1);
        beeps = window->beepCount();
        EXPECT_EQ(shown, fixture::shownOrder(QStringLiteral("ADD0001"), QLatin1String(c.tag)));
        // The form shows the record the table is on.
        const QList<QJsonObject> records = fixture::records(QStringLiteral("ADD0001"));
        const QJsonObject &last = records.at(int(shown.last()) - 1);
        EXPECT_EQ(box("LNAME"), last.value(QStringLiteral("LNAME")).toString());
        EXPECT_EQ(box("EMAIL"), last.value(QStringLiteral("EMAIL")).toString());
    }

    // By name, in any case.
    window->SetOrderTo(QStringLiteral("e-MAIL"));
    EXPECT_EQ(window->orderTag(), QStringLiteral("EMAIL"));
    EXPECT_EQ(window->SortStatus->text(), QStringLiteral("Sorted by E-mail"));
    EXPECT_TRUE(window->sortAction(QStringLiteral("EMAIL"))->isChecked());

    // Prior at the first record beeps too; the buttons and keys move.
    window->SetCurrentOrder(QStringLiteral("LNAME"));
    window->FirstButtonClick();
    const quint32 first = window->TableCVW->recno();
    QTest::mouseClick(window->PriorButton, Qt::LeftButton);
    EXPECT_EQ(window->beepCount(), beeps + 1);
    EXPECT_EQ(window->TableCVW->recno(), first);
    QTest::mouseClick(window->NextButton, Qt::LeftButton);
    EXPECT_NE(window->TableCVW->recno(), first);
    QTest::mouseClick(window->LastButton, Qt::LeftButton);
    EXPECT_EQ(window->TableCVW->recno(),
              fixture::shownOrder(QStringLiteral("ADD0001"), QStringLiteral("LNAME")).last());
    QTest::mouseClick(window->FirstButton, Qt::LeftButton);
    EXPECT_EQ(window->TableCVW->recno(), first);
}

TEST_F(MainWindow, RecordFormShowsDatesTagsAndTheFileWidths)
{
    quietStart();
    {
        TIniFile ini(settings());
        ini.writeString(QStringLiteral("Misc"), QStringLiteral("GlobalTagId"), QStringLiteral("T5703FX"));
    }
    const QString path = copyFixture("ADD0001");
    start();
    window->OpenCVWDBF(path);
    ASSERT_TRUE(window->TableCVW->goTo(1));
    EXPECT_EQ(box("LNAME"), QStringLiteral("Smith"));
    EXPECT_EQ(box("PREFIX"), QStringLiteral("Mr."));
    EXPECT_EQ(window->DateEdit->text(), QDate(1997, 4, 28).toString(TDateText::shortDatePattern()));
    EXPECT_FALSE(window->DateEdit->text().isEmpty());
    EXPECT_EQ(window->MemoEdit->toPlainText(), QStringLiteral("First line\nSecond line\nThird line"));
    EXPECT_FALSE(window->TaggedCheck->isChecked());
    ASSERT_TRUE(window->TableCVW->goTo(250)); // DATE "1997"
    EXPECT_EQ(window->DateEdit->text(), QString());
    ASSERT_TRUE(window->TableCVW->goTo(150));
    EXPECT_EQ(box("CITY"), QStringLiteral("Montréal"));

    // A last name 25 wide: the box takes at most 25 characters.
    window->OpenCVWDBF(copyFixture("LNAME25"));
    ASSERT_TRUE(window->TableCVW->isOpen());
    EXPECT_EQ(window->fieldBox(QStringLiteral("LNAME"))->maxLength(), 25);
    EXPECT_EQ(window->fieldBox(QStringLiteral("FNAME"))->maxLength(), 30);
    ASSERT_TRUE(window->TableCVW->goTo(42));
    EXPECT_EQ(box("LNAME"), QStringLiteral("Wolfeschlegelsteinhausenb"));
}

TEST_F(MainWindow, MissingIndexAsksToRebuildAndYesBuildsAllTags)
{
    quietStart();
    const QString path = copyFixture("ADD0001");
    start();
    window->TableCVW->close();
    QFile::remove(data() + QStringLiteral("/ADD0001.CDX"));
    answers = {QMessageBox::Yes};
    QString title;
    QStringList texts;
    whenShown<TCVReindex>([&](TCVReindex *reindex) {
        title = reindex->windowTitle();
        QObject::connect(reindex->Gauge, &QProgressBar::valueChanged, [&, reindex] {
            if (texts.isEmpty() || texts.last() != reindex->StatusLabel->text())
                texts.append(reindex->StatusLabel->text());
        });
        QTest::mouseClick(reindex->ReindexButton, Qt::LeftButton);
    });
    window->OpenCVWDBF(path);
    ASSERT_EQ(boxes.size(), 1) << boxes.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(captions.at(0), QStringLiteral("Warning"));
    EXPECT_EQ(boxes.at(0), QStringLiteral("The index file for ") + path +
                               QStringLiteral("\r\nis missing or invalid. Rebuild now?"));
    EXPECT_EQ(title, QStringLiteral("Rebuild indexes for ADD0001.DBF"));
    EXPECT_EQ(texts, (QStringList{QStringLiteral("Cleaning out old deleted records"),
                                  QStringLiteral("Rebuilding indexes")}));
    ASSERT_TRUE(window->TableCVW->isOpen());
    EXPECT_TRUE(window->isTagValid());
    EXPECT_EQ(window->TableCVW->engine().tagCount(), 26);
    EXPECT_TRUE(QFileInfo::exists(data() + QStringLiteral("/ADD0001.CDX")));
    // The rebuild packed the 21 marked records away; the 4 with ISDEL but no mark stay, hidden.
    EXPECT_EQ(window->TableCVW->engine().recordCount(), 279u);
    EXPECT_EQ(window->FilterStatus->text(), QStringLiteral("275 records (no filter)"));
    EXPECT_EQ(window->SortStatus->text(), QStringLiteral("Sorted by Last Name"));
    EXPECT_EQ(window->currentFile(), path);
}

TEST_F(MainWindow, MissingIndexAnsweredNoLeavesNoFileOpenButRemembersIt)
{
    quietStart();
    const QString path = copyFixture("NOCDX");
    start();
    answers = {QMessageBox::No};
    window->OpenCVWDBF(path);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes.at(0).endsWith(QLatin1String("Rebuild now?")));
    EXPECT_FALSE(window->TableCVW->isOpen());
    EXPECT_TRUE(showsEmptyState());
    EXPECT_FALSE(QFileInfo::exists(data() + QStringLiteral("/NOCDX.CDX")));
    // The file itself opened, so it heads the recent list.
    EXPECT_EQ(window->recentFiles().first(), path);

    // Cancel in the rebuild window also leaves no file open.
    boxes.clear();
    answers = {QMessageBox::Yes};
    whenShown<TCVReindex>(
        [](TCVReindex *reindex) { QTest::mouseClick(reindex->CancelButton, Qt::LeftButton); });
    window->OpenCVWDBF(path);
    EXPECT_EQ(boxes.size(), 1);
    EXPECT_FALSE(window->TableCVW->isOpen());
    EXPECT_TRUE(showsEmptyState());
}

TEST_F(MainWindow, FilesLackingAFieldOrInUseDoNotOpen)
{
    quietStart();
    start();
    const QString path = copyFixture("NOFAX");
    window->OpenCVWDBF(path);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes.at(0), unableToOpen(path));
    EXPECT_FALSE(window->TableCVW->isOpen());
    EXPECT_TRUE(showsEmptyState());
    EXPECT_TRUE(window->currentFile().isEmpty());
    EXPECT_FALSE(window->recentFiles().contains(path));

    // Another opener holds the file exclusively.
    const QString busy = copyFixture("ADD0001");
    xbase::Table other;
    ASSERT_TRUE(other.open(busy.toStdString(), xbase::OpenMode::Exclusive).ok());
    boxes.clear();
    window->OpenCVWDBF(busy);
    EXPECT_EQ(boxes, QStringList{unableToOpen(busy)});
    EXPECT_FALSE(window->TableCVW->isOpen());
    EXPECT_TRUE(showsEmptyState());
    ASSERT_TRUE(other.close().ok());
    boxes.clear();
    window->OpenCVWDBF(busy);
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_TRUE(window->TableCVW->isOpen());
}

TEST_F(MainWindow, RebuildFromTheMenuKeepsSoftDeletedRecordsHiddenAndTheOrder)
{
    quietStart();
    const QString path = copyFixture("ADD0001");
    start();
    window->OpenCVWDBF(path);
    window->SetOrderTo(QStringLiteral("Zip"));
    whenShown<TCVReindex>(
        [](TCVReindex *reindex) { QTest::mouseClick(reindex->ReindexButton, Qt::LeftButton); });
    window->mnuRebuildIndexes->trigger();
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(window->TableCVW->engine().recordCount(), 279u);
    EXPECT_EQ(window->TableCVW->visibleCount(), 275);
    EXPECT_EQ(window->orderTag(), QStringLiteral("ZIP"));
    EXPECT_EQ(window->TableCVW->orderTag(), QStringLiteral("ZIP"));
    EXPECT_EQ(window->TableCVW->query(), QStringLiteral("!ISDEL"));
    // Waylon Smithers (ISDEL true, no delete mark) is still in the file, and still hidden.
    window->TableCVW->setOrderTag(QStringLiteral("LNAME"));
    EXPECT_FALSE(window->TableCVW->seek(
        window->TableCVW->nameKey(QStringLiteral("Smithers"), QStringLiteral("Waylon"))));
    window->TableCVW->setQuery(QString());
    EXPECT_TRUE(window->TableCVW->seek(
        window->TableCVW->nameKey(QStringLiteral("Smithers"), QStringLiteral("Waylon"))));
}

TEST_F(MainWindow, RebuildWithoutAFileSaysSo)
{
    quietStart();
    {
        TIniFile ini(settings());
        TRecentFiles::save(ini, {data() + QStringLiteral("/GONE.DBF")});
    }
    start();
    boxes.clear();
    window->mnuRebuildIndexesClick();
    EXPECT_EQ(boxes, QStringList{QStringLiteral("You need to have a database file open first")});
}

struct CloseCase {
    QMessageBox::StandardButton answer;
    bool closes;
    const char *stored; // LNAME of record 1 afterwards
};
class MainWindowClosing : public MainWindow, public ::testing::WithParamInterface<CloseCase>
{
};

TEST_P(MainWindowClosing, AnEditInProgressIsNotDroppedWithoutAWord)
{
    const CloseCase c = GetParam();
    quietStart();
    const QString path = copyFixture("ADD0001");
    start();
    window->OpenCVWDBF(path);
    ASSERT_TRUE(window->TableCVW->goTo(1));
    // The edit lives in the form's boxes until it is saved.
    QTest::mouseClick(window->EditButton, Qt::LeftButton);
    ASSERT_TRUE(window->TableCVW->isEditing());
    QLineEdit *last = window->fieldBox(QStringLiteral("LNAME"));
    last->selectAll();
    QTest::keyClicks(last, QStringLiteral("Changed"));
    answers = {c.answer};
    EXPECT_EQ(window->close(), c.closes);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes.at(0), QStringLiteral("Save changes?"));
    EXPECT_EQ(captions.at(0), QStringLiteral("Save"));
    EXPECT_EQ(window->isVisible(), !c.closes);
    EXPECT_EQ(window->TableCVW->isEditing(), !c.closes);
    window.reset();
    TAddressTable table;
    ASSERT_TRUE(table.OpenTableFile(path).ok);
    ASSERT_TRUE(table.goTo(1));
    EXPECT_EQ(table.value(QStringLiteral("LNAME")), QLatin1String(c.stored));
}

INSTANTIATE_TEST_SUITE_P(Answers, MainWindowClosing,
                         ::testing::Values(CloseCase{QMessageBox::Yes, true, "Changed"},
                                           CloseCase{QMessageBox::No, true, "Smith"},
                                           // Cancel keeps the window; the edit is dropped only when
                                           // the test then destroys the window.
                                           CloseCase{QMessageBox::Cancel, false, "Smith"}));

TEST_F(MainWindow, ClosingWithoutAnEditAsksNothingAndSavesThePlacement)
{
    quietStart();
    start();
    // The first activation saved the centred placement at once.
    const QString section = TWindowPlacement::sectionName(QStringLiteral("TAddressMain"),
                                                          TWindowPlacer::dotsPerInch(window.get()));
    EXPECT_TRUE(TIniFile(settings()).hasSection(section));
    window->setGeometry(5, 30, 790, 500);
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_FALSE(window->TableCVW->isOpen());
    window.reset();
    start();
    EXPECT_EQ(window->geometry(), QRect(5, 30, 790, 500));
    EXPECT_TRUE(TIniFile(settings()).hasSection(section));
}

TEST_F(MainWindow, AWindowReachingPastTheRightOrBottomEdgeMovesToTheLeftOrTop)
{
    quietStart();
    start();
    const QRect area = window->screen()->geometry();
    const QSize size(qMax(window->minimumSizeHint().width(), area.width() / 2),
                     qMax(window->minimumSizeHint().height(), area.height() / 2));
    ASSERT_LT(size.width() + 10, area.width());
    window->setGeometry(QRect(area.topLeft() + QPoint(5, 10), size));
    EXPECT_EQ(window->geometry().topLeft(), area.topLeft() + QPoint(5, 10));
    // Past the right edge: to the left edge, the top stays.
    window->move(area.left() + area.width() - size.width() + 30, area.top() + 10);
    EXPECT_EQ(window->frameGeometry().topLeft(), area.topLeft() + QPoint(0, 10));
    // Past the bottom edge: to the top edge.
    window->move(area.left() + 5, area.top() + area.height() - size.height() + 30);
    EXPECT_EQ(window->frameGeometry().topLeft(), area.topLeft() + QPoint(5, 0));
}

TEST_F(MainWindow, NewAddressDatabaseProposesANameChecksItAndOpensTheNewFile)
{
    quietStart();
    start();
    QString proposed;
    bool refusedDigit = false;
    whenShown<TNewDatabaseForm>([&](TNewDatabaseForm *form) {
        proposed = form->name();
        form->NameEdit->setText(QStringLiteral("2abc"));
        refusedDigit = !form->OkButton->isEnabled() && form->InvalidLabel->isVisible();
        // Widths for this one file.
        whenShown<TFieldLengthForm>([](TFieldLengthForm *lengths) {
            lengths->box(QStringLiteral("ZIP"))->setText(QStringLiteral("15"));
            QTest::mouseClick(lengths->OkButton, Qt::LeftButton);
        });
        QTest::mouseClick(form->FieldLengthsButton, Qt::LeftButton);
        form->NameEdit->setText(QStringLiteral("Clients"));
        QTest::keyClick(form, Qt::Key_PageDown);
    });
    window->NewFileMenu->trigger();
    EXPECT_EQ(proposed, QStringLiteral("ADD0002"));
    EXPECT_TRUE(refusedDigit);
    const QString path = data() + QStringLiteral("/Clients.DBF");
    ASSERT_TRUE(QFileInfo::exists(path));
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(window->currentFile(), path);
    EXPECT_TRUE(window->isTagValid());
    EXPECT_EQ(window->recentFiles().first(), path);
    EXPECT_EQ(window->TableCVW->fieldWidth(QStringLiteral("ZIP")), 15);
    EXPECT_EQ(window->TableCVW->fieldWidth(QStringLiteral("CITY")), 30);
    EXPECT_FALSE(TIniFile(settings()).hasSection(QStringLiteral("NewFileFieldLengths")));

    // A name that exists (in any case) is refused and the window comes back.
    int shown = 0;
    std::function<void(TNewDatabaseForm *)> answer = [&](TNewDatabaseForm *form) {
        ++shown;
        if (shown == 1) {
            form->NameEdit->setText(QStringLiteral("CLIENTS"));
            QTest::mouseClick(form->OkButton, Qt::LeftButton);
            whenShown<TNewDatabaseForm>(answer);
        } else {
            QTest::mouseClick(form->CancelButton, Qt::LeftButton);
        }
    };
    whenShown<TNewDatabaseForm>(answer);
    window->NewFileMenuClick();
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(boxes, QStringList{QStringLiteral("That file already exists.Please select another name")});
    EXPECT_EQ(window->currentFile(), path);
}

TEST_F(MainWindow, OpenAddressDataBaseWantsADbfFile)
{
    quietStart();
    const QString path = copyFixture("ADD0001");
    start();
    QString chosen = folder() + QStringLiteral("notes.txt");
    window->setFileChooser([&] { return chosen; });
    window->OpenFileMenu->trigger();
    EXPECT_EQ(boxes, QStringList{QStringLiteral("Must be a DBF file")});
    chosen = data() + QStringLiteral("/ADD0001.dbf"); // any case of the extension
    boxes.clear();
    window->OpenFileMenuClick();
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_TRUE(window->TableCVW->isOpen());
    EXPECT_EQ(window->TableCVW->path(), path);
    chosen.clear(); // the dialog was cancelled
    window->OpenFileMenuClick();
    EXPECT_TRUE(window->TableCVW->isOpen());
}

// Records of fixture `name` that are not deleted and whose `field` starts with `prefix`.
int fixtureMatches(const char *name, const char *field, const char *prefix)
{
    int matches = 0;
    for (const QJsonObject &r : fixture::records(QLatin1String(name))) {
        if (!r.value(QStringLiteral("deleted")).toBool() && !r.value(QStringLiteral("ISDEL")).toBool() &&
            r.value(QLatin1String(field)).toString().toUpper().startsWith(QLatin1String(prefix)))
            ++matches;
    }
    return matches;
}

TFilterCriteria stateIs(const char *state)
{
    TFilterCriteria c;
    c.setText(TFilterCriteria::qState, QLatin1String(state));
    return c;
}

TEST_F(MainWindow, StatusLineCountsTheRecordsTheFilterShows)
{
    quietStart();
    const QString path = copyFixture("ADD0001");
    start();
    window->OpenCVWDBF(path);
    EXPECT_EQ(window->FilterStatus->text(), QStringLiteral("275 records (no filter)"));
    EXPECT_FALSE(window->ClearFilterButton->isVisible());

    const int matches = fixtureMatches("ADD0001", "STATE", "CA");
    ASSERT_GT(matches, 0);
    EXPECT_EQ(window->setCriteria(stateIs("CA")).count, matches);
    EXPECT_EQ(window->recordQuery(), QStringLiteral("UPPER(STATE)=\"CA\".and. !ISDEL"));
    EXPECT_EQ(window->FilterStatus->text(), QString::number(matches) + QStringLiteral(" filter matches"));
    EXPECT_TRUE(window->ClearFilterButton->isVisible());
    EXPECT_EQ(window->TableCVW->value(QStringLiteral("STATE")).left(2), QStringLiteral("CA"));

    // The criteria are kept when another file opens, and applied to it.
    window->OpenCVWDBF(copyFixture("LNAME25"));
    EXPECT_EQ(window->criteria(), stateIs("CA"));
    EXPECT_EQ(window->TableCVW->query(), window->recordQuery());
    // Criteria that select nothing in the file opened next are dropped there.
    window->OpenCVWDBF(path);
    ASSERT_GT(window->setCriteria(stateIs("FL")).count, 0);
    boxes.clear();
    const QString other = copyFixture("LNAME25");
    window->OpenCVWDBF(other);
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_EQ(window->criteria(), TFilterCriteria());
    EXPECT_EQ(window->TableCVW->query(), QStringLiteral("!ISDEL"));
    EXPECT_FALSE(window->ClearFilterButton->isVisible());

    // A filter that shows nothing is dropped without a word.
    boxes.clear();
    TFilterCriteria nobody;
    nobody.setText(TFilterCriteria::qLName, QStringLiteral("Nobody"));
    EXPECT_EQ(window->setCriteria(nobody).count, 0);
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_EQ(window->criteria(), TFilterCriteria());
    EXPECT_EQ(window->TableCVW->query(), QStringLiteral("!ISDEL"));
    EXPECT_FALSE(window->ClearFilterButton->isVisible());
    EXPECT_TRUE(window->FilterStatus->text().endsWith(QLatin1String(" records (no filter)")));

    // One too long for a query is dropped with the message.
    TFilterCriteria huge;
    huge.setText(TFilterCriteria::qCodes, QString(250, QLatin1Char('A')));
    window->setCriteria(huge);
    EXPECT_EQ(boxes, QStringList{QStringLiteral("Sorry - filter is too complex.Please simplify it.")});
    EXPECT_EQ(window->criteria(), TFilterCriteria());
}

TEST_F(MainWindow, FilterWindowFromTheMenuSetsTheFilterAndClearFilterLiftsIt)
{
    quietStart();
    start();
    window->OpenCVWDBF(copyFixture("ADD0001"));
    const int matches = fixtureMatches("ADD0001", "STATE", "CA");
    QStringList labels;
    whenShown<TAddressQueryForm>([&labels](TAddressQueryForm *form) {
        labels = {form->boxLabel(TFilterCriteria::qStreet)->text(),
                  form->boxLabel(TFilterCriteria::qDate)->text()};
        form->qState->setText(QStringLiteral("ca"));
        QTest::mouseClick(form->OkButton, Qt::LeftButton);
    });
    window->mnuSetFilter->trigger();
    // The window's boxes take the record form's labels.
    EXPECT_EQ(labels, (QStringList{QStringLiteral("Address 1"), QStringLiteral("Date")}));
    EXPECT_EQ(window->criteria(), stateIs("ca"));
    EXPECT_EQ(window->TableCVW->visibleCount(), matches);
    EXPECT_EQ(window->FilterStatus->text(), QString::number(matches) + QStringLiteral(" filter matches"));
    EXPECT_TRUE(window->mnuSaveFilter->isEnabled());

    // Cancel puts back the criteria the window started with, whatever "Test" applied.
    whenShown<TAddressQueryForm>([](TAddressQueryForm *form) {
        form->qState->setText(QStringLiteral("NY"));
        QTest::mouseClick(form->TestButton, Qt::LeftButton);
        QTest::mouseClick(form->CancelButton, Qt::LeftButton);
    });
    QTest::mouseClick(window->FilterButton, Qt::LeftButton);
    EXPECT_EQ(window->criteria(), stateIs("ca"));
    EXPECT_EQ(window->TableCVW->visibleCount(), matches);

    QTest::mouseClick(window->ClearFilterButton, Qt::LeftButton);
    EXPECT_EQ(window->criteria(), TFilterCriteria());
    EXPECT_EQ(window->FilterStatus->text(), QStringLiteral("275 records (no filter)"));
    EXPECT_FALSE(window->ClearFilterButton->isVisible());
    EXPECT_FALSE(window->mnuClearFilter->isEnabled());
    EXPECT_FALSE(window->mnuSaveFilter->isEnabled());
}

TEST_F(MainWindow, SavedFilterIsRestoredAndAppliedAndRestoreWantsAFltFile)
{
    quietStart();
    start();
    window->OpenCVWDBF(copyFixture("ADD0001"));
    QString chosen = folder() + QStringLiteral("ca");
    window->setFilterFileChooser([&chosen](QWidget *, const QString &) { return chosen; });
    window->setCriteria(stateIs("CA"));
    window->mnuSaveFilter->trigger();
    ASSERT_TRUE(QFile::exists(folder() + QStringLiteral("ca.FLT")));
    window->mnuClearFilter->trigger();
    EXPECT_EQ(window->criteria(), TFilterCriteria());

    // A file of fewer lines: the missing criteria are empty and both flags off.
    {
        QFile f(folder() + QStringLiteral("short.FLT"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("\r\n\r\n\r\n\r\n\r\n\r\n\r\nSan\r\n");
    }
    chosen = folder() + QStringLiteral("short.FLT");
    window->mnuRestoreFilter->trigger();
    TFilterCriteria san;
    san.setText(TFilterCriteria::qCity, QStringLiteral("San"));
    EXPECT_EQ(window->criteria(), san);
    EXPECT_EQ(window->TableCVW->visibleCount(), fixtureMatches("ADD0001", "CITY", "SAN"));

    chosen = folder() + QStringLiteral("ca.FLT");
    window->mnuRestoreFilter->trigger();
    EXPECT_EQ(window->criteria(), stateIs("CA"));
    EXPECT_EQ(window->FilterStatus->text(),
              QString::number(fixtureMatches("ADD0001", "STATE", "CA")) + QStringLiteral(" filter matches"));

    boxes.clear();
    chosen = folder() + QStringLiteral("CORVAN.ini");
    window->mnuRestoreFilter->trigger();
    EXPECT_EQ(boxes, QStringList{QStringLiteral("Must be a Filter (.FLT) file")});
    EXPECT_EQ(window->criteria(), stateIs("CA"));
}

TEST_F(MainWindow, RebuildSystemFileIndexesOpensItsWindowOverTheProgramFolder)
{
    quietStart();
    start();
    QString title;
    whenShown<TSysReindexForm>([&title](TSysReindexForm *form) {
        title = form->windowTitle();
        QTest::mouseClick(form->CancelButton, Qt::LeftButton);
    });
    window->RebuildSystemFileindexesmnu->trigger();
    EXPECT_EQ(title, QStringLiteral("Rebuild System Indexes"));
    EXPECT_EQ(window->RebuildSystemFileindexesmnu->text(), QStringLiteral("Rebuild S&ystem File indexes"));
}

TEST_F(MainWindow, PrintCurrentRecordFromTheMenuPrintsTheShownRecord)
{
    quietStart();
    start();
    const QString pdf = folder() + QStringLiteral("record.pdf");
    window->setPrinterService(std::make_unique<TPdfPrinterService>(pdf));
    // Without a record shown the item is off.
    EXPECT_FALSE(window->CurrentRecordMenu->isEnabled());
    window->OpenCVWDBF(copyFixture("ADD0001"));
    ASSERT_TRUE(window->CurrentRecordMenu->isEnabled());
    EXPECT_EQ(window->CurrentRecordMenu->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));

    QString title, finalStatus;
    whenShown<TPrintCurrentRecord>([&](TPrintCurrentRecord *form) {
        title = form->windowTitle();
        whenShown<TPrintStatusForm>([&finalStatus](TPrintStatusForm *status) {
            auto *poll = new QTimer;
            QObject::connect(poll, &QTimer::timeout, [poll, status, &finalStatus] {
                if (!status->hasRun())
                    return;
                poll->stop();
                poll->deleteLater();
                finalStatus = status->StatusLabel->text();
                QTest::mouseClick(status->CancelButton, Qt::LeftButton);
            });
            poll->start(10);
        });
        QTest::mouseClick(form->PrintButton, Qt::LeftButton);
        QTest::mouseClick(form->CancelButton, Qt::LeftButton);
    });
    window->CurrentRecordMenu->trigger();
    EXPECT_EQ(title, QStringLiteral("Print Current Record"));
    EXPECT_EQ(finalStatus, QStringLiteral("\nReport Print Completed!"));
    ASSERT_TRUE(QFile::exists(pdf));
    QFile printed(pdf);
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
    EXPECT_TRUE(printed.read(5) == "%PDF-");
}

TEST_F(MainWindow, CopyToClipboardPutsTheShownRecordOnTheClipboard)
{
    quietStart();
    start();
    window->OpenCVWDBF(copyFixture("ADD0001"));
    window->NextButtonClick();
    const QString last = box("LNAME");
    ASSERT_FALSE(last.isEmpty());
    QGuiApplication::clipboard()->setText(QStringLiteral("left over"));
    whenShown<TCopyToClipBoard>(
        [](TCopyToClipBoard *form) { QTest::mouseClick(form->OkButton, Qt::LeftButton); });
    window->ToClipboard1->trigger();
    const QString text = QGuiApplication::clipboard()->text();
    EXPECT_EQ(text,
              TCurrentRecordText::GetRecordAsString(TCurrentRecordValues::fromAddressTable(*window->TableCVW),
                                                    true, true, true, true, true)
                  .text);
    EXPECT_TRUE(text.contains(last + QStringLiteral(" \r\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(box("STREET"))) << text.toStdString();
    ASSERT_FALSE(boxes.isEmpty());
    EXPECT_TRUE(boxes.last().startsWith(QStringLiteral("Record copied to Windows Clipboard")));
}

TEST_F(MainWindow, RecordAddedThroughTheFormIsSavedAndTheFileChecksClean)
{
    quietStart();
    const QString path = copyFixture("ADD0001");
    std::ostringstream reportOut, reportErr;
    const int checkedBefore = dbtool::run({"check", path.toStdString()}, reportOut, reportErr, false);
    const std::string reportBefore = reportOut.str();
    start();
    window->OpenCVWDBF(path);
    const qint64 before = window->TableCVW->visibleCount();
    EXPECT_TRUE(window->AddButton->isEnabled());
    EXPECT_FALSE(window->SaveButton->isVisible());

    QTest::mouseClick(window->AddButton, Qt::LeftButton);
    ASSERT_TRUE(window->TableCVW->isEditing());
    EXPECT_TRUE(window->SaveButton->isVisible());
    EXPECT_TRUE(window->CancelButton->isVisible());
    EXPECT_FALSE(window->AddButton->isVisible());
    EXPECT_FALSE(window->ExitButton->isVisible());
    EXPECT_FALSE(window->mnuRecord->isEnabled());
    EXPECT_FALSE(window->NextButton->isVisible());
    // Neither look-up is chosen: the new record starts at once, in the Last box.
    EXPECT_EQ(window->focusWidget(), window->fieldBox(QStringLiteral("LNAME")));
    QTest::keyClicks(window->fieldBox(QStringLiteral("LNAME")), QStringLiteral("Zyzzyva"));
    QTest::keyClick(window->focusWidget(), Qt::Key_Return); // on to the next box
    QTest::keyClicks(window->focusWidget(), QStringLiteral("Ada"));
    window->PageTabs->setCurrentIndex(1);
    QTest::keyClicks(window->MemoEdit, QStringLiteral("8 chars!"));
    QTest::mouseClick(window->SaveButton, Qt::LeftButton);

    ASSERT_FALSE(window->TableCVW->isEditing());
    EXPECT_EQ(window->TableCVW->visibleCount(), before + 1);
    EXPECT_EQ(box("LNAME"), QStringLiteral("Zyzzyva"));
    EXPECT_EQ(box("FNAME"), QStringLiteral("Ada"));
    // A memo whose length is a multiple of 4 is stored with one blank more.
    EXPECT_EQ(window->TableCVW->memo(), QStringLiteral("8 chars! "));
    EXPECT_EQ(window->FilterStatus->text(),
              QString::number(before + 1) + QStringLiteral(" records (no filter)"));
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(QLatin1Char('|')).toStdString();

    window.reset();
    // The check finds exactly what it found in the file as it came: the other engine's keys for
    // accented names, which it upper-cases differently. Nothing more.
    std::ostringstream out, err;
    EXPECT_EQ(dbtool::run({"check", path.toStdString()}, out, err, false), checkedBefore);
    EXPECT_EQ(out.str(), reportBefore) << err.str();
    TAddressTable table;
    ASSERT_TRUE(table.OpenTableFile(path).ok);
    ASSERT_TRUE(table.setOrderTag(QStringLiteral("LNAME")));
    ASSERT_TRUE(table.seek(table.nameKey(QStringLiteral("Zyzzyva"), QStringLiteral("Ada"))));
    EXPECT_EQ(table.memo(), QStringLiteral("8 chars! "));
}

TEST_F(MainWindow, TypingStartsAnEditEscapeAsksAndDeletingTheLastFilterMatchDropsTheFilter)
{
    quietStart();
    start();
    window->OpenCVWDBF(copyFixture("ADD0001"));
    const qint64 all = window->TableCVW->visibleCount();
    const QString stored = box("ORG");

    // Typing into a box of a shown record starts the edit; Esc asks before dropping it.
    QLineEdit *org = window->fieldBox(QStringLiteral("ORG"));
    org->setFocus();
    QTest::keyClicks(org, QStringLiteral("X"));
    ASSERT_TRUE(window->TableCVW->isEditing());
    answers = {QMessageBox::No};
    QTest::keyClick(org, Qt::Key_Escape);
    EXPECT_TRUE(window->TableCVW->isEditing());
    answers = {QMessageBox::Yes};
    QTest::keyClick(org, Qt::Key_Escape);
    EXPECT_FALSE(window->TableCVW->isEditing());
    EXPECT_EQ(box("ORG"), stored);
    EXPECT_EQ(boxes, (QStringList{QStringLiteral("Cancel changes?"), QStringLiteral("Cancel changes?")}));

    // While editing, "Filter" beeps instead of opening its window.
    QTest::mouseClick(window->EditButton, Qt::LeftButton);
    const int beeps = window->beepCount();
    window->mnuSetFilterClick();
    EXPECT_EQ(window->beepCount(), beeps + 1);
    QTest::mouseClick(window->CancelButton, Qt::LeftButton);

    // The only record the filter shows is deleted: the filter is dropped and all records show.
    // A record with a plain-letter last name (the file has empty and accented ones too).
    const auto plain = [](const QString &t) {
        return !t.isEmpty() && std::all_of(t.begin(), t.end(), [](QChar ch) { return ch.unicode() < 0x80; });
    };
    while (!plain(box("LNAME")) && window->TableCVW->next()) {
    }
    ASSERT_TRUE(plain(box("LNAME")));
    TFilterCriteria one;
    one.setText(TFilterCriteria::qLName, window->TableCVW->value(QStringLiteral("LNAME")));
    one.setText(TFilterCriteria::qFName, window->TableCVW->value(QStringLiteral("FNAME")));
    one.setText(TFilterCriteria::qStreet, window->TableCVW->value(QStringLiteral("STREET")));
    ASSERT_EQ(window->setCriteria(one).count, 1) << one.BuildQueryString(QString()).toStdString();
    boxes.clear();
    answers = {QMessageBox::Yes};
    QTest::mouseClick(window->DeleteButton, Qt::LeftButton);
    EXPECT_EQ(boxes, QStringList{QStringLiteral("Delete this record?")});
    EXPECT_EQ(window->criteria(), TFilterCriteria());
    EXPECT_EQ(window->TableCVW->visibleCount(), all - 1);
    EXPECT_EQ(window->FilterStatus->text(),
              QString::number(all - 1) + QStringLiteral(" records (no filter)"));
    EXPECT_FALSE(window->ClearFilterButton->isVisible());
}

TEST_F(MainWindow, PageKeysMoveWhileBrowsingAndOnlyAskToSaveWhileEditing)
{
    quietStart();
    start();
    window->OpenCVWDBF(copyFixture("ADD0001"));
    ASSERT_TRUE(window->TableCVW->first());
    const quint32 firstRec = window->TableCVW->recno();
    ASSERT_TRUE(window->TableCVW->last());
    const quint32 lastRec = window->TableCVW->recno();
    ASSERT_TRUE(window->TableCVW->first());
    window->RefreshForm();

    QLineEdit *org = window->fieldBox(QStringLiteral("ORG"));
    org->setFocus();
    QTest::keyClick(org, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(window->TableCVW->recno(), lastRec);
    QTest::keyClick(org, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(window->TableCVW->recno(), firstRec);
    QTest::keyClick(org, Qt::Key_PageDown);
    const quint32 secondRec = window->TableCVW->recno();
    EXPECT_NE(secondRec, firstRec);

    // While editing, PgDn and Ctrl+PgDn move nowhere: they only ask whether to save.
    QTest::keyClicks(org, QStringLiteral("X"));
    ASSERT_TRUE(window->TableCVW->isEditing());
    boxes.clear();
    answers = {QMessageBox::No, QMessageBox::No};
    QTest::keyClick(org, Qt::Key_PageDown);
    QTest::keyClick(org, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(boxes, (QStringList{QStringLiteral("Save changes?"), QStringLiteral("Save changes?")}));
    EXPECT_TRUE(window->TableCVW->isEditing());
    EXPECT_EQ(window->TableCVW->recno(), secondRec);
    answers = {QMessageBox::Yes};
    QTest::keyClick(org, Qt::Key_Escape);
    EXPECT_FALSE(window->TableCVW->isEditing());
}

TEST_F(MainWindow, TheNewRecordWindowFillsCityAndStateFromALowerCaseZip)
{
    quietStart();
    start();
    window->OpenCVWDBF(copyFixture("ADD0001"));
    TAddingPrefs p;
    p.PlugCityState = true;
    window->editCommands().setPrefs(p);
    window->editCommands().setDialogRunner([](QDialog &d) {
        auto &w = dynamic_cast<TNewRecordForm &>(d);
        QTest::keyClicks(w.LastNameEdit, QStringLiteral("Tremblay"));
        QTest::keyClicks(w.FirstNameEdit, QStringLiteral("Luc"));
        QTest::keyClicks(w.ZipEdit, QStringLiteral("g9a 5h7"));
        QTest::keyClick(w.ZipEdit, Qt::Key_Return);
        return w.result();
    });
    QTest::mouseClick(window->AddButton, Qt::LeftButton);
    ASSERT_TRUE(window->TableCVW->isEditing());
    EXPECT_EQ(box("ZIP"), QStringLiteral("g9a 5h7"));
    EXPECT_EQ(box("CITY"), QStringLiteral("Trois-Rivières"));
    EXPECT_EQ(box("STATE"), QStringLiteral("QC"));
    answers = {QMessageBox::Yes};
    QTest::mouseClick(window->CancelButton, Qt::LeftButton);
    EXPECT_FALSE(window->TableCVW->isEditing());
}

TEST_F(MainWindow, ADuplicateNameAnsweredNoInTheNewRecordWindowAddsNothing)
{
    quietStart();
    start();
    window->OpenCVWDBF(copyFixture("ADD0001"));
    const qint64 before = window->TableCVW->visibleCount();
    TAddingPrefs p;
    p.AutoDupCheck = true;
    window->editCommands().setPrefs(p);
    int windows = 0;
    window->editCommands().setDialogRunner([&windows](QDialog &d) {
        ++windows;
        auto &w = dynamic_cast<TNewRecordForm &>(d);
        QTest::keyClicks(w.LastNameEdit, QStringLiteral("coleman"));
        QTest::keyClicks(w.FirstNameEdit, QStringLiteral("RUTH"));
        QTest::keyClick(w.FirstNameEdit, Qt::Key_PageDown);
        return w.result();
    });
    boxes.clear();
    answers = {QMessageBox::No};
    QTest::mouseClick(window->AddButton, Qt::LeftButton);
    EXPECT_EQ(windows, 1);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].contains(QStringLiteral("Ruth Coleman"))) << boxes[0].toStdString();
    EXPECT_FALSE(window->TableCVW->isEditing());
    EXPECT_EQ(window->TableCVW->visibleCount(), before);
    EXPECT_EQ(box("LNAME"), QStringLiteral("Coleman"));
    EXPECT_EQ(box("FNAME"), QStringLiteral("Ruth"));
}

TEST_F(MainWindow, MiddleInitialIsTypedInCapitalsAndCloneCopiesTheSavedRecord)
{
    quietStart();
    start();
    window->OpenCVWDBF(copyFixture("ADD0001"));
    const qint64 all = window->TableCVW->visibleCount();
    QTest::mouseClick(window->EditButton, Qt::LeftButton);
    QLineEdit *middle = window->fieldBox(QStringLiteral("MIDDLE"));
    middle->selectAll();
    QTest::keyClicks(middle, QStringLiteral("q"));
    EXPECT_EQ(middle->text(), QStringLiteral("Q"));
    QTest::mouseClick(window->SaveButton, Qt::LeftButton);
    ASSERT_FALSE(window->TableCVW->isEditing());
    EXPECT_EQ(window->TableCVW->value(QStringLiteral("MIDDLE")), QStringLiteral("Q"));
    const QString last = box("LNAME");
    const QString street = box("STREET");

    boxes.clear();
    answers = {QMessageBox::Yes};
    window->mnuClone->trigger();
    EXPECT_EQ(boxes, (QStringList{QStringLiteral("Clone this record?"),
                                  QStringLiteral("Clone completed. Current record is an exact copy")}));
    EXPECT_EQ(window->TableCVW->visibleCount(), all + 1);
    EXPECT_EQ(box("LNAME"), last);
    EXPECT_EQ(box("MIDDLE"), QStringLiteral("Q"));
    EXPECT_EQ(box("STREET"), street);
}

TEST_F(MainWindow, PreferencesAreReloadedWhenTheirWindowCloses)
{
    quietStart();
    start();
    EXPECT_FALSE(window->editCommands().prefs().PlugDate);
    whenShown<TPreferencesForm>([](TPreferencesForm *form) {
        form->box(QStringLiteral("PlugDate"))->setChecked(true);
        QTest::mouseClick(form->OkButton, Qt::LeftButton);
    });
    window->Prefences1->trigger();
    EXPECT_TRUE(window->editCommands().prefs().PlugDate);
    // Another writer's change is seen after the window closes, even by Cancel.
    TIniFile(settings()).writeBool(QStringLiteral("Adding"), QStringLiteral("CarryZip"), true);
    whenShown<TPreferencesForm>(
        [](TPreferencesForm *form) { QTest::mouseClick(form->CancelButton, Qt::LeftButton); });
    window->PrefencesClick();
    EXPECT_TRUE(window->editCommands().prefs().CarryZip);
    EXPECT_TRUE(window->editCommands().prefs().PlugDate);
}

TEST_F(MainWindow, HelpAndAboutShowTheirTexts)
{
    quietStart();
    start();
    QTest::keyClick(window.get(), Qt::Key_F1);
    EXPECT_TRUE(boxes.isEmpty());
    ASSERT_NE(TContextHelp::openWindow(), nullptr);
    EXPECT_EQ(TContextHelp::openWindow()->currentPage(), THelpTopics::topicUrl(1029));
    delete TContextHelp::openWindow();
    QString aboutTitle, aboutText;
    whenShown<QMessageBox>([&](QMessageBox *box) {
        aboutTitle = box->windowTitle();
        aboutText = box->text();
        box->accept();
    });
    window->About1->trigger();
    EXPECT_EQ(aboutTitle, QStringLiteral("About Corvantis"));
    EXPECT_TRUE(aboutText.contains(QLatin1String("Version 2.8")));
    EXPECT_TRUE(aboutText.contains(QLatin1String("64-bit version for Linux")));
}

} // namespace

// ---- The menu bar and the hand-over to other windows ------------------------------------

TEST_F(MainWindow, EveryMenuItemHasItsCaptionShortcutAndMenu)
{
    quietStart();
    start();
    struct Item {
        QAction *action;
        const char *caption;
        QKeySequence key;
        const char *menu;
    };
    const TAddressMain &w = *window;
    const Item items[] = {
        {w.NewFileMenu, "&New Address Database", {}, "&File"},
        {w.OpenFileMenu, "&Open Address DataBase", {}, "&File"},
        {w.mnuBrowse, "&Browse", QKeySequence(Qt::CTRL | Qt::Key_B), "&File"},
        {w.mnuSearch, "&Search", QKeySequence(Qt::CTRL | Qt::Key_S), "&File"},
        {w.mnuImportDBF, "Import from &DBF File", {}, "&File"},
        {w.mnuImportASCII, "Import from &ASCII File", {}, "&File"},
        {w.Importfrom, "Import from Corvantis 1.x DBF", {}, "&File"},
        {w.mnuImportFromCorvantis2xFile, "Import from Corvantis 2.x DBF", {}, "&File"},
        {w.CopyRecordsOutMnu, "&Export ", {}, "&File"},
        {w.mnuSetFilter, "Set &Filter", QKeySequence(Qt::CTRL | Qt::Key_F), "&File"},
        {w.mnuClearFilter, "&Clear Filter", {}, "&File"},
        {w.mnuSaveFilter, "&Save Filter", {}, "&File"},
        {w.mnuRestoreFilter, "&Restore Filter", {}, "&File"},
        {w.ClearTags1, "Clear &Tags", {}, "&File"},
        {w.mnuTagAllFilterMatches, "&Tag All Filter Matches", {}, "&File"},
        {w.mnuRebuildIndexes, "&Rebuild Indexes for this file", {}, "&File"},
        {w.RebuildSystemFileindexesmnu, "Rebuild S&ystem File indexes", {}, "&File"},
        {w.Prefences1, "Pre&ferences", {}, "&File"},
        {w.ExitMenu, "E&xit ", {}, "&File"},
        {w.mnufirst, "&First", QKeySequence(Qt::CTRL | Qt::Key_Up), "&Record"},
        {w.mnuPrev, "&Previous", QKeySequence(Qt::CTRL | Qt::Key_Left), "&Record"},
        {w.mnuNext, "&Next", QKeySequence(Qt::CTRL | Qt::Key_Right), "&Record"},
        {w.mnuLast, "&Last", QKeySequence(Qt::CTRL | Qt::Key_Down), "&Record"},
        {w.mnuAdd, "&Add", {}, "&Record"},
        {w.mnuEdit, "&Edit", {}, "&Record"},
        {w.mnuDelete, "&Delete", {}, "&Record"},
        {w.ToClipboard1, "Copy To &Clipboard", {}, "&Record"},
        {w.mnuClone, "Create a Duplicate &Record (Clone)", {}, "&Record"},
        {w.CountZipCodes1, "Count &Zip Codes", {}, "&Utilities"},
        {w.CheckState1, "Check && Repair &State and Zip Codes", {}, "&Utilities"},
        {w.DuplicatesReport1, "Check && Repair &Duplicates", {}, "&Utilities"},
        {w.CaseConversion1, "Con&vert Case", {}, "&Utilities"},
        {w.DeleteRecords1, "Delete &Records", {}, "&Utilities"},
        {w.SearchReplaceFieldValues1, "&Search && Replace Field Values", {}, "&Utilities"},
        {w.LabelsMenu, "Print &Labels", QKeySequence(Qt::CTRL | Qt::Key_L), "&Print"},
        {w.LettersMenu, "Print Le&tters", QKeySequence(Qt::CTRL | Qt::Key_T), "&Print"},
        {w.EnvelopesMenu, "Print &Envelopes", QKeySequence(Qt::CTRL | Qt::Key_E), "&Print"},
        {w.ReportsMenu, "Print &Reports", QKeySequence(Qt::CTRL | Qt::Key_R), "&Print"},
        {w.CurrentRecordMenu, "Print C&urrent Record", QKeySequence(Qt::CTRL | Qt::Key_P), "&Print"},
        {w.PrinterCalibrationMenu, "Printer &Calibration...", {}, "&Print"},
        {w.Contents1, "&Contents", {}, "&Help"},
        {w.mnuHelpGettingStarted, "&Getting Started", {}, "&Help"},
        {w.About1, "&About...", {}, "&Help"},
        {w.SearchforHelpOn1, "Search for Help On", {}, "&Help"},
        {w.HowtoUseHelp1, "How to Use Help", {}, "&Help"},
    };
    for (const Item &item : items) {
        ASSERT_NE(item.action, nullptr) << item.caption;
        EXPECT_EQ(item.action->text(), QLatin1String(item.caption));
        EXPECT_EQ(item.action->shortcut(), item.key) << item.caption;
        const auto *menu = qobject_cast<QMenu *>(item.action->parent());
        ASSERT_NE(menu, nullptr) << item.caption;
        EXPECT_EQ(menu->title(), QLatin1String(item.menu)) << item.caption;
    }
    // The sort menu holds its 14 orders; the Edit menu is there but hidden.
    EXPECT_EQ(w.mnuOrder->title(), QStringLiteral("&Sort"));
    EXPECT_EQ(w.mnuOrder->actions().size(), 14);
    EXPECT_EQ(w.mnuEditMenu->title(), QStringLiteral("Ed&it"));
    EXPECT_FALSE(w.mnuEditMenu->menuAction()->isVisible());
    QStringList edit;
    for (const QAction *a : w.mnuEditMenu->actions())
        edit << a->text() + QLatin1Char(' ') + a->shortcut().toString();
    EXPECT_EQ(edit, (QStringList{"&Undo typing Ctrl+Z", "Cu&t Ctrl+X", "&Copy Ctrl+C", "&Paste Ctrl+V"}));
}

TEST_F(MainWindow, MenusFollowTheStateAndItemsOfLaterWindowsStayOff)
{
    quietStart();
    const QString path = copyFixture("ADD0001");
    start();
    window->OpenCVWDBF(path);
    const TAddressMain &w = *window;
    // A shown record, no filter.
    for (QAction *a : {w.mnuBrowse, w.mnuSearch, w.ClearTags1, w.mnuRestoreFilter, w.CurrentRecordMenu,
                       w.ReportsMenu, w.CountZipCodes1, w.mnuImportDBF, w.mnuImportASCII, w.Importfrom,
                       w.mnuImportFromCorvantis2xFile, w.CopyRecordsOutMnu})
        EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
    EXPECT_TRUE(w.BrowseButton->isEnabled());
    EXPECT_TRUE(w.ReportsButton->isEnabled());
    EXPECT_TRUE(w.SearchButton->isEnabled());
    EXPECT_TRUE(w.mnuUtilities->isEnabled());
    EXPECT_FALSE(w.mnuTagAllFilterMatches->isEnabled());
    EXPECT_TRUE(w.LabelsMenu->isEnabled());
    EXPECT_TRUE(w.LabelsButton->isEnabled());

    window->setCriteria(stateIs("CA"));
    EXPECT_TRUE(w.mnuTagAllFilterMatches->isEnabled());

    // While editing the File menu and the tools are off.
    window->fieldBox(QStringLiteral("LNAME"))->setFocus();
    QTest::keyClicks(window->fieldBox(QStringLiteral("LNAME")), QStringLiteral("x"));
    ASSERT_TRUE(window->TableCVW->isEditing());
    EXPECT_FALSE(w.FileMenu->isEnabled());
    EXPECT_FALSE(w.mnuUtilities->isEnabled());
    EXPECT_FALSE(w.BrowseButton->isEnabled());
    window->TableCVW->cancelEdit();
}

// ---- Search and tagging from the main window ---------------------------------------------

// Answers the "Search" window: picks the sort name, types the text and presses Ok.
void answerSearch(const QString &sortName, const QString &text)
{
    whenShown<TSearchForm>([sortName, text](TSearchForm *form) {
        form->OrderCombo->setCurrentIndex(form->OrderCombo->findText(sortName));
        QTest::keyClicks(form->SearchEdit, text);
        QTest::mouseClick(form->OkButton, Qt::LeftButton);
    });
}

TEST_F(MainWindow, SearchSelectsTheChosenOrderAndLandsOnTheFirstKeyOrStaysPut)
{
    quietStart();
    const QString path = copyFixture("ADD0001");
    start();
    window->OpenCVWDBF(path);
    window->LastButtonClick();
    const quint32 last = window->TableCVW->recno();

    // Ctrl+S from a box of the form opens the window; the order starts at the checked item.
    whenShown<TSearchForm>([](TSearchForm *form) {
        EXPECT_EQ(form->OrderCombo->currentText(), QStringLiteral("Last Name"));
        EXPECT_EQ(form->OrderCombo->count(), 14);
        form->OrderCombo->setCurrentIndex(form->OrderCombo->findText(QStringLiteral("City")));
        EXPECT_EQ(form->PromptLabel->text(), QStringLiteral("Search City starting with..."));
        QTest::keyClicks(form->SearchEdit, QStringLiteral("zzz"));
        QTest::mouseClick(form->OkButton, Qt::LeftButton);
    });
    window->fieldBox(QStringLiteral("LNAME"))->setFocus();
    QTest::keyClick(window->fieldBox(QStringLiteral("LNAME")), Qt::Key_S, Qt::ControlModifier);
    // Nothing begins with ZZZ: the order changed, the record did not.
    EXPECT_EQ(window->TableCVW->recno(), last);
    EXPECT_EQ(window->SortStatus->text(), QStringLiteral("Sorted by City"));
    EXPECT_TRUE(window->sortAction(QStringLiteral("CITY"))->isChecked());
    EXPECT_FALSE(window->sortAction(QStringLiteral("LNAME"))->isChecked());

    // A city in several states: the first state in alphabetical order.
    answerSearch(QStringLiteral("City"), QStringLiteral("springfield"));
    window->SearchButton->click();
    EXPECT_EQ(box("CITY"), QStringLiteral("Springfield"));
    EXPECT_EQ(box("STATE"), QStringLiteral("IL"));

    // Back to Last Name: the first last name that begins with the text.
    answerSearch(QStringLiteral("Last Name"), QStringLiteral("ba"));
    window->mnuSearch->trigger();
    EXPECT_TRUE(box("LNAME").startsWith(QStringLiteral("Ba"))) << box("LNAME").toStdString();
    window->PriorButtonClick();
    EXPECT_LT(box("LNAME").toUpper(), QStringLiteral("BA"));
    EXPECT_EQ(window->SortStatus->text(), QStringLiteral("Sorted by Last Name"));
}

TEST_F(MainWindow, TheTaggedBoxTogglesTheTagAndClearTagsDropsATaggedFilter)
{
    quietStart();
    const QString path = copyFixture("ADD0001");
    start();
    window->OpenCVWDBF(path);
    const quint32 record = window->TableCVW->recno();
    const bool wasTagged = window->TableCVW->isTagged();

    QTest::mouseClick(window->TaggedCheck, Qt::LeftButton);
    EXPECT_FALSE(window->TableCVW->isEditing());
    EXPECT_NE(window->TableCVW->isTagged(), wasTagged);
    EXPECT_EQ(window->TaggedCheck->isChecked(), window->TableCVW->isTagged());
    if (!window->TableCVW->isTagged())
        QTest::mouseClick(window->TaggedCheck, Qt::LeftButton);
    ASSERT_TRUE(window->TableCVW->isTagged());
    EXPECT_EQ(window->TableCVW->recno(), record);

    // Without a filter Clear Tags leaves the shown record where it is, untagged.
    window->NextButtonClick();
    const quint32 second = window->TableCVW->recno();
    QTest::mouseClick(window->TaggedCheck, Qt::LeftButton);
    window->ClearTags1->trigger();
    EXPECT_EQ(window->TableCVW->recno(), second);
    EXPECT_FALSE(window->TaggedCheck->isChecked());
    window->FirstButtonClick();
    QTest::mouseClick(window->TaggedCheck, Qt::LeftButton);
    ASSERT_TRUE(window->TableCVW->isTagged());

    // Only that record under a Tagged filter; Clear Tags voids it and drops the filter.
    TFilterCriteria tagged;
    tagged.setTagged(true);
    ASSERT_GE(window->setCriteria(tagged).count, 1);
    const QByteArray before = [&] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    window->ClearTags1->trigger();
    EXPECT_TRUE(window->filterExpression().isEmpty());
    EXPECT_FALSE(window->TableCVW->isTagged());
    EXPECT_FALSE(window->TaggedCheck->isChecked());
    QFile after(path);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);

    // Twice from untagged leaves it untagged and the file checks clean.
    QTest::mouseClick(window->TaggedCheck, Qt::LeftButton);
    QTest::mouseClick(window->TaggedCheck, Qt::LeftButton);
    EXPECT_FALSE(window->TableCVW->isTagged());
    EXPECT_TRUE(window->TableCVW->value(QStringLiteral("TAG")).isEmpty());
}

TEST_F(MainWindow, TagAllFilterMatchesTagsEveryMatchThroughTheTaggingWindow)
{
    quietStart();
    const QString path = copyFixture("ADD0001");
    start();
    window->OpenCVWDBF(path);
    const qint64 matches = window->setCriteria(stateIs("CA")).count;
    ASSERT_GT(matches, 1);
    window->LastButtonClick();

    answers = {QMessageBox::Yes};
    whenShown<TTagAllRecords>([](TTagAllRecords *w) {
        QTRY_VERIFY(w->OkButton->isVisible());
        EXPECT_EQ(w->TitleLabel->text(), QStringLiteral("Complete"));
        QTest::mouseClick(w->OkButton, Qt::LeftButton);
    });
    window->mnuTagAllFilterMatches->trigger();
    EXPECT_EQ(captions.last(), QStringLiteral("TAG ALL"));
    EXPECT_EQ(boxes.last(), QStringLiteral("Tag all records matching filter?"));
    EXPECT_TRUE(window->isLive());
    EXPECT_FALSE(window->TableCVW->isFrozen());

    // The first record is shown, and a Tagged filter now shows exactly the matches.
    EXPECT_TRUE(window->TaggedCheck->isChecked());
    TFilterCriteria both = stateIs("CA");
    both.setTagged(true);
    EXPECT_EQ(window->setCriteria(both).count, matches);
    TFilterCriteria tagged;
    tagged.setTagged(true);
    EXPECT_EQ(window->setCriteria(tagged).count, matches);
}

TEST_F(MainWindow, BrowseMovesTheShownRecordTogglesTagsAndKeepsTheColumnOrder)
{
    quietStart();
    const QString path = copyFixture("ADD0001");
    // A column file from an older layout: a field that no longer exists is passed over.
    QDir().mkpath(folder() + QStringLiteral("SYSDATA"));
    QFile list(folder() + QStringLiteral("SYSDATA/FIELDS.LST"));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("OLDFIELD\r\nCITY\r\nLNAME\r\n");
    list.close();
    start();
    window->OpenCVWDBF(path);

    QString shownAfterClick;
    bool tagBefore = false;
    whenShown<TAddressBrowseForm>([&](TAddressBrowseForm *form) {
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Address Browse"));
        const QStringList columns = form->shownColumns();
        EXPECT_FALSE(columns.contains(QStringLiteral("OLDFIELD")));
        const int lname = columns.indexOf(QStringLiteral("LNAME"));
        ASSERT_GE(lname, 0);
        const QModelIndex cell = form->Grid->model()->index(3, lname);
        QTest::mouseClick(form->Grid->viewport(), Qt::LeftButton, {}, form->Grid->visualRect(cell).center());
        // The main window follows the grid.
        shownAfterClick = box("LNAME");
        EXPECT_EQ(form->Grid->model()->data(cell).toString().trimmed(), shownAfterClick);
        tagBefore = window->TableCVW->isTagged();
        QTest::mouseDClick(form->Grid->viewport(), Qt::LeftButton, {}, form->Grid->visualRect(cell).center());
        EXPECT_NE(window->TableCVW->isTagged(), tagBefore);
        QTest::mouseClick(form->OkButton, Qt::LeftButton);
    });
    QTest::keyClick(window.get(), Qt::Key_B, Qt::ControlModifier);
    ASSERT_FALSE(shownAfterClick.isEmpty());
    EXPECT_EQ(box("LNAME"), shownAfterClick);
    EXPECT_NE(window->TaggedCheck->isChecked(), tagBefore);
    EXPECT_TRUE(window->isLive());

    // The column file now names every field object, the old name gone.
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    const QString written = QString::fromLatin1(list.readAll());
    EXPECT_FALSE(written.contains(QStringLiteral("OLDFIELD")));
    EXPECT_TRUE(written.contains(QStringLiteral("CITY")));
    EXPECT_TRUE(written.contains(QStringLiteral("CityStateZip")));

    // While a record is edited the browse item only beeps.
    QTest::keyClicks(window->fieldBox(QStringLiteral("CITY")), QStringLiteral("x"));
    ASSERT_TRUE(window->TableCVW->isEditing());
    const int beeps = window->beepCount();
    window->BrowseButtonClick();
    EXPECT_EQ(window->beepCount(), beeps + 1);
    window->TableCVW->cancelEdit();
}

TEST_F(MainWindow, EnterInTheGettingStartedWindowAtStartUpPressesOk)
{
    start();
    TGettingStarted *welcome = nullptr;
    QTRY_VERIFY((welcome = window->findChild<TGettingStarted *>()) != nullptr && welcome->isVisible());
    welcome->DontShowCheck->setChecked(true);
    // The keys go where the focus is, as a user's would.
    QTRY_VERIFY(QApplication::focusWidget() != nullptr);
    QWidget *focused = QApplication::focusWidget();
    EXPECT_EQ(focused->window(), welcome) << focused->metaObject()->className();
    QTest::keyClick(focused, Qt::Key_Return);
    QTRY_VERIFY(window->findChild<TGettingStarted *>() == nullptr || !welcome->isVisible());
    EXPECT_TRUE(
        TIniFile(settings()).readBool(QStringLiteral("Misc"), QStringLiteral("GettingStarted"), false));
}

// ---- What a user meets on the main window ---------------------------------------------------

TEST_F(MainWindow, TheDateButtonOpensSelectADateWhileBrowsingAndWhileEditing)
{
    quietStart();
    start();
    window->OpenCVWDBF(copyFixture("ADD0001"));
    ASSERT_TRUE(fixture::goToName(*window->TableCVW, "Coleman", "Ruth"));
    int opened = 0;
    QDate chosen(2001, 2, 3);
    window->editCommands().setDialogRunner([&](QDialog &d) {
        auto *form = dynamic_cast<TSelectDateForm *>(&d);
        if (!form)
            return d.exec();
        ++opened;
        form->Calendar->setSelectedDate(chosen);
        QTest::mouseClick(form->OkButton, Qt::LeftButton);
        return form->result();
    });
    // Browsing: the button works and starts the edit.
    ASSERT_TRUE(window->DateLabel->isVisible());
    EXPECT_TRUE(window->DateLabel->isEnabled());
    QTest::mouseClick(window->DateLabel, Qt::LeftButton);
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(window->TableCVW->isEditing());
    EXPECT_EQ(window->TableCVW->value(QStringLiteral("DATE")), QStringLiteral("20010203"));
    EXPECT_EQ(window->DateEdit->text(), chosen.toString(TDateText::shortDatePattern()));

    // Editing: it works again on the same unsaved record.
    chosen = QDate(2002, 3, 4);
    EXPECT_TRUE(window->DateLabel->isEnabled());
    QTest::mouseClick(window->DateLabel, Qt::LeftButton);
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(window->TableCVW->value(QStringLiteral("DATE")), QStringLiteral("20020304"));
    QTest::mouseClick(window->SaveButton, Qt::LeftButton);
    EXPECT_FALSE(window->TableCVW->isEditing());
    EXPECT_EQ(window->TableCVW->value(QStringLiteral("DATE")), QStringLiteral("20020304"));

    // No record shown: nothing to date.
    window->setCriteria(stateIs("ZZ"));
    window->TableCVW->close();
    window->OnOpenCVWFile();
    EXPECT_FALSE(window->DateLabel->isEnabled());
}

struct MoveKeyCase {
    const char *focus; // a field name, or "MEMO"
    Qt::Key key;
    int steps; // +1 next, -1 previous, 0 first/last by the key
};
class MainWindowMoveKeys : public MainWindow, public ::testing::WithParamInterface<MoveKeyCase>
{
};

TEST_P(MainWindowMoveKeys, CtrlArrowsMoveTheRecordFromTheBoxWithTheFocus)
{
    const MoveKeyCase c = GetParam();
    quietStart();
    start();
    window->OpenCVWDBF(copyFixture("ADD0001"));
    const QList<quint32> order = fixture::shownOrder(QStringLiteral("ADD0001"), QStringLiteral("LNAME"));
    ASSERT_TRUE(window->TableCVW->goTo(order.at(10)));
    QWidget *target = nullptr;
    if (QLatin1String(c.focus) == QLatin1String("MEMO")) {
        window->PageTabs->setCurrentIndex(1);
        target = window->MemoEdit;
    } else {
        target = window->fieldBox(QLatin1String(c.focus));
    }
    target->setFocus(Qt::OtherFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), target);
    QTest::keyClick(QApplication::focusWidget(), c.key, Qt::ControlModifier);
    quint32 expected = 0;
    if (c.key == Qt::Key_Up)
        expected = order.first();
    else if (c.key == Qt::Key_Down)
        expected = order.last();
    else
        expected = order.at(10 + c.steps);
    EXPECT_EQ(window->TableCVW->recno(), expected) << c.focus;
    EXPECT_FALSE(window->TableCVW->isEditing());
    // The box shows the new record; nothing was typed into the old one.
    if (target != window->MemoEdit) {
        EXPECT_EQ(static_cast<QLineEdit *>(target)->text(), window->TableCVW->value(QLatin1String(c.focus)));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, MainWindowMoveKeys,
    ::testing::Values(MoveKeyCase{"LNAME", Qt::Key_Right, 1}, MoveKeyCase{"LNAME", Qt::Key_Left, -1},
                      MoveKeyCase{"CITY", Qt::Key_Right, 1}, MoveKeyCase{"EMAIL", Qt::Key_Left, -1},
                      MoveKeyCase{"MEMO", Qt::Key_Right, 1}, MoveKeyCase{"MEMO", Qt::Key_Left, -1},
                      MoveKeyCase{"LNAME", Qt::Key_Up, 0}, MoveKeyCase{"MEMO", Qt::Key_Down, 0}));

TEST_F(MainWindow, CtrlArrowsInABoxWhileEditingStayWordMovesThere)
{
    quietStart();
    start();
    window->OpenCVWDBF(copyFixture("ADD0001"));
    QTest::mouseClick(window->EditButton, Qt::LeftButton);
    ASSERT_TRUE(window->TableCVW->isEditing());
    const quint32 here = window->TableCVW->recno();
    QLineEdit *street = window->fieldBox(QStringLiteral("STREET"));
    street->setFocus(Qt::OtherFocusReason);
    street->selectAll();
    QTest::keyClicks(street, QStringLiteral("12 Main Street"));
    QTest::keyClick(street, Qt::Key_Home);
    QTest::keyClick(street, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(window->TableCVW->recno(), here);
    EXPECT_GT(street->cursorPosition(), 0);
    answers = {QMessageBox::Yes};
    QTest::mouseClick(window->CancelButton, Qt::LeftButton);
}

TEST_F(MainWindow, WithNoFileOpenClearFilterClearsTheKeptCriteriaAndSetFilterShowsThem)
{
    quietStart();
    const QString path = copyFixture("ADD0001");
    start();
    window->OpenCVWDBF(path);
    window->setCriteria(stateIs("CA"));
    ASSERT_FALSE(window->filterExpression().isEmpty());
    // The file goes; the criteria stay for the next one.
    boxes.clear();
    window->OpenCVWDBF(data() + QStringLiteral("/GONE.DBF"));
    ASSERT_FALSE(window->TableCVW->isOpen());
    ASSERT_FALSE(window->filterExpression().isEmpty());

    // "Set Filter" shows the kept criteria; clearing them there and Ok drops them.
    ASSERT_TRUE(window->mnuSetFilter->isEnabled());
    QString shownState;
    whenShown<TAddressQueryForm>([&](TAddressQueryForm *form) {
        shownState = form->qState->text();
        QTest::mouseClick(form->ClearButton, Qt::LeftButton);
        QTest::mouseClick(form->OkButton, Qt::LeftButton);
    });
    window->mnuSetFilter->trigger();
    EXPECT_EQ(shownState, QStringLiteral("CA"));
    EXPECT_TRUE(window->filterExpression().isEmpty());
    EXPECT_FALSE(window->ClearFilterButton->isVisible());

    // "Clear Filter" with kept criteria and no file clears them too.
    window->OpenCVWDBF(path);
    window->setCriteria(stateIs("CA"));
    window->OpenCVWDBF(data() + QStringLiteral("/GONE.DBF"));
    ASSERT_TRUE(window->ClearFilterButton->isVisible());
    ASSERT_TRUE(window->ClearFilterButton->isEnabled());
    QTest::mouseClick(window->ClearFilterButton, Qt::LeftButton);
    EXPECT_TRUE(window->filterExpression().isEmpty());
    EXPECT_EQ(window->criteria(), TFilterCriteria());
    EXPECT_FALSE(window->ClearFilterButton->isVisible());
    // The next file shows every record.
    window->OpenCVWDBF(path);
    EXPECT_EQ(window->FilterStatus->text(), QStringLiteral("275 records (no filter)"));
}

TEST_F(MainWindow, TheNewRecordWindowsZipIsLookedUpBeforeTheDuplicateQuestion)
{
    quietStart();
    start();
    window->OpenCVWDBF(copyFixture("ADD0001"));
    TAddingPrefs p;
    p.PlugCityState = true;
    p.AutoDupCheck = true;
    window->editCommands().setPrefs(p);
    window->editCommands().setDialogRunner([](QDialog &d) {
        auto &w = dynamic_cast<TNewRecordForm &>(d);
        QTest::keyClicks(w.LastNameEdit, QStringLiteral("Coleman"));
        QTest::keyClicks(w.FirstNameEdit, QStringLiteral("Ruth"));
        QTest::keyClicks(w.ZipEdit, QStringLiteral("89101"));
        QTest::keyClick(w.ZipEdit, Qt::Key_Return);
        return w.result();
    });
    // While the duplicate question is up the record the ZIP leads to gets another city: the
    // city filled in is the one the look-up found before the question was asked.
    TAddressTable &table = *window->TableCVW;
    QStringList asked;
    TMessages::setAnswerer([&](const TMessageRequest &request) {
        asked.append(request.caption);
        if (request.caption == QLatin1String("Possible Duplicate")) {
            const QString order = table.orderTag();
            EXPECT_TRUE(table.setOrderTag(QStringLiteral("ZIP")));
            EXPECT_TRUE(table.seek(QStringLiteral("89101")));
            EXPECT_TRUE(table.setValue(QStringLiteral("CITY"), QStringLiteral("Elsewhere")));
            EXPECT_TRUE(table.post());
            EXPECT_TRUE(table.setOrderTag(order));
            return QMessageBox::Yes;
        }
        return QMessageBox::Ok;
    });
    QTest::mouseClick(window->AddButton, Qt::LeftButton);
    EXPECT_EQ(asked, QStringList{QStringLiteral("Possible Duplicate")});
    ASSERT_TRUE(table.isEditing());
    EXPECT_EQ(box("ZIP"), QStringLiteral("89101"));
    EXPECT_EQ(box("CITY"), QStringLiteral("Las Vegas"));
    EXPECT_EQ(box("STATE"), QStringLiteral("NV"));
    EXPECT_EQ(box("LNAME"), QStringLiteral("Coleman"));
    table.cancelEdit();
}

// Right-clicks `control` through its window, as the windowing system delivers a user's click
// (which makes the context menu request), and chooses "What's this?" in the menu that opens;
// answers the text of the popup that shows, or "<no menu>" / "<no item>" / "<no popup>".
QString whatsThisOf(QWidget *control)
{
    QString seen = QStringLiteral("<no menu>");
    whenShown<QMenu>([&seen](QMenu *menu) {
        seen = QStringLiteral("<no item>");
        for (QAction *a : menu->actions()) {
            if (a->text() == TWhatsThis::menuCaption()) {
                seen = QStringLiteral("<no popup>");
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
                return;
            }
        }
        menu->close();
    });
    QWidget *top = control->window();
    const QPoint at = control->mapTo(top, control->rect().center());
    QTest::mouseClick(top->windowHandle(), Qt::RightButton, {}, at);
    if (QLabel *popup = TWhatsThis::popup()) {
        seen = popup->text();
        popup->close();
    }
    return seen;
}

TEST_F(MainWindow, EveryControlOffersWhatsThisWithATextOfItsOwn)
{
    quietStart();
    start();
    window->OpenCVWDBF(copyFixture("ADD0001"));
    // Every control of the window has a text, and no two controls of different kinds share one.
    QList<QWidget *> controls;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        const bool control =
            qobject_cast<QAbstractButton *>(w) || qobject_cast<QLineEdit *>(w) ||
            qobject_cast<QPlainTextEdit *>(w) || qobject_cast<QTabBar *>(w) ||
            (qobject_cast<QLabel *>(w) && w->window() == window.get() && !w->inherits("QMenu"));
        // Qt's own parts of a control (the tab bar's scroll arrows, the menu bar's overflow
        // button) belong to that control.
        const bool part = w->objectName().startsWith(QLatin1String("qt_")) ||
                          qobject_cast<QTabBar *>(w->parentWidget()) != nullptr;
        if (!control || part || w->window() != window.get())
            continue;
        controls.append(w);
        EXPECT_FALSE(TWhatsThis::text(w).isEmpty())
            << w->metaObject()->className() << " " << w->objectName().toStdString() << " "
            << (qobject_cast<QAbstractButton *>(w) ? qobject_cast<QAbstractButton *>(w)->text().toStdString()
                                                   : std::string());
    }
    EXPECT_GT(controls.size(), 60);

    // A right click shows it: on a button, a text box (whose own menu stays), the memo, the
    // Tagged box and the tab bar.
    const QString lastText = TWhatsThis::text(window->fieldBox(QStringLiteral("LNAME")));
    EXPECT_EQ(whatsThisOf(window->fieldBox(QStringLiteral("LNAME"))), lastText);
    EXPECT_EQ(whatsThisOf(window->AddButton), TWhatsThis::text(window->AddButton));
    EXPECT_EQ(whatsThisOf(window->TaggedCheck), TWhatsThis::text(window->TaggedCheck));
    EXPECT_EQ(whatsThisOf(window->PageTabs->tabBar()), TWhatsThis::text(window->PageTabs->tabBar()));
    window->PageTabs->setCurrentIndex(1);
    EXPECT_EQ(whatsThisOf(window->MemoEdit), TWhatsThis::text(window->MemoEdit));
    // A right click on the Tagged box does not toggle the tag.
    EXPECT_FALSE(window->TableCVW->isEditing());
}

TEST_F(MainWindow, TheProgramPictureIsTheWindowIconAndTheAboutBoxPicture)
{
    quietStart();
    start();
    const QIcon icon = window->windowIcon();
    ASSERT_FALSE(icon.isNull());
    const QImage small = icon.pixmap(32, 32).toImage();
    ASSERT_FALSE(small.isNull());
    // Drawn, not blank: the middle of the picture is opaque.
    EXPECT_EQ(qAlpha(small.pixel(16, 16)), 255);
    QImage aboutPicture;
    whenShown<QMessageBox>([&](QMessageBox *box) {
        aboutPicture = box->iconPixmap().toImage();
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    TMessages::setAnswerer({});
    window->About1->trigger();
    ASSERT_FALSE(aboutPicture.isNull());
    EXPECT_GE(aboutPicture.width(), 48);
    EXPECT_EQ(qAlpha(aboutPicture.pixel(aboutPicture.width() / 2, aboutPicture.height() / 2)), 255);
}

TEST_F(MainWindow, StartUpShowsTheFirstRecordOfTheFirstRecentFile)
{
    quietStart();
    const QString path = copyFixture("ADD0001");
    {
        TIniFile ini(settings());
        TRecentFiles::save(ini, {path});
    }
    start();
    ASSERT_TRUE(window->TableCVW->isOpen());
    const QList<quint32> order = fixture::shownOrder(QStringLiteral("ADD0001"), QStringLiteral("LNAME"));
    EXPECT_EQ(window->TableCVW->recno(), order.first());
    // The first record in Last Name order is a blank one; the next is shown as it is stored.
    EXPECT_EQ(box("LNAME"), QString());
    EXPECT_TRUE(window->EditButton->isEnabled());
    QTest::mouseClick(window->NextButton, Qt::LeftButton);
    EXPECT_EQ(box("FNAME"), QStringLiteral("Leading"));
    EXPECT_EQ(window->FilterStatus->text(), QStringLiteral("275 records (no filter)"));
}

// ---- Letters ----------------------------------------------------------------------------

TEST_F(MainWindow, LettersButtonAndMenuOpenPrintLettersOverLetterDbf)
{
    quietStart();
    start();
    window->setPrinterService(std::make_unique<TPdfPrinterService>(folder() + QStringLiteral("letters.pdf")));
    // No file, no letters.
    EXPECT_FALSE(window->LettersButton->isEnabled());
    EXPECT_FALSE(window->LettersMenu->isEnabled());
    window->OpenCVWDBF(copyFixture("ADD0001"));
    ASSERT_TRUE(window->LettersButton->isEnabled());
    ASSERT_TRUE(window->LettersMenu->isEnabled());
    ASSERT_TRUE(QDir().mkpath(folder() + QStringLiteral("sysdata")));
    const quint32 current = window->TableCVW->recno();

    QStringList titles;
    bool matchingEnabled = true;
    const auto close = [&](TcVLetters *letters) {
        titles << letters->windowTitle();
        matchingEnabled = letters->MatchingRecords->isEnabled();
        QTest::mouseClick(letters->ReturnButton, Qt::LeftButton);
    };
    whenShown<TcVLetters>(close);
    QTest::mouseClick(window->LettersButton, Qt::LeftButton);
    // With no filter in force the filter's records cannot be chosen.
    EXPECT_FALSE(matchingEnabled);
    whenShown<TcVLetters>(close);
    window->LettersMenu->trigger();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("Print Letters"), QStringLiteral("Print Letters")}));
    EXPECT_EQ(window->LettersMenu->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_T));
    EXPECT_TRUE(QFile::exists(folder() + QStringLiteral("sysdata/LETTER.DBF")));
    EXPECT_EQ(window->TableCVW->recno(), current);
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(QLatin1Char('|')).toStdString();
}

// ---- Envelopes --------------------------------------------------------------------------

TEST_F(MainWindow, EnvelopesButtonAndMenuOpenPrintEnvelopeOverEnvelopeDbf)
{
    quietStart();
    start();
    window->setPrinterService(
        std::make_unique<TPdfPrinterService>(folder() + QStringLiteral("envelopes.pdf")));
    EXPECT_FALSE(window->EnvelopesButton->isEnabled());
    EXPECT_FALSE(window->EnvelopesMenu->isEnabled());
    window->OpenCVWDBF(copyFixture("ADD0001"));
    ASSERT_TRUE(window->EnvelopesButton->isEnabled());
    ASSERT_TRUE(window->EnvelopesMenu->isEnabled());
    const quint32 current = window->TableCVW->recno();

    QStringList titles;
    const auto close = [&](TCVEnvelopes *envelopes) {
        titles << envelopes->windowTitle();
        QTest::mouseClick(envelopes->OkButton, Qt::LeftButton);
    };
    whenShown<TCVEnvelopes>(close);
    QTest::mouseClick(window->EnvelopesButton, Qt::LeftButton);
    whenShown<TCVEnvelopes>(close);
    window->EnvelopesMenu->trigger();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("Print Envelope"), QStringLiteral("Print Envelope")}));
    EXPECT_EQ(window->EnvelopesMenu->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
    EXPECT_TRUE(QFile::exists(folder() + QStringLiteral("sysdata/ENVELOPE.DBF")));
    EXPECT_EQ(window->TableCVW->recno(), current);
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(QLatin1Char('|')).toStdString();
}

TEST_F(MainWindow, PrinterCalibrationOpensOverThePrintingServiceAndKeepsThePrinter)
{
    quietStart();
    start();
    window->setPrinterService(std::make_unique<TPdfPrinterService>(folder() + QStringLiteral("sheet.pdf")));
    QString title;
    QString printer;
    whenShown<TPrinterCalibrationForm>([&](TPrinterCalibrationForm *form) {
        title = form->windowTitle();
        printer = form->PrinterCombo->currentText();
        QTest::mouseClick(form->CloseButton, Qt::LeftButton);
    });
    window->PrinterCalibrationMenu->trigger();
    EXPECT_EQ(title, QStringLiteral("Printer Calibration"));
    EXPECT_EQ(printer, QStringLiteral("PDF"));
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(QLatin1Char('|')).toStdString();
}

// ---- Labels -----------------------------------------------------------------------------

TEST_F(MainWindow, LabelsButtonAndMenuOpenPrintLabelsOverLabelDbf)
{
    quietStart();
    start();
    window->setPrinterService(std::make_unique<TPdfPrinterService>(folder() + QStringLiteral("labels.pdf")));
    EXPECT_FALSE(window->LabelsButton->isEnabled());
    EXPECT_FALSE(window->LabelsMenu->isEnabled());
    window->OpenCVWDBF(copyFixture("ADD0001"));
    ASSERT_TRUE(window->LabelsButton->isEnabled());
    ASSERT_TRUE(window->LabelsMenu->isEnabled());
    ASSERT_TRUE(QDir().mkpath(folder() + QStringLiteral("sysdata")));
    const quint32 current = window->TableCVW->recno();

    QStringList titles;
    const auto close = [&](TLabelSetupScreen *labels) {
        titles << labels->windowTitle();
        QTest::mouseClick(labels->OkButton, Qt::LeftButton);
    };
    whenShown<TLabelSetupScreen>(close);
    QTest::mouseClick(window->LabelsButton, Qt::LeftButton);
    whenShown<TLabelSetupScreen>(close);
    window->LabelsMenu->trigger();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("Print Labels"), QStringLiteral("Print Labels")}));
    EXPECT_EQ(window->LabelsMenu->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
    EXPECT_TRUE(QFile::exists(folder() + QStringLiteral("sysdata/LABEL.DBF")));
    EXPECT_EQ(window->TableCVW->recno(), current);
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(QLatin1Char('|')).toStdString();
}

// ---- Reports and the ZIP count ----------------------------------------------------------

TEST_F(MainWindow, ReportsAndCountZipCodesOpenTheirWindowsAndTheRecordComesBack)
{
    quietStart();
    const QString path = copyFixture("ADD0001");
    start();
    window->OpenCVWDBF(path);
    window->setPrinterService(std::make_unique<TPdfPrinterService>(folder() + QStringLiteral("printed.pdf")));
    ASSERT_TRUE(window->TableCVW->goTo(200).ok);
    window->RefreshForm();
    window->SetButtons();
    ASSERT_TRUE(window->ReportsButton->isEnabled());

    bool filterChoice = true;
    whenShown<TReportSetup>([&filterChoice](TReportSetup *reports) {
        filterChoice = reports->rbQFilter->isEnabled(); // no filter is set
        // A preview moves the table about; closing the window brings the record back.
        reports->ReportList->setCurrentRow(2);
        QTest::mouseClick(reports->OkButton, Qt::LeftButton);
    });
    QTest::mouseClick(window->ReportsButton, Qt::LeftButton);
    EXPECT_FALSE(filterChoice);
    EXPECT_EQ(window->TableCVW->recno(), 200u);
    EXPECT_EQ(window->TableCVW->orderTag().toUpper(), QStringLiteral("LNAME"));

    qint64 counted = -1;
    // The window counts as it opens, letting window events run meanwhile: Ok once it is done.
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, &counted] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *count = qobject_cast<TCountZipCodes *>(w);
            if (count && count->isVisible() && !count->isCounting() && count->counts().isCounted()) {
                poll->stop();
                poll->deleteLater();
                counted = count->counts().total();
                QTest::mouseClick(count->OkButton, Qt::LeftButton);
                return;
            }
        }
    });
    poll->start(5);
    window->CountZipCodes1->trigger();
    EXPECT_EQ(counted, window->TableCVW->visibleCount());
    EXPECT_EQ(window->TableCVW->recno(), 200u);
}

TEST_F(MainWindow, DataToolItemsOpenTheirWindowsThroughTheHandOver)
{
    quietStart();
    const QString path = copyFixture("ADD0001");
    start();
    window->OpenCVWDBF(path);
    ASSERT_TRUE(window->TableCVW->goTo(200).ok);
    window->RefreshForm();
    window->SetButtons();
    for (QAction *a : {window->CheckState1, window->DuplicatesReport1, window->CaseConversion1,
                       window->DeleteRecords1, window->SearchReplaceFieldValues1})
        EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
    const QString query = window->TableCVW->query();

    // The duplicate check runs under "!ISDEL" and leaves no temporary index behind.
    int pairs = -1;
    whenShown<TDupCheck>([&pairs](TDupCheck *check) {
        QTest::mouseClick(check->CheckitButton, Qt::LeftButton);
        pairs = check->finder().pairs();
        QTest::mouseClick(check->OkButton, Qt::LeftButton);
    });
    window->DuplicatesReport1->trigger();
    EXPECT_GE(pairs, 0);
    EXPECT_EQ(window->TableCVW->query(), query);
    EXPECT_FALSE(QFile::exists(window->session().programFolder() + QStringLiteral("_chkdup.idx")));

    // With a filter set, search and replace offers it; Cancel changes nothing.
    window->setCriteria(stateIs("CA"));
    const QString filtered = window->TableCVW->query();
    bool filterChoice = false;
    whenShown<TSearchAndReplace>([&filterChoice](TSearchAndReplace *replace) {
        filterChoice = replace->ReplaceFilter->isEnabled();
        QTest::mouseClick(replace->CancelButton, Qt::LeftButton);
    });
    window->SearchReplaceFieldValues1->trigger();
    EXPECT_TRUE(filterChoice);
    EXPECT_EQ(window->TableCVW->query(), filtered);

    // Without the reference list the state check is refused with its message.
    QFile::remove(TSystemTables::dbfPath(window->session().programFolder(), TSystemTable::Csz));
    QStringList texts;
    TMessages::setAnswerer([&texts](const TMessageRequest &r) {
        texts << r.text;
        return QMessageBox::Ok;
    });
    window->CheckState1->trigger();
    TMessages::setAnswerer({});
    EXPECT_EQ(texts,
              QStringList{QStringLiteral(
                  "The file CSZ.DBF has been removed from the SYSDATA directory. Unable to continue.")});
}

// ---- Imports and export ------------------------------------------------------------------

TEST_F(MainWindow, TextImportWorksOnTheFileAloneAndTheFileComesBackWithTheRecords)
{
    quietStart();
    const QString path = copyFixture("ADD0001");
    start();
    window->OpenCVWDBF(path);
    const quint32 before = window->TableCVW->engine().recordCount();
    const QString csv = folder() + QStringLiteral("in.csv");
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Aaronson,Zed\r\nAaronson,Yul\r\n");
    file.close();
    bool mainClosed = false;
    QObject::connect(window.get(), &TAddressMain::importWindowOpened, window.get(), [&](QDialog *dialog) {
        mainClosed = !window->TableCVW->isOpen();
        auto *import = qobject_cast<TAsciiImport *>(dialog);
        ASSERT_NE(import, nullptr);
        import->setFileChooser([csv] { return csv;
    });
    QTimer::singleShot(0, import, [import] {
        QTest::mouseClick(import->SelectButton, Qt::LeftButton);
        QTest::mouseClick(import->CancelButton, Qt::LeftButton);
    });
}, Qt::SingleShotConnection);
window->mnuImportASCII->trigger();
EXPECT_TRUE(mainClosed);
ASSERT_TRUE(window->TableCVW->isOpen());
EXPECT_EQ(window->TableCVW->engine().recordCount(), before);
EXPECT_EQ(window->TableCVW->orderTag().toUpper(), QStringLiteral("LNAME"));
}

TEST_F(MainWindow, ExportNeedsVisibleRecordsAndBringsTheRecordBack)
{
    quietStart();
    const QString path = copyFixture("ADD0001");
    start();
    window->OpenCVWDBF(path);
    ASSERT_TRUE(window->TableCVW->goTo(200).ok);
    window->RefreshForm();
    window->SetButtons();
    const QString out = folder() + QStringLiteral("out.txt");
    qint64 copied = -1;
    QObject::connect(
        window.get(), &TAddressMain::exportWindowOpened, window.get(),
        [&](QDialog *dialog) {
            auto *copy = qobject_cast<TCopyOut *>(dialog);
            ASSERT_NE(copy, nullptr);
            copy->setFileChooser([out] { return out; });
            QTimer::singleShot(0, copy, [copy, &copied] {
                QTest::mouseClick(copy->AsciiChoice, Qt::LeftButton);
                QTest::mouseClick(copy->SaveAsButton, Qt::LeftButton);
                copied = copy->outcome().copied;
            });
        },
        Qt::SingleShotConnection);
    window->CopyRecordsOutMnu->trigger();
    EXPECT_EQ(copied, window->TableCVW->visibleCount());
    EXPECT_EQ(window->TableCVW->recno(), 200u);
}

// ---- The dialler -------------------------------------------------------------------------

TEST_F(MainWindow, DialButtonsOpenTheDiallerWithTheRecordsFirstOrSecondPhone)
{
    quietStart();
    const QString path = copyFixture("ADD0001");
    start();
    window->OpenCVWDBF(path);
    ASSERT_TRUE(window->TableCVW->goTo(1).ok); // PHONE 801.555.0181, PHONE2 empty
    window->RefreshForm();
    window->SetButtons();
    ASSERT_TRUE(window->Dial1Button->isVisible());
    ASSERT_TRUE(window->Dial1Button->isEnabled());

    QStringList numbers;
    auto answer = [&numbers](TCVDialer *dialer) {
        numbers.append(dialer->NumberEdit->text());
        QTest::mouseClick(dialer->CancelButton, Qt::LeftButton);
    };
    whenShown<TCVDialer>(answer);
    QTest::mouseClick(window->Dial1Button, Qt::LeftButton);
    whenShown<TCVDialer>(answer);
    QTest::mouseClick(window->Dial2Button, Qt::LeftButton);
    EXPECT_EQ(numbers, (QStringList{QStringLiteral("801.555.0181"), QString()}));
    // The record stays where it was.
    EXPECT_EQ(window->TableCVW->recno(), 1u);
}
