#include "TCVEnvelopes.h"

#include "THelpRequest.h"
#include "TWhatsThis.h"

#include "TAddressDataSource.h"
#include "TAddressSession.h"
#include "TChooseEnvelopeLayout.h"
#include "TEnvelopeDesignScreen.h"
#include "TEnvelopePrePrint.h"
#include "TEnvelopePrePrintCheck.h"
#include "TEnvelopeRun.h"
#include "TEnvelopeSetups.h"
#include "TEnvelopeSizes.h"
#include "TFreezeGuard.h"
#include "TGSurfaceWidget.h"
#include "TIniFile.h"
#include "TMessages.h"
#include "TPreviewForm.h"
#include "TPrintStatusForm.h"
#include "TPrinterCalibration.h"
#include "TReportFiler.h"
#include "TReportRun.h"
#include "TWindowPlacer.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <initializer_list>
#include <utility>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3200;

namespace {

enum TRecordMove { rmFirst, rmPrior, rmNext, rmLast };

constexpr float kDisplayScale = 0.3f;

} // namespace

TCVEnvelopes::TCVEnvelopes(TAddressSession &session, TEnvelopeSetups &setups, TIniFile &ini,
                           QWidget *mainWindow)
    : QDialog(mainWindow), m_session(session), m_setups(setups), m_ini(ini), m_mainWindow(mainWindow),
      m_engine(session.printerService()), m_display(&m_owner, TWindowPlacer::dotsPerInch(mainWindow)),
      m_hidden(&m_owner, TWindowPlacer::dotsPerInch(mainWindow))
{
    setWindowTitle(QStringLiteral("Print Envelope"));
    setModal(true);
    m_data = std::make_unique<TAddressDataSource>(session.table());
    m_display.setDataSet(m_data.get());
    m_hidden.setDataSet(m_data.get());
    m_envelope = TEnvelopeSizes::size(m_number);

    EnvelopeSetupGrid = new QListWidget(this);
    NewButton = new QPushButton(QStringLiteral("New"), this);
    ModifyButton = new QPushButton(QStringLiteral("Modify"), this);
    DeleteButton = new QPushButton(QStringLiteral("Delete"), this);
    CloneButton = new QPushButton(QStringLiteral("Clone"), this);
    auto *setupButtons = new QVBoxLayout;
    for (QPushButton *b : {NewButton, ModifyButton, DeleteButton, CloneButton}) {
        b->setAutoDefault(false);
        setupButtons->addWidget(b);
    }
    setupButtons->addStretch();

    auto *what = new QGroupBox(QStringLiteral("What to Print"), this);
    rbQAll = new QRadioButton(QStringLiteral("All records"), what);
    rbQFilter = new QRadioButton(QStringLiteral("Records matching filter"), what);
    rbOnlyThis = new QRadioButton(QStringLiteral("Only current record"), what);
    StartCurrentCheck = new QCheckBox(QStringLiteral("Start from current record"), what);
    rbOnlyThis->setChecked(true);
    auto *whatLayout = new QVBoxLayout(what);
    for (QWidget *w : std::initializer_list<QWidget *>{rbQAll, rbQFilter, rbOnlyThis, StartCurrentCheck})
        whatLayout->addWidget(w);

    auto *current = new QGroupBox(QStringLiteral("Current Record"), this);
    FNameLabel = new QLabel(current);
    LNameLabel = new QLabel(current);
    OrgLabel = new QLabel(current);
    CityLabel = new QLabel(current);
    const auto navButton = [current](const char *text) {
        auto *b = new QToolButton(current);
        b->setText(QString::fromLatin1(text));
        return b;
    };
    RecordFirst = navButton("|<");
    RecordPrev = navButton("<");
    RecordNext = navButton(">");
    RecordLast = navButton(">|");
    auto *currentLayout = new QGridLayout(current);
    currentLayout->addWidget(FNameLabel, 0, 0);
    currentLayout->addWidget(LNameLabel, 0, 1);
    currentLayout->addWidget(OrgLabel, 1, 0, 1, 2);
    currentLayout->addWidget(CityLabel, 2, 0, 1, 2);
    auto *nav = new QHBoxLayout;
    for (QToolButton *b : {RecordFirst, RecordPrev, RecordNext, RecordLast})
        nav->addWidget(b);
    currentLayout->addLayout(nav, 3, 0, 1, 2);

    EDisplay = new TGSurfaceWidget(&m_display, this);
    EDisplay->setEnabled(false);

    PrinterSetupButton = new QPushButton(QStringLiteral("Printer Setup"), this);
    PreviewButton = new QPushButton(QStringLiteral("Pre&view"), this);
    PrintButton = new QPushButton(QStringLiteral("&Print"), this);
    OkButton = new QPushButton(QStringLiteral("Ok"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {PrinterSetupButton, PreviewButton, PrintButton, OkButton, HelpButton}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    PrintButton->setDefault(true);

    auto *top = new QHBoxLayout;
    top->addWidget(EnvelopeSetupGrid, 1);
    top->addLayout(setupButtons);
    auto *right = new QVBoxLayout;
    right->addWidget(what);
    right->addWidget(current);
    top->addLayout(right);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(EDisplay, 0, Qt::AlignHCenter);
    layout->addLayout(buttons);

    connect(NewButton, &QPushButton::clicked, this, &TCVEnvelopes::NewButtonClick);
    connect(ModifyButton, &QPushButton::clicked, this, &TCVEnvelopes::ModifyButtonClick);
    connect(DeleteButton, &QPushButton::clicked, this, &TCVEnvelopes::DeleteButtonClick);
    connect(CloneButton, &QPushButton::clicked, this, &TCVEnvelopes::CloneButtonClick);
    connect(PrintButton, &QPushButton::clicked, this, &TCVEnvelopes::PrintButtonClick);
    connect(PreviewButton, &QPushButton::clicked, this, &TCVEnvelopes::PreviewButtonClick);
    connect(PrinterSetupButton, &QPushButton::clicked, this, &TCVEnvelopes::PrinterSetupButtonClick);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    // What each control does, for its "What's this?".
    for (const auto &[control, text] : std::initializer_list<std::pair<QWidget *, const char *>>{
             {EnvelopeSetupGrid, "The envelope setups you have made. Select the one to print, change, copy or delete."},
             {NewButton, "Makes a new envelope setup and opens the Envelope Design Screen on it."},
             {ModifyButton, "Opens the selected envelope setup in the Envelope Design Screen."},
             {DeleteButton, "Removes the selected envelope setup after asking."},
             {CloneButton, "Makes a copy of the selected envelope setup under a new name."},
             {rbQAll, "Prints an envelope for every record of the file."},
             {rbQFilter, "Prints envelopes only for the records that match the current filter."},
             {rbOnlyThis, "Prints an envelope for the current record only."},
             {StartCurrentCheck, "Starts at the current record instead of the first one."},
             {RecordFirst, "Shows the first record on the envelope."},
             {RecordPrev, "Shows the previous record on the envelope."},
             {RecordNext, "Shows the next record on the envelope."},
             {RecordLast, "Shows the last record on the envelope."},
             {PrinterSetupButton, "Chooses the printer and its settings."},
             {PreviewButton, "Shows the envelopes on screen before you print them."},
             {PrintButton, "Prints envelopes for the records chosen under What to Print."},
             {OkButton, "Closes the window."},
             {HelpButton, "Opens the help page about printing envelopes."},
         })
        TWhatsThis::describe(control, QLatin1String(text));
    THelpRequest::wire(this, HelpButton, kHelpTopic);
    connect(EnvelopeSetupGrid, &QListWidget::currentRowChanged, this, &TCVEnvelopes::EnvelopeSetupGridClick);
    connect(RecordFirst, &QToolButton::clicked, this, [this] { RecordButtonClick(rmFirst); });
    connect(RecordPrev, &QToolButton::clicked, this, [this] { RecordButtonClick(rmPrior); });
    connect(RecordNext, &QToolButton::clicked, this, [this] { RecordButtonClick(rmNext); });
    connect(RecordLast, &QToolButton::clicked, this, [this] { RecordButtonClick(rmLast); });

    fillGrid(0);
    showRecord();
}

TCVEnvelopes::~TCVEnvelopes() = default;

QWidget *TCVEnvelopes::dialogParent()
{
    return m_mainWindow ? m_mainWindow : this;
}

int TCVEnvelopes::selectedRow() const
{
    const int row = EnvelopeSetupGrid->currentRow();
    return row >= 0 && row < m_setups.rows().size() ? row : -1;
}

void TCVEnvelopes::fillGrid(quint32 selectRecno)
{
    const QSignalBlocker quiet(EnvelopeSetupGrid);
    EnvelopeSetupGrid->clear();
    for (const TEnvelopeRow &row : m_setups.rows())
        EnvelopeSetupGrid->addItem(row.description);
    const int index = m_setups.indexOf(selectRecno);
    if (!m_setups.rows().isEmpty())
        EnvelopeSetupGrid->setCurrentRow(index >= 0 ? index : 0);
}

void TCVEnvelopes::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_activating)
        return;
    SetEnvelopeButtons();
    m_feed = TEnvelopePreferences::load(m_ini, m_engine);
    ReadEnvelopeSetup();
    m_activating = false;
    ShowDisplayEnvelope();
}

