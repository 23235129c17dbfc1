#include "TLabelSetupScreen.h"

#include "THelpRequest.h"
#include "TWhatsThis.h"

#include "TAddressDataSource.h"
#include "TAddressSession.h"
#include "TFileCase.h"
#include "TFreezeGuard.h"
#include "TGLabelPanel.h"
#include "TGOwner.h"
#include "TGlabelsTemplates.h"
#include "THourglass.h"
#include "TIniFile.h"
#include "TLabelDesignScreen.h"
#include "TLabelPrePrintCheck.h"
#include "TLabelRun.h"
#include "TLabelSetups.h"
#include "TMessages.h"
#include "TPresortFile.h"
#include "TPreviewForm.h"
#include "TPrintStatusForm.h"
#include "TPrinterCalibration.h"
#include "TPrinterService.h"
#include "TReportFiler.h"
#include "TReportPrinter.h"
#include "TReportRun.h"
#include "TSelectSpecificLabels.h"
#include "TSortBulkMail.h"
#include "TWindowPlacer.h"
#include <QFile>

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <optional>

#include <initializer_list>
#include <utility>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3100;

TLabelSetupScreen::TLabelSetupScreen(TAddressSession &session, TLabelSetups &labels, QWidget *mainWindow)
    : QDialog(mainWindow), m_session(session), m_labels(labels), m_mainWindow(mainWindow),
      m_glabelsFolder(TGlabelsTemplates::defaultFolder())
{
    setWindowTitle(QStringLiteral("Print Labels"));
    setModal(true);
    Grid = new QTreeWidget(this);
    Grid->setColumnCount(1);
    Grid->setHeaderLabels({QStringLiteral("Description")});
    Grid->setRootIsDecorated(false);
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid->setMinimumSize(300, 220);
    const auto field = [this] {
        auto *e = new QLineEdit(this);
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::NoFocus);
        return e;
    };
    HeightField = field();
    WidthField = field();
    SheetNameField = field();
    AcrossField = field();
    DownField = field();
    PaperSizeField = field();
    PaperWidthField = field();
    PaperHeightField = field();
    const auto button = [this](const char *caption) {
        auto *b = new QPushButton(QLatin1String(caption), this);
        b->setAutoDefault(false);
        return b;
    };
    NewButton = button("New");
    ModifyButton = button("Modify");
    CloneButton = button("Clone");
    DeleteButton = button("Delete");
    PreviewButton = button("Preview");
    PrintButton = button("Print");
    OkButton = button("Ok");
    HelpButton = button("Help");

    WhatToPrint = new QGroupBox(QStringLiteral("What to Print"), this);
    rbQAll = new QRadioButton(QStringLiteral("All records"), WhatToPrint);
    rbQFilter = new QRadioButton(QStringLiteral("Records matching filter"), WhatToPrint);
    rbOnlyThis = new QRadioButton(QStringLiteral("Only current record"), WhatToPrint);
    StartCurrentCheck = new QCheckBox(QStringLiteral("Start from current record"), WhatToPrint);
    PresortCheck = new QCheckBox(QStringLiteral("Presort for Bulk Mail"), WhatToPrint);
    rbQFilter->setChecked(true);
    auto *what = new QVBoxLayout(WhatToPrint);
    for (QWidget *w : {static_cast<QWidget *>(rbQAll), static_cast<QWidget *>(rbQFilter),
                       static_cast<QWidget *>(rbOnlyThis), static_cast<QWidget *>(StartCurrentCheck),
                       static_cast<QWidget *>(PresortCheck)})
        what->addWidget(w);
    connect(rbOnlyThis, &QRadioButton::toggled, this, [this](bool only) {
        if (only)
            PresortCheck->setChecked(false);
        PresortCheck->setEnabled(!only);
    });
    // A presort belongs to the choice of records it counted.
    for (QAbstractButton *b :
         {static_cast<QAbstractButton *>(rbQAll), static_cast<QAbstractButton *>(rbQFilter),
          static_cast<QAbstractButton *>(rbOnlyThis), static_cast<QAbstractButton *>(StartCurrentCheck)})
        connect(b, &QAbstractButton::clicked, this, [this] { m_presortDone = false; });

    auto *values = new QFormLayout;
    values->addRow(QStringLiteral("Label Height"), HeightField);
    values->addRow(QStringLiteral("Label Width"), WidthField);
    values->addRow(QStringLiteral("Sheet"), SheetNameField);
    values->addRow(QStringLiteral("Across"), AcrossField);
    values->addRow(QStringLiteral("Down"), DownField);
    values->addRow(QStringLiteral("Paper Size"), PaperSizeField);
    values->addRow(QStringLiteral("Paper Width"), PaperWidthField);
    values->addRow(QStringLiteral("Paper Height"), PaperHeightField);
    auto *listButtons = new QHBoxLayout;
    for (QPushButton *b : {NewButton, ModifyButton, CloneButton, DeleteButton})
        listButtons->addWidget(b);
    auto *left = new QVBoxLayout;
    left->addWidget(Grid, 1);
    left->addLayout(listButtons);
    auto *right = new QVBoxLayout;
    right->addLayout(values);
    right->addWidget(WhatToPrint);
    right->addStretch();
    auto *middle = new QHBoxLayout;
    middle->addLayout(left, 1);
    middle->addLayout(right);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    for (QPushButton *b : {PreviewButton, PrintButton, OkButton, HelpButton})
        bottom->addWidget(b);
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(middle);
    outer->addLayout(bottom);

    connect(Grid, &QTreeWidget::currentItemChanged, this, [this] {
        ReadLabelSetup();
        showCurrent();
    });
    connect(Grid, &QTreeWidget::itemDoubleClicked, this, &TLabelSetupScreen::ModifyButtonClick);
    connect(NewButton, &QPushButton::clicked, this, &TLabelSetupScreen::NewButtonClick);
    connect(ModifyButton, &QPushButton::clicked, this, &TLabelSetupScreen::ModifyButtonClick);
    connect(CloneButton, &QPushButton::clicked, this, &TLabelSetupScreen::CloneButtonClick);
    connect(DeleteButton, &QPushButton::clicked, this, &TLabelSetupScreen::DeleteButtonClick);
    connect(PrintButton, &QPushButton::clicked, this, &TLabelSetupScreen::PrintNowClick);
    connect(PreviewButton, &QPushButton::clicked, this, &TLabelSetupScreen::PreviewButtonClick);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    // What each control does, for its "What's this?".
    for (const auto &[control, text] : std::initializer_list<std::pair<QWidget *, const char *>>{
             {Grid, "The label setups you have made. Select the one to print, change, copy or delete."},
             {SheetNameField, "The label sheet the selected setup prints on."},
             {HeightField, "The height of one label of the selected sheet."},
             {WidthField, "The width of one label of the selected sheet."},
             {AcrossField, "How many labels the sheet has in a row."},
             {DownField, "How many labels the sheet has in a column."},
             {PaperSizeField, "The paper size of the selected sheet."},
             {PaperWidthField, "The width of the sheet's paper."},
             {PaperHeightField, "The height of the sheet's paper."},
             {NewButton, "Makes a new label setup and opens the Label Design Screen on it."},
             {ModifyButton, "Opens the selected label setup in the Label Design Screen."},
             {CloneButton, "Makes a copy of the selected label setup under a new name."},
             {DeleteButton, "Removes the selected label setup after asking."},
             {PrintButton, "Prints labels for the records chosen under What to Print."},
             {PreviewButton, "Shows the labels on screen before you print them."},
             {OkButton, "Closes the window."},
             {HelpButton, "Opens the help page about printing labels."},
             {rbQAll, "Prints a label for every record of the file."},
             {rbQFilter, "Prints labels only for the records that match the current filter."},
             {rbOnlyThis, "Prints a label for the current record only."},
             {StartCurrentCheck, "Starts at the current record instead of the first one."},
             {PresortCheck, "Sorts the labels by ZIP code for bulk mail before they print."},
         })
        TWhatsThis::describe(control, QLatin1String(text));
    THelpRequest::wire(this, HelpButton, kHelpTopic);
    fillList(0);
}

