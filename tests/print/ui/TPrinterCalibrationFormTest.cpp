// "Printer Calibration": the printer's kept values shown as measurements, the correction shown
// as they are typed, Save writing them for the chosen printer (refusing measurements out of
// range), and "Print Test Sheet" printing the sheet on that printer.
#include "TPrinterCalibrationForm.h"

#include "QtPrinters.h"
#include "TCalibrationSheet.h"
#include "TIniFile.h"
#include "TMessages.h"
#include "TPdfPrinterService.h"
#include "TempDir.h"
#include "TestFiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class PrinterCalibrationForm : public ::testing::Test
{
protected:
    void SetUp() override
    {
        previous = TMessages::setAnswerer([this](const TMessageRequest &r) {
            boxes << r.text;
            return QMessageBox::Ok;
        });
    }
    void TearDown() override { TMessages::setAnswerer(previous); }

    // Types `inches` into `box` as a user does: select all, type, leave with Tab.
    static void type(QDoubleSpinBox *box, const QString &inches)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, inches);
        QTest::keyClick(box, Qt::Key_Tab);
    }

    TempDir dir;
    QString pdf = QString::fromStdString(dir.file("sheet.pdf"));
    TIniFile ini{QString::fromStdString(dir.file("CORVAN.ini"))};
    TPdfPrinterService service{pdf};
    TMessages::Answerer previous;
    QStringList boxes;
};

TEST_F(PrinterCalibrationForm, SavesTheCorrectionOfTheMeasurementsTyped)
{
    TPrinterCalibrationForm form(service, ini);
    form.show();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Printer Calibration"));
    EXPECT_EQ(form.PrinterCombo->currentText(), QStringLiteral("PDF"));
    // Nothing kept yet: the measurements are the drawn positions.
    EXPECT_DOUBLE_EQ(form.FirstAcrossEdit->value(), 1.0);
    EXPECT_DOUBLE_EQ(form.SecondDownEdit->value(), 9.0);

    // The printer put everything 0.1 in right and printed 1 % short down the page.
    type(form.FirstAcrossEdit, QStringLiteral("1.1"));
    type(form.SecondAcrossEdit, QStringLiteral("7.1"));
    type(form.FirstDownEdit, QStringLiteral("0.99"));
    type(form.SecondDownEdit, QStringLiteral("8.91"));
    EXPECT_TRUE(form.CorrectionLabel->text().contains(QStringLiteral("shift -0.100 in across")))
        << form.CorrectionLabel->text().toStdString();
    // The box spans the window; a click lands on its indicator at the left.
    QTest::mouseClick(form.ApplyToPdfCheck, Qt::LeftButton, {},
                      QPoint(6, form.ApplyToPdfCheck->height() / 2));
    QTest::mouseClick(form.SaveButton, Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_TRUE(boxes.isEmpty());

    const TPrinterCalibration kept = TPrinterCalibration::load(ini, QStringLiteral("PDF"));
    EXPECT_NEAR(kept.horizontalOffset.value, -0.1, 1e-4);
    EXPECT_NEAR(kept.horizontalScale, 100.0, 1e-3);
    EXPECT_NEAR(kept.verticalScale, 100.0 / 0.99, 1e-3);
    EXPECT_NEAR(kept.verticalOffset.value, 0.0, 1e-4);
    EXPECT_TRUE(kept.applyToPdf);

    // Opened again, the window shows what was measured.
    TPrinterCalibrationForm again(service, ini);
    EXPECT_NEAR(again.FirstAcrossEdit->value(), 1.1, 1e-3);
    EXPECT_NEAR(again.SecondDownEdit->value(), 8.91, 1e-3);
    EXPECT_TRUE(again.ApplyToPdfCheck->isChecked());
}

TEST_F(PrinterCalibrationForm, MeasurementsOutOfRangeAreRefusedAndNothingIsWritten)
{
    TPrinterCalibrationForm form(service, ini);
    form.show();
    type(form.SecondAcrossEdit, QStringLiteral("8.5")); // 125 % across
    EXPECT_EQ(form.CorrectionLabel->text(), QStringLiteral("Correction: out of range"));
    QTest::mouseClick(form.SaveButton, Qt::LeftButton);
    EXPECT_EQ(boxes, QStringList{TPrinterCalibrationForm::outOfRangeMessage()});
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(ini.hasSection(TPrinterCalibration::sectionName(QStringLiteral("PDF"))));
    QTest::mouseClick(form.ResetButton, Qt::LeftButton);
    EXPECT_DOUBLE_EQ(form.SecondAcrossEdit->value(), 7.0);
}

TEST_F(PrinterCalibrationForm, PrintTestSheetPrintsTheRulersOnTheChosenPrinter)
{
    // A correction kept for the printer is not applied to the sheet: it shows the printer as it is.
    TPrinterCalibration c;
    c.horizontalOffset = Inches(0.5);
    c.applyToPdf = true;
    ASSERT_TRUE(c.save(ini, QStringLiteral("PDF")));
    TPrinterCalibrationForm form(service, ini);
    form.show();
    QTest::mouseClick(form.PrintTestSheetButton, Qt::LeftButton);
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(QLatin1Char('\n')).toStdString();
    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains(TCalibrationSheet::title())) << text.toStdString();
    EXPECT_TRUE(text.contains(TCalibrationSheet::rulerLabel(7)));
    EXPECT_TRUE(text.contains(QStringLiteral("Printer: PDF")));
}

} // namespace

// The window opens centred over the main window at its laid-out size, and fits on it.
TEST_F(PrinterCalibrationForm, OpensCentredOverTheMainWindow)
{
    QWidget main;
    main.setGeometry(100, 100, 800, 600);
    TPrinterCalibrationForm form(service, ini, &main);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_LE(form.width(), 800);
    EXPECT_NEAR(form.geometry().center().x(), main.geometry().center().x(), 4);
    EXPECT_NEAR(form.geometry().center().y(), main.geometry().center().y(), 4);
}
