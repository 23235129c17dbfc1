// "Printer Calibration": the window that sets a printer's calibration. The user chooses a
// printer, prints the test sheet on it, measures where its two crosshairs landed, enters the
// four distances and saves; the correction they give is shown as they are typed. The main
// window opens one per use through its hand-over; the printing service and the settings file
// are the caller's.
#pragma once

#include "TPrinterCalibration.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class TIniFile;
class TPrinterService;

class TPrinterCalibrationForm : public QDialog
{
    Q_OBJECT
public:
    // `service` and `ini` must outlive the window; it opens centred over `mainWindow`.
    TPrinterCalibrationForm(TPrinterService &service, TIniFile &ini, QWidget *mainWindow = nullptr);

    // The correction the entered measurements give; false when they give none in range.
    bool calibration(TPrinterCalibration &into) const;

    QComboBox *PrinterCombo;
    QPushButton *PrintTestSheetButton;
    QDoubleSpinBox *FirstAcrossEdit;
    QDoubleSpinBox *FirstDownEdit;
    QDoubleSpinBox *SecondAcrossEdit;
    QDoubleSpinBox *SecondDownEdit;
    QLabel *CorrectionLabel;
    QCheckBox *ApplyToPdfCheck;
    QPushButton *SaveButton;
    QPushButton *ResetButton;
    QPushButton *CloseButton;
    QPushButton *HelpButton;

    static QString outOfRangeMessage()
    {
        return QStringLiteral("These measurements call for a shift of more than 1 inch or a scale outside "
                              "90 % to 110 %. Print the test sheet again and measure once more.");
    }

public slots:
    void PrinterComboChange();
    void PrintTestSheetButtonClick();
    void SaveButtonClick();
    // Puts the measurements back to the drawn positions: no correction.
    void ResetButtonClick();

private:
    void showCalibration(const TPrinterCalibration &c);
    void showCorrection();
    QString printerName() const;

    TPrinterService &m_service;
    TIniFile &m_ini;
};