void TCVEnvelopes::ReadEnvelopeSetup()
{
    const int row = selectedRow();
    if (m_isNew) {
        m_description = QStringLiteral("Envelope #10");
    } else if (row < 0) {
        m_description = QStringLiteral("Envelope #10");
        m_number = m_storedNumber = TEnvelopeSizes::kDefaultCode;
    } else {
        const TEnvelopeRow &r = m_setups.rows().at(row);
        m_description = r.description;
        m_storedNumber = r.number;
        // A code that is no envelope size would give a surface of no size and an address
        // off the page: such a setup is taken as Envelope #10 (noticeUnknownSize says so).
        m_number = TEnvelopeSizes::isKnown(r.number) ? r.number : TEnvelopeSizes::kDefaultCode;
        m_binary = r.binary;
    }
    m_envelope = TEnvelopeSizes::size(m_number);
}

void TCVEnvelopes::noticeUnknownSize()
{
    if (!m_isNew && selectedRow() >= 0 && !TEnvelopeSizes::isKnown(m_storedNumber))
        TMessages::information(this, TEnvelopeSetups::unknownSizeMessage(m_description));
}

void TCVEnvelopes::SetEnvelopeButtons()
{
    const bool any = !m_setups.rows().isEmpty();
    for (QWidget *w : std::initializer_list<QWidget *>{ModifyButton, CloneButton, PrintButton, PreviewButton,
                                                       DeleteButton, EnvelopeSetupGrid})
        w->setEnabled(any);
}

