// A print job drawn on the printing service's selected printer (or whatever device the
// service prints to, such as a PDF file). Each status window owns one; the service is shared.
#pragma once

#include "TBaseReport.h"
#include "TPrinterCalibration.h"

#include <QImage>
#include <QPainter>

#include <memory>

class TPainterSink;
class TPrinterService;

class TReportPrinter : public TBaseReport
{
public:
    // `service` must outlive the job.
    explicit TReportPrinter(TPrinterService &service);
    ~TReportPrinter() override;

    TPrinterService &service() const { return m_service; }

    void setOrientation(TOrientation orientation) override;
    QStringList PrinterNames() const override;
    int SelectedPrinter() const override;
    void setSelectedPrinter(int index) override;
    QString PrinterDeviceName() const override;
    bool ShowPrinterSetup() override;
    bool ShowPrintDialog() override;
    bool SetPaperSize(int code, InchSize size) override;
    Inches PaperWidth() const override;
    Inches PaperHeight() const override;
    Inches UnprintableLeft() const override;
    Inches UnprintableTop() const override;
    Inches UnprintableRight() const override;
    Inches UnprintableBottom() const override;
    QStringList BinNames() const override;
    int CurrentBinIndex() const override;
    bool SelectBinByName(const QString &name) override;
    QStringList PaperNames() const override;
    int CurrentPaperIndex() const override;
    bool SelectPaperByName(const QString &name) override;
    int DeviceOrientation() const override;
    double XDPI() const override;
    double YDPI() const override;

    // The correction every page of the next runs is drawn with (none by default); the caller
    // decides whether it applies to the printer at hand (TPrinterCalibration::forService).
    void setCalibration(const TPrinterCalibration &calibration) { m_calibration = calibration; }
    const TPrinterCalibration &calibration() const { return m_calibration; }

    // Pages sent to the device in the last run (those inside FirstPage..LastPage).
    int printedPages() const { return m_printed; }

protected:
    bool beginDocument() override;
    TDrawSink *beginPage(int pageNumber) override;
    void abortDocument() override;
    bool endDocument(bool aborted) override;
    const QPaintDevice *measureDevice() const override;

private:
    TPrinterService &m_service;
    QPainter m_painter;
    std::unique_ptr<TPainterSink> m_sink;
    mutable QImage m_measure;
    TPrinterCalibration m_calibration;
    int m_printed = 0;
};
