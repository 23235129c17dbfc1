// The "Print Letters" window driven offscreen through its buttons: the buttons with and without
// letters, New and Modify through the designer, Delete and Clone with their questions, Print for
// the record choices with the status window's final texts, cancel answered No and Yes, a failing
// printer, and the preview.
#include "TcVLetters.h"

#include "LetterPrintSupport.h"
#include "QtPrinters.h"
#include "TAddressSession.h"
#include "TLetterDesign.h"
#include "TLetterPrintForm.h"
#include "TLetterTemplates.h"
#include "TMessages.h"
#include "TPdfPrinterService.h"
#include "TRTFPreviewForm.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

using namespace lettertest;

namespace {

// Runs `act` on the first visible top-level window of type W once it shows.
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

// Opens the list of `combo` and clicks its item `row`.
void pick(QComboBox *combo, int row)
{
    combo->showPopup();
    QAbstractItemView *view = combo->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
    const QRect item = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
}

// Clicks a radio button or check box on its label.
void clickChoice(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

// A PDF printer whose print dialog is confirmed, and which can stop giving pages.
class DialogPrinter : public TPdfPrinterService
{
public:
    explicit DialogPrinter(const QString &file) : TPdfPrinterService(file, 300) {}
    bool showPrintDialog(TPrintChoice &) override { return true; }
    bool newPage() override
    {
        if (onNewPage)
            onNewPage();
        return pagesLeft-- > 0 && TPdfPrinterService::newPage();
    }
    int pagesLeft = 1 << 30;
    std::function<void()> onNewPage;
};

// Waits for the status window, then presses its button when the run is over; `final` gets the
// last status text.
void closeStatusWhenDone(QString &final, std::function<void(TLetterPrintForm *)> whileRunning = {})
{
    whenShown<TLetterPrintForm>([&final, whileRunning](TLetterPrintForm *status) {
        if (whileRunning)
            whileRunning(status);
        auto *poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, [poll, status, &final] {
            if (!status->hasRun())
                return;
            poll->stop();
            poll->deleteLater();
            final = status->StatusLabel->text();
            QTest::mouseClick(status->CancelButton, Qt::LeftButton);
        });
        poll->start(5);
    });
}

class LettersWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = QString::fromStdString(dir.path()) + QLatin1Char('/');
        ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("sysdata")));
        ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("DATA")));
        const QString address = folder + QStringLiteral("DATA/add0001.DBF");
        {
            TAddressTable table;
            makeAddressFile(address,
                            {{"Ann", "Lee", "Salem"},
                             {"Bob", "Moreno", "Bend", true},
                             {"Carla", "Nguyen", "Eugene"},
                             {"Dieter", "Olsen", "Medford"}},
                            table);
        }
        session = std::make_unique<TAddressSession>(folder + QStringLiteral("CORVAN.ini"));
        session->loadSettings();
        ASSERT_EQ(session->open(address).outcome, TOpenOutcome::Opened);
        pdf = folder + QStringLiteral("letters.pdf");
        auto service = std::make_unique<DialogPrinter>(pdf);
        printer = service.get();
        session->setPrinterService(std::move(service));
        ASSERT_TRUE(letters.open(folder).ok);
        previous = TMessages::setAnswerer([this](const TMessageRequest &r) {
            boxes << r.caption + QLatin1Char('|') + r.text;
            return answer(r);
        });
    }
    void TearDown() override { TMessages::setAnswerer(previous); }
    void addLetter(const QString &description, const QStringList &pages)
    {
        ASSERT_TRUE(letters.append(description, *letter(pages)).ok);
    }
    void open()
    {
        window = std::make_unique<TcVLetters>(*session, letters);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    QStringList listed() const
    {
        QStringList out;
        for (int i = 0; i < window->LetterList->topLevelItemCount(); ++i)
            out << window->LetterList->topLevelItem(i)->text(0);
        return out;
    }

    TempDir dir;
    QString folder;
    QString pdf;
    std::unique_ptr<TAddressSession> session;
    DialogPrinter *printer = nullptr;
    TLetterTemplates letters;
    std::unique_ptr<TcVLetters> window;
    QStringList boxes;
    std::function<QMessageBox::StandardButton(const TMessageRequest &)> answer = [](const TMessageRequest &) {
        return QMessageBox::Yes;
    };
    TMessages::Answerer previous;
};

