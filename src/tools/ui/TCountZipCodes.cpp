#include "TCountZipCodes.h"

#include "THelpRequest.h"
#include "TWhatsThis.h"

#include "TAddressSession.h"
#include "TMessages.h"
#include "TPreviewForm.h"
#include "TPrintStatusForm.h"
#include "TPrinterCheck.h"
#include "TPrinterService.h"
#include "TReportFiler.h"
#include "TZipCountReport.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <initializer_list>
#include <utility>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3700;

TCountZipCodes::TCountZipCodes(TAddressSession &session, TIniFile &ini, QWidget *mainWindow)
    : QDialog(mainWindow), m_session(session), m_ini(ini), m_mainWindow(mainWindow),
      m_engine(session.printerService())
{
    setWindowTitle(QStringLiteral("Count Zip Codes"));
    setModal(true);
    HeadingLabel = new QLabel(QStringLiteral("Counting the number of occurrences of each zip code:"), this);
    StatusLabel = new QLabel(this);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    FinishedLabel =
        new QLabel(QStringLiteral("Finished counting. Press Print or Preview for the report"), this);
    ButtonPanel = new QWidget(this);
    PrintButton = new QPushButton(QStringLiteral("Print"), ButtonPanel);
    PreviewButton = new QPushButton(QStringLiteral("Preview"), ButtonPanel);
    PrinterSetupButton = new QPushButton(QStringLiteral("Printer Setup"), ButtonPanel);
    OkButton = new QPushButton(QStringLiteral("Ok"), ButtonPanel);
    HelpButton = new QPushButton(QStringLiteral("Help"), ButtonPanel);
    auto *buttons = new QHBoxLayout(ButtonPanel);
    for (QPushButton *b : {PrintButton, PreviewButton, PrinterSetupButton, OkButton, HelpButton}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    CancelButton->setAutoDefault(false);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(HeadingLabel);
    layout->addWidget(StatusLabel);
    layout->addWidget(CancelButton, 0, Qt::AlignHCenter);
    layout->addWidget(FinishedLabel);
    layout->addWidget(ButtonPanel);
    FinishedLabel->hide();

    connect(CancelButton, &QPushButton::clicked, this, &TCountZipCodes::CancelButtonClick);
    connect(PrintButton, &QPushButton::clicked, this, &TCountZipCodes::PrintButtonClick);
    connect(PreviewButton, &QPushButton::clicked, this, &TCountZipCodes::PreviewButtonClick);
    connect(PrinterSetupButton, &QPushButton::clicked, this, &TCountZipCodes::PrinterSetupButtonClick);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    // What each control does, for its "What's this?".
    for (const auto &[control, text] : std::initializer_list<std::pair<QWidget *, const char *>>{
             {CancelButton, "Stops the count after asking."},
             {PrintButton, "Prints the report of the counts."},
             {PreviewButton, "Shows the report of the counts on screen."},
             {PrinterSetupButton, "Chooses the printer and its settings."},
             {OkButton, "Closes the window."},
             {HelpButton, "Opens the help page about counting ZIP codes."},
         })
        TWhatsThis::describe(control, QLatin1String(text));
    THelpRequest::wire(this, HelpButton, kHelpTopic);
}

TCountZipCodes::~TCountZipCodes() = default;

void TCountZipCodes::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_activated)
        return;
    m_activated = true;
    // The count runs once the window is on the screen, so its status line and Cancel show.
    QTimer::singleShot(0, this, [this] {
        if (!m_count.isCounted() && !m_counting)
            DoTheSort();
    });
}

void TCountZipCodes::step()
{
    ++m_seen;
    const quint32 recno = m_session.table().recno();
    if (recno % 100 == 0)
        StatusLabel->setText(QStringLiteral("Reading record ") + QString::number(recno));
    // Window events run every few records: often enough for Cancel, rarely enough to stay fast.
    if (m_seen % 64 == 0)
        QApplication::processEvents();
}

void TCountZipCodes::DoTheSort()
{
    if (m_counting)
        return;
    m_counting = true;
    m_cancel = false;
    m_seen = 0;
    StatusLabel->show();
    CancelButton->show();
    ButtonPanel->hide();
    FinishedLabel->hide();
    m_lines.clear();
    StatusLabel->setText(QStringLiteral("Reading database records..."));
    QApplication::processEvents();
    const TResult counted = m_count.DoTheSort(m_session.table(), *this);
    if (m_count.isCounted()) {
        StatusLabel->setText(QStringLiteral("Sorting Zip Codes..."));
        m_lines = m_count.reportLines();
        QApplication::beep();
        FinishedLabel->show();
    }
    ButtonPanel->show();
    CancelButton->hide();
    StatusLabel->hide();
    m_counting = false;
    if (!counted.ok)
        TMessages::failure(this, counted);
}

void TCountZipCodes::CancelButtonClick()
{
    if (!m_counting)
        return;
    if (!TMessages::question(this, QStringLiteral("CANCEL"), QStringLiteral("Cancel Count?"),
                             QMessageBox::Yes))
        return;
    m_cancel = true;
    // The window closes once the count has returned, from a posted call.
    QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
}

void TCountZipCodes::reject()
{
    // Escape during the count asks as Cancel does; the window closes once the count stopped.
    if (m_counting) {
        CancelButtonClick();
        return;
    }
    QDialog::reject();
}

void TCountZipCodes::PrintButtonClick()
{
    m_preview = false;
    DoThePrintJob();
}

void TCountZipCodes::PreviewButtonClick()
{
    m_preview = true;
    DoThePrintJob();
}

void TCountZipCodes::PrinterSetupButtonClick()
{
    if (m_session.printerService().printerNames().isEmpty()) {
        TMessages::information(this, QStringLiteral("There are no printers installed"));
        return;
    }
    (void)m_engine.ShowPrinterSetup(); // a cancelled set-up changes nothing
}

void TCountZipCodes::DoThePrintJob()
{
    if (!m_count.isCounted()) {
        DoTheSort();
        if (!m_count.isCounted())
            return;
    }
    TPrinterService &service = m_session.printerService();
    const QString problem =
        TPrinterCheck::message(int(service.printerNames().size()), service.selectedPrinter() >= 0);
    if (!problem.isEmpty()) {
        TMessages::information(this, problem);
        return;
    }
    TReportPrinter printer(service);
    TReportFiler filer;
    QByteArray stream;
    filer.setStream(&stream);
    TBaseReport &job = m_preview ? static_cast<TBaseReport &>(filer) : printer;
    job.setTitle(QStringLiteral("Corvantis"));
    job.setCopies(m_engine.Copies());
    if (m_preview && printer.PaperWidth() > Inches(0) && printer.PaperHeight() > Inches(0))
        filer.SetPaperSize(0, {printer.PaperWidth(), printer.PaperHeight()});
    TZipCountReport report(m_lines);
    TPrintStatusForm status(job, m_preview, TPrintStatusTexts::zipCount(),
                            m_mainWindow ? m_mainWindow : this);
    report.setStopFlag([&status] { return status.isStopped(); });
    report.attach(job);
    status.exec();
    if (!status.shouldShowPreview())
        return;
    TPreviewForm preview(stream, QStringLiteral("Preview Zipcode Count"), 100, m_ini,
                         m_mainWindow ? m_mainWindow : this);
    emit previewOpened(&preview);
    preview.exec();
}