void TCVEnvelopes::ShowDisplayEnvelope()
{
    if (m_activating)
        return;
    EDisplay->hide();
    m_display.SetScale(1.0f);
    m_display.ClearObjects();
    if (selectedRow() >= 0 && m_setups.hasLayoutFile(m_binary))
        (void)m_display.LoadFromFile(
            m_setups.layoutPath(m_binary)); // a layout that does not read shows empty
    m_display.SetScale(kDisplayScale);
    const double ppi = m_display.PixelsPerInch();
    m_display.setSize(Rounding::halfEven(ppi * m_envelope.width.value * kDisplayScale),
                      Rounding::halfEven(ppi * m_envelope.height.value * kDisplayScale));
    EDisplay->resize(EDisplay->sizeHint());
    EDisplay->setFixedSize(EDisplay->sizeHint());
    EDisplay->show();
    EDisplay->update();
}

void TCVEnvelopes::showRecord()
{
    const TAddressTable &table = m_session.table();
    FNameLabel->setText(table.value(QStringLiteral("FNAME")));
    LNameLabel->setText(table.value(QStringLiteral("LNAME")));
    OrgLabel->setText(table.value(QStringLiteral("ORG")));
    CityLabel->setText(table.value(QStringLiteral("CITY")));
}

void TCVEnvelopes::RecordButtonClick(int move)
{
    TAddressTable &table = m_session.table();
    switch (move) {
    case rmFirst:
        (void)table.first(); // at either end the record stays
        break;
    case rmPrior:
        (void)table.prior();
        break;
    case rmNext:
        (void)table.next();
        break;
    default:
        (void)table.last();
        break;
    }
    showRecord();
    m_display.RefreshData();
    EDisplay->update();
}