void TLabelSetupScreen::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_activated)
        return;
    m_activated = true;
    TWindowPlacer::centre(this, m_mainWindow);
    QFile::remove(presortPath()); // a presort left by an earlier run counts nothing now
}

int TLabelSetupScreen::selectedRow() const
{
    return Grid->indexOfTopLevelItem(Grid->currentItem());
}

quint32 TLabelSetupScreen::selectedRecno() const
{
    const int row = selectedRow();
    return row >= 0 && row < m_labels.rows().size() ? m_labels.rows().at(row).recno : 0;
}

void TLabelSetupScreen::fillList(quint32 recno)
{
    {
        const QSignalBlocker block(Grid);
        Grid->clear();
        QList<QTreeWidgetItem *> items;
        for (const TLabelSetupRow &row : m_labels.rows())
            items.append(new QTreeWidgetItem(QStringList{row.description}));
        Grid->addTopLevelItems(items);
        const int row = std::max(0, m_labels.rowOf(recno));
        if (!items.isEmpty())
            Grid->setCurrentItem(Grid->topLevelItem(row));
    }
    ReadLabelSetup();
    showCurrent();
    SetLabelButtons();
}

bool TLabelSetupScreen::ReadLabelSetup()
{
    const quint32 recno = selectedRecno();
    if (recno == 0) {
        m_setup = TLabelSetup::emptyListDefaults();
        return true;
    }
    const TResult read = m_labels.ReadLabelSetup(recno, m_setup);
    if (!read) {
        TMessages::failure(this, read);
        return false;
    }
    return true;
}