TEST_F(LettersWindow, WithoutLettersOnlyNewAndPrinterSetupWorkAndNewStoresTheDesignersLetter)
{
    open();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Print Letters"));
    EXPECT_EQ(window->LetterList->headerItem()->text(0), QStringLiteral("Letter Description"));
    for (QWidget *w :
         {static_cast<QWidget *>(window->ModifyLetter), static_cast<QWidget *>(window->CloneButton),
          static_cast<QWidget *>(window->PrintNow), static_cast<QWidget *>(window->PreviewButton),
          static_cast<QWidget *>(window->Deleteletter), static_cast<QWidget *>(window->LetterList)})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(window->NewLetter->isEnabled());
    EXPECT_TRUE(window->PrinterSetup->isEnabled());
    EXPECT_EQ(window->PrinterLabel->text(), QStringLiteral("PDF"));
    // No filter is in force: the filter's records cannot be chosen; the current record is.
    EXPECT_FALSE(window->MatchingRecords->isEnabled());
    EXPECT_TRUE(window->CurrentRecord->isChecked());

    QString started;
    whenShown<TLetterDesign>([&started](TLetterDesign *design) {
        started = design->Description->text();
        design->Description->setFocus();
        design->Description->selectAll();
        QTest::keyClicks(design->Description, QStringLiteral("Welcome"));
        design->RichEdit->setFocus();
        QTest::keyClicks(design->RichEdit, QStringLiteral("Dear "));
        // "First" follows "Full Name" and "Name and Address" in the list.
        pick(design->InsertField, 2);
        QTest::keyClicks(design->RichEdit, QStringLiteral(","));
        QTest::mouseClick(design->OkButton, Qt::LeftButton);
    });
    QTest::mouseClick(window->NewLetter, Qt::LeftButton);
    EXPECT_EQ(started, QStringLiteral("{untitled}"));
    EXPECT_EQ(listed(), QStringList{QStringLiteral("Welcome")});
    EXPECT_TRUE(window->ModifyLetter->isEnabled());
    QTextDocument stored;
    ASSERT_TRUE(letters.loadDocument(letters.rows().at(0).recno, stored).ok);
    EXPECT_EQ(stored.toPlainText(), QStringLiteral("Dear [First],"));
}

TEST_F(LettersWindow, ModifyCancelledChangesNothingAndOkStoresTheEdit)
{
    addLetter(QStringLiteral("Welcome"), {QStringLiteral("Hello")});
    open();
    whenShown<TLetterDesign>([](TLetterDesign *design) {
        QTest::keyClicks(design->RichEdit, QStringLiteral("xx"));
        QTest::mouseClick(design->CancelButton, Qt::LeftButton);
    });
    QTest::mouseClick(window->ModifyLetter, Qt::LeftButton);
    QTextDocument stored;
    ASSERT_TRUE(letters.loadDocument(letters.rows().at(0).recno, stored).ok);
    EXPECT_EQ(stored.toPlainText(), QStringLiteral("Hello"));

    QString shown;
    whenShown<TLetterDesign>([&shown](TLetterDesign *design) {
        shown = design->RichEdit->toPlainText();
        design->RichEdit->moveCursor(QTextCursor::End);
        QTest::keyClicks(design->RichEdit, QStringLiteral(" [City]"));
        QTest::mouseClick(design->OkButton, Qt::LeftButton);
    });
    QTest::mouseClick(window->ModifyLetter, Qt::LeftButton);
    EXPECT_EQ(shown, QStringLiteral("Hello"));
    ASSERT_TRUE(letters.loadDocument(letters.rows().at(0).recno, stored).ok);
    EXPECT_EQ(stored.toPlainText(), QStringLiteral("Hello [City]"));
}

TEST_F(LettersWindow, DeleteAndCloneAskFirst)
{
    addLetter(QString(50, QLatin1Char('d')), {QStringLiteral("one")});
    addLetter(QStringLiteral("Second"), {QStringLiteral("two")});
    open();
    QMessageBox::StandardButton deleteDefault = QMessageBox::NoButton;
    answer = [&](const TMessageRequest &r) {
        if (r.caption == QLatin1String("DELETE"))
            deleteDefault = r.defaultButton;
        return QMessageBox::No;
    };
    window->LetterList->setCurrentItem(window->LetterList->topLevelItem(1));
    QTest::mouseClick(window->Deleteletter, Qt::LeftButton);
    EXPECT_EQ(listed().size(), 2);
    EXPECT_EQ(deleteDefault, QMessageBox::No);
    answer = [](const TMessageRequest &) { return QMessageBox::Yes; };
    QTest::mouseClick(window->Deleteletter, Qt::LeftButton);
    EXPECT_EQ(listed(), QStringList{QString(50, QLatin1Char('d'))});

    window->LetterList->setCurrentItem(window->LetterList->topLevelItem(0));
    QTest::mouseClick(window->CloneButton, Qt::LeftButton);
    EXPECT_EQ(listed(), QStringList({QString(50, QLatin1Char('d')),
                                     QStringLiteral("Clone of ") + QString(41, QLatin1Char('d'))}));
    EXPECT_EQ(boxes, QStringList({QStringLiteral("DELETE|Delete \"Second\"?"),
                                  QStringLiteral("DELETE|Delete \"Second\"?"),
                                  QStringLiteral("CLONE|Clone \"") + QString(50, QLatin1Char('d')) +
                                      QStringLiteral("\"?")}));
}