void TCVEnvelopes::EnvelopeSetupGridClick()
{
    ReadEnvelopeSetup();
    ShowDisplayEnvelope();
}

void TCVEnvelopes::NewButtonClick()
{
    TChooseEnvelopeLayout chooser(m_number, this);
    emit sizeChooserOpened(&chooser);
    if (chooser.exec() != QDialog::Accepted)
        return;
    m_number = chooser.code();
    m_envelope = TEnvelopeSizes::size(m_number);
    m_isNew = true;
    ModifyButtonClick();
}

void TCVEnvelopes::ModifyButtonClick()
{
    TEnvelopeDesignScreen designer(m_session, m_ini, dialogParent());
    const double ppi = designer.surface().PixelsPerInch();
    const auto px = [ppi](Inches v) { return Rounding::truncate(v.value * ppi); };
    designer.setPrinterPage(px(m_engine.UnprintableLeft()), px(m_engine.UnprintableTop()),
                            px(m_engine.UnprintableRight()), px(m_engine.UnprintableBottom()),
                            px(m_engine.PaperHeight()), px(m_engine.PaperWidth()));
    ReadEnvelopeSetup();
    const quint32 recno = m_isNew || selectedRow() < 0 ? 0 : m_setups.rows().at(selectedRow()).recno;
    if (m_isNew || recno == 0) {
        designer.surface().ClearObjects();
        designer.setDescriptionText(QStringLiteral("<New envelope>"));
        m_binary = m_setups.nextBinaryName();
    } else {
        noticeUnknownSize();
        designer.setDescriptionText(m_description);
        if (m_setups.hasLayoutFile(m_binary)) {
            const TResult loaded = designer.surface().LoadFromFile(m_setups.layoutPath(m_binary));
            if (!loaded)
                TMessages::failure(this, loaded);
        } else {
            m_binary = m_setups.nextBinaryName();
        }
    }
    designer.setDescription(m_description);
    designer.surface().RefreshData();
    designer.setNumber(m_number);
    emit designerOpened(&designer);
    if (m_binary.isEmpty()) {
        TMessages::information(
            this, QStringLiteral("No free envelope layout file name is left in the sysdata folder"));
        m_isNew = false;
        return;
    }
    quint32 selected = recno;
    if (designer.exec() == QDialog::Accepted) {
        TEnvelopeRow row;
        row.recno = recno;
        row.description = designer.description();
        row.number = designer.Number();
        row.binary = m_binary;
        const TResult saved = m_setups.save(row, designer.surface());
        if (!saved)
            TMessages::failure(this, saved);
        else
            selected = row.recno;
    }
    m_isNew = false;
    fillGrid(selected);
    SetEnvelopeButtons();
    ReadEnvelopeSetup();
    ShowDisplayEnvelope();
}

void TCVEnvelopes::CloneButtonClick()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const TEnvelopeRow old = m_setups.rows().at(row);
    if (!TMessages::question(this, QStringLiteral("CLONE"), TEnvelopeSetups::cloneQuestion(old.description),
                             QMessageBox::Yes))
        return;
    quint32 clone = 0;
    const TResult cloned = m_setups.clone(old.recno, &clone);
    if (!cloned)
        TMessages::failure(this, cloned);
    fillGrid(cloned ? clone : old.recno);
    SetEnvelopeButtons();
    ReadEnvelopeSetup();
    ShowDisplayEnvelope();
}

void TCVEnvelopes::DeleteButtonClick()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const TEnvelopeRow old = m_setups.rows().at(row);
    if (!TMessages::question(this, QStringLiteral("DELETE"), TEnvelopeSetups::deleteQuestion(old.description),
                             QMessageBox::No))
        return;
    const TResult removed = m_setups.remove(old.recno);
    if (!removed)
        TMessages::failure(this, removed);
    const int next = std::min(row, int(m_setups.rows().size()) - 1);
    fillGrid(next >= 0 ? m_setups.rows().at(next).recno : 0);
    SetEnvelopeButtons();
    ReadEnvelopeSetup();
    ShowDisplayEnvelope();
}

void TCVEnvelopes::PrinterSetupButtonClick()
{
    if (m_engine.ShowPrinterSetup())
        (void)TEnvelopePreferences::save(m_ini, m_feed, m_engine); // unsaved, the choice holds for this run
}