void TLabelSetupScreen::showCurrent()
{
    HeightField->setText(QString::number(m_setup.LblHeight, 'f', 3));
    WidthField->setText(QString::number(m_setup.LblWidth, 'f', 3));
    SheetNameField->setText(m_setup.sheetName());
    AcrossField->setText(QString::number(m_setup.NbrAcross));
    DownField->setText(QString::number(m_setup.NbrDown));
    PaperSizeField->setText(m_setup.PaperSize);
    PaperWidthField->setText(QString::number(m_setup.SheetWidth, 'f', 3));
    PaperHeightField->setText(QString::number(m_setup.SheetDepth, 'f', 3));
}

void TLabelSetupScreen::SetLabelButtons()
{
    const bool any = !m_labels.isEmpty();
    for (QWidget *w : {static_cast<QWidget *>(ModifyButton), static_cast<QWidget *>(PrintButton),
                       static_cast<QWidget *>(PreviewButton), static_cast<QWidget *>(DeleteButton),
                       static_cast<QWidget *>(CloneButton), static_cast<QWidget *>(Grid)})
        w->setEnabled(any);
    WhatToPrint->setVisible(any);
}

void TLabelSetupScreen::NewButtonClick()
{
    openDesigner(true);
}

void TLabelSetupScreen::ModifyButtonClick()
{
    if (selectedRecno() != 0)
        openDesigner(false);
}

void TLabelSetupScreen::openDesigner(bool isNew)
{
    std::optional<THourglass> hourglass(std::in_place);
    TLabelSetup setup;
    quint32 recno = 0;
    bool needsName = isNew;
    if (isNew) {
        setup = TLabelSetup::newSetupDefaults();
    } else {
        recno = selectedRecno();
        if (!ReadLabelSetup())
            return;
        setup = m_setup;
        needsName = !m_labels.layoutExists(setup.Binary);
    }
    if (needsName) {
        QString name;
        const TResult named = m_labels.NextLayoutFileName(name);
        if (!named) {
            hourglass.reset();
            TMessages::failure(this, named);
            return;
        }
        setup.Binary = name;
    }
    TIniFile ini(m_session.settingsPath());
    TLabelDesignScreen designer(setup, isNew, ini, &m_session.table(), m_session.programFolder(),
                                m_mainWindow);
    designer.setGlabelsFolder(m_glabelsFolder);
    if (!needsName) {
        const TResult loaded = designer.loadLayout(m_labels.layoutPath(setup.Binary));
        if (!loaded) {
            // A damaged layout is not opened, so saving can never write it further.
            hourglass.reset();
            TMessages::failure(this, loaded);
            return;
        }
    }
    designer.surface().RefreshData();
    designer.setSaver([this, &recno, binary = setup.Binary](TLabelDesignScreen &d) {
        TLabelSetup values = d.setup();
        values.Binary = binary;
        quint32 row = recno;
        const TResult saved = m_labels.save(values, row, [&d](const QString &path) {
            d.surface().ClearDataValues();
            return d.surface().SaveToFile(path);
        });
        if (saved)
            recno = row;
        return saved;
    });
    hourglass.reset();
    emit designerOpened(&designer);
    const bool saved = designer.exec() == QDialog::Accepted;
    fillList(saved ? recno : selectedRecno());
}

void TLabelSetupScreen::CloneButtonClick()
{
    const quint32 recno = selectedRecno();
    if (recno == 0)
        return;
    const QString description = m_labels.rows().at(selectedRow()).description;
    if (!TMessages::question(this, QStringLiteral("CLONE"), TLabelSetups::cloneQuestion(description),
                             QMessageBox::No))
        return;
    quint32 added = 0;
    const TResult cloned =
        m_labels.clone(recno, TWindowPlacer::dotsPerInch(m_mainWindow ? m_mainWindow : this), &added);
    if (!cloned) {
        TMessages::failure(this, cloned);
        return;
    }
    fillList(added);
}

void TLabelSetupScreen::DeleteButtonClick()
{
    const quint32 recno = selectedRecno();
    if (recno == 0)
        return;
    const QString description = m_labels.rows().at(selectedRow()).description;
    if (!TMessages::question(this, QStringLiteral("DELETE"), TLabelSetups::deleteQuestion(description),
                             QMessageBox::No))
        return;
    const int row = selectedRow();
    const TResult removed = m_labels.remove(recno);
    if (!removed)
        TMessages::failure(this, removed);
    const int next = std::min(row, static_cast<int>(m_labels.rows().size()) - 1);
    fillList(next >= 0 ? m_labels.rows().at(next).recno : 0);
}

