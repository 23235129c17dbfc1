#include "TReportSetup.h"

#include "TAddressSession.h"
#include "TMessages.h"
#include "TPreviewForm.h"
#include "TPrintStatusForm.h"
#include "TReportFiler.h"
#include "TReportRun.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

TReportSetup::TReportSetup(TAddressSession &session, TIniFile &ini, QWidget *mainWindow)
    : QDialog(mainWindow), m_session(session), m_ini(ini), m_mainWindow(mainWindow),
      m_engine(session.printerService())
{
    setWindowTitle(QStringLiteral("Print Report"));
    setModal(true);

    auto *records = new QGroupBox(this);
    rbQAll = new QRadioButton(QStringLiteral("All records"), records);
    rbQFilter = new QRadioButton(QStringLiteral("Records matching filter"), records);
    rbOnlyThis = new QRadioButton(QStringLiteral("Only current record"), records);
    StartCurrentCheck = new QCheckBox(QStringLiteral("Start from current record"), records);
    OneRecordPerPage = new QCheckBox(QStringLiteral("One Record Per Page"), records);
    auto *recordsLayout = new QVBoxLayout(records);
    for (QWidget *w : {static_cast<QWidget *>(rbQAll), static_cast<QWidget *>(rbQFilter),
                       static_cast<QWidget *>(rbOnlyThis), static_cast<QWidget *>(StartCurrentCheck),
                       static_cast<QWidget *>(OneRecordPerPage)})
        recordsLayout->addWidget(w);
    // A new page after each record is a choice of designed reports; the built-in ones run on.
    OneRecordPerPage->setEnabled(false);
    rbQFilter->setChecked(true);
    if (!session.isFilterSet()) {
        rbQFilter->setEnabled(false);
        rbQAll->setChecked(true);
    }

    PageControl = new QTabWidget(this);
    auto *builtIns = new QWidget(PageControl);
    auto *grid = new QGridLayout(builtIns);
    grid->addWidget(new QLabel(QStringLiteral("Report Title"), builtIns), 0, 0);
    TitleField = new QLineEdit(QStringLiteral("Report 1"), builtIns);
    grid->addWidget(TitleField, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Select Report:"), builtIns), 1, 0, 1, 2);
    ReportList = new QListWidget(builtIns);
    ReportList->addItems(TBuiltInReport::reportNames());
    ReportList->setCurrentRow(0);
    grid->addWidget(ReportList, 2, 0, 1, 2);
    PrintMemoBox = new QCheckBox(QStringLiteral("Print Memo"), builtIns);
    PrintCodesBox = new QCheckBox(QStringLiteral("Print Codes"), builtIns);
    grid->addWidget(PrintMemoBox, 3, 0);
    grid->addWidget(PrintCodesBox, 3, 1);
    PageControl->addTab(builtIns, QStringLiteral("Built In Reports"));

    PrintButton = new QPushButton(QStringLiteral("Print"), this);
    PreviewButton = new QPushButton(QStringLiteral("Preview"), this);
    PrinterSetupButton = new QPushButton(QStringLiteral("Printer Setup"), this);
    OkButton = new QPushButton(QStringLiteral("Ok"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {PrintButton, PreviewButton, PrinterSetupButton, OkButton, HelpButton}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }

    auto *top = new QHBoxLayout;
    top->addWidget(PageControl, 1);
    top->addWidget(records);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);

    connect(PrintButton, &QPushButton::clicked, this, &TReportSetup::PrintNowClick);
    connect(PreviewButton, &QPushButton::clicked, this, &TReportSetup::PreviewButtonClick);
    connect(PrinterSetupButton, &QPushButton::clicked, this, &TReportSetup::PrinterSetupClick);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(HelpButton, &QPushButton::clicked, this, &TReportSetup::helpRequested);
    connect(ReportList, &QListWidget::currentRowChanged, this, &TReportSetup::ReportListClick);
}

TReportSetup::~TReportSetup() = default;

int TReportSetup::report() const
{
    const int row = ReportList->currentRow();
    return row < 0 ? 1 : row + 1;
}

void TReportSetup::ReportListClick()
{
    TitleField->setText(TBuiltInReport::defaultTitle(report()));
}

TBuiltInReportOptions TReportSetup::options() const
{
    TBuiltInReportOptions o;
    o.report = report();
    o.title = TitleField->text();
    o.printMemo = PrintMemoBox->isChecked();
    o.printCodes = PrintCodesBox->isChecked();
    o.date = m_date;
    return o;
}

void TReportSetup::PrintNowClick()
{
    if (!m_engine.ShowPrintDialog())
        return;
    DoPrintBuiltIns(false);
}

void TReportSetup::PreviewButtonClick()
{
    DoPrintBuiltIns(true);
}

void TReportSetup::PrinterSetupClick()
{
    (void)m_engine.ShowPrinterSetup(); // a cancelled set-up changes nothing
}

void TReportSetup::DoPrintBuiltIns(bool previewing)
{
    if (!m_session.isOpen())
        return;
    TOutputRecordsChoice choice;
    choice.records = rbQAll->isChecked()       ? TRecordChoice::All
                     : rbOnlyThis->isChecked() ? TRecordChoice::OnlyCurrent
                                               : TRecordChoice::MatchingFilter;
    choice.startFromCurrent = StartCurrentCheck->isChecked();

    TReportRun run(m_session);
    const TOutputStart start = run.start(TBuiltInReport::orderTag(report()), choice);
    if (!start.result.ok) {
        TMessages::failure(this, start.result);
        return;
    }
    if (start.outOfRange)
        TMessages::information(this, TOutputRecords::outOfRangeMessage());

    TReportPrinter printer(m_session.printerService());
    TReportFiler filer;
    QByteArray stream;
    filer.setStream(&stream);
    TBaseReport &job = previewing ? static_cast<TBaseReport &>(filer) : printer;
    job.setTitle(QStringLiteral("Corvantis"));
    job.setCopies(m_engine.Copies());
    // A recording gets the printer's page, so the preview shows what printing gives.
    if (previewing && printer.PaperWidth() > Inches(0) && printer.PaperHeight() > Inches(0))
        filer.SetPaperSize(0, {printer.PaperWidth(), printer.PaperHeight()});

    TBuiltInReportOptions o = options();
    o.singleRecord = choice.records == TRecordChoice::OnlyCurrent;
    TBuiltInReport body(m_session.table(), o);
    TPrintStatusForm status(job, previewing, TPrintStatusTexts::reports(),
                            m_mainWindow ? m_mainWindow : this);
    body.setStopFlag([&status] { return status.isStopped(); });
    body.attach(job);
    status.exec();
    // A stopped preview keeps its pages and shows them; an aborted job shows nothing.
    if (!status.shouldShowPreview())
        return;
    TPreviewForm preview(stream, QStringLiteral("Preview Report"), 2, m_ini,
                         m_mainWindow ? m_mainWindow : this);
    emit previewOpened(&preview);
    preview.exec();
}
