#include "TcVLetters.h"

#include "THelpRequest.h"
#include "TWhatsThis.h"

#include "TAddressSession.h"
#include "TIniFile.h"
#include "TLetterDesign.h"
#include "TLetterPreview.h"
#include "TLetterPrint.h"
#include "TLetterPrintForm.h"
#include "TLetterTemplates.h"
#include "TMergeTableRecord.h"
#include "TMessages.h"
#include "TOutputRecords.h"
#include "TPrinterCalibration.h"
#include "TPrinterService.h"
#include "TRTFPreviewForm.h"
#include "TWindowPlacer.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTextDocument>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <initializer_list>
#include <utility>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3300;

namespace {

QPushButton *button(const char *text, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(QString::fromLatin1(text), parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

} // namespace

TcVLetters::TcVLetters(TAddressSession &session, TLetterTemplates &letters, QWidget *mainWindow)
    : QDialog(mainWindow), m_session(session), m_letters(letters), m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("TcVLetters"));
    setWindowTitle(QStringLiteral("Print Letters"));
    setModal(true);

    LetterList = new QTreeWidget(this);
    LetterList->setObjectName(QStringLiteral("LetterList"));
    LetterList->setHeaderLabels({QStringLiteral("Letter Description")});
    LetterList->setRootIsDecorated(false);
    LetterList->setSelectionMode(QAbstractItemView::SingleSelection);
    ModifyLetter = button("Modify", "ModifyLetter", this);
    NewLetter = button("New", "NewLetter", this);
    Deleteletter = button("Delete", "Deleteletter", this);
    CloneButton = button("Clone", "CloneButton", this);
    PrintNow = button("Print", "PrintNow", this);
    PreviewButton = button("Preview", "PreviewButton", this);
    PrinterSetup = button("Printer Setup", "PrinterSetup", this);
    ReturnButton = button("Ok", "ReturnButton", this);
    HelpButton = button("Help", "HelpButton", this);
    PrinterLabel = new QLabel(this);
    PrinterLabel->setObjectName(QStringLiteral("PrinterLabel"));

    auto *records = new QGroupBox(this);
    AllRecords = new QRadioButton(QStringLiteral("All records"), records);
    AllRecords->setObjectName(QStringLiteral("AllRecords"));
    MatchingRecords = new QRadioButton(QStringLiteral("Records matching filter"), records);
    MatchingRecords->setObjectName(QStringLiteral("MatchingRecords"));
    CurrentRecord = new QRadioButton(QStringLiteral("Only current record"), records);
    CurrentRecord->setObjectName(QStringLiteral("CurrentRecord"));
    CurrentRecord->setChecked(true);
    StartFromCurrent = new QCheckBox(QStringLiteral("Start from current record"), records);
    StartFromCurrent->setObjectName(QStringLiteral("StartFromCurrent"));
    auto *recordsLayout = new QVBoxLayout(records);
    for (QWidget *w : {static_cast<QWidget *>(AllRecords), static_cast<QWidget *>(MatchingRecords),
                       static_cast<QWidget *>(CurrentRecord), static_cast<QWidget *>(StartFromCurrent)})
        recordsLayout->addWidget(w);
    // With no filter in force the filter's records are all records.
    MatchingRecords->setEnabled(m_session.isFilterSet());

    Copies = new QSpinBox(this);
    Copies->setObjectName(QStringLiteral("Copies"));
    Copies->setRange(1, 999);
    Copies->setValue(1);
    auto *copiesRow = new QHBoxLayout;
    copiesRow->addWidget(new QLabel(QStringLiteral("# copies of each letter"), this));
    copiesRow->addWidget(Copies);
    copiesRow->addStretch();

    auto *commands = new QVBoxLayout;
    for (QPushButton *b : {ModifyLetter, NewLetter, Deleteletter, CloneButton, PrintNow, PreviewButton,
                           PrinterSetup, ReturnButton, HelpButton})
        commands->addWidget(b);
    commands->addStretch();
    auto *left = new QVBoxLayout;
    left->addWidget(LetterList, 1);
    left->addWidget(records);
    left->addLayout(copiesRow);
    left->addWidget(PrinterLabel);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(commands);
    resize(560, 460);