TEST_F(LettersWindow, AllRecordsPrintsOutsideTheFilterSkipsDeletedOnesAndPutsTheFilterBack)
{
    TFilterCriteria salem;
    salem.setText(TFilterCriteria::qCity, QStringLiteral("Salem"));
    ASSERT_EQ(session->setCriteria(salem).count, 1);
    const QString query = session->table().query();
    const quint32 current = session->table().recno();
    addLetter(QStringLiteral("Welcome"), {QStringLiteral("Dear [First]"), QStringLiteral("[City]")});
    open();
    EXPECT_TRUE(window->MatchingRecords->isEnabled());
    clickChoice(window->AllRecords);
    window->Copies->setFocus();
    window->Copies->selectAll();
    QTest::keyClicks(window->Copies, QStringLiteral("2"));
    QString final;
    closeStatusWhenDone(final);
    QTest::mouseClick(window->PrintNow, Qt::LeftButton);
    EXPECT_EQ(final, QStringLiteral("Letter Print Completed!"));
    // 2 copies × 2 pages × 3 records.
    EXPECT_EQ(pdfPages(pdf), 12);
    const QStringList pages = pdfPageTexts(pdf);
    EXPECT_FALSE(pages.contains(QStringLiteral("Dear Bob")));
    EXPECT_TRUE(pages.contains(QStringLiteral("Dear Dieter")));
    EXPECT_EQ(session->table().query(), query);
    EXPECT_EQ(session->table().recno(), current);
}

TEST_F(LettersWindow, OnlyTheCurrentRecordIsTheDefault)
{
    addLetter(QStringLiteral("Welcome"), {QStringLiteral("Dear [First] [Last]")});
    ASSERT_TRUE(session->table().next());
    open();
    QString final;
    closeStatusWhenDone(final);
    QTest::mouseClick(window->PrintNow, Qt::LeftButton);
    EXPECT_EQ(final, QStringLiteral("Letter Print Completed!"));
    EXPECT_EQ(pdfPageTexts(pdf), QStringList{QStringLiteral("Dear Carla Nguyen")});
}

TEST_F(LettersWindow, CancelAnsweredNoGoesOnAndYesEndsCanceled)
{
    addLetter(QStringLiteral("Welcome"), {QStringLiteral("Dear [First]")});
    open();
    clickChoice(window->AllRecords);
    for (const auto button : {QMessageBox::No, QMessageBox::Yes}) {
        boxes.clear();
        answer = [button](const TMessageRequest &) { return button; };
        QString final;
        // Cancel is pressed while the second record prints; the request is seen after it.
        bool pressed = false;
        printer->onNewPage = [&pressed] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *status = qobject_cast<TLetterPrintForm *>(w); status && !pressed) {
                    pressed = true;
                    QTest::mouseClick(status->CancelButton, Qt::LeftButton);
                }
        };
        closeStatusWhenDone(final);
        QTest::mouseClick(window->PrintNow, Qt::LeftButton);
        EXPECT_EQ(boxes, QStringList{QStringLiteral("CANCEL|Cancel print job?")});
        if (button == QMessageBox::No) {
            EXPECT_EQ(final, QStringLiteral("Letter Print Completed!"));
            EXPECT_EQ(pdfPages(pdf), 3);
        } else {
            EXPECT_EQ(final, QStringLiteral("Letter Print Canceled!"));
            EXPECT_EQ(boxes.size(), 1);
            EXPECT_FALSE(QFile::exists(pdf));
        }
    }
}

// A printer failing part way used to end the run in silence with "Letter Print Completed!".
TEST_F(LettersWindow, APrinterFailureIsShownAndNotReportedAsCompleted)
{
    addLetter(QStringLiteral("Welcome"), {QStringLiteral("Dear [First]")});
    open();
    clickChoice(window->AllRecords);
    printer->pagesLeft = 1;
    QString final;
    closeStatusWhenDone(final);
    QTest::mouseClick(window->PrintNow, Qt::LeftButton);
    const QString message = QStringLiteral("Unable to print: the printer stopped after page 2");
    EXPECT_EQ(final, message);
    EXPECT_EQ(boxes, QStringList{QStringLiteral("Information|") + message});
}

TEST_F(LettersWindow, PreviewShowsTheLetterMergedWithTheCurrentRecord)
{
    addLetter(QStringLiteral("Welcome"), {QStringLiteral("Dear [First]"), QStringLiteral("two")});
    open();
    QStringList captions;
    int pages = 1;
    whenShown<TRTFPreviewForm>([&](TRTFPreviewForm *preview) {
        captions << preview->windowTitle();
        while (preview->state().nextIndex > 0) {
            QTest::mouseClick(preview->NextPage, Qt::LeftButton);
            ++pages;
        }
        captions << preview->windowTitle();
        QTest::mouseClick(preview->OkButton, Qt::LeftButton);
    });
    QTest::mouseClick(window->PreviewButton, Qt::LeftButton);
    EXPECT_EQ(pages, 2);
    EXPECT_EQ(captions,
              (QStringList{QStringLiteral("Preview Letters"), QStringLiteral("Preview Letters Page 2")}));
}

} // namespace