void TCVEnvelopes::PrintButtonClick()
{
    DoPrint(true);
}

void TCVEnvelopes::PreviewButtonClick()
{
    DoPrint(false);
}

void TCVEnvelopes::DoPrint(bool printing)
{
    m_printing = printing;
    ReadEnvelopeSetup();
    if (selectedRow() < 0 || !m_session.isOpen())
        return;
    noticeUnknownSize();
    m_feed = TEnvelopePreferences::load(m_ini, m_engine);
    m_hidden.ClearObjects();
    if (!m_setups.hasLayoutFile(m_binary)) {
        TMessages::information(this, TEnvelopeSetups::missingLayoutMessage());
        return;
    }
    const TResult loaded = m_hidden.LoadFromFile(m_setups.layoutPath(m_binary));
    if (!loaded) {
        TMessages::failure(this, loaded);
        return;
    }
    m_hidden.setSize(Rounding::halfEven(m_envelope.width.value * m_hidden.PixelsPerInch()),
                     Rounding::halfEven(m_envelope.height.value * m_hidden.PixelsPerInch()));
    (void)TEnvelopeRun::prepareJob(m_engine, m_number, m_envelope,
                                   m_feed); // the dialog warns of a page that differs

    {
        TEnvelopePrePrint prePrint(m_engine, m_feed, m_number, this);
        emit prePrintOpened(&prePrint);
        if (prePrint.exec() != QDialog::Accepted)
            return;
        m_feed = prePrint.values();
    }
    (void)TEnvelopePreferences::save(m_ini, m_feed, m_engine); // unsaved, the values still hold for this run
    m_hidden.RefreshData(); // the check reads the barcodes of the record the run starts with
    const QStringList warnings = TEnvelopePrePrintCheck::warnings(m_hidden, m_envelope, m_engine.XDPI());
    if (!warnings.isEmpty() &&
        !TMessages::question(this, QStringLiteral("Warning"), TEnvelopePrePrintCheck::question(warnings),
                             QMessageBox::No))
        return;

    TOutputRecordsChoice choice;
    choice.records = rbQAll->isChecked()       ? TRecordChoice::All
                     : rbOnlyThis->isChecked() ? TRecordChoice::OnlyCurrent
                                               : TRecordChoice::MatchingFilter;
    choice.startFromCurrent = StartCurrentCheck->isChecked();
    // The table's order, query and record come back when the run goes, however it ends.
    TReportRun tableSide(m_session);
    TFreezeGuard frozen(m_session.table());
    const TOutputStart start = tableSide.start(QString(), choice);
    if (!start.result.ok) {
        TMessages::failure(this, start.result);
        return;
    }
    if (start.outOfRange)
        TMessages::information(this, TOutputRecords::outOfRangeMessage());

    TEnvelopeRunOptions options;
    options.envelope = m_envelope;
    options.feed = m_feed;
    options.onlyCurrent = choice.records == TRecordChoice::OnlyCurrent;
    options.previewing = !printing;
    options.calibration = TPrinterCalibration::forService(m_ini, m_engine.service());
    TEnvelopeRun run(m_hidden, m_session.table(), options);

    TReportFiler filer;
    QByteArray stream;
    filer.setStream(&stream);
    if (!printing) {
        (void)TEnvelopeRun::prepareJob(filer, m_number, m_envelope, m_feed);
        // The recording gets the printer's page, so the preview shows what printing gives.
        filer.setOrientation(TBaseReport::poPortrait);
        (void)filer.SetPaperSize(0, {m_engine.PaperWidth(), m_engine.PaperHeight()});
    }
    TBaseReport &job = printing ? static_cast<TBaseReport &>(m_engine) : filer;
    run.attach(job);
    {
        TPrintStatusForm status(job, !printing, TPrintStatusTexts::envelopes(), dialogParent());
        status.exec();
        const bool preview = status.shouldShowPreview();
        m_engine.OnBeforePrint = nullptr;
        m_engine.OnPrint = nullptr;
        frozen.release();
        if (!preview)
            return;
    }
    TPreviewForm preview(stream, QStringLiteral("Preview Envelope"), 1, m_ini, dialogParent());
    emit previewOpened(&preview);
    preview.exec();
}