    connect(ModifyLetter, &QPushButton::clicked, this, &TcVLetters::ModifyLetterClick);
    connect(NewLetter, &QPushButton::clicked, this, &TcVLetters::NewLetterClick);
    connect(Deleteletter, &QPushButton::clicked, this, &TcVLetters::DeleteletterClick);
    connect(CloneButton, &QPushButton::clicked, this, &TcVLetters::CloneButtonClick);
    connect(PrintNow, &QPushButton::clicked, this, &TcVLetters::PrintNowClick);
    connect(PreviewButton, &QPushButton::clicked, this, &TcVLetters::PreviewButtonClick);
    connect(PrinterSetup, &QPushButton::clicked, this, &TcVLetters::PrinterSetupClick);
    connect(ReturnButton, &QPushButton::clicked, this, &TcVLetters::ReturnButtonClick);
    // What each control does, for its "What's this?".
    for (const auto &[control, text] : std::initializer_list<std::pair<QWidget *, const char *>>{
             {LetterList, "The letters you have written. Select the one to print, change, copy or delete."},
             {ModifyLetter, "Opens the selected letter in the Letter Designer."},
             {NewLetter, "Writes a new letter in the Letter Designer."},
             {Deleteletter, "Removes the selected letter after asking."},
             {CloneButton, "Makes a copy of the selected letter under a new name."},
             {PrintNow, "Prints the selected letter for the records chosen below."},
             {PreviewButton, "Shows the selected letter merged with the current record."},
             {PrinterSetup, "Chooses the printer and its settings."},
             {ReturnButton, "Closes the window."},
             {HelpButton, "Opens the help page about printing letters."},
             {AllRecords, "Prints the letter for every record of the file."},
             {MatchingRecords, "Prints the letter only for the records that match the current filter."},
             {CurrentRecord, "Prints the letter for the current record only."},
             {StartFromCurrent, "Starts at the current record instead of the first one."},
             {Copies, "How many copies of the letter each record gets."},
         })
        TWhatsThis::describe(control, QLatin1String(text));
    THelpRequest::wire(this, HelpButton, kHelpTopic);
    connect(LetterList, &QTreeWidget::itemDoubleClicked, this, &TcVLetters::ModifyLetterClick);

    fillList(0);
    showPrinter();
}

void TcVLetters::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_activated) {
        m_activated = true;
        TWindowPlacer::centre(this, m_mainWindow);
        SetLetterButtons();
    }
}

int TcVLetters::selectedRow() const
{
    const QTreeWidgetItem *item = LetterList->currentItem();
    return item ? LetterList->indexOfTopLevelItem(const_cast<QTreeWidgetItem *>(item)) : -1;
}

void TcVLetters::fillList(int select)
{
    LetterList->clear();
    for (const TLetterRow &row : m_letters.rows())
        LetterList->addTopLevelItem(new QTreeWidgetItem(QStringList{row.description}));
    const int count = LetterList->topLevelItemCount();
    if (count > 0)
        LetterList->setCurrentItem(LetterList->topLevelItem(std::clamp(select, 0, count - 1)));
    SetLetterButtons();
}

void TcVLetters::SetLetterButtons()
{
    const bool any = !m_letters.isEmpty();
    for (QWidget *w : {static_cast<QWidget *>(ModifyLetter), static_cast<QWidget *>(CloneButton),
                       static_cast<QWidget *>(PrintNow), static_cast<QWidget *>(PreviewButton),
                       static_cast<QWidget *>(Deleteletter), static_cast<QWidget *>(LetterList)})
        w->setEnabled(any);
}

void TcVLetters::showPrinter()
{
    TPrinterService &service = m_session.printerService();
    const int index = service.selectedPrinter();
    PrinterLabel->setText(index >= 0 ? service.printerNames().value(index, service.deviceName()) : QString());
}

bool TcVLetters::showFailure(const TResult &result)
{
    if (result)
        return false;
    TMessages::failure(this, result);
    return true;
}

