#include "TReportSetup.h"

#include "THelpRequest.h"
#include "TWhatsThis.h"

#include "TAddressSession.h"
#include "TMessages.h"
#include "TPreviewForm.h"
#include "TPrintStatusForm.h"
#include "TReportBands.h"
#include "TReportDesigner.h"
#include "TReportFiler.h"
#include "TReportRun.h"
#include "TUserDefinedReport.h"
#include "TWindowPlacer.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <initializer_list>
#include <utility>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3400;

TReportSetup::TReportSetup(TAddressSession &session, TIniFile &ini, QWidget *mainWindow)
    : QDialog(mainWindow), m_session(session), m_ini(ini), m_mainWindow(mainWindow),
      m_engine(session.printerService())
{
    setWindowTitle(QStringLiteral("Print Report"));
    setModal(true);

    // Lengths of designed reports are whole pixels at one resolution for the whole session.
    m_dpi = TWindowPlacer::dotsPerInch(mainWindow ? mainWindow : this);
    m_bands = std::make_unique<TReportBands>(m_dpi, &session.table());
    m_definitionsOpened = m_definitions.open(session.programFolder());

    auto *records = new QGroupBox(this);
    WhatToPrint = records;
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

    DesignerPage = new QWidget(PageControl);
    UserReportsGrid = new QTableWidget(0, 1, DesignerPage);
    UserReportsGrid->setHorizontalHeaderLabels({QStringLiteral("Description")});
    UserReportsGrid->horizontalHeader()->setStretchLastSection(true);
    UserReportsGrid->verticalHeader()->hide();
    UserReportsGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    UserReportsGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    UserReportsGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    NewButton = new QPushButton(QStringLiteral("New"), DesignerPage);
    ModifyButton = new QPushButton(QStringLiteral("Modify"), DesignerPage);
    DeleteButton = new QPushButton(QStringLiteral("Delete"), DesignerPage);
    CloneButton = new QPushButton(QStringLiteral("Clone"), DesignerPage);
    auto *designerButtons = new QVBoxLayout;
    for (QPushButton *b : {NewButton, ModifyButton, DeleteButton, CloneButton}) {
        b->setAutoDefault(false);
        designerButtons->addWidget(b);
    }
    designerButtons->addStretch();
    auto *designerLayout = new QHBoxLayout(DesignerPage);
    designerLayout->addWidget(UserReportsGrid, 1);
    designerLayout->addLayout(designerButtons);
    PageControl->addTab(DesignerPage, QStringLiteral("Report Designer"));

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
    // What each control does, for its "What's this?".
    for (const auto &[control, text] : std::initializer_list<std::pair<QWidget *, const char *>>{
             {ReportList, "The built-in reports. Select the one to print."},
             {UserReportsGrid, "The reports you have designed. Select the one to print, change, copy or delete."},
             {TitleField, "The title printed at the top of a built-in report."},
             {PrintMemoBox, "Adds each record's memo text to the report."},
             {PrintCodesBox, "Adds each record's codes to the report."},
             {OneRecordPerPage, "Starts every record on a new page."},
             {rbQAll, "Reports every record of the file."},
             {rbQFilter, "Reports only the records that match the current filter."},
             {rbOnlyThis, "Reports the current record only."},
             {StartCurrentCheck, "Starts at the current record instead of the first one."},
             {NewButton, "Designs a new report in the Report Designer."},
             {ModifyButton, "Opens the selected report in the Report Designer."},
             {DeleteButton, "Removes the selected report after asking."},
             {CloneButton, "Makes a copy of the selected report under a new name."},
             {PrintButton, "Prints the selected report."},
             {PreviewButton, "Shows the selected report on screen before you print it."},
             {PrinterSetupButton, "Chooses the printer and its settings."},
             {OkButton, "Closes the window."},
             {HelpButton, "Opens the help page about printing reports."},
         })
        TWhatsThis::describe(control, QLatin1String(text));
    THelpRequest::wire(this, HelpButton, kHelpTopic);
    connect(ReportList, &QListWidget::currentRowChanged, this, &TReportSetup::ReportListClick);
    connect(NewButton, &QPushButton::clicked, this, &TReportSetup::NewButtonClick);
    connect(ModifyButton, &QPushButton::clicked, this, &TReportSetup::ModifyButtonClick);
    connect(DeleteButton, &QPushButton::clicked, this, &TReportSetup::DeleteButtonClick);
    connect(CloneButton, &QPushButton::clicked, this, &TReportSetup::CloneButtonClick);
    connect(PageControl, &QTabWidget::currentChanged, this, &TReportSetup::SetReportButtons);
    fillList(0);
}