QString TLabelSetupScreen::presortPath() const
{
    return TFileCase::resolve(m_session.programFolder(), QStringLiteral("PRESORT.PSL"));
}

void TLabelSetupScreen::PrintNowClick()
{
    if (!ReadLabelSetup())
        return;
    m_printing = true;
    if (DoPageSetup())
        DoPrint();
}

void TLabelSetupScreen::PreviewButtonClick()
{
    if (!ReadLabelSetup())
        return;
    m_printing = false;
    if (DoPageSetup())
        DoPrint();
}

bool TLabelSetupScreen::DoPageSetup()
{
    TReportPrinter job(m_session.printerService());
    TSelectSpecificLabels dialog(m_setup, m_positionMask, PresortCheck->isChecked(), job, this);
    emit pageSetupOpened(&dialog);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    m_positionMask = dialog.PositionMask();
    m_copies = dialog.copies();
    return true;
}

bool TLabelSetupScreen::DoPresort(quint32 fromRecno)
{
    TSortBulkMail sort(m_session, presortPath(), fromRecno, this);
    emit presortOpened(&sort);
    const bool done = sort.exec() == 1 && sort.tally().isComplete();
    m_presortRange = done ? sort.tally().range() : TPresortRange();
    return done;
}

void TLabelSetupScreen::DoPrint()
{
    if (!m_session.isOpen())
        return;
    TGOwner owner;
    TGLabelPanel hidden(&owner, logicalDpiX());
    TAddressDataSource records(m_session.table());
    hidden.setDataSet(&records);
    const TResult loaded = TLabelRun::loadLayout(hidden, m_labels.layoutPath(m_setup.Binary));
    if (!loaded) {
        TMessages::failure(this, loaded);
        return;
    }

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

    const bool presort = PresortCheck->isChecked() && choice.records != TRecordChoice::OnlyCurrent;
    if (presort) {
        // Started from the current record, the presort counts and prints from there on only.
        const quint32 from = choice.startFromCurrent && !start.outOfRange ? m_session.table().recno() : 0;
        if (!m_presortDone)
            m_presortDone = DoPresort(from);
        if (!m_presortDone)
            return;
        TMessages::information(this, QStringLiteral("Labels will print/preview in the following order:\r\n"
                                                    "  1. 5-Digit presort\r\n  2. 3-Digit presort\r\n"
                                                    "  3. ADC presort"));
    }

    TReportPrinter printer(m_session.printerService());
    TReportFiler filer;
    QByteArray stream;
    filer.setStream(&stream);
    TBaseReport &job = m_printing ? static_cast<TBaseReport &>(printer) : filer;
    const bool confirmed = TLabelRun::prepareJob(printer, m_setup);
    if (!m_printing)
        (void)TLabelRun::prepareJob(filer, m_setup); // the recording takes the sheet as the page
    if (!confirmed && !TMessages::question(this, QStringLiteral("Warning"), TLabelRun::paperQuestion(m_setup),
                                           QMessageBox::No))
        return;
    const QStringList warnings = TLabelPrePrintCheck::warnings(hidden, m_setup, printer.XDPI());
    if (!warnings.isEmpty() &&
        !TMessages::question(this, QStringLiteral("Warning"),
                             warnings.join(QStringLiteral("\r\n")) +
                                 QStringLiteral("\r\n\r\nWould you like to try printing anyways?"),
                             QMessageBox::No))
        return;

    TLabelRunOptions options;
    options.setup = m_setup;
    options.PositionMask = m_positionMask;
    options.NumberOfEach = m_copies;
    options.onlyCurrent = choice.records == TRecordChoice::OnlyCurrent;
    options.presort = presort;
    options.presortPath = presortPath();
    options.presortRange = m_presortRange;
    options.previewing = !m_printing;
    options.calibration =
        TPrinterCalibration::forService(TIniFile(m_session.settingsPath()), printer.service());
    TLabelRun run(hidden, m_session.table(), options);
    run.attach(job);
    bool preview = false;
    {
        TPrintStatusForm status(job, !m_printing, TPrintStatusTexts::labels(), this);
        emit statusOpened(&status);
        status.exec();
        preview = status.shouldShowPreview();
    }
    frozen.release();
    if (!run.result().ok) {
        TMessages::failure(this, run.result());
        return;
    }
    if (!preview)
        return;
    TIniFile ini(m_session.settingsPath());
    TPreviewForm previewForm(stream, QStringLiteral("Preview Labels"), 2, ini, this);
    emit previewOpened(&previewForm);
    previewForm.exec();
}
