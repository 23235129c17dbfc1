#include "TPrintCurrentRecord.h"

#include "THelpRequest.h"
#include "TWhatsThis.h"

#include "TPreviewForm.h"
#include "TPrintStatusForm.h"
#include "TReportFiler.h"
#include "TReportPrinter.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <initializer_list>
#include <utility>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3002;

namespace {

// The field boxes in the window's order: three columns of seven.
struct BoxText {
    TRecordField field;
    const char *text;
};
const BoxText kBoxes[] = {
    {TRecordField::Last, "Last"},
    {TRecordField::First, "First"},
    {TRecordField::Middle, "Middle"},
    {TRecordField::Title, "Title"},
    {TRecordField::Organization, "Organization"},
    {TRecordField::Address1, "Address 1"},
    {TRecordField::City, "City"},
    {TRecordField::State, "State/Province"},
    {TRecordField::Zip, "Zip/Postal Code"},
    {TRecordField::Country, "Country"},
    {TRecordField::Prefix, "Prefix"},
    {TRecordField::Address2, "Address 2"},
    {TRecordField::Comment1, "Comment 1"},
    {TRecordField::Comment2, "Comment 2"},
    {TRecordField::Codes, "Codes"},
    {TRecordField::Phone2, "Phone 2"},
    {TRecordField::Fax, "Fax"},
    {TRecordField::EMail, "E-mail"},
    {TRecordField::Phone1, "Phone 1"},
    {TRecordField::Date, "Date"},
};
constexpr int kRowsPerColumn = 7;

} // namespace

TPrintCurrentRecord::TPrintCurrentRecord(TCurrentRecordValues record, TPrinterService &service, TIniFile &ini,
                                         QWidget *mainWindow)
    : QDialog(mainWindow), m_record(std::move(record)), m_service(service), m_ini(ini),
      m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("TPrintCurrentRecord"));
    setModal(true);
    setWindowTitle(QStringLiteral("Print Current Record"));

    auto *grid = new QGridLayout;
    int index = 0;
    for (const BoxText &b : kBoxes) {
        auto *check = new QCheckBox(QString::fromLatin1(b.text), this);
        check->setChecked(true);
        grid->addWidget(check, index % kRowsPerColumn, index / kRowsPerColumn);
        m_boxes.emplace_back(b.field, check);
        ++index;
    }
    MemoCheck = new QCheckBox(QStringLiteral("Memo"), this);
    MemoCheck->setChecked(true);
    grid->addWidget(MemoCheck, index % kRowsPerColumn, index / kRowsPerColumn);
    ++index;
    AllCheck = new QCheckBox(QStringLiteral("All"), this);
    AllCheck->setObjectName(QStringLiteral("AllCheck"));
    AllCheck->setChecked(true);
    grid->addWidget(AllCheck, index % kRowsPerColumn, index / kRowsPerColumn);

    SetupButton = new QPushButton(QStringLiteral("Printer &Setup"), this);
    PreviewButton = new QPushButton(QStringLiteral("Pre&view"), this);
    PrintButton = new QPushButton(QStringLiteral("&Print"), this);
    PrintButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("&Cancel"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : {SetupButton, PreviewButton, PrintButton, CancelButton, HelpButton})
        buttons->addWidget(button);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    // "All" acts on a click only: it gives every other box its own new state.
    connect(AllCheck, &QCheckBox::clicked, this, &TPrintCurrentRecord::AllCheckClick);
    connect(SetupButton, &QPushButton::clicked, this, &TPrintCurrentRecord::SetupButtonClick);
    connect(PreviewButton, &QPushButton::clicked, this, &TPrintCurrentRecord::PreviewButtonClick);
    connect(PrintButton, &QPushButton::clicked, this, &TPrintCurrentRecord::PrintButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    // What each control does, for its "What's this?".
    for (const auto &[control, text] : std::initializer_list<std::pair<QWidget *, const char *>>{
             {MemoCheck, "Prints the record's memo text after the fields."},
             {AllCheck, "Ticks or clears every field at once."},
             {SetupButton, "Chooses the printer and its settings."},
             {PreviewButton, "Shows the page on screen before you print it."},
             {PrintButton, "Prints the ticked fields of the current record."},
             {CancelButton, "Closes the window without printing."},
             {HelpButton, "Opens the help page about printing the current record."},
         })
        TWhatsThis::describe(control, QLatin1String(text));
    for (QCheckBox *field : findChildren<QCheckBox *>()) {
        if (TWhatsThis::text(field).isEmpty())
            TWhatsThis::describe(field, QStringLiteral("Prints the %1 field.").arg(field->text().remove(QLatin1Char('&'))));
    }
    THelpRequest::wire(this, HelpButton, kHelpTopic);
}

QCheckBox *TPrintCurrentRecord::box(TRecordField field) const
{
    for (const auto &[f, check] : m_boxes)
        if (f == field)
            return check;
    return nullptr;
}

TCurrentRecordChoices TPrintCurrentRecord::choices() const
{
    TCurrentRecordChoices c = TCurrentRecordChoices::none();
    for (const auto &[field, check] : m_boxes)
        c.set(field, check->isChecked());
    c.memo = MemoCheck->isChecked();
    return c;
}

void TPrintCurrentRecord::AllCheckClick()
{
    const bool on = AllCheck->isChecked();
    for (const auto &entry : m_boxes)
        entry.second->setChecked(on);
    MemoCheck->setChecked(on);
}

void TPrintCurrentRecord::SetupButtonClick()
{
    TReportPrinter printer(m_service);
    printer.ShowPrinterSetup();
}

void TPrintCurrentRecord::PreviewButtonClick()
{
    run(true);
}

void TPrintCurrentRecord::PrintButtonClick()
{
    run(false);
}

void TPrintCurrentRecord::run(bool previewing)
{
    TReportPrinter printer(m_service);
    TReportFiler filer;
    QByteArray stream;
    filer.setStream(&stream);
    TBaseReport &job = previewing ? static_cast<TBaseReport &>(filer) : printer;
    job.setTitle(QStringLiteral("Corvantis"));
    // A recording gets the printer's page, so the preview shows what printing gives.
    if (previewing && printer.PaperWidth() > Inches(0) && printer.PaperHeight() > Inches(0))
        filer.SetPaperSize(0, {printer.PaperWidth(), printer.PaperHeight()});

    TCurrentRecordPrint printout(m_record, choices());
    printout.setTime(m_printTime);
    TPrintStatusForm status(job, previewing, TPrintStatusTexts::reports(), this);
    printout.setStopFlag([&status] { return status.isStopped(); });
    printout.attach(job);
    status.exec();
    // The preview opens only for a run that was neither stopped nor aborted.
    if (!status.shouldShowPreview() || status.isStopped())
        return;
    TPreviewForm preview(stream, QStringLiteral("Preview Report"), 2, m_ini, m_mainWindow);
    emit previewOpened(&preview);
    preview.exec();
}
