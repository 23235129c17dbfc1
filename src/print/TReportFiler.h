// A print job recorded into a memory stream the caller supplies, for the preview window
// (TRecordingWriter gives the format). The caller creates the stream before the run and frees
// it after the preview closes. A recording job has no printer: its device is "Preview", its
// printer index -1, and its paper is exactly the size handed to SetPaperSize.
#pragma once

#include "TBaseReport.h"

#include <QImage>

#include <memory>

class QByteArray;
class TRecordingWriter;

class TReportFiler : public TBaseReport
{
public:
    enum TAccuracyMethod { amPositioning, amAppearance };
    // Text is measured at this resolution, so positions do not depend on the screen.
    static constexpr int kRecordingDpi = 600;

    TReportFiler();
    ~TReportFiler() override;

    // The stream the next run records into (cleared when the run begins); the caller keeps
    // ownership. Without a stream a run ends at once, aborted.
    void setStream(QByteArray *stream) { m_stream = stream; }
    QByteArray *stream() const { return m_stream; }
    TAccuracyMethod AccuracyMethod() const { return m_accuracy; }
    void setAccuracyMethod(TAccuracyMethod method) { m_accuracy = method; }

    QStringList PrinterNames() const override { return {}; }
    int SelectedPrinter() const override { return -1; }
    void setSelectedPrinter(int) override {}
    QString PrinterDeviceName() const override { return QStringLiteral("Preview"); }
    bool ShowPrinterSetup() override { return false; }
    bool ShowPrintDialog() override { return false; }
    // Keeps the given height and width; with either not positive, the size of a known code.
    bool SetPaperSize(int code, InchSize size) override;
    Inches PaperWidth() const override;
    Inches PaperHeight() const override;
    Inches UnprintableLeft() const override { return Inches(0); }
    Inches UnprintableTop() const override { return Inches(0); }
    Inches UnprintableRight() const override { return Inches(0); }
    Inches UnprintableBottom() const override { return Inches(0); }
    QStringList BinNames() const override { return {}; }
    int CurrentBinIndex() const override { return -1; }
    bool SelectBinByName(const QString &) override { return false; }
    QStringList PaperNames() const override { return {}; }
    int CurrentPaperIndex() const override { return -1; }
    bool SelectPaperByName(const QString &) override { return false; }
    int DeviceOrientation() const override { return Orientation() == poLandScape ? 1 : 0; }
    double XDPI() const override { return kRecordingDpi; }
    double YDPI() const override { return kRecordingDpi; }

protected:
    bool beginDocument() override;
    TDrawSink *beginPage(int pageNumber) override;
    void abortDocument() override {}
    bool endDocument(bool aborted) override;
    const QPaintDevice *measureDevice() const override { return &m_measure; }

private:
    QByteArray *m_stream = nullptr;
    std::unique_ptr<TRecordingWriter> m_writer;
    TAccuracyMethod m_accuracy = amPositioning;
    InchSize m_paper{Inches(8.5), Inches(11.0)}; // portrait
    QImage m_measure;
};