TReportSetup::~TReportSetup()
{
    m_definitions.close();
}

bool TReportSetup::isDesignerPage() const
{
    return PageControl->currentWidget() == DesignerPage;
}

int TReportSetup::selectedReport() const
{
    const int row = UserReportsGrid->currentRow();
    return row >= 0 && row < m_definitions.rows().size() ? row : -1;
}

void TReportSetup::fillList(int selectRow)
{
    const QVector<TReportRow> &rows = m_definitions.rows();
    UserReportsGrid->setRowCount(int(rows.size()));
    for (int i = 0; i < rows.size(); ++i)
        UserReportsGrid->setItem(i, 0, new QTableWidgetItem(rows.at(i).description));
    if (!rows.isEmpty())
        UserReportsGrid->setCurrentCell(std::clamp(selectRow, 0, int(rows.size()) - 1), 0);
    SetReportButtons();
}

void TReportSetup::SetReportButtons()
{
    const bool any = !m_definitions.isEmpty();
    for (QWidget *w : {static_cast<QWidget *>(ModifyButton), static_cast<QWidget *>(DeleteButton),
                       static_cast<QWidget *>(CloneButton), static_cast<QWidget *>(UserReportsGrid)})
        w->setEnabled(any);
    const bool printable = any || !isDesignerPage();
    PrintButton->setEnabled(printable);
    PreviewButton->setEnabled(printable);
    WhatToPrint->setEnabled(printable);
    OneRecordPerPage->setVisible(isDesignerPage());
}

bool TReportSetup::design(const QString &description, const QString &layout)
{
    TReportDesigner designer(m_session, *m_bands, description, layout, m_ini,
                             m_mainWindow ? m_mainWindow : this);
    if (designerOpening)
        designerOpening(designer);
    if (designer.exec() != QDialog::Accepted)
        return false;
    m_designedDescription = designer.description();
    m_designedLayout = designer.layoutText();
    return true;
}

void TReportSetup::NewButtonClick()
{
    if (!m_definitions.isOpen()) {
        TMessages::failure(this, m_definitionsOpened);
        return;
    }
    m_bands->reset();
    if (!design(TReportDefinitions::newDescription(), TReportDefinitions::newLayout()))
        return;
    const TResult saved =
        m_definitions.SaveReport(true, 0, m_designedDescription, m_designedLayout, m_bands->header,
                                 m_bands->detail, m_bands->footer, m_bands->settings);
    if (!saved)
        TMessages::failure(this, saved);
    fillList(int(m_definitions.rows().size()) - 1);
}

void TReportSetup::ModifyButtonClick()
{
    const int row = selectedReport();
    if (row < 0)
        return;
    const TReportRow report = m_definitions.rows().at(row);
    const TResult loaded = m_bands->load(m_definitions, report);
    if (!loaded) {
        TMessages::failure(this, loaded);
        return;
    }
    if (!design(report.description, report.layout))
        return;
    const TResult saved =
        m_definitions.SaveReport(false, report.recno, m_designedDescription, m_designedLayout,
                                 m_bands->header, m_bands->detail, m_bands->footer, m_bands->settings);
    if (!saved)
        TMessages::failure(this, saved);
    fillList(row);
}

void TReportSetup::DeleteButtonClick()
{
    const int row = selectedReport();
    if (row < 0)
        return;
    const TReportRow report = m_definitions.rows().at(row);
    if (!TMessages::question(this, QStringLiteral("DELETE"),
                             TReportDefinitions::deleteQuestion(report.description), QMessageBox::No))
        return;
    const TResult removed = m_definitions.remove(report.recno);
    if (!removed)
        TMessages::failure(this, removed);
    fillList(row);
}

