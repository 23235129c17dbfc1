#include "TPrinterCalibrationForm.h"

#include "TCalibrationSheet.h"
#include "THelpRequest.h"
#include "TIniFile.h"
#include "TMessages.h"
#include "TPrinterService.h"
#include "TReportPrinter.h"
#include "TWindowPlacer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kHelpTopic = 3602;

QDoubleSpinBox *distanceBox(QWidget *parent)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setDecimals(3);
    box->setRange(0.0, 20.0);
    box->setSingleStep(0.01);
    box->setSuffix(QStringLiteral(" in"));
    return box;
}

} // namespace

TPrinterCalibrationForm::TPrinterCalibrationForm(TPrinterService &service, TIniFile &ini, QWidget *mainWindow)
    : QDialog(mainWindow), m_service(service), m_ini(ini)
{
    setWindowTitle(QStringLiteral("Printer Calibration"));
    auto *layout = new QVBoxLayout(this);

    auto *printerRow = new QHBoxLayout;
    auto *printerLabel = new QLabel(QStringLiteral("&Printer:"), this);
    printerRow->addWidget(printerLabel);
    PrinterCombo = new QComboBox(this);
    printerLabel->setBuddy(PrinterCombo);
    PrinterCombo->addItems(m_service.printerNames());
    if (m_service.selectedPrinter() >= 0)
        PrinterCombo->setCurrentIndex(m_service.selectedPrinter());
    printerRow->addWidget(PrinterCombo, 1);
    PrintTestSheetButton = new QPushButton(QStringLiteral("Print &Test Sheet"), this);
    printerRow->addWidget(PrintTestSheetButton);
    layout->addLayout(printerRow);

    auto *steps = new QLabel(QStringLiteral("Print the test sheet, then measure from the paper's left edge "
                                            "and from its top edge to the centre of each crosshair."),
                             this);
    steps->setWordWrap(true);
    layout->addWidget(steps);
    auto *measured = new QGroupBox(QStringLiteral("Measured on the test sheet"), this);
    auto *form = new QFormLayout(measured);
    FirstAcrossEdit = distanceBox(measured);
    FirstDownEdit = distanceBox(measured);
    SecondAcrossEdit = distanceBox(measured);
    SecondDownEdit = distanceBox(measured);
    form->addRow(QStringLiteral("Crosshair A across (drawn at 1 in):"), FirstAcrossEdit);
    form->addRow(QStringLiteral("Crosshair A down (drawn at 1 in):"), FirstDownEdit);
    form->addRow(QStringLiteral("Crosshair B across (drawn at 7 in):"), SecondAcrossEdit);
    form->addRow(QStringLiteral("Crosshair B down (drawn at 9 in):"), SecondDownEdit);
    layout->addWidget(measured);
    CorrectionLabel = new QLabel(this);
    layout->addWidget(CorrectionLabel);
    ApplyToPdfCheck = new QCheckBox(QStringLiteral("Also apply to PDF &files"), this);
    layout->addWidget(ApplyToPdfCheck);

    auto *buttons = new QHBoxLayout;
    SaveButton = new QPushButton(QStringLiteral("&Save"), this);
    ResetButton = new QPushButton(QStringLiteral("&Reset"), this);
    CloseButton = new QPushButton(QStringLiteral("Close"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    buttons->addStretch();
    for (QPushButton *b : {SaveButton, ResetButton, CloseButton, HelpButton}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    SaveButton->setDefault(true);
    layout->addLayout(buttons);

    connect(PrinterCombo, &QComboBox::currentIndexChanged, this,
            &TPrinterCalibrationForm::PrinterComboChange);
    connect(PrintTestSheetButton, &QPushButton::clicked, this,
            &TPrinterCalibrationForm::PrintTestSheetButtonClick);
    connect(SaveButton, &QPushButton::clicked, this, &TPrinterCalibrationForm::SaveButtonClick);
    connect(ResetButton, &QPushButton::clicked, this, &TPrinterCalibrationForm::ResetButtonClick);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
    THelpRequest::wire(this, HelpButton, kHelpTopic);
    for (QDoubleSpinBox *box : {FirstAcrossEdit, FirstDownEdit, SecondAcrossEdit, SecondDownEdit})
        connect(box, &QDoubleSpinBox::valueChanged, this, &TPrinterCalibrationForm::showCorrection);

    PrinterComboChange();
    // Centred by its laid-out size, not the size a window has before it is shown.
    adjustSize();
    TWindowPlacer::centre(this, mainWindow);
}

QString TPrinterCalibrationForm::printerName() const
{
    return PrinterCombo->currentText();
}

bool TPrinterCalibrationForm::calibration(TPrinterCalibration &into) const
{
    TPrinterCalibration c;
    if (!TPrinterCalibration::fromMeasurements({FirstAcrossEdit->value(), FirstDownEdit->value()},
                                               {SecondAcrossEdit->value(), SecondDownEdit->value()}, c))
        return false;
    c.applyToPdf = ApplyToPdfCheck->isChecked();
    into = c;
    return true;
}

void TPrinterCalibrationForm::showCalibration(const TPrinterCalibration &c)
{
    const QPointF first = c.measuredFirst();
    const QPointF second = c.measuredSecond();
    FirstAcrossEdit->setValue(first.x());
    FirstDownEdit->setValue(first.y());
    SecondAcrossEdit->setValue(second.x());
    SecondDownEdit->setValue(second.y());
    ApplyToPdfCheck->setChecked(c.applyToPdf);
    showCorrection();
}

void TPrinterCalibrationForm::showCorrection()
{
    TPrinterCalibration c;
    if (!calibration(c)) {
        CorrectionLabel->setText(QStringLiteral("Correction: out of range"));
        return;
    }
    CorrectionLabel->setText(
        QStringLiteral("Correction: shift %1 in across, %2 in down; scale %3 % across, %4 % down")
            .arg(c.horizontalOffset.value, 0, 'f', 3)
            .arg(c.verticalOffset.value, 0, 'f', 3)
            .arg(c.horizontalScale, 0, 'f', 2)
            .arg(c.verticalScale, 0, 'f', 2));
}

void TPrinterCalibrationForm::PrinterComboChange()
{
    showCalibration(TPrinterCalibration::load(m_ini, printerName()));
}

void TPrinterCalibrationForm::PrintTestSheetButtonClick()
{
    if (PrinterCombo->currentIndex() < 0)
        return;
    m_service.setSelectedPrinter(PrinterCombo->currentIndex());
    TReportPrinter job(m_service);
    job.setTitle(QStringLiteral("Corvantis"));
    job.setUnits(TBaseReport::unInch);
    job.setUnitsFactor(1.0);
    job.setOrientation(TBaseReport::poPortrait);
    // The sheet shows what the printer does by itself.
    job.setCalibration(TPrinterCalibration());
    TCalibrationSheet::attach(job, printerName());
    job.RunJob();
    if (job.IsAborted())
        TMessages::information(this, QStringLiteral("Unable to print the test sheet on ") + printerName());
}

void TPrinterCalibrationForm::SaveButtonClick()
{
    TPrinterCalibration c;
    if (!calibration(c)) {
        TMessages::information(this, outOfRangeMessage());
        return;
    }
    if (!c.save(m_ini, printerName())) {
        TMessages::information(this, QStringLiteral("Unable to write the settings file ") + m_ini.path());
        return;
    }
    accept();
}

void TPrinterCalibrationForm::ResetButtonClick()
{
    TPrinterCalibration none;
    none.applyToPdf = ApplyToPdfCheck->isChecked();
    showCalibration(none);
}