void TcVLetters::NewLetterClick()
{
    TIniFile ini(m_session.settingsPath());
    TLetterDesign design(TLetterTemplates::untitled(), nullptr, ini, this);
    design.setPreviewTable(&m_session.table());
    if (design.exec() != QDialog::Accepted)
        return;
    if (showFailure(m_letters.append(design.description(), design.document())))
        return;
    fillList(static_cast<int>(m_letters.rows().size()) - 1);
}

void TcVLetters::ModifyLetterClick()
{
    const int row = selectedRow();
    if (row < 0 || m_letters.isEmpty())
        return;
    const TLetterRow letter = m_letters.rows().at(row);
    QTextDocument text;
    if (showFailure(m_letters.loadDocument(letter.recno, text)))
        return;
    TIniFile ini(m_session.settingsPath());
    TLetterDesign design(letter.description, &text, ini, this);
    design.setPreviewTable(&m_session.table());
    if (design.exec() != QDialog::Accepted)
        return;
    showFailure(m_letters.modify(letter.recno, design.description(), design.document()));
    fillList(row);
}

void TcVLetters::DeleteletterClick()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const TLetterRow letter = m_letters.rows().at(row);
    if (!TMessages::question(this, QStringLiteral("DELETE"),
                             TLetterTemplates::deleteQuestion(letter.description), QMessageBox::No))
        return;
    showFailure(m_letters.remove(letter.recno));
    fillList(row);
}

void TcVLetters::CloneButtonClick()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const TLetterRow letter = m_letters.rows().at(row);
    if (!TMessages::question(this, QStringLiteral("CLONE"),
                             TLetterTemplates::cloneQuestion(letter.description), QMessageBox::Yes))
        return;
    if (showFailure(m_letters.clone(letter.recno)))
        return;
    fillList(static_cast<int>(m_letters.rows().size()) - 1);
}

void TcVLetters::PrinterSetupClick()
{
    m_session.printerService().showPrinterSetup();
    showPrinter();
}

void TcVLetters::PreviewButtonClick()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    QTextDocument text;
    if (showFailure(m_letters.loadDocument(m_letters.rows().at(row).recno, text)))
        return;
    TIniFile ini(m_session.settingsPath());
    TRTFPreviewForm preview(text, &m_session.table(), TMergeDates::system(), &ini, m_mainWindow);
    TWindowPlacer::centre(&preview, m_mainWindow);
    preview.exec();
}

void TcVLetters::PrintNowClick()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    TPrinterService &service = m_session.printerService();
    TPrintChoice choice;
    if (!service.showPrintDialog(choice))
        return;
    QTextDocument text;
    if (showFailure(m_letters.loadDocument(m_letters.rows().at(row).recno, text)))
        return;

    TAddressTable &table = m_session.table();
    const quint32 recno = table.hasRecord() ? table.recno() : 0;
    const QString query = table.query();
    TOutputRecordsChoice records;
    records.records = AllRecords->isChecked()        ? TRecordChoice::All
                      : MatchingRecords->isChecked() ? TRecordChoice::MatchingFilter
                                                     : TRecordChoice::OnlyCurrent;
    records.startFromCurrent = StartFromCurrent->isChecked();
    const TOutputStart start = TOutputRecords::apply(m_session, records, recno);
    if (start.outOfRange)
        TMessages::information(this, TOutputRecords::outOfRangeMessage());
    if (!showFailure(start.result) && start.hasRecord) {
        TLetterPrint run(text, service);
        run.setTitle(m_letters.rows().at(row).description);
        run.setCopies(Copies->value());
        run.setOnlyCurrentRecord(records.records == TRecordChoice::OnlyCurrent);
        run.setCalibration(TPrinterCalibration::forService(TIniFile(m_session.settingsPath()), service));
        TLetterPrintForm status(run, table, m_mainWindow ? m_mainWindow : this);
        TWindowPlacer::centre(&status, m_mainWindow);
        status.exec();
    }
    // The filter and the record as they were.
    if (table.query() != query)
        showFailure(table.setQuery(query));
    if (recno > 0)
        (void)table.goTo(recno); // a record no longer visible leaves the first one current
}

void TcVLetters::ReturnButtonClick()
{
    accept();
}