void TReportSetup::CloneButtonClick()
{
    const int row = selectedReport();
    if (row < 0)
        return;
    const TReportRow report = m_definitions.rows().at(row);
    if (!TMessages::question(this, QStringLiteral("CLONE"),
                             TReportDefinitions::cloneQuestion(report.description), QMessageBox::Yes))
        return;
    const TResult cloned = m_definitions.clone(report.recno);
    if (!cloned) {
        TMessages::failure(this, cloned);
        fillList(row);
        return;
    }
    fillList(int(m_definitions.rows().size()) - 1);
}

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
    if (isDesignerPage())
        DoPrintUserDefined(false);
    else
        DoPrintBuiltIns(false);
}

void TReportSetup::PreviewButtonClick()
{
    if (isDesignerPage())
        DoPrintUserDefined(true);
    else
        DoPrintBuiltIns(true);
}

void TReportSetup::PrinterSetupClick()
{
    (void)m_engine.ShowPrinterSetup(); // a cancelled set-up changes nothing
}

void TReportSetup::DoPrintBuiltIns(bool previewing)
{
    std::unique_ptr<TBuiltInReport> body;
    runReport(previewing, TBuiltInReport::orderTag(report()),
              [&](TBaseReport &job, bool singleRecord, std::function<bool()> stopped) {
                  TBuiltInReportOptions o = options();
                  o.singleRecord = singleRecord;
                  body = std::make_unique<TBuiltInReport>(m_session.table(), o);
                  body->setStopFlag(std::move(stopped));
                  body->attach(job);
                  return true;
              });
}

void TReportSetup::DoPrintUserDefined(bool previewing)
{
    const int row = selectedReport();
    if (row < 0)
        return;
    // The run draws bands of its own, so the designer's stay as they are.
    TReportBands bands(m_dpi, &m_session.table());
    const TResult loaded = bands.load(m_definitions, m_definitions.rows().at(row));
    if (!loaded) {
        TMessages::failure(this, loaded);
        return;
    }
    std::unique_ptr<TUserDefinedReport> body;
    runReport(previewing, QString(), [&](TBaseReport &job, bool singleRecord, std::function<bool()> stopped) {
        TUserDefinedReport::setPaper(job, bands.settings);
        TUserDefinedReportOptions o;
        o.oneRecordPerPage = OneRecordPerPage->isChecked();
        o.singleRecord = singleRecord;
        body = std::make_unique<TUserDefinedReport>(m_session.table(), bands.settings, bands.header,
                                                    bands.detail, bands.footer, o);
        body->setStopFlag(std::move(stopped));
        body->attach(job);
        return true;
    });
}

void TReportSetup::runReport(
    bool previewing, const QString &orderTag,
    const std::function<bool(TBaseReport &job, bool singleRecord, std::function<bool()> stopped)> &prepare)
{
    if (!m_session.isOpen())
        return;
    TOutputRecordsChoice choice;
    choice.records = rbQAll->isChecked()       ? TRecordChoice::All
                     : rbOnlyThis->isChecked() ? TRecordChoice::OnlyCurrent
                                               : TRecordChoice::MatchingFilter;
    choice.startFromCurrent = StartCurrentCheck->isChecked();

    TReportRun run(m_session);
    const TOutputStart start = run.start(orderTag, choice);
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

    TPrintStatusForm status(job, previewing, TPrintStatusTexts::reports(),
                            m_mainWindow ? m_mainWindow : this);
    if (!prepare(job, choice.records == TRecordChoice::OnlyCurrent, [&status] { return status.isStopped(); }))
        return;
    status.exec();
    // A stopped preview keeps its pages and shows them; an aborted job shows nothing.
    if (!status.shouldShowPreview())
        return;
    TPreviewForm preview(stream, QStringLiteral("Preview Report"), 2, m_ini,
                         m_mainWindow ? m_mainWindow : this);
    emit previewOpened(&preview);
    preview.exec();
}
